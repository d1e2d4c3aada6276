// The one-row table: on problems with one row that some assignment breaks
// (beside any number of rows every assignment meets), the status, value and
// assignment must be those of a brute force over every assignment; it must
// decline everything else; a stopped table returns a sound assignment; and
// the single-row shared instances reach their optima through it.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>

#include "exact_search/exact_search.h"
#include "exact_search/one_row_bounds.h"
#include "exact_search/one_row_coarse.h"
#include "exact_search/one_row_coarse_bounds.h"
#include "exact_search/one_row_knapsack.h"
#include "exact_search/one_row_table_fill.h"
#include "exact_search/search_limits.h"
#include "exact_search/structure_methods.h"
#include "support/random_problems.h"
#include "support/run_support.h"
#include "support/search_support.h"

namespace zoint_test {
namespace {

using zoint::ExactOptions;
using zoint::ExactResult;
using zoint::ExactStatus;
using zoint::MethodOutcome;

constexpr int64_t kUnit50 = int64_t{1} << 50;

struct TableCall {
  MethodOutcome outcome;
  ExactResult result;
};

// The method called on its own, as SolveExact calls it.
TableCall CallTable(const TestProblem& problem, const ExactOptions& options = ExactOptions{}) {
  zoint::SearchLimits limits;
  StartLimitsFor(problem, options, limits);
  TableCall call;
  call.result = ExactResult{};
  call.result.status = ExactStatus::Stopped;
  // Marks of a result the method did not touch.
  call.result.value = 12345;
  call.result.stats.method = zoint::ExactMethod::SumEnumeration;
  call.result.stats.tableCells = 777;
  call.outcome = zoint::SolveOneRowByTable(ToProblem(problem), limits, call.result);
  return call;
}

int64_t ValueOf(const TestProblem& p, const int8_t* x) {
  int64_t value = 0;
  for (int32_t i = 0; i < p.n; ++i) value += p.c[i] * x[i];
  return value;
}

bool Feasible(const TestProblem& p, const int8_t* x) {
  for (const auto& row : p.rows) {
    int64_t lhs = 0;
    for (int32_t i = 0; i < p.n; ++i) lhs += row[i] * x[i];
    if (lhs > row[p.n]) return false;
  }
  return true;
}

// Rows that some assignment breaks: those whose positive coefficients
// together exceed the right-hand side.
int RowsThatMatter(const TestProblem& p) {
  int count = 0;
  for (const auto& row : p.rows) {
    int64_t largest = 0;
    for (int32_t i = 0; i < p.n; ++i) largest += row[i] > 0 ? row[i] : 0;
    count += largest > row[p.n] ? 1 : 0;
  }
  return count;
}

// With one row that matters the table answers, exactly as the brute force
// does; otherwise it declines.
void ExpectBruteForceAnswer(const TestProblem& problem, const std::string& context) {
  ASSERT_TRUE(zoint::NoSumCanWrap(ToProblem(problem))) << context << "\n" << ProblemText(problem);
  const TableCall call = CallTable(problem);
  if (RowsThatMatter(problem) != 1) {
    ASSERT_EQ(call.outcome, MethodOutcome::NotApplicable) << context << "\n" << ProblemText(problem);
    return;
  }
  ASSERT_EQ(call.outcome, MethodOutcome::Answered) << context << "\n" << ProblemText(problem);
  const ExactResult& r = call.result;
  const SearchResult expected = BruteForce(problem);
  const bool feasible = expected.value != zoint::NoSolutionValue;
  std::vector<int64_t> x(r.x, r.x + problem.n);
  ASSERT_EQ(r.status, feasible ? ExactStatus::Optimal : ExactStatus::Infeasible) << context << "\n"
                                                                                 << ProblemText(problem);
  ASSERT_EQ(r.hasSolution, feasible) << context;
  ASSERT_EQ(r.value, expected.value) << context << "\n" << ProblemText(problem);
  ASSERT_EQ(x, expected.vector) << context << "\n" << ProblemText(problem);
  ASSERT_EQ(r.stats.method, zoint::ExactMethod::OneRowTable) << context;
}

// The problem with `extra` rows no assignment breaks put in before and
// after its own.
TestProblem WithRowsMetByEvery(std::mt19937_64& rng, TestProblem problem, int32_t extra) {
  const TestProblem slack = RandomProblem(rng, families::kMetByEvery, problem.n, extra);
  for (const auto& row : slack.rows) {
    const auto at = rng() % 2 == 0 ? problem.rows.begin() : problem.rows.end();
    problem.rows.insert(at, row);
  }
  return problem;
}

TEST(OneRowTable, MatchesBruteForceOnRandomRows) {
  std::mt19937_64 rng(17);
  // Costs of both signs, many ties (the lexicographic choice), costs beyond
  // 32 bits, and knapsacks of either orientation; rows of both signs, some
  // broken by every assignment.
  const Family tableFamilies[] = {families::kOneRowSigned,    families::kOneRowFewCosts,
                                  families::kOneRowZeroCosts, families::kOneRowHugeCosts,
                                  families::kSignedKnapsack,  families::kKnapsack,
                                  families::kWeightedKnapsack};
  const int rounds = RoundsToRun(300);
  for (int round = 0; round < rounds; ++round) {
    for (const Family& family : tableFamilies) {
      // Mostly small, so the brute force stays quick; every 30th up to 20.
      const int32_t n = static_cast<int32_t>(round % 30 == 0 ? 16 + rng() % 5 : rng() % 15);
      TestProblem problem = RandomProblem(rng, family, n, 1);
      if (round % 3 != 0)
        problem = WithRowsMetByEvery(rng, problem, static_cast<int32_t>(Uniform(rng, 1, 3)));
      ExpectBruteForceAnswer(problem, "round " + std::to_string(round) + " " + family.name);
      if (HasFatalFailure()) return;
    }
  }
}

// Weights near 2^50 where few units of weight must be left out (the covering
// form of the table is small while the capacity is not), with costs small,
// summing near 2^31, or near 2^55 (values beyond 32 bits).
TEST(OneRowTable, MatchesBruteForceWithHugeWeightsAndCosts) {
  std::mt19937_64 rng(23);
  const int rounds = RoundsToRun(150);
  for (int round = 0; round < rounds; ++round) {
    const int32_t n = static_cast<int32_t>(1 + rng() % 14);
    TestProblem problem{n, {}, {std::vector<int64_t>(static_cast<size_t>(n) + 1, 0)}};
    std::vector<int64_t>& row = problem.rows[0];
    const int64_t sign = round % 2 == 0 ? 1 : -1;
    int64_t sum = 0;
    for (int32_t i = 0; i < n; ++i) {
      row[i] = sign * (kUnit50 + Uniform(rng, 0, 1000));
      sum += row[i];
      // Small costs; costs whose gains sum near 2^31 (the edge of 32-bit
      // values); costs near 2^55.
      const int64_t cost = round % 3 == 0   ? Uniform(rng, -20, 20)
                           : round % 3 == 1 ? -Uniform(rng, 100000000, 150000000)
                                            : Uniform(rng, -3, 3) * (int64_t{1} << 55) + Uniform(rng, -1, 1);
      problem.c.push_back(cost);
    }
    // Positive rows: at least a few units left out; negative rows: at least
    // a few units taken.
    row[n] = sign > 0 ? sum - Uniform(rng, 1, 3000) : -Uniform(rng, 1, 3000);
    ExpectBruteForceAnswer(problem, "round " + std::to_string(round));
    if (HasFatalFailure()) return;
  }
}

// Costs −λ·a: every item gains λ per unit of weight, so the optimum is the
// heaviest sum within the capacity, reached by many assignments at once
// (the lexicographic choice among them matters). Variables outside the row
// get costs of any sign.
TEST(OneRowTable, MatchesBruteForceWhereProfitsFollowWeights) {
  std::mt19937_64 rng(29);
  const int rounds = RoundsToRun(300);
  for (int round = 0; round < rounds; ++round) {
    const int32_t n = static_cast<int32_t>(round % 30 == 0 ? 16 + rng() % 5 : 1 + rng() % 14);
    const int64_t lambda = round % 2 == 0 ? 1 : 3;
    TestProblem problem{n, {}, {std::vector<int64_t>(static_cast<size_t>(n) + 1, 0)}};
    std::vector<int64_t>& row = problem.rows[0];
    int64_t least = 0;
    int64_t largest = 0;
    for (int32_t i = 0; i < n; ++i) {
      row[i] = rng() % 6 == 0 ? 0 : Uniform(rng, -40, 40);
      (row[i] < 0 ? least : largest) += row[i];
      problem.c.push_back(row[i] == 0 ? Uniform(rng, -5, 5) : -lambda * row[i]);
    }
    row[n] = Uniform(rng, least - 2, largest - 1);
    ExpectBruteForceAnswer(problem, "round " + std::to_string(round));
    if (HasFatalFailure()) return;
  }
}

// Weights near 10^6 with profits strongly correlated: the real table would
// be large (16 to 20 items over a capacity of millions), so a coarse table
// gives the first assignment. Whatever fits the
// coarse knapsack must fit the real one, gain what it says, and gain no
// more than the optimum; and the answer through it stays the brute force's.
// Weights from least to twice that; the capacity is thirds/3 of their sum:
// a third leaves the packing form of the table the smaller, two thirds the
// covering form.
TestProblem HeavyRow(std::mt19937_64& rng, int32_t n, int64_t thirds, int64_t least, bool correlated = true) {
  TestProblem p{n, {}, {std::vector<int64_t>(static_cast<size_t>(n) + 1, 0)}};
  int64_t sum = 0;
  for (int32_t i = 0; i < n; ++i) {
    const int64_t w = Uniform(rng, least, 2 * least);
    p.c.push_back(correlated ? -(w + 100000) : -Uniform(rng, 1, 2 * least));
    sum += p.rows[0][i] = w;
  }
  p.rows[0][n] = sum * thirds / 3;
  return p;
}

// The weight and profit of the items among the first `count` whose bits
// are set in subset.
void SubsetTotals(const zoint::OneRowKnapsack& knapsack, uint32_t subset, int32_t count, uint64_t& weight,
                  uint64_t& profit) {
  for (int32_t k = 0; k < count; ++k) {
    if ((subset >> k) & 1u) {
      weight += knapsack.items[k].weight;
      profit += knapsack.items[k].profit;
    }
  }
}

TEST(OneRowTable, CoarseTableGivesASoundFirstAssignment) {
  std::mt19937_64 rng(31);
  for (int round = 0; round < RoundsToRun(20); ++round) {
    const TestProblem p = HeavyRow(rng, 16, 1 + round % 2, 700000);
    zoint::OneRowKnapsack knapsack;
    ASSERT_EQ(zoint::ReadOneRow(ToProblem(p), knapsack), zoint::OneRowKind::Knapsack);
    ASSERT_EQ(knapsack.itemCount, 16);
    int8_t taken[zoint::MaxVariables] = {};
    const uint64_t profit = zoint::ImproveByCoarseTable(knapsack, taken);
    EXPECT_GT(profit, 0u) << "round " << round << ": the coarse table was not filled";
    uint64_t weight = 0;
    for (int32_t k = 0; k < knapsack.itemCount; ++k) weight += taken[k] != 0 ? knapsack.items[k].weight : 0;
    EXPECT_LE(weight, knapsack.capacity) << "round " << round;
    EXPECT_EQ(zoint::ProfitOf(knapsack, taken), profit) << "round " << round;
    // Every item gains; the best of all 2^16 subsets that fit bounds it.
    uint64_t optimum = 0;
    for (uint32_t subset = 0; subset < (1u << 16); ++subset) {
      uint64_t w = 0;
      uint64_t gain = 0;
      SubsetTotals(knapsack, subset, 16, w, gain);
      if (w <= knapsack.capacity) optimum = std::max(optimum, gain);
    }
    EXPECT_LE(profit, optimum) << "round " << round;
  }
  // Tables of 10^8 cells, where the coarse bounds leave chunks out too.
  for (int round = 0; round < RoundsToRun(4); ++round) {
    ExpectBruteForceAnswer(HeavyRow(rng, 20, 1 + round % 2, 1000000), "heavy round " + std::to_string(round));
    if (HasFatalFailure()) return;
  }
}

// The coarse bounds hold for every assignment: at each item k, over any
// range of capacities holding the one its items before k leave, and at the
// cell of either form of the table it passes, the bounds reach its profit.
TEST(OneRowTable, CoarseBoundsHoldForEveryAssignment) {
  std::mt19937_64 rng(37);
  for (int round = 0; round < RoundsToRun(12); ++round) {
    // Uncorrelated profits too, where the bounds tell capacities apart best.
    const TestProblem p = HeavyRow(rng, 14, 1 + round % 2, 700000, round % 4 < 2);
    zoint::OneRowKnapsack knapsack;
    ASSERT_EQ(zoint::ReadOneRow(ToProblem(p), knapsack), zoint::OneRowKind::Knapsack);
    ASSERT_EQ(knapsack.itemCount, 14);
    zoint::CoarseBounds bounds;
    zoint::MakeCoarseBounds(knapsack, UINT64_MAX, bounds);
    ASSERT_GT(bounds.scale, 1u);
    // Windows for a target of 0: every cell an assignment can pass.
    zoint::TableShape shape;
    ASSERT_TRUE(zoint::PlanTable(knapsack, 0, shape));
    ASSERT_EQ(shape.covering, round % 2 == 1);
    for (uint32_t subset = 0; subset < (1u << 14); ++subset) {
      uint64_t weight = 0;
      uint64_t profit = 0;
      SubsetTotals(knapsack, subset, 14, weight, profit);
      if (weight > knapsack.capacity) continue;
      // In the table's own cells: capacity left (up to the weight of the
      // items left), or the weight still to leave out.
      uint64_t before = 0;
      uint64_t leftOut = 0;
      for (int32_t k = 0; k < 14; ++k) {
        const uint64_t cell = shape.covering ? (shape.top > leftOut ? shape.top - leftOut : 0)
                                             : std::min(knapsack.capacity - before, shape.ceiling[k]);
        ASSERT_TRUE(zoint::CellsCanReach(shape, bounds, k, cell, cell, profit))
            << "round " << round << " subset " << subset << " item " << k << " cell " << cell;
        if (((subset >> k) & 1u) == 0) leftOut += knapsack.items[k].weight;
        const uint64_t left = knapsack.capacity - before;
        const uint64_t low = left - std::min<uint64_t>(left, rng() % 3000);
        const uint64_t high = std::min<uint64_t>(knapsack.capacity, left + rng() % 3000);
        ASSERT_TRUE(zoint::CapacitiesCanReach(bounds, k, left, left, profit))
            << "round " << round << " subset " << subset << " item " << k;
        ASSERT_TRUE(zoint::CapacitiesCanReach(bounds, k, low, high, profit))
            << "round " << round << " subset " << subset << " item " << k << " from " << low << " to "
            << high;
        if ((subset >> k) & 1u) before += knapsack.items[k].weight;
      }
    }
  }
}

TEST(OneRowTable, HandPickedAnswers) {
  const struct {
    const char* name;
    TestProblem problem;
    ExactStatus status;
    int64_t value;
    std::vector<int8_t> x;
  } cases[] = {
      {"zero costs, one of three to take: the last",
       {3, {0, 0, 0}, {{-1, -1, -1, -1}}},
       ExactStatus::Optimal,
       0,
       {0, 0, 1}},
      {"equal profits, room for two of four: the last two",
       {4, {-5, -5, -5, -5}, {{1, 1, 1, 1, 2}}},
       ExactStatus::Optimal,
       -10,
       {0, 0, 1, 1}},
      {"a free variable of negative coefficient makes the room",
       {2, {0, -3}, {{-4, 5, 1}}},
       ExactStatus::Optimal,
       -3,
       {1, 1}},
      {"costs that gain nothing stay 0 outside the row",
       {3, {0, -2, 4}, {{3, 0, 0, 1}}},
       ExactStatus::Optimal,
       -2,
       {0, 1, 0}},
      {"every item left fits",
       {4, {-1, 0, -2, 3}, {{1, -1, 1, 4, 2}}},
       ExactStatus::Optimal,
       -3,
       {1, 0, 1, 0}},
      {"broken by every assignment",
       {2, {1, 1}, {{1, 1, -1}}},
       ExactStatus::Infeasible,
       zoint::NoSolutionValue,
       {0, 0}},
      {"no variables, negative right-hand side",
       {0, {}, {{-1}}},
       ExactStatus::Infeasible,
       zoint::NoSolutionValue,
       {}},
      {"the only feasible assignment is worth 2^63 - 1",
       {2, {INT64_MAX - 1, 1}, {{-1, -1, -2}}},
       ExactStatus::Infeasible,
       zoint::NoSolutionValue,
       {0, 0}},
  };
  for (const auto& c : cases) {
    const TableCall call = CallTable(c.problem);
    ASSERT_EQ(call.outcome, MethodOutcome::Answered) << c.name;
    EXPECT_EQ(call.result.status, c.status) << c.name;
    EXPECT_EQ(call.result.value, c.value) << c.name;
    EXPECT_EQ(std::vector<int8_t>(call.result.x, call.result.x + c.problem.n), c.x) << c.name;
    // The brute force agrees with the hand.
    EXPECT_EQ(BruteForce(c.problem).value, c.value) << c.name;
  }
}

TEST(OneRowTable, DeclinesAllButOneRowThatMatters) {
  // Random weights near 2^40, half of them fitting, each worth its weight:
  // the relaxation fixes nothing, and a table over that capacity is far
  // beyond its budget.
  std::mt19937_64 rng(5);
  TestProblem wide{12, {}, {std::vector<int64_t>(13, 0)}};
  int64_t sum = 0;
  for (int32_t i = 0; i < 12; ++i) {
    sum += wide.rows[0][i] = (int64_t{1} << 40) + Uniform(rng, 0, int64_t{1} << 30);
    wide.c.push_back(-wide.rows[0][i]);
  }
  wide.rows[0][12] = sum / 2;
  const struct {
    const char* name;
    TestProblem problem;
  } cases[] = {
      {"no rows", {3, {1, -1, 0}, {}}},
      {"every row met by every assignment", {3, {1, -1, 0}, {{1, 1, 1, 3}, {-1, 2, 0, 2}}}},
      {"two rows that matter", {3, {-1, -1, -1}, {{1, 1, 1, 2}, {1, 0, 2, 2}}}},
      {"two rows that matter beside one that does not",
       {3, {-1, -1, -1}, {{1, 1, 0, 1}, {1, 1, 1, 9}, {0, 1, 1, 1}}}},
      {"a capacity beyond the table's budget", wide},
  };
  for (const auto& c : cases) {
    const TableCall call = CallTable(c.problem);
    EXPECT_EQ(call.outcome, MethodOutcome::NotApplicable) << c.name;
    EXPECT_EQ(call.result.value, 12345) << c.name << ": the result was touched";
    EXPECT_EQ(call.result.stats.method, zoint::ExactMethod::SumEnumeration) << c.name;
    EXPECT_EQ(call.result.stats.tableCells, 777u) << c.name;
    // The exact search answers by another method.
    const ExactResult r = zoint::SolveExact(ToProblem(c.problem), ExactOptions{});
    EXPECT_NE(r.stats.method, zoint::ExactMethod::OneRowTable) << c.name;
  }
}

// A knapsack of 100 items with strongly correlated profits, weights to
// `range`, filled halfway: at 10^5 the table is a few million cells, at
// 3·10^5 some ten million, at 10^6 a few hundred million: more than the
// fixing settles.
TestProblem CorrelatedRow(uint64_t seed, int64_t range) {
  std::mt19937_64 rng(seed);
  TestProblem p{100, {}, {std::vector<int64_t>(101, 0)}};
  int64_t sum = 0;
  for (int32_t i = 0; i < 100; ++i) {
    const int64_t w = Uniform(rng, 1, range);
    p.c.push_back(-(w + range / 10));
    sum += p.rows[0][i] = w;
  }
  p.rows[0][100] = sum / 2;
  return p;
}

TEST(OneRowTable, StoppedTableReturnsASoundAssignment) {
  const TestProblem p = CorrelatedRow(1, 100000);
  const TableCall full = CallTable(p);
  ASSERT_EQ(full.result.status, ExactStatus::Optimal);
  ASSERT_GT(full.result.stats.tableCells, 0u);

  volatile int32_t cancel = 1;
  ExactOptions options;
  options.cancel = &cancel;
  const TableCall stopped = CallTable(p, options);
  ASSERT_EQ(stopped.outcome, MethodOutcome::Answered);
  const ExactResult& r = stopped.result;
  EXPECT_EQ(r.status, ExactStatus::Stopped);
  // The greedy packing: feasible, worth what it says, no better than the optimum.
  ASSERT_TRUE(r.hasSolution);
  EXPECT_TRUE(Feasible(p, r.x));
  EXPECT_EQ(ValueOf(p, r.x), r.value);
  EXPECT_GE(r.value, full.result.value);
}

// The table of some ten million cells reports every millisecond, each
// time with the greedy or core assignment and the relaxation's bound.
TEST(OneRowTable, ProgressBoundsHoldThroughSolveExact) {
  const TestProblem p = CorrelatedRow(2, 300000);
  ProgressLog log;
  ExactOptions options;
  options.progress = Record;
  options.progressData = &log;
  options.progressInterval = 0.001;
  const ExactResult r = zoint::SolveExact(ToProblem(p), options);
  ASSERT_EQ(r.status, ExactStatus::Optimal);
  EXPECT_EQ(r.stats.method, zoint::ExactMethod::OneRowTable);
  EXPECT_TRUE(Feasible(p, r.x));
  EXPECT_EQ(ValueOf(p, r.x), r.value);
  ASSERT_FALSE(log.reports.empty());
  for (const zoint::ExactProgress& report : log.reports) {
    EXPECT_LE(report.bound, r.value);
    ASSERT_TRUE(report.hasSolution);
    EXPECT_GE(report.bestValue, r.value);
  }
}

// A flag raised from the third report stops the table there, with a sound
// assignment.
TEST(OneRowTable, CancelFromTheProgressReportStopsMidway) {
  const TestProblem p = CorrelatedRow(3, 1000000);
  ProgressLog log;
  log.cancelAfter = 3;
  ExactOptions options;
  options.cancel = &log.cancel;
  options.progress = Record;
  options.progressData = &log;
  options.progressInterval = 0.001;
  const ExactResult r = zoint::SolveExact(ToProblem(p), options);
  // Three while it ran, then the last one, made as it stopped.
  ASSERT_EQ(log.reports.size(), 4u);
  EXPECT_EQ(r.status, ExactStatus::Stopped);
  EXPECT_EQ(r.stats.method, zoint::ExactMethod::OneRowTable);
  EXPECT_EQ(log.reports.back().hasSolution, r.hasSolution);
  EXPECT_EQ(log.reports.back().bestValue, r.value);
  ASSERT_TRUE(r.hasSolution);
  EXPECT_TRUE(Feasible(p, r.x));
  EXPECT_EQ(ValueOf(p, r.x), r.value);
  EXPECT_GE(r.value, log.reports.back().bound);
}

// The shared single-row instances, through a call as a host makes it: the
// table answers, with the reference optimum and an assignment that meets
// the row and is worth it. Todd's weights are far beyond any table.
TEST(OneRowTable, SharedSingleRowInstancesReachTheirOptima) {
  const std::string root = ZOINT_INSTANCES_DIR "/structure/";
  const char* const names[] = {"avis_n50",   "pi_sc_r4",  "pi_asc_r4",  "pi_ss_r4",
                               "pi_span_r4", "pi_isc_r6", "pi_pceil_r6"};
  if (!FileExists(root + names[0] + "/ZOIntIn.dat")) GTEST_SKIP() << "no instances under " << root;
  for (const char* name : names) {
    const std::string folder = root + name + "/";
    const std::string input = ReadFile(folder + "ZOIntIn.dat");
    ASSERT_FALSE(input.empty()) << name;
    ScratchDir scratch;
    const RunOutput run = Solve(input);
    EXPECT_EQ(run.report.exact.method, zoint::ExactMethod::OneRowTable) << name;
    std::istringstream solution(run.solution);
    std::string value;
    std::string vector;
    std::getline(solution, value);
    std::getline(solution, vector);
    std::istringstream optimum(ReadFile(folder + "optimum.txt"));
    std::string expected;
    optimum >> expected;
    EXPECT_EQ(value, expected) << name;
    // The assignment meets the row and is worth the value.
    std::istringstream text(input);
    std::string line;
    std::vector<std::vector<int64_t>> lines;
    while (std::getline(text, line)) {
      std::vector<int64_t> numbers;
      std::istringstream fields(line);
      std::string field;
      while (std::getline(fields, field, ',')) {
        if (!field.empty() && field != "\r") numbers.push_back(std::stoll(field));
      }
      lines.push_back(numbers);
    }
    ASSERT_EQ(lines.size(), 3u) << name;
    const int32_t n = static_cast<int32_t>(lines[0][0]);
    TestProblem problem{n, lines[1], {lines[2]}};
    std::vector<int8_t> x;
    std::istringstream entries(vector);
    std::string entry;
    while (std::getline(entries, entry, ',')) x.push_back(static_cast<int8_t>(std::stoi(entry)));
    ASSERT_EQ(static_cast<int32_t>(x.size()), n) << name;
    EXPECT_TRUE(Feasible(problem, x.data())) << name;
    EXPECT_EQ(std::to_string(ValueOf(problem, x.data())), expected) << name;
  }
}

}  // namespace
}  // namespace zoint_test
