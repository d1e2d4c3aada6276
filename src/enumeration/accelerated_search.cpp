// Two passes over one branch and bound. The first finds the least objective
// z*, branching wherever the relaxation suggests. The second fixes x_0, x_1,
// … in turn to the smallest value that still admits a completion of objective
// z*: x_d = 0 exactly when some optimal assignment extends the prefix with 0.
// That is the definition of the lexicographically smallest optimum, so no tie
// can be resolved differently from the enumeration. An optimal assignment
// found along the way (the witness) answers every position where it has a 0
// without a search.
#include "enumeration/accelerated_search.h"

#include <memory>

#include "enumeration/branch_and_bound.h"
#include "run/solver_state.h"

namespace zoint {

namespace {

// Level n + 1 keeps the root's final basis for the second pass to start from.
int32_t RootBasisLevel(const Dive& dive) { return dive.problem.n + 1; }

// The least objective ≤ NoSolutionValue − 1; the enumeration replaces its
// incumbent only on a strictly smaller value, so an assignment of objective
// NoSolutionValue is never reported.
void FindLeastObjective(Dive& dive) {
  StartFixing(dive.fixings[0], dive.problem);
  dive.cutoff = NoSolutionValue - 1;
  dive.stopAtFirst = false;
  dive.found = false;
  Explore(dive, 0);
  if (dive.useLp) CopyLpLevel(dive.lp, 0, RootBasisLevel(dive));
}

// Whether some completion of prefix x_0 … x_{d−1}, x_d = 0 reaches objective
// best; if so dive.foundVector holds one.
bool ZeroExtendsOptimum(Dive& dive, const int8_t* prefix, int32_t d, int64_t best) {
  Fixing& fixing = dive.fixings[0];
  StartFixing(fixing, dive.problem);
  for (int32_t i = 0; i < d; ++i) FixVariable(fixing, dive.problem, i, prefix[i]);
  FixVariable(fixing, dive.problem, d, 0);
  if (dive.useLp) CopyLpLevel(dive.lp, RootBasisLevel(dive), 0);
  // best, not best − 1: a node whose bound equals z* may still hold the
  // smallest optimum, so only bounds strictly above z* close a node here.
  dive.cutoff = best;
  dive.stopAtFirst = true;
  dive.found = false;
  ++g_stats.nodes;
  Explore(dive, 0);
  return dive.found;
}

}  // namespace

void AcceleratedSearch() {
  const int32_t n = g_state.n;
  auto dive = std::make_unique<Dive>();
  LoadColumns(dive->problem, g_state.problem, n, g_state.m);
  dive->fixings.reset(new Fixing[static_cast<size_t>(n) + 1]);
  dive->relaxations.reset(new LpResult[static_cast<size_t>(n) + 1]);
  dive->useLp = PrepareLp(dive->lp, dive->problem, n + 2);

  FindLeastObjective(*dive);
  if (!dive->found) return;  // the incumbent stays NoSolutionValue with the zero vector
  const int64_t best = dive->foundValue;
  int8_t witness[MaxVariables];
  for (int32_t i = 0; i < n; ++i) witness[i] = dive->foundVector[i];
  g_state.incumbentValue = best;

  if (!dive->useLp) {
    // Without the relaxation the pass branched as the enumeration does, on
    // the first free variable, 0 first, and recorded only strict
    // improvements. Every earlier find is lexicographically smaller than the
    // smallest optimum, so it cost more and left the cutoff at or above z*;
    // that optimum was therefore reached and is the last find.
    for (int32_t i = 0; i < n; ++i) g_state.incumbentVector[i] = witness[i];
    return;
  }

  // The witness always extends the answer's prefix, so where it holds a 0
  // that 0 is the answer; elsewhere a search decides.
  int8_t answer[MaxVariables];
  for (int32_t d = 0; d < n; ++d) {
    if (witness[d] == 0) {
      answer[d] = 0;
    } else if (ZeroExtendsOptimum(*dive, answer, d, best)) {
      answer[d] = 0;
      for (int32_t i = 0; i < n; ++i) witness[i] = dive->foundVector[i];
    } else {
      answer[d] = 1;
    }
  }

  for (int32_t i = 0; i < n; ++i) g_state.incumbentVector[i] = answer[i];
}

}  // namespace zoint
