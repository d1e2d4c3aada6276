// The enumeration of sums: the subset sums of the two halves of the
// variables met in the middle. Equations: every assignment meeting them is
// found, each checked against the other rows. One row the objective
// follows: the best subset sum on the allowed side of its bound, with every
// assignment reaching it weighed for the lexicographic choice. It declines
// where the halves are too large, or where so many assignments share their
// sums that meeting them tells little (the branch and bound then runs).
#include <memory>

#include "exact_search/parameters.h"
#include "exact_search/structure_methods.h"
#include "exact_search/sum_problem.h"
#include "exact_search/sum_walks.h"

namespace zoint {

namespace {

// A subset sum: the largest sum within the bounds, and the best assignment
// reaching it. Where other rows must hold, every assignment at that sum is
// checked against them, and when none holds, the next sum below is sought,
// while the sums walked stay within a budget.
WalkOutcome SolveSubsetSum(SumSearch& search) {
  const SumProblem& sums = *search.sums;
  const bool checked = sums.checkedCount > 0;
  int64_t upper = sums.upper;
  for (;;) {
    int64_t sum = 0;
    bool reached = false;
    const WalkOutcome outcome = FindBestSum(search, upper, sums.lower, !checked, &sum, &reached);
    if (outcome != WalkOutcome::Finished || !reached || !checked) return outcome;
    const WalkOutcome matched = MatchTarget(search, &sum);
    if (matched != WalkOutcome::Finished || search.best.found) return matched;
    // Every assignment at sum breaks a row; the sums above it were done before.
    if (sum == sums.lower) return WalkOutcome::Finished;
    if (search.sumsVisited >= parameters::kSubsetSumRoundsBudget) return WalkOutcome::GaveUp;
    upper = sum - 1;
  }
}

void WriteAssignment(const SumProblem& sums, const SumCandidate& best, ExactResult& result) {
  for (int32_t i = 0; i < sums.n; ++i) result.x[i] = sums.fixedX[i];
  for (int32_t e = 0; e < sums.enumeratedCount; ++e) {
    const int32_t i = sums.enumerated[e];
    result.x[i] = static_cast<int8_t>((best.bits.word[i >> 6] >> (63 - (i & 63))) & 1u);
  }
}

}  // namespace

MethodOutcome SolveByEnumeratingSums(const Problem& problem, SearchLimits& limits, ExactResult& result) {
  auto sums = std::make_unique<SumProblem>();
  const Recognition recognition = RecogniseSumProblem(problem, *sums);
  if (recognition == Recognition::NotOurs) return MethodOutcome::NotApplicable;
  ExactResult answer = {};
  answer.stats.method = ExactMethod::SumEnumeration;
  answer.status = ExactStatus::Infeasible;
  answer.hasSolution = false;
  answer.value = NoSolutionValue;
  if (recognition == Recognition::Infeasible) {
    result = answer;
    return MethodOutcome::Answered;
  }

  // What progress reported before, should the enumeration give up.
  const bool hadSolution = limits.hasSolution;
  const int64_t hadValue = limits.bestValue;
  auto search = std::make_unique<SumSearch>();
  WalkOutcome outcome = WalkOutcome::GaveUp;
  if (PrepareSumSearch(*search, problem, *sums, limits)) {
    outcome = sums->kind == SumKind::Equations ? MatchTarget(*search, sums->target) : SolveSubsetSum(*search);
  }
  if (outcome == WalkOutcome::GaveUp) {
    limits.hasSolution = hadSolution;
    limits.bestValue = hadValue;
    return MethodOutcome::NotApplicable;
  }
  answer.stats.sumsVisited = search->sumsVisited;
  if (search->best.found) {
    answer.hasSolution = true;
    answer.value = sums->fixedCost + search->best.cost;
    WriteAssignment(*sums, search->best, answer);
  }
  if (outcome == WalkOutcome::Stopped) {
    answer.status = ExactStatus::Stopped;
  } else if (search->best.found) {
    answer.status = ExactStatus::Optimal;
    limits.bound = answer.value;  // proven: every assignment was weighed
  }
  result = answer;
  return MethodOutcome::Answered;
}

}  // namespace zoint
