// Methods for structure that the branch and bound meets badly, tried before
// it. Each recognises its kind of problem in a few microseconds and answers
// only for that kind, with the same answer rule as the branch and bound:
// the least objective below NoSolutionValue, and among the assignments
// reaching it the lexicographically smallest (x_0 most significant, 0
// before 1), every decision resting on exact integer arithmetic.
#ifndef ZOINT_STRUCTURE_METHODS_H
#define ZOINT_STRUCTURE_METHODS_H

#include "exact_search/exact_search.h"
#include "exact_search/search_limits.h"
#include "problem/problem.h"

namespace zoint {

enum class MethodOutcome {
  NotApplicable,  // not the method's kind of problem, or too large for it; result untouched
  Answered,       // result holds the answer: Optimal or Infeasible, or Stopped when a limit stopped it
};

// One row that some assignment breaks (every other row is met by every
// assignment), with a capacity small enough for a table over it, one cell
// per unit of capacity and variable.
MethodOutcome SolveOneRowByTable(const Problem& problem, SearchLimits& limits, ExactResult& result);

// Rows in pairs that make equations (a·x ≤ d and −a·x ≤ −d), or one row
// whose costs are a multiple of its coefficients, over few enough
// variables: the subset sums of the two halves of the variables met in the
// middle, every assignment meeting the equations found. Tried after the
// table, which takes one row more cheaply where its capacity is small.
MethodOutcome SolveByEnumeratingSums(const Problem& problem, SearchLimits& limits, ExactResult& result);

}  // namespace zoint

#endif  // ZOINT_STRUCTURE_METHODS_H
