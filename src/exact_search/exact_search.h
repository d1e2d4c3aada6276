// The exact search: the one door into the engine. It takes a problem in which
// no sum can wrap, whatever the signs of its numbers, and returns the least
// objective with the lexicographically smallest assignment that reaches it.
// It keeps no state between calls and touches nothing outside its arguments,
// so any number of calls may run at once on different threads.
#ifndef ZOINT_EXACT_SEARCH_H
#define ZOINT_EXACT_SEARCH_H

#include <cstdint>
#include <vector>

#include "exact_search/parameters.h"
#include "problem/problem.h"

namespace zoint {

// What a running search reports, about once per ExactOptions::progressInterval.
struct ExactProgress {
  double seconds;     // since the search started
  uint64_t nodes;     // nodes explored so far
  bool hasSolution;   // whether bestValue holds a feasible value
  int64_t bestValue;  // least objective found so far
  int64_t bound;      // no assignment has a smaller objective (exact, not rounded)
};

// Limits and hooks of one search. A default-constructed value has none.
struct ExactOptions {
  double timeLimitSeconds = 0;  // stop after this long; 0 or less: no limit
  uint64_t nodeLimit = 0;       // stop after this many nodes; 0: no limit
  // Stop as soon as this becomes nonzero; may be set from another thread or
  // a signal handler. May be null.
  const volatile int32_t* cancel = nullptr;
  // Called on the searching thread; must not call the engine again.
  void (*progress)(const ExactProgress& progress, void* data) = nullptr;
  void* progressData = nullptr;
  double progressInterval = parameters::kProgressInterval;  // seconds between two progress calls
  // Regions the first pass may set aside as holding at best ties with its
  // best; beyond that the second pass searches from the root instead (the
  // answer is the same). 0: parameters::kMaxTieBoxes, which bounds them to 32 MiB.
  uint64_t tieBoxLimit = 0;
  // Nodes searched purely depth first before the first pass begins to set
  // nodes aside, to take them up lowest bound first (the answer is the
  // same); most searches end sooner.
  uint64_t depthFirstNodes = parameters::kDepthFirstNodes;
};

enum class ExactStatus {
  Optimal,     // value and x are the answer
  Infeasible,  // proven: no assignment meets every row with a value below NoSolutionValue
  Stopped,     // a limit or the cancel flag stopped it; value and x are the best found, if any
};

// How a call found its answer.
enum class ExactMethod {
  BranchAndBound,  // the branch and bound with its two passes
  OneRowTable,     // one row that matters, solved by a table over its capacity
  SumEnumeration,  // subset sums of two halves met in the middle
};

// Counters of one search; each field has one meaning.
struct ExactStats {
  ExactMethod method;           // the method that gave the answer (or was stopped)
  uint64_t tableCells;          // OneRowTable: cells of the table filled
  uint64_t sumsVisited;         // SumEnumeration: subset sums enumerated
  uint64_t nodes;               // search nodes explored, both passes (the root of each search included)
  uint64_t lpSolves;            // linear relaxations solved by the dual simplex
  uint64_t lpPivots;            // dual simplex pivots over all those solves
  uint64_t branchTrials;        // branches relaxed only to choose where to branch
  uint64_t setAside;            // nodes the first pass set aside, to take up lowest bound first
  uint64_t tieBoxes;            // regions the first pass set aside as holding at best ties with its best
  bool secondPassFromRoot;      // more than ExactOptions::tieBoxLimit: the second pass ran from the root
  uint64_t secondPassSearches;  // searches the second pass ran in those regions (or from the root)
  double firstPassSeconds;      // finding the least objective and proving it
  double secondPassSeconds;     // choosing the lexicographically smallest optimum
};

struct ExactResult {
  ExactStatus status;
  bool hasSolution;        // Optimal, or Stopped after a feasible assignment was found
  int64_t value;           // its objective; NoSolutionValue without one
  int8_t x[MaxVariables];  // its assignment, entries 0 … n−1; all 0 without one
  ExactStats stats;
};

// The order every list of answers follows: by objective, then
// lexicographically (x_0 most significant, 0 before 1). SolveExact's answer
// is the first assignment in it.
enum class ListKind {
  Best,       // the first count assignments (fewer when fewer exist)
  Optimal,    // every assignment of the least objective, up to count
  WithinGap,  // every assignment worth at most the least objective plus gap, up to count
};

struct ListRequest {
  ListKind kind;
  uint64_t count;  // at least 1
  int64_t gap;     // WithinGap only; at least 0
};

struct ListedAnswer {
  int64_t value;
  int8_t x[MaxVariables];  // entries 0 … n−1
};

struct ListResult {
  // Optimal: answers is the list asked for. Infeasible: no assignment, the
  // list is empty. Stopped: a limit stopped it; answers holds those found
  // that are proven to be the first ones in the order.
  ExactStatus status;
  std::vector<ListedAnswer> answers;
  // Every assignment of the kind asked for is listed: no more than count of
  // them exist. False when stopped, and for Best with count 1 (the single
  // answer is not proven the only one).
  bool complete;
  ExactStats stats;
};

// Requires NoSumCanWrap(problem), 0 ≤ n ≤ MaxVariables, 0 ≤ m ≤ MaxConstraints.
//  - Optimal: value is the least c·x below NoSolutionValue over the x that
//    meet every row, and x the lexicographically smallest such assignment
//    (x_0 most significant, 0 before 1).
//  - Infeasible: there is none; value is NoSolutionValue and x all 0.
//  - Stopped: see ExactStatus.
// Throws std::bad_alloc when memory runs out, and nothing else.
ExactResult SolveExact(const Problem& problem, const ExactOptions& options);

// The list the request asks for, exact, each assignment once, in order. With
// Best and count 1 it is SolveExact's answer. Memory grows with count:
// about (n + 24) bytes an entry beside the search's own. Requires what
// SolveExact requires and a valid request; throws as it does.
ListResult ListSolutions(const Problem& problem, const ExactOptions& options, const ListRequest& request);

}  // namespace zoint

#endif  // ZOINT_EXACT_SEARCH_H
