#include "run/stages.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "enumeration/evaluate.h"
#include "exact_search/exact_search.h"
#include "exchange/exchange.h"
#include "platform/platform.h"

namespace zoint {

namespace {

void Warn(SolverState& state, Failure failure) {
  state.report.warning = failure;
  platform::ShowWarning(MessageOf(failure));
}

}  // namespace

void LoadProblem(SolverState& state) {
  state.inputValid = true;
  const Failure failure = ReadProblemFile(state.problem);
  if (failure == Failure::None) return;
  state.inputValid = false;
  std::memset(&state.problem, 0, sizeof state.problem);  // n = m = 0
  Warn(state, failure);
}

SolveMode ChooseSolveMode(const Problem& problem, SolveRequest request) {
  return request == SolveRequest::Automatic && NoSumCanWrap(problem) ? SolveMode::Exact
                                                                      : SolveMode::Enumeration;
}

void Search(SolverState& state, SolveMode mode) {
  if (!state.inputValid) return;
  const Problem& problem = state.problem;
  state.report.searched = true;
  state.report.mode = mode;
  switch (mode) {
    case SolveMode::Exact: {
      // No limit is set, so the search runs to its end.
      const ExactResult result = SolveExact(problem, ExactOptions{});
      state.report.exact = result.stats;
      if (!result.hasSolution) return;
      state.incumbentValue = result.value;
      for (int32_t i = 0; i < problem.n; ++i) state.incumbentVector[i] = result.x[i];
      return;
    }
    case SolveMode::Enumeration: {
      EnumerationState& enumeration = state.enumeration;
      StartEnumeration(enumeration, problem);
      Branch(enumeration, GetRoot(state));
      state.report.enumeration = enumeration.counters;
      state.incumbentValue = enumeration.incumbentValue;
      for (int32_t i = 0; i < problem.n; ++i) state.incumbentVector[i] = enumeration.incumbentVector[i];
      return;
    }
  }
}

std::string ConsoleReport(const SolverState& state) {
  std::string text = "OutPut: \n";
  char item[64];
  for (int32_t i = 0; i < state.problem.n; ++i) {
    std::snprintf(item, sizeof item, "X[%" PRId32 "]: %" PRId64 " \t", i, state.incumbentVector[i]);
    text += item;
  }
  std::snprintf(item, sizeof item, "\nFinal: %" PRId64, state.incumbentValue);
  text += item;
  return text;
}

void SaveSolution(SolverState& state) {
  const Failure failure = WriteSolutionFile(state.incumbentValue, state.incumbentVector, state.problem.n);
  if (failure != Failure::None) Warn(state, failure);
}

}  // namespace zoint
