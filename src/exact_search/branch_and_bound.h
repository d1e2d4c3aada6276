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
#include "exact_search/solution_list.h"
#include "exact_search/tie_boxes.h"

namespace zoint {

// The passes of one call: each asks the same tree search a different
// question, and each procedure whose behaviour differs between them is told
// the pass by its caller, never guesses it from the state.
enum class SearchPass {
  // Without the relaxation: the least objective, branching as the
  // enumeration does (first free variable, 0 first); each find lowers the
  // cutoff below itself and is recorded as it is.
  LeastObjectiveBlind,
  // A first good assignment in a restricted problem (a core: level 0 fixes
  // most variables) under a node budget; each find, improved by exchanges,
  // lowers the cutoff below itself.
  Cores,
  // The proof of the least objective, from the root: finds as good as the
  // best are weighed (the smaller in x is kept), regions that can hold only
  // ties are set aside as tie boxes, a long search sets nodes aside in the
  // pool. Level 0 is the whole problem, so its bound bounds every assignment.
  ProofFromRoot,
  // The same, resumed at a node taken from the pool: level 0 is that node.
  ProofFromPool,
  // Is there a completion with objective ≤ cutoff? Stops at the first one.
  Witness,
  // The first assignments in (objective, lexicographic) order: every
  // feasible one met goes into the solution list, a node is closed only
  // when nothing in it can enter the list, and the cutoff is the list's.
  Collect,
};

constexpr bool StopsAtFirst(SearchPass pass) { return pass == SearchPass::Witness; }
constexpr bool CollectsList(SearchPass pass) { return pass == SearchPass::Collect; }
constexpr bool CollectsTies(SearchPass pass) {
  return pass == SearchPass::ProofFromRoot || pass == SearchPass::ProofFromPool;
}
// Finds are improved by exchanges before they are recorded: not in the
// blind pass, whose branching order alone settles ties (see
// ChooseSmallestOptimum), nor when any completion will do.
constexpr bool ImprovesFinds(SearchPass pass) {
  return pass == SearchPass::Cores || CollectsTies(pass);
}

// How a node was made from its parent, so that its first relaxation can
// teach the pseudocosts what that branch did to the bound.
struct BranchTaken {
  int32_t variable;
  int8_t value;
  double fraction;     // the variable's value in the parent's relaxation
  double parentBound;  // the parent's proven bound, as a guide
  bool guided;         // the parent's relaxation chose it (else the rest is meaningless)
};

// Everything one search works on; owned by one call of SolveExact. Levels
// run from 0 (the subproblem) to n; a node at one level tries its branches
// in the next level's slots before it makes its children there.
struct Dive {
  OrientedProblem problem;
  bool useLp;                         // the relaxation is used at these magnitudes
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
  TieBoxes* ties;                           // where the proof collects tie boxes; else null
  NodePool* pool;                           // where the proof sets nodes aside; else null
  SolutionList* list;                       // where the collecting pass lists what it finds; else null
  uint64_t nodeBudget;                      // Cores: stop once limits.nodes reaches it
  // The open regions of the current path, for the progress bound: per level
  // the node's proven bound once it branches, and whether its second child
  // is still to come; level is the node being entered.
  ProvenBound pathBound[MaxVariables + 1];
  bool secondPending[MaxVariables + 1];
  int32_t level;
  bool found;
  int64_t foundValue;                // in y: cost·y
  int8_t foundVector[MaxVariables];  // y
  SearchLimits limits;
  ExactStats stats;
};

// A search of the problem under these limits: the problem in y, one slot
// per level (and, for the relaxation, two more: level n + 1 keeps the
// root's basis), no pass under way.
std::unique_ptr<Dive> MakeDive(const Problem& problem, const SearchLimits& limits);

// Searches below the node at this level, whose fixing (and, with the
// relaxation, whose basis) the caller has set, as the pass asks. Returns
// early, leaving dive.limits.stopped set, when a limit is reached.
void Explore(Dive& dive, int32_t level, SearchPass pass);

// The least proven bound of the regions the search has open below the
// level it is entering: its parent's bound, and that of every node on the
// path whose second child is still to come. Nothing at level 0.
ProvenBound LeastOpenBound(const Dive& dive);

}  // namespace zoint

#endif  // ZOINT_BRANCH_AND_BOUND_H
