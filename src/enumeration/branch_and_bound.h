// The accelerated search's depth-first branch and bound over one subproblem:
// the variables fixed in the level-0 fixing stay fixed, the rest are searched
// for completions whose objective is at most the cutoff.
#ifndef ZOINT_BRANCH_AND_BOUND_H
#define ZOINT_BRANCH_AND_BOUND_H

#include <cstdint>
#include <memory>

#include "enumeration/certified_bound.h"
#include "enumeration/column_problem.h"
#include "enumeration/fixing.h"
#include "enumeration/lp_relaxation.h"

namespace zoint {

struct Dive {
  ColumnProblem problem;
  bool useLp;                         // the relaxation is trusted at these magnitudes
  LpWorkspace lp;                     // one tableau per level
  std::unique_ptr<Fixing[]> fixings;  // one per level; level 0 is the subproblem
  // Per level and scratch, kept off the stack: the recursion may run 100
  // deep on a host thread with a small stack.
  std::unique_ptr<LpResult[]> relaxations;
  CertifiedBound bound;
  int64_t cutoff;    // completions with objective ≤ cutoff are sought
  bool stopAtFirst;  // else each one found lowers the cutoff below itself
  bool found;
  int64_t foundValue;
  int8_t foundVector[MaxVariables];
};

// Searches below the node at this level, whose fixing (and, with the
// relaxation, whose tableau) the caller has set.
void Explore(Dive& dive, int32_t level);

}  // namespace zoint

#endif  // ZOINT_BRANCH_AND_BOUND_H
