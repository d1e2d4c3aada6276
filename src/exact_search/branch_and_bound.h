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
#include "exact_search/node_pool.h"
#include "exact_search/oriented_problem.h"
#include "exact_search/pseudocosts.h"
#include "exact_search/search_limits.h"
#include "exact_search/tie_boxes.h"

namespace zoint {

// How a node was made from its parent, so that its first relaxation can
// teach the pseudocosts what that branch did to the bound.
struct BranchTaken {
  int32_t variable;
  int8_t value;
  double fraction;     // the variable's value in the parent's relaxation
  double parentBound;  // the parent's certified bound
  bool guided;         // the parent's relaxation chose it (else the rest is meaningless)
};

// Everything one search works on; owned by one call of SolveExact. Levels
// run from 0 (the subproblem) to n; a node at one level tries its branches
// in the next level's slots before it makes its children there.
struct Dive {
  OrientedProblem problem;
  bool useLp;                         // the relaxation is trusted at these magnitudes
  LpWorkspace lp;                     // one basis per level
  std::unique_ptr<Fixing[]> fixings;  // one per level; level 0 is the subproblem
  // Per level and scratch, kept off the stack: the recursion may run 100
  // deep on a host thread with a small stack.
  std::unique_ptr<LpResult[]> relaxations;
  std::unique_ptr<BranchTaken[]> branches;  // per level
  CertifiedBound bound;                     // of the node being relaxed
  CertifiedBound trialBound;                // of a branch being tried
  Pseudocosts pseudocosts;                  // learnt by every search of the call
  int64_t cutoff;                           // completions with objective ≤ cutoff are sought
  bool stopAtFirst;                         // else each one found lowers the cutoff below itself
  // Where ties are collected (the first pass with the relaxation): the
  // cutoff is the best value found, assignments as good are kept when
  // lexicographically smaller, and nodes that can hold nothing better are
  // set aside here. Otherwise null.
  TieBoxes* ties;
  uint64_t nodeBudget;  // a heuristic search stops when limits.nodes reaches it; 0: none
  // Where nodes may be set aside for later (the first pass's proof); else null.
  NodePool* pool;
  bool found;
  int64_t foundValue;                // in y: cost·y
  int8_t foundVector[MaxVariables];  // y
  SearchLimits limits;
  ExactStats stats;
};

// Searches below the node at this level, whose fixing (and, with the
// relaxation, whose basis) the caller has set. Returns early, leaving
// dive.limits.stopped set, when a limit is reached.
void Explore(Dive& dive, int32_t level);

}  // namespace zoint

#endif  // ZOINT_BRANCH_AND_BOUND_H
