#include "exact_search/node_relaxation.h"

#include <cassert>
#include <cmath>
#include <initializer_list>

#include "exact_search/local_search.h"
#include "problem/checked_arithmetic.h"
#include "exact_search/parameters.h"
#include "exact_search/tie_boxes.h"

namespace zoint {

namespace {

// y_a < y_b lexicographically in x.
bool SmallerInX(const OrientedProblem& problem, const int8_t* a, const int8_t* b) {
  for (int32_t i = 0; i < problem.n; ++i) {
    if (a[i] != b[i]) return OrientedValue(problem, i, a[i]) < OrientedValue(problem, i, b[i]);
  }
  return false;
}

// The collecting pass lists the find as it is and as exchanges improve it
// (both meet every row), and takes the list's cutoff.
void RecordInList(Dive& dive, const int8_t* found, int64_t foundValue) {
  SolutionList& list = *dive.list;
  InsertSolution(list, dive.problem, found, foundValue);
  int8_t improved[MaxVariables];
  for (int32_t i = 0; i < dive.problem.n; ++i) improved[i] = found[i];
  const int64_t value = ImproveByExchanges(dive.problem, improved, foundValue);
  if (value != foundValue) InsertSolution(list, dive.problem, improved, value);
  dive.cutoff = ListCutoff(list, dive.problem);
  // The best listed, in y, for what the progress reports bound.
  dive.found = true;
  dive.foundValue = list.entries.front().value - dive.problem.offset;
  SearchLimits& limits = dive.limits;
  limits.hasSolution = true;
  limits.bestValue = list.entries.front().value;
}

void Record(Dive& dive, SearchPass pass, const int8_t* found, int64_t foundValue) {
  assert(foundValue <= dive.cutoff);
  if (CollectsList(pass)) {
    RecordInList(dive, found, foundValue);
    return;
  }
  int8_t vector[MaxVariables];
  for (int32_t i = 0; i < dive.problem.n; ++i) vector[i] = found[i];
  int64_t value = foundValue;
  if (ImprovesFinds(pass)) value = ImproveByExchanges(dive.problem, vector, value);
  if (dive.found && value == dive.foundValue) {
    // As good as the best, which only a pass collecting ties accepts (or
    // the witness pass, which stops at its first): keep the smaller in x.
    if (!SmallerInX(dive.problem, vector, dive.foundVector)) return;
  } else if (CollectsTies(pass)) {
    // Regions set aside at a worse best hold nothing this good.
    ClearTieBoxes(*dive.ties);
  }
  dive.found = true;
  dive.foundValue = value;
  for (int32_t i = 0; i < dive.problem.n; ++i) dive.foundVector[i] = vector[i];
  // Collecting ties, the cutoff is the best itself: assignments as good are
  // still weighed. The witness pass keeps its cutoff and stops.
  if (CollectsTies(pass)) {
    dive.cutoff = value;
  } else if (!StopsAtFirst(pass)) {
    dive.cutoff = value - 1;
  }
  SearchLimits& limits = dive.limits;
  const int64_t reported = dive.problem.offset + value;
  if (!limits.hasSolution || reported < limits.bestValue) limits.bestValue = reported;
  limits.hasSolution = true;
}

// Collecting ties: a node whose bound leaves it nothing better than the best
// found is set aside, unless no assignment in it is smaller in x than the
// best. Returns true when the node is done with.
bool SetAsideTie(Dive& dive, SearchPass pass, const Fixing& fixing, const CertifiedBound& bound) {
  if (!CollectsTies(pass) || !dive.found || !bound.lower.Exceeds(dive.cutoff - 1)) return false;
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

// Whether the bound closes the node: nothing within the cutoff, or, when
// collecting ties, nothing but ties that are set aside or cannot be smaller.
bool ClosedByBound(Dive& dive, SearchPass pass, const Fixing& fixing, const CertifiedBound& bound) {
  return bound.lower.Exceeds(dive.cutoff) || SetAsideTie(dive, pass, fixing, bound);
}

// The relaxation's x rounded, checked exactly; recorded when it meets every
// row within the cutoff.
void TryRounded(Dive& dive, SearchPass pass, const Fixing& fixing, const double* x) {
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
  Record(dive, pass, vector, value);
}

bool Integral(const Fixing& fixing, const double* x, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    if (fixing.value[i] == kFree && IsFractional(x[i])) return false;
  }
  return true;
}

// Free variables whose other value the certified bound rules out take the
// value they have. Returns how many were fixed.
int32_t FixByReducedCost(Dive& dive, Fixing& fixing, const CertifiedBound& bound) {
  int32_t fixed = 0;
  for (int32_t i = 0; i < dive.problem.n; ++i) {
    if (fixing.value[i] != kFree) continue;
    if (ValueExceedsCutoff(bound, i, 1, dive.cutoff)) {
      FixVariable(fixing, dive.problem, i, 0);
      ++fixed;
    } else if (ValueExceedsCutoff(bound, i, 0, dive.cutoff)) {
      FixVariable(fixing, dive.problem, i, 1);
      ++fixed;
    }
  }
  return fixed;
}

// The exact tests alone: propagation, then the zero completion, which is
// recorded when it meets the rows. Returns true when they close the node.
bool ClosedByExactTests(Dive& dive, SearchPass pass, Fixing& fixing) {
  if (!Propagate(fixing, dive.problem, dive.cutoff)) return true;
  if (!ZeroCompletionFeasible(fixing, dive.problem)) return false;
  // The cheapest completion, and within the cutoff after Propagate.
  int8_t vector[MaxVariables];
  for (int32_t i = 0; i < dive.problem.n; ++i) vector[i] = fixing.value[i] == 1 ? 1 : 0;
  Record(dive, pass, vector, fixing.objective);
  if (!CollectsList(pass)) return true;
  // Listing, the node's other completions still count: each sets some free
  // variable to 1, so costs at least the cheapest free cost more.
  int64_t cheapest = -1;
  for (int32_t i = 0; i < dive.problem.n; ++i) {
    if (fixing.value[i] == kFree && (cheapest < 0 || dive.problem.cost[i] < cheapest)) cheapest = dive.problem.cost[i];
  }
  int64_t least = 0;
  return cheapest < 0 || !CheckedAdd(fixing.objective, cheapest, least) || least > dive.cutoff;
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

void NoteLowerBound(Dive& dive, ProvenBound lower) {
  const double value = lower.value();
  if (!(value > 0) || value >= parameters::kLargestReportedBound) return;
  int64_t least = static_cast<int64_t>(std::ceil(value));
  // The least objective is the best found or lies in what is still open.
  if (dive.found && dive.foundValue < least) least = dive.foundValue;
  RaiseBound(dive.limits, dive.problem.offset + least);
}

bool IsFractional(double value) {
  return std::fabs(value - std::round(value)) > parameters::kIntegralityTolerance;
}

Look LookAtNode(Dive& dive, int32_t level, SearchPass pass, Fixing& fixing, LpResult& lp,
                CertifiedBound& bound) {
  if (ClosedByExactTests(dive, pass, fixing)) return Look{Verdict::Closed, false};
  if (!dive.useLp) return Look{Verdict::BranchBlind, false};

  ++dive.stats.lpSolves;
  SolveLp(dive.lp, level, dive.problem, fixing, lp);
  dive.stats.lpPivots += static_cast<uint64_t>(lp.iterations);
  if (lp.status == LpResult::Infeasible) {
    // The row's multipliers, of one sign or the other, may prove it: a
    // bound above 0 without the costs leaves no completion meeting the rows.
    for (const double sign : {1.0, -1.0}) {
      for (int32_t j = 0; j < dive.problem.m; ++j) lp.multiplier[j] = sign * lp.ray[j];
      BoundFromMultipliers(dive.problem, fixing, lp.multiplier, false, bound);
      if (bound.valid && bound.lower.Exceeds(0)) return Look{Verdict::Closed, false};
    }
    return Look{Verdict::BranchBlind, false};
  }
  if (lp.status != LpResult::Optimal) return Look{Verdict::BranchBlind, false};

  BoundFromMultipliers(dive.problem, fixing, lp.multiplier, true, bound);
  if (!bound.valid) return Look{Verdict::BranchBlind, false};
  // Level 0 of the proof from the root is the whole problem; a node taken
  // from an emptied pool is the one node left open. Either way its bound
  // holds for every assignment not yet recorded.
  if (level == 0 && (pass == SearchPass::ProofFromRoot ||
                     (pass == SearchPass::ProofFromPool && dive.pool->heap.empty()))) {
    assert(pass != SearchPass::ProofFromRoot || dive.pool->heap.empty());
    NoteLowerBound(dive, bound.lower);
  }
  if (ClosedByBound(dive, pass, fixing, bound)) return Look{Verdict::Closed, true};
  if (Integral(fixing, lp.x, dive.problem.n)) {
    TryRounded(dive, pass, fixing, lp.x);
    if (dive.found && StopsAtFirst(pass)) return Look{Verdict::Closed, true};
    if (ClosedByBound(dive, pass, fixing, bound)) return Look{Verdict::Closed, true};
  }
  return Look{Verdict::Branch, true};
}

Relaxation RelaxNode(Dive& dive, int32_t level, SearchPass pass, Fixing& fixing, LpResult& lp) {
  const Look first = LookAtNode(dive, level, pass, fixing, lp, dive.bound);
  Relaxation relaxation{first.verdict, first.solvedLp, first.solvedLp ? dive.bound.lower.value() : 0.0};
  while (relaxation.verdict == Verdict::Branch && FixByReducedCost(dive, fixing, dive.bound) > 0) {
    // The box only shrank, so the bound still holds. When propagation leaves
    // every fixed variable where x has it, x is still optimal: no new solve.
    if (ClosedByExactTests(dive, pass, fixing)) {
      relaxation.verdict = Verdict::Closed;
      break;
    }
    if (RelaxationStillOptimal(fixing, lp.x, dive.problem.n)) break;
    relaxation.verdict = LookAtNode(dive, level, pass, fixing, lp, dive.bound).verdict;
  }
  return relaxation;
}

}  // namespace zoint
