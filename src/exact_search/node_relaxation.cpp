#include "exact_search/node_relaxation.h"

#include <cassert>
#include <cmath>
#include <initializer_list>

#include "exact_search/local_search.h"
#include "exact_search/tie_boxes.h"

namespace zoint {

namespace {

constexpr double kIntegral = 1e-9;

// y_a < y_b lexicographically in x.
bool SmallerInX(const OrientedProblem& problem, const int8_t* a, const int8_t* b) {
  for (int32_t i = 0; i < problem.n; ++i) {
    if (a[i] != b[i]) return OrientedValue(problem, i, a[i]) < OrientedValue(problem, i, b[i]);
  }
  return false;
}

void Record(Dive& dive, const int8_t* found, int64_t foundValue) {
  assert(foundValue <= dive.cutoff);
  // A search for the least objective first improves what it found by
  // exchanges. Not without the relaxation: the branching order alone then
  // settles ties (see ChooseSmallestOptimum), and needs every find to be its
  // own.
  int8_t vector[MaxVariables];
  for (int32_t i = 0; i < dive.problem.n; ++i) vector[i] = found[i];
  int64_t value = foundValue;
  if (dive.useLp && !dive.stopAtFirst) value = ImproveByExchanges(dive.problem, vector, value);
  if (dive.found && value == dive.foundValue) {
    // As good as the best, which only a search collecting ties accepts
    // (or one that stops at its first find): keep the smaller in x.
    if (!SmallerInX(dive.problem, vector, dive.foundVector)) return;
  } else if (dive.ties != nullptr) {
    // Regions set aside at a worse best hold nothing this good.
    ClearTieBoxes(*dive.ties);
  }
  dive.found = true;
  dive.foundValue = value;
  for (int32_t i = 0; i < dive.problem.n; ++i) dive.foundVector[i] = vector[i];
  if (!dive.stopAtFirst) dive.cutoff = dive.ties != nullptr ? value : value - 1;
  SearchLimits& limits = dive.limits;
  const int64_t reported = dive.problem.offset + value;
  if (!limits.hasSolution || reported < limits.bestValue) limits.bestValue = reported;
  limits.hasSolution = true;
}

// Collecting ties: a node whose bound leaves it nothing better than the best
// found is set aside, unless no assignment in it is smaller in x than the
// best. Returns true when the node is done with.
bool SetAsideTie(Dive& dive, const Fixing& fixing, const CertifiedBound& bound) {
  if (dive.ties == nullptr || !dive.found || !(bound.lower > CutoffAsDouble(dive.cutoff - 1))) return false;
  const OrientedProblem& problem = dive.problem;
  for (int32_t i = 0; i < problem.n; ++i) {
    // The box's smallest assignment in x against the best, position by position.
    const int8_t least = fixing.value[i] == kFree ? 0 : OrientedValue(problem, i, fixing.value[i]);
    const int8_t best = OrientedValue(problem, i, dive.foundVector[i]);
    if (least < best) {
      SaveTieBox(*dive.ties, fixing, problem.n);
      return true;
    }
    if (least > best) return true;
  }
  return true;
}

// The relaxation's x rounded, checked exactly; recorded when it meets every
// row within the cutoff.
void TryRounded(Dive& dive, const Fixing& fixing, const double* x) {
  const OrientedProblem& problem = dive.problem;
  int8_t vector[MaxVariables];
  int64_t value = fixing.objective;
  int64_t activity[kMaxRows];
  for (int32_t j = 0; j < problem.m; ++j) activity[j] = fixing.fixedActivity[j];
  for (int32_t i = 0; i < problem.n; ++i) {
    vector[i] = fixing.value[i] != kFree ? fixing.value[i] : x[i] > 0.5 ? 1 : 0;
    if (fixing.value[i] != kFree || vector[i] == 0) continue;
    value += problem.cost[i];
    for (int32_t j = 0; j < problem.m; ++j) activity[j] += problem.column[i][j];
  }
  if (value > dive.cutoff) return;
  for (int32_t j = 0; j < problem.m; ++j) {
    if (activity[j] > problem.rhs[j]) return;
  }
  Record(dive, vector, value);
}

bool Integral(const Fixing& fixing, const double* x, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    if (fixing.value[i] == kFree && IsFractional(x[i])) return false;
  }
  return true;
}

// Free variables whose other value would lift the certified bound above the
// cutoff take the value they have. Returns how many were fixed.
int32_t FixByReducedCost(Dive& dive, Fixing& fixing, const CertifiedBound& bound, double cutoff) {
  int32_t fixed = 0;
  for (int32_t i = 0; i < dive.problem.n; ++i) {
    if (fixing.value[i] != kFree) continue;
    const double g = bound.g[i];
    if (bound.lower + std::fmax(0.0, g) - bound.margin > cutoff) {
      FixVariable(fixing, dive.problem, i, 0);
      ++fixed;
    } else if (bound.lower + std::fmax(0.0, -g) - bound.margin > cutoff) {
      FixVariable(fixing, dive.problem, i, 1);
      ++fixed;
    }
  }
  return fixed;
}

// The exact tests alone: propagation, then the zero completion, which is
// recorded when it meets the rows. Returns true when they close the node.
bool ClosedByExactTests(Dive& dive, Fixing& fixing) {
  if (!Propagate(fixing, dive.problem, dive.cutoff)) return true;
  if (!ZeroCompletionFeasible(fixing, dive.problem)) return false;
  // The cheapest completion, and within the cutoff after Propagate.
  int8_t vector[MaxVariables];
  for (int32_t i = 0; i < dive.problem.n; ++i) vector[i] = fixing.value[i] == 1 ? 1 : 0;
  Record(dive, vector, fixing.objective);
  return true;
}

// Whether every fixed variable sits where the relaxation's x has it, so
// that x is still the relaxation's optimum.
bool RelaxationStillOptimal(const Fixing& fixing, const double* x, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    if (fixing.value[i] != kFree && x[i] != static_cast<double>(fixing.value[i])) return false;
  }
  return true;
}

}  // namespace

void NoteLowerBound(Dive& dive, double lower) {
  if (!(lower > 0) || lower >= 9e15) return;
  const int64_t least = static_cast<int64_t>(std::ceil(lower));
  const int64_t reported = dive.problem.offset + least;
  if (reported > dive.limits.bound) dive.limits.bound = reported;
}

bool IsFractional(double value) { return std::fabs(value - std::round(value)) > kIntegral; }

Verdict LookAtNode(Dive& dive, int32_t level, Fixing& fixing, LpResult& lp, CertifiedBound& bound) {
  if (ClosedByExactTests(dive, fixing)) return Verdict::Closed;
  if (!dive.useLp) return Verdict::BranchBlind;

  ++dive.stats.lpSolves;
  SolveLp(dive.lp, level, dive.problem, fixing, lp);
  dive.stats.lpPivots += static_cast<uint64_t>(lp.iterations);
  if (lp.status == LpResult::Infeasible) {
    // The row's multipliers, of one sign or the other, may prove it.
    for (const double sign : {1.0, -1.0}) {
      for (int32_t j = 0; j < dive.problem.m; ++j) lp.multiplier[j] = sign * lp.ray[j];
      BoundFromMultipliers(dive.problem, fixing, lp.multiplier, false, bound);
      if (bound.valid && bound.lower > 0) return Verdict::Closed;
    }
    return Verdict::BranchBlind;
  }
  if (lp.status != LpResult::Optimal) return Verdict::BranchBlind;

  BoundFromMultipliers(dive.problem, fixing, lp.multiplier, true, bound);
  if (!bound.valid) return Verdict::BranchBlind;
  // Only where level 0 is the one node left open: not in a search of cores,
  // whose level 0 is a restricted problem, nor while nodes wait in the pool.
  if (level == 0 && !dive.stopAtFirst && dive.nodeBudget == 0 &&
      (dive.pool == nullptr || dive.pool->heap.empty())) {
    NoteLowerBound(dive, bound.lower);
  }
  if (bound.lower > CutoffAsDouble(dive.cutoff) || SetAsideTie(dive, fixing, bound)) return Verdict::Closed;
  if (Integral(fixing, lp.x, dive.problem.n)) {
    TryRounded(dive, fixing, lp.x);
    if (dive.found && dive.stopAtFirst) return Verdict::Closed;
    if (bound.lower > CutoffAsDouble(dive.cutoff) || SetAsideTie(dive, fixing, bound)) return Verdict::Closed;
  }
  return Verdict::Branch;
}

Verdict RelaxNode(Dive& dive, int32_t level, Fixing& fixing, LpResult& lp, double& firstBound) {
  firstBound = NAN;
  const uint64_t solvesBefore = dive.stats.lpSolves;
  Verdict verdict = LookAtNode(dive, level, fixing, lp, dive.bound);
  if (dive.stats.lpSolves != solvesBefore && lp.status == LpResult::Optimal && dive.bound.valid) {
    firstBound = dive.bound.lower;
  }
  while (verdict == Verdict::Branch &&
         FixByReducedCost(dive, fixing, dive.bound, CutoffAsDouble(dive.cutoff)) > 0) {
    // The box only shrank, so the bound still holds. When propagation leaves
    // every fixed variable where x has it, x is still optimal: no new solve.
    if (ClosedByExactTests(dive, fixing)) return Verdict::Closed;
    if (RelaxationStillOptimal(fixing, lp.x, dive.problem.n)) break;
    verdict = LookAtNode(dive, level, fixing, lp, dive.bound);
  }
  return verdict;
}

}  // namespace zoint
