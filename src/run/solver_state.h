// The state of one run: the loaded problem, the best answer, whether the
// input was valid, the enumeration's tree, and the report under way. Each
// call makes its own and drops it at its end, so nothing is left between
// calls and nothing is shared between them.
#ifndef ZOINT_SOLVER_STATE_H
#define ZOINT_SOLVER_STATE_H

#include <cstdint>

#include "enumeration/search_node.h"
#include "problem/problem.h"
#include "run/run_report.h"

namespace zoint {

struct SolverState {
  Problem problem;                        // n, m, costs and rows of the loaded problem
  int64_t incumbentValue;                 // best feasible objective; NoSolutionValue without one
  int64_t incumbentVector[MaxVariables];  // its assignment; entries n … 99 are 0
  bool inputValid;                        // the search runs only while set
  SearchNode* root;                       // the enumeration's root; none before GetRoot
  EnumerationState enumeration;           // the enumeration's own record
  RunReport report;
};

// Returns the root, creating it (a cleared node at depth 0) on first use.
SearchNode* GetRoot(SolverState& state);

// Returns every field of the state to its start value.
void ResetSolver(SolverState& state);

}  // namespace zoint

#endif  // ZOINT_SOLVER_STATE_H
