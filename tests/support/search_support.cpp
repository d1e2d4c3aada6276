#include "support/search_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

#include <memory>

#include "run/solver_state.h"
#include "run/stages.h"

namespace zoint_test {

zoint::Problem ToProblem(const TestProblem& problem) {
  zoint::Problem p = {};
  p.n = problem.n;
  p.m = static_cast<int32_t>(problem.rows.size());
  for (int32_t i = 0; i < problem.n; ++i) p.coefficients[i] = problem.c[i];
  for (size_t j = 0; j < problem.rows.size(); ++j) {
    for (int32_t i = 0; i < problem.n; ++i) p.rows[j].entries[i] = problem.rows[j][i];
    p.rows[j].entries[zoint::RhsColumn] = problem.rows[j][problem.n];
  }
  return p;
}

SearchResult BruteForce(const TestProblem& problem) {
  const int32_t n = problem.n;
  SearchResult best{zoint::NoSolutionValue, std::vector<int64_t>(static_cast<size_t>(n), 0), 0, 0};
  std::vector<int64_t> x(static_cast<size_t>(n), 0);
  // Counting with x_0 as the most significant bit visits the assignments in
  // lexicographic order, so the first one to reach the least value is the
  // smallest, and only a strictly smaller value replaces it.
  for (uint64_t bits = 0; bits < (uint64_t{1} << n); ++bits) {
    for (int32_t i = 0; i < n; ++i)
      x[static_cast<size_t>(i)] = static_cast<int64_t>((bits >> (n - 1 - i)) & 1u);
    bool feasible = true;
    for (const auto& row : problem.rows) {
      int64_t lhs = 0;
      for (int32_t i = 0; i < n; ++i) lhs += row[static_cast<size_t>(i)] * x[static_cast<size_t>(i)];
      if (lhs > row[static_cast<size_t>(n)]) feasible = false;
    }
    if (!feasible) continue;
    int64_t value = 0;
    for (int32_t i = 0; i < n; ++i) value += problem.c[static_cast<size_t>(i)] * x[static_cast<size_t>(i)];
    if (value < best.value) {
      best.value = value;
      best.vector = x;
    }
  }
  return best;
}

SearchResult SearchStage(const TestProblem& problem, zoint::SolveMode mode) {
  using namespace zoint;
  const std::unique_ptr<SolverState> state(new SolverState());
  ResetSolver(*state);
  GetRoot(*state);
  state->inputValid = true;
  state->problem = ToProblem(problem);
  Search(*state, mode);
  return SearchResult{state->incumbentValue,
                      std::vector<int64_t>(state->incumbentVector, state->incumbentVector + problem.n),
                      state->report.enumeration.nodes, state->report.enumeration.evaluations};
}

SearchResult SpecifiedSearch(const TestProblem& problem) {
  return SearchStage(problem, zoint::SolveMode::Enumeration);
}

SearchResult ChosenSearch(const TestProblem& problem, bool* exact) {
  const zoint::SolveMode mode = zoint::ChooseSolveMode(ToProblem(problem), zoint::SolveRequest::Automatic);
  *exact = mode == zoint::SolveMode::Exact;
  return SearchStage(problem, mode);
}

int RoundsToRun(int full) {
  const char* limit = std::getenv("ZOINT_TEST_ROUNDS");
  if (limit == nullptr || *limit == '\0') return full;
  char* end = nullptr;
  const long rounds = std::strtol(limit, &end, 10);
  if (*end != '\0' || rounds < 1) {
    ADD_FAILURE() << "ZOINT_TEST_ROUNDS must be a positive number, not \"" << limit << "\"";
    return full;
  }
  return static_cast<int>(std::min<long>(rounds, full));
}

std::string ProblemText(const TestProblem& problem) {
  std::string text = std::to_string(problem.n) + "," + std::to_string(problem.rows.size()) + "\n";
  for (int64_t c : problem.c) text += std::to_string(c) + ",";
  text += "\n";
  for (const auto& row : problem.rows) {
    for (size_t i = 0; i < row.size(); ++i) text += (i ? "," : "") + std::to_string(row[i]);
    text += "\n";
  }
  return text;
}

void Record(const zoint::ExactProgress& progress, void* data) {
  auto* log = static_cast<ProgressLog*>(data);
  log->reports.push_back(progress);
  if (log->cancelAfter != 0 && log->reports.size() >= log->cancelAfter) log->cancel = 1;
}

void StartLimitsFor(const TestProblem& problem, const zoint::ExactOptions& options, zoint::SearchLimits& limits) {
  int64_t least = 0;
  for (int64_t c : problem.c) least += c < 0 ? c : 0;
  zoint::StartLimits(limits, options, least);
}

}  // namespace zoint_test
