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
  Closed,      // nothing left within the cutoff (or, in the witness pass, one was found)
  Branch,      // the relaxation and its certified bound are in lp and bound
  BranchBlind  // the relaxation could not be used
};

// The outcome of one look at a node.
struct Look {
  Verdict verdict;
  bool solvedLp;  // a relaxation was solved to optimality and its bound is valid
};

// One look: propagation, the zero completion, then one relaxation from the
// level's basis and the bound its multipliers certify.
Look LookAtNode(Dive& dive, int32_t level, SearchPass pass, Fixing& fixing, LpResult& lp,
                CertifiedBound& bound);

// The outcome of relaxing a node, its fixings included.
struct Relaxation {
  Verdict verdict;
  // Whether the node's first look (the node as it came) solved a relaxation,
  // and then its proven bound, as a guide for the pseudocosts.
  bool firstSolvedLp;
  double firstBound;
};

// Looks at the node, its bound in dive.bound, then fixes the variables whose
// other value the bound rules out, and looks again, until nothing more is
// fixed.
Relaxation RelaxNode(Dive& dive, int32_t level, SearchPass pass, Fixing& fixing, LpResult& lp);

// The first pass knows that no assignment it has not yet found is worth less
// than lower (in y): with the best found, that bounds every assignment. The
// progress reports' bound, rounded up as every objective is an integer.
void NoteLowerBound(Dive& dive, ProvenBound lower);

// Whether a relaxed value is too far from 0 and from 1 to count as integral.
bool IsFractional(double value);

}  // namespace zoint

#endif  // ZOINT_NODE_RELAXATION_H
