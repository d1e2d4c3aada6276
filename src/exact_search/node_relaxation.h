// What the exact tests and the relaxation say about one node. Every test is
// exact or certified: a node is closed only when it holds no completion with
// objective ≤ cutoff beyond those already recorded, and a variable is fixed
// only when every such completion has that value.
#ifndef ZOINT_NODE_RELAXATION_H
#define ZOINT_NODE_RELAXATION_H

#include <cstdint>

#include "exact_search/branch_and_bound.h"

namespace zoint {

enum class Verdict {
  Closed,      // nothing left within the cutoff (or, stopping at the first, one was found)
  Branch,      // the relaxation and its certified bound are in lp and bound
  BranchBlind  // the relaxation could not be used
};

// One look: propagation, the zero completion, then one relaxation from the
// level's basis and the bound its multipliers certify.
Verdict LookAtNode(Dive& dive, int32_t level, Fixing& fixing, LpResult& lp, CertifiedBound& bound);

// Looks at the node, its bound in dive.bound, then fixes the variables whose other value
// the bound rules out, and looks again, until nothing more is fixed. When a
// relaxation was solved, firstBound is the bound of the first look (the
// node as it came), for the pseudocosts; otherwise it is NaN.
Verdict RelaxNode(Dive& dive, int32_t level, Fixing& fixing, LpResult& lp, double& firstBound);

// The first pass knows that no assignment is worth less than lower (in y):
// the progress reports' bound, rounded up as every objective is an integer.
void NoteLowerBound(Dive& dive, double lower);

// Whether a relaxed value is too far from 0 and from 1 to count as integral.
bool IsFractional(double value);

}  // namespace zoint

#endif  // ZOINT_NODE_RELAXATION_H
