// Every tolerance and tuning constant of the exact search, in one table: its
// value, its unit and why it is what it is. None of them can change an
// answer: the tolerances steer the relaxation, which only guides (a node is
// closed, and a variable fixed, only on exact integers or on the certified
// bound), and the tuning constants choose where the search looks first and
// how long it plunges. They change only how fast the answer comes.
#ifndef ZOINT_EXACT_SEARCH_PARAMETERS_H
#define ZOINT_EXACT_SEARCH_PARAMETERS_H

#include <cstddef>
#include <cstdint>

namespace zoint {
namespace parameters {

// --- The relaxation (lp_relaxation.cpp) -------------------------------------

// Largest Σ c_i (costs in y), and largest Σ_i |a_ji| or |b_j| of a row, for
// which the relaxation is used at all; a row beyond it is left out of the
// relaxation (fewer rows: still a relaxation), costs beyond it leave the
// search without one. Unit: the problem's own integers. Why: the dual
// simplex works in double; beyond 2^50 its cancellations cost more digits
// than its answer has to guide with. Soundness never rests on it: the
// certified bound takes the multipliers whatever their origin.
constexpr double kTrustedMagnitude = 1125899906842624.0;  // 2^50

// A basic value this far outside its bounds is infeasible. Unit: the scaled
// rows (each divided by its largest |a_ji|), so about one part in 10^9 of a
// row's largest coefficient. Why: below the rounding noise of a few hundred
// pivots, above the noise of one.
constexpr double kPrimalTolerance = 1e-9;

// The smallest |pivot| the ratio test accepts. Unit: scaled rows. Why: a
// smaller pivot would multiply rounding errors by more than 10^9.
constexpr double kPivotTolerance = 1e-9;

// A pivot below this in forming a basis inverse afresh declares the basis
// singular, and the slack basis is taken instead. Unit: scaled rows. Why:
// smaller than any pivot the ratio test lets in (kPivotTolerance), so only a
// basis that really degenerated is refused.
constexpr double kSingularPivot = 1e-11;

// Reduced costs within this share of the largest cost count as 0. Unit: a
// fraction of max_i c_i. Why: costs are integers up to 2^50; one part in
// 10^9 of the largest is well above the rounding of a reduced cost and well
// below the smallest cost difference that matters at that scale.
constexpr double kDualToleranceShare = 1e-9;

// Pivots on one basis inverse before it is formed afresh. Unit: pivots.
// Why: each pivot updates the inverse in place and adds its rounding; along
// a path 100 deep a few pivots per level add up. Forming it afresh costs
// about as much as m pivots (m ≤ 50), so doing so every 160 costs little.
constexpr int32_t kRefreshAge = 160;

// Dual simplex pivots allowed for one solve: kIterationsPerColumn · columns +
// kIterationsBase. Unit: pivots. Why: a solve from a parent's basis takes a
// few pivots; one that takes twenty per column is cycling or stalled, and
// is retried once from the slack basis, then given up (the node is then
// branched on blindly, which is still exact).
constexpr int32_t kIterationsPerColumn = 20;
constexpr int32_t kIterationsBase = 100;

// --- Nodes (node_relaxation.cpp) --------------------------------------------

// A relaxed value within this of 0 or 1 counts as integral. Unit: the
// variable's value. Why: a value the dual simplex reports as 1 − 10^−12 is
// integral; its rounding is then checked exactly in integers before it is
// recorded, so a wrong call costs only a branch.
constexpr double kIntegralityTolerance = 1e-9;

// Progress reports take the proven bound as an integer only below this.
// Unit: the objective in y. Why: every double below 2^53 (≈ 9.007·10^15)
// that is an integer is exact, so its ceiling converts to int64_t exactly;
// above, the trivial bound is reported instead.
constexpr double kLargestReportedBound = 9e15;

// --- Branching (branching.cpp, pseudocosts.cpp) -----------------------------

// Observations per direction after which a variable's pseudocosts are
// trusted instead of relaxing both branches. Unit: branches. Why: the usual
// choice of reliability branching; fewer trust noisy averages, more spend
// two relaxations on every candidate for long.
constexpr uint64_t kReliableObservations = 8;

// Candidates tried in a row without a better one, after which the best so
// far is taken. Unit: candidates. Why: candidates come best-first by their
// pseudocost score, so a long run without improvement rarely ends in one.
constexpr int32_t kLookahead = 8;

// A change of the branching variable below this teaches nothing about the
// rise per unit. Unit: the variable's value. Why: dividing a rise by a
// change near 0 would swamp every other observation.
constexpr double kLeastChange = 1e-6;

// Each side of a branching score is floored here before the product. Unit:
// the objective. Why: with one side rising by 0 a plain product ties every
// candidate at 0; the floor still ranks them by the other side.
constexpr double kScoreFloor = 1e-6;

// --- Node selection (branch_and_bound.cpp, node_pool.h) ---------------------

// Nodes searched purely depth first before long searches start to set nodes
// aside (the default of ExactOptions::depthFirstNodes). Unit: nodes. Why:
// most searches end sooner, where depth first costs least memory and finds
// its best early; past it, best-first between plunges proves faster.
constexpr uint64_t kDepthFirstNodes = 500000;

// Share of the gap between a plunge's first bound and the cutoff within
// which the plunge goes on depth first. Unit: a fraction of that gap. Why:
// halfway keeps a plunge on nodes near its start's bound and sets aside
// those a later, better find would likely close.
constexpr double kPlungeShare = 0.5;

// Most nodes set aside for later, 96 bytes each: 96 MiB. Unit: nodes. Why:
// the memory bound; beyond it the search simply stays depth first.
constexpr size_t kMaxPooledNodes = size_t{1} << 20;

// Most regions kept that can hold at best ties with the best, 32 bytes
// each: 32 MiB (the default of ExactOptions::tieBoxLimit). Unit: regions.
// Why: the memory bound; beyond it the second pass searches from the root,
// which gives the same answer more slowly.
constexpr size_t kMaxTieBoxes = size_t{1} << 20;

// --- A first good assignment (core_heuristic.cpp) ---------------------------

// Core sizes, in tenths of n, each with its node budget: a fixed number plus
// a number per row. Unit: nodes. Why: the smaller cores are searched
// through; the largest gets a bounded look that grows with the rows, as the
// relaxation's gap does.
struct CoreSize {
  int32_t tenths;
  uint64_t budget;
  uint64_t budgetPerRow;
};
constexpr CoreSize kCores[] = {{1, 1000, 0}, {2, 4000, 0}, {3, 20000, 0}, {4, 0, 8000}};

// Below this many variables there is no search of cores. Unit: variables.
// Why: the search itself is then quick enough.
constexpr int32_t kFewestVariablesForCores = 20;

// --- Enumeration of sums (sum_*.cpp) ----------------------------------------

// Most variables the enumeration takes on; beyond, it declines. Unit:
// variables in some row that matters. Why: it passes 2^(n/2) sums of each
// half through memory, about 10^8 a second; at 56 that is a few seconds,
// and each variable more multiplies it by 1.4.
constexpr int32_t kMaxEnumeratedVariables = 56;

// Beyond this many variables, the enumeration takes only key rows with
// coefficients on at least half of its variables, and declines otherwise.
// Unit: variables. Why: up to here it takes a millisecond or two (2^15 sums
// a half); above, its cost doubles every two variables whatever the rows,
// while sparse equations (set partitioning, assignment) are what the
// relaxation bounds well and the branch and bound settles in a few nodes:
// p0040 (40 variables, sparse equations) took 0.16 s here at 40 and 2 ms in
// the branch and bound. Dense ones (market split, subset sums) are where
// the branch and bound is hopeless.
constexpr int32_t kSparseRowsVariables = 30;

// Pair sums held at once for each half, 16 bytes each: 1 MiB, twice for the
// sort. Unit: entries. Why: the sums of a half come a window of values at a
// time; each window costs a scan of one list besides its entries (about a
// tenth of them at this size), and one this large still sorts within the
// cache's middle level. Measured fastest of 2^15 … 2^17.
constexpr size_t kSumWindowEntries = size_t{1} << 16;

// Buckets of the one radix pass that sorts a window; the buckets are then
// finished by insertion. Unit: log2 of buckets. Why: windows aim at half
// their capacity, so about two entries a bucket; more buckets cost more in
// the scattered writes than they save in insertion.
constexpr int32_t kSumSortBucketBits = 14;

// Pairs of assignments that meet the matched sums and are checked against
// the other rows one by one, before the enumeration gives up. Unit: pairs.
// Why: each check costs a few additions per row; 2^24 take well under a
// second, and more mean the matched rows leave most of the work to the
// others, which the branch and bound weighs better.
constexpr uint64_t kMaxCheckedPairs = uint64_t{1} << 24;

// Sums walked, over all rounds, before the enumeration gives up seeking the
// best subset sum below the last one when every assignment reaching that
// one broke another row. Unit: pair sums. Why: one round at 50 variables
// walks about this many (well under a second), so a large problem gets
// that one round and a small one as many as its sums need; a row that
// breaks the best sums by the thousand is better left to the branch and
// bound.
constexpr uint64_t kSubsetSumRoundsBudget = uint64_t{1} << 26;

// --- The one-row table (one_row_table_fill.cpp) ----------------------------

// Most cells a one-row table fills, summed over its items; each keeps one
// decision bit, so this is also 256 MiB of bits. Unit: cells. Why: filled
// at a few tenths of a nanosecond each, 2^31 cells take about a second;
// with the values below (128 MiB) and the coarse bounds (26 MiB) the whole
// process stays under 512 MB. A larger table is left to the next method.
constexpr uint64_t kMaxTableCells = uint64_t{1} << 31;

// Most bytes for one column of values over the table's capacity (4 bytes a
// cell where every value fits 32 bits, else 8). Unit: bytes. Why: 128 MiB
// holds 2^25 cells of 32 bits, above the capacity of a knapsack of 100
// items with weights to 10^6 filled halfway (about 3·10^7); with the bits
// above it keeps the process under 512 MB.
constexpr uint64_t kMaxTableValueBytes = uint64_t{1} << 27;

// Cells of the one-row table an item's step handles at a time, and the
// chunks of a sweep between two questions to the limits. Unit: cells;
// chunks. Why: a chunk's values and decision flags (5 KiB at 32 bits) stay
// in the first cache level; it must be a multiple of 64, so that every
// word of decision bits lies in one chunk. 256 chunks of up to 16 items
// are a few milliseconds of work.
constexpr uint32_t kTableChunkCells = 1024;
constexpr uint32_t kChunksBetweenLimitChecks = 256;

// Items a sweep down the one-row table steps together, and the most cells
// between its first item's step and its last's (one_row_table_fill.cpp).
// Unit: items; cells. Why: the sweep rereads within its span what its
// earlier items wrote, which stays in the last cache level when the span's
// 32-bit values take 8 MiB; sixteen items read each value from memory once
// where a step at a time would read it sixteen times. Between sweeps the
// limits are asked, so a sweep stays short.
constexpr int32_t kMaxItemsPerSweep = 16;
constexpr uint64_t kMaxSweepSpan = uint64_t{1} << 21;

// Items of the core searched for a first assignment of a one-row knapsack,
// around the break item of its relaxation (one_row_core.cpp). Unit: items.
// Why: the optimum of Pisinger's hard knapsacks differs from the greedy
// one mostly within a few dozen items around the break; each state keeps
// the core's choices in one 64-bit word, and 48 gave the smallest tables
// on instances with weights to 10^6.
constexpr int32_t kCoreItems = 48;

// Most (weight, profit) states the core search keeps between two items:
// one per kTableCellsPerCoreState cells of the table it is to narrow (items
// times capacity), within [kFewestCoreStates, kMaxCoreStates]. Unit:
// states, 24 bytes each; cells. Why: a state kept costs about what 2^17
// cells do over the core's items, a few per cent of the table at most;
// beyond the budget the states of least promise are dropped, which only
// makes the first assignment worse, never the answer.
constexpr uint64_t kTableCellsPerCoreState = uint64_t{1} << 17;
constexpr size_t kFewestCoreStates = size_t{1} << 6;
constexpr size_t kMaxCoreStates = size_t{1} << 11;

// A coarse table for the first assignment of a large one-row knapsack
// (one_row_coarse.cpp): its cells over the scaled capacity, and the size
// of the real table (items times the smaller of capacity and weight left
// out) from which it is filled. Unit: cells. Why: 2^15 cells of 100 items
// take about 3 ms and lose at most a 2^15-th of the capacity per item
// taken, which on knapsacks with weights to 10^6 brought the first
// assignment close to the optimum (2^14 and 2^16 left larger tables in
// all); below 2^26 cells the real table costs little more than that.
constexpr uint64_t kCoarseTableCells = uint64_t{1} << 15;
constexpr uint64_t kCoarseTableFromCells = uint64_t{1} << 26;

// Cells of each coarse table bounding what the items before and after an
// item gain (one_row_coarse_bounds.cpp), filled from the same table size
// as the coarse first assignment. Unit: cells. Why: two tables of 2^15
// cells for 101 item counts take 26 MiB and about 5 ms; a chunk of the
// real table then spans two or three coarse cells, fine enough to leave
// out half of the relaxation's range where its cells cannot matter.
constexpr uint64_t kCoarseBoundCells = uint64_t{1} << 15;

// --- Lists of answers (list_solutions.cpp, solution_list.cpp) ----------------

// Most assignments whose neighbours within two flips seed a list before its
// search (a list expands at most as many as it holds). Unit: assignments.
// Why: each costs n²/2 row checks, a fifth of a millisecond at n = 100 and
// m = 50, so 128 stay within a few tens of milliseconds; on the 5-row
// knapsacks a list of 100 so seeded starts its search with a cutoff near
// its last entry.
constexpr int32_t kMaxSeedExpansions = 128;

// Nodes of the single answer's search per assignment so expanded: a search
// of a few hundred nodes expands a handful. Unit: nodes. Why: an expansion
// costs about what a node does at n = 100 and m = 5 (a few thousand
// operations), and lists after short searches (weish06: 21 nodes) were
// slowed by a tenth of a millisecond a hundred times over.
constexpr uint64_t kNodesPerSeedExpansion = 64;

// --- Progress (search_limits.cpp) -------------------------------------------

// Seconds between two progress reports by default, and the least interval
// accepted. Unit: seconds. Why: once a second is what a person watches; the
// floor keeps a zero or NaN interval from reporting at every node.
constexpr double kProgressInterval = 1.0;
constexpr double kLeastProgressInterval = 0.001;

}  // namespace parameters
}  // namespace zoint

#endif  // ZOINT_EXACT_SEARCH_PARAMETERS_H
