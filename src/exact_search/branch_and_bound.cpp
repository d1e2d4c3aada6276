// Every test here is exact or certified: a node is closed only when it holds
// no completion with objective ≤ cutoff, and a variable is fixed only when
// every such completion has that value. With the relaxation, the order of
// branching follows it and the caller asks only whether a completion exists
// (or for the least objective). Without it, branching goes as in the
// enumeration, first free variable and x = 0 first, and the caller relies on
// it.
#include "exact_search/branch_and_bound.h"

#include <cassert>
#include <cmath>
#include <initializer_list>

#include "exact_search/certified_bound.h"

namespace zoint {

namespace {

constexpr double kIntegral = 1e-9;

void Record(Dive& dive, const int8_t* vector, int64_t value) {
  assert(value <= dive.cutoff);
  dive.found = true;
  dive.foundValue = value;
  for (int32_t i = 0; i < dive.problem.n; ++i) dive.foundVector[i] = vector[i];
  if (!dive.stopAtFirst) dive.cutoff = value - 1;
  SearchLimits& limits = dive.limits;
  const int64_t reported = dive.problem.offset + value;
  if (!limits.hasSolution || reported < limits.bestValue) limits.bestValue = reported;
  limits.hasSolution = true;
}

// The relaxation's x rounded, checked exactly; recorded when it meets every
// row within the cutoff.
void TryRounded(Dive& dive, const Fixing& fixing, const double* x) {
  const OrientedProblem& problem = dive.problem;
  int8_t vector[MaxVariables];
  int64_t value = fixing.objective;
  int64_t activity[MaxConstraints];
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
    if (fixing.value[i] == kFree && std::fabs(x[i] - std::round(x[i])) > kIntegral) return false;
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

// The first pass's root bound, for progress reports: no completion costs
// less than the certified bound, rounded up as every objective is an integer.
void NoteRootBound(Dive& dive, const CertifiedBound& bound) {
  if (!(bound.lower > 0) || bound.lower >= 9e15) return;
  const int64_t least = static_cast<int64_t>(std::ceil(bound.lower));
  const int64_t reported = dive.problem.offset + least;
  if (reported > dive.limits.bound) dive.limits.bound = reported;
}

// What one node's relaxation says.
enum class Verdict { Closed, Branch, BranchBlind };

// Tightens the node with the relaxation until it stops fixing anything.
// Closed: no completion within the cutoff remains, or (stopping at the first)
// one was found. Branch: x holds the last relaxation. BranchBlind: the
// relaxation could not be used.
Verdict Relax(Dive& dive, int32_t level, Fixing& fixing, LpResult& lp) {
  for (;;) {
    if (!Propagate(fixing, dive.problem, dive.cutoff)) return Verdict::Closed;
    if (ZeroCompletionFeasible(fixing, dive.problem)) {
      // The cheapest completion, and within the cutoff after Propagate.
      int8_t vector[MaxVariables];
      for (int32_t i = 0; i < dive.problem.n; ++i) vector[i] = fixing.value[i] == 1 ? 1 : 0;
      Record(dive, vector, fixing.objective);
      return Verdict::Closed;
    }
    if (!dive.useLp) return Verdict::BranchBlind;

    ++dive.stats.lpSolves;
    SolveLp(dive.lp, level, dive.problem, fixing, lp);
    CertifiedBound& bound = dive.bound;
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
    if (level == 0 && !dive.stopAtFirst) NoteRootBound(dive, bound);
    if (bound.lower > CutoffAsDouble(dive.cutoff)) return Verdict::Closed;
    if (Integral(fixing, lp.x, dive.problem.n)) {
      TryRounded(dive, fixing, lp.x);
      if (dive.found && dive.stopAtFirst) return Verdict::Closed;
      if (bound.lower > CutoffAsDouble(dive.cutoff)) return Verdict::Closed;
    }
    if (FixByReducedCost(dive, fixing, bound, CutoffAsDouble(dive.cutoff)) == 0) return Verdict::Branch;
  }
}

// The most fractional free variable of the relaxation, or the first free one.
int32_t BranchVariable(const Fixing& fixing, const double* x, bool useX, int32_t n) {
  int32_t best = -1;
  double bestDistance = -1;
  for (int32_t i = 0; i < n; ++i) {
    if (fixing.value[i] != kFree) continue;
    const double distance = useX ? std::fmin(x[i], 1.0 - x[i]) : 0.0;
    if (distance > bestDistance + kIntegral) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace

void Explore(Dive& dive, int32_t level) {
  assert(level >= 0 && level <= dive.problem.n);
  if (CountNodeAndCheck(dive.limits)) return;
  Fixing& fixing = dive.fixings[level];
  LpResult& lp = dive.relaxations[level];
  const Verdict verdict = Relax(dive, level, fixing, lp);
  if (verdict == Verdict::Closed) return;

  const bool guided = verdict == Verdict::Branch;
  const int32_t i = BranchVariable(fixing, lp.x, guided, dive.problem.n);
  if (i < 0) return;  // every variable fixed: the zero completion was the only one
  // Unguided, x_i = 0 comes first, as in the enumeration's order.
  const int8_t first = guided ? (lp.x[i] > 0.5 ? 1 : 0) : OrientedValue(dive.problem, i, 0);
  for (const int8_t value : {first, static_cast<int8_t>(1 - first)}) {
    Fixing& child = dive.fixings[level + 1];
    child = fixing;
    FixVariable(child, dive.problem, i, value);
    if (dive.useLp) CopyLpLevel(dive.lp, level, level + 1);
    Explore(dive, level + 1);
    if (dive.limits.stopped || (dive.found && dive.stopAtFirst)) return;
  }
}

}  // namespace zoint
