// Two passes over one branch and bound, run in y (every cost ≥ 0). The first
// finds the least objective z*, branching wherever the relaxation suggests.
// The second fixes x_0, x_1, … in turn to the smallest value that still
// admits a completion of objective z*: x_d = 0 exactly when some optimal
// assignment extends the prefix with 0. That is the definition of the
// lexicographically smallest optimum, so no tie can be resolved any other
// way. An optimal assignment found along the way (the witness) answers every
// position where it has a 0 without a search.
#include "exact_search/exact_search.h"

#include <cassert>
#include <memory>

#include "exact_search/branch_and_bound.h"

namespace zoint {

namespace {

// Level n + 1 keeps the root's final basis for the second pass to start from.
int32_t RootBasisLevel(const Dive& dive) { return dive.problem.n + 1; }

// The least objective below NoSolutionValue: the answer rule leaves out an
// assignment worth exactly that, which the outputs could not tell from "none".
// In y that is cost·y ≤ NoSolutionValue − 1 − offset; with a negative offset
// every assignment qualifies, as cost·y ≤ Σ|c_i| ≤ NoSolutionValue.
int64_t FirstCutoff(const OrientedProblem& problem) {
  return problem.offset == 0 ? NoSolutionValue - 1 : NoSolutionValue;
}

void FindLeastObjective(Dive& dive) {
  StartFixing(dive.fixings[0], dive.problem);
  dive.cutoff = FirstCutoff(dive.problem);
  dive.stopAtFirst = false;
  dive.found = false;
  Explore(dive, 0);
  if (dive.useLp) CopyLpLevel(dive.lp, 0, RootBasisLevel(dive));
}

// Whether some completion of prefix x_0 … x_{d−1}, x_d = 0 reaches objective
// best (in y); if so dive.foundVector holds one.
bool ZeroExtendsOptimum(Dive& dive, const int8_t* prefix, int32_t d, int64_t best) {
  const OrientedProblem& problem = dive.problem;
  Fixing& fixing = dive.fixings[0];
  StartFixing(fixing, problem);
  for (int32_t i = 0; i < d; ++i) FixVariable(fixing, problem, i, OrientedValue(problem, i, prefix[i]));
  FixVariable(fixing, problem, d, OrientedValue(problem, d, 0));
  if (dive.useLp) CopyLpLevel(dive.lp, RootBasisLevel(dive), 0);
  // best, not best − 1: a node whose bound equals z* may still hold the
  // smallest optimum, so only bounds strictly above z* close a node here.
  dive.cutoff = best;
  dive.stopAtFirst = true;
  dive.found = false;
  ++dive.stats.secondPassSearches;
  Explore(dive, 0);
  return dive.found;
}

void TakeFoundInX(const Dive& dive, int8_t* x) {
  for (int32_t i = 0; i < dive.problem.n; ++i) x[i] = OrientedValue(dive.problem, i, dive.foundVector[i]);
}

// The answer as found in y, or the best found so far when a limit stopped
// the search.
void SetAnswer(ExactResult& result, const Dive& dive, ExactStatus status, int64_t valueInY, const int8_t* x) {
  result.status = status;
  result.hasSolution = true;
  result.value = dive.problem.offset + valueInY;
  for (int32_t i = 0; i < dive.problem.n; ++i) result.x[i] = x[i];
}

// Lexicographically smallest optimum, given a witness of value best (in y).
// Returns false when a limit stopped it.
bool ChooseSmallestOptimum(Dive& dive, int64_t best, int8_t* witness, int8_t* answer) {
  const int32_t n = dive.problem.n;
  if (!dive.useLp) {
    // Without the relaxation the first pass branched as the enumeration
    // does, on the first free variable with x = 0 first, and recorded only
    // strict improvements. Every earlier find is lexicographically smaller
    // than the smallest optimum, so it cost more and left the cutoff at or
    // above z*; that optimum was therefore reached and is the last find.
    for (int32_t i = 0; i < n; ++i) answer[i] = witness[i];
    return true;
  }
  // The witness always extends the answer's prefix, so where it holds a 0
  // that 0 is the answer; elsewhere a search decides.
  for (int32_t d = 0; d < n; ++d) {
    if (witness[d] == 0) {
      answer[d] = 0;
    } else if (ZeroExtendsOptimum(dive, answer, d, best)) {
      answer[d] = 0;
      TakeFoundInX(dive, witness);
    } else if (dive.limits.stopped) {
      return false;
    } else {
      answer[d] = 1;
    }
  }
  return true;
}

}  // namespace

ExactResult SolveExact(const Problem& problem, const ExactOptions& options) {
  assert(problem.n >= 0 && problem.n <= MaxVariables && problem.m >= 0 && problem.m <= MaxConstraints);
  assert(NoSumCanWrap(problem));
  ExactResult result = {};
  result.status = ExactStatus::Infeasible;
  result.value = NoSolutionValue;

  const int32_t n = problem.n;
  auto dive = std::make_unique<Dive>();
  OrientProblem(problem, dive->problem);
  // Every cost in y is ≥ 0, so no assignment is worth less than the offset.
  StartLimits(dive->limits, options, dive->problem.offset);
  dive->stats = ExactStats{};
  dive->fixings.reset(new Fixing[static_cast<size_t>(n) + 1]);
  dive->relaxations.reset(new LpResult[static_cast<size_t>(n) + 1]);
  dive->useLp = PrepareLp(dive->lp, dive->problem, n + 2);

  FindLeastObjective(*dive);
  dive->stats.firstPassSeconds = ElapsedSeconds(dive->limits);
  int8_t witness[MaxVariables] = {};
  if (dive->found) TakeFoundInX(*dive, witness);
  if (dive->limits.stopped) {
    if (dive->found) SetAnswer(result, *dive, ExactStatus::Stopped, dive->foundValue, witness);
    result.status = ExactStatus::Stopped;
  } else if (dive->found) {
    const int64_t best = dive->foundValue;
    dive->limits.bound = dive->problem.offset + best;  // proven
    int8_t answer[MaxVariables];
    const bool chosen = ChooseSmallestOptimum(*dive, best, witness, answer);
    SetAnswer(result, *dive, chosen ? ExactStatus::Optimal : ExactStatus::Stopped, best,
              chosen ? answer : witness);
    dive->stats.secondPassSeconds = ElapsedSeconds(dive->limits) - dive->stats.firstPassSeconds;
  }
  dive->stats.nodes = dive->limits.nodes;
  result.stats = dive->stats;
  return result;
}

}  // namespace zoint
