// The choice of branching variable at a node whose relaxation is fractional:
// reliability branching. Candidates are ranked by their pseudocosts; those
// with too few observations are tried (both branches relaxed) in that order,
// until a few tries in a row bring no better candidate. A try that closes a
// branch fixes the variable to its other value at the node instead.
#ifndef ZOINT_BRANCHING_H
#define ZOINT_BRANCHING_H

#include <cstdint>

#include "exact_search/branch_and_bound.h"

namespace zoint {

struct BranchChoice {
  enum Kind {
    Close,  // both branches are closed (or the search is to stop)
    Refix,  // a variable was fixed at the node: relax it again
    Split   // branch on variable, value first first
  } kind;
  int32_t variable;
  int8_t first;
  bool guided;  // chosen from the relaxation
};

// lp and nodeBound are the node's relaxation and its proven bound (a guide
// here). Tries use the next level's slots and look at them as the pass does.
BranchChoice ChooseBranch(Dive& dive, int32_t level, SearchPass pass, Fixing& fixing, const LpResult& lp,
                          double nodeBound);

}  // namespace zoint

#endif  // ZOINT_BRANCHING_H
