// The exact search's depth-first branch and bound over one subproblem: the
// variables fixed at level 0 stay fixed, the rest are searched for
// completions whose objective (in y) is at most the cutoff.
#ifndef ZOINT_BRANCH_AND_BOUND_H
#define ZOINT_BRANCH_AND_BOUND_H

#include <cstdint>
#include <memory>

#include "exact_search/certified_bound.h"
#include "exact_search/exact_search.h"
#include "exact_search/fixing.h"
#include "exact_search/lp_relaxation.h"
#include "exact_search/oriented_problem.h"
#include "exact_search/search_limits.h"

namespace zoint {

// Everything one search works on; owned by one call of SolveExact.
struct Dive {
  OrientedProblem problem;
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
  int64_t foundValue;                // in y: cost·y
  int8_t foundVector[MaxVariables];  // y
  SearchLimits limits;
  ExactStats stats;
};

// Searches below the node at this level, whose fixing (and, with the
// relaxation, whose tableau) the caller has set. Returns early, leaving
// dive.limits.stopped set, when a limit is reached.
void Explore(Dive& dive, int32_t level);

}  // namespace zoint

#endif  // ZOINT_BRANCH_AND_BOUND_H
