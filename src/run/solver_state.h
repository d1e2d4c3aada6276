// The process-wide state of one solve, and the operations that bracket a run.
#ifndef ZOINT_SOLVER_STATE_H
#define ZOINT_SOLVER_STATE_H

#include <cstdint>

#include "enumeration/search_node.h"
#include "exact_search/exact_search.h"
#include "exchange/messages.h"
#include "problem/problem.h"

namespace zoint {

struct SolverState {
  Problem problem;                        // n, m, costs and rows of the loaded problem, held once
  int64_t incumbentValue;                 // best feasible objective so far
  int64_t incumbentVector[MaxVariables];  // its assignment; entries n … 99 are 0
  bool inputValid;                        // the search runs only while set
  SearchNode* root;                       // none between runs
  // The enumeration's working data: the problem by columns, and the
  // current path's assignment with the sums it implies.
  ColumnIndex columns;
  int64_t assignment[MaxVariables];      // x of the current path; 0 beyond it
  uint64_t rowActivity[MaxConstraints];  // a_j·x of that assignment (wrapping)
  int32_t violatedRows;                  // rows whose activity exceeds b_j
  SearchNode nodes[MaxVariables];        // node storage, one slot per depth
};

// Counters of the last run, kept across its final reset so hosts of the
// static library (the CLI, tests, the benchmark) can read them afterwards.
enum class SearchKind { None, Enumeration, Exact };

struct Stats {
  SearchKind search;     // which search ran; None when the load failed
  uint64_t nodes;        // enumeration: nodes created below the root
  uint64_t evaluations;  // enumeration: EvaluateNode calls
  ExactStats exact;      // exact search: its own counters
  Failure warning;       // the warning the run showed the user; None when it showed none
};

extern SolverState g_state;
extern Stats g_stats;

// Returns the root, creating it on first use in a run.
SearchNode* GetRoot();

// Returns every field of the state to its start value.
void ResetSolver();

}  // namespace zoint

#endif  // ZOINT_SOLVER_STATE_H
