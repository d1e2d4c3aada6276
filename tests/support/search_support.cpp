#include "support/search_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "enumeration/evaluate.h"
#include "enumeration/search.h"
#include "run/solver_state.h"

namespace zoint_test {

void LoadIntoState(const TestProblem& problem) {
  using namespace zoint;
  ResetSolver();
  g_stats = Stats{0, 0, SearchKind::Enumeration};
  GetRoot();
  g_state.inputValid = true;
  g_state.n = problem.n;
  g_state.m = static_cast<int32_t>(problem.rows.size());
  for (int32_t i = 0; i < problem.n; ++i) g_state.problem.coefficients[i] = problem.c[i];
  for (size_t j = 0; j < problem.rows.size(); ++j) {
    for (int32_t i = 0; i < problem.n; ++i) g_state.problem.rows[j].entries[i] = problem.rows[j][i];
    g_state.problem.rows[j].entries[RhsColumn] = problem.rows[j][problem.n];
  }
  PrepareProblem(g_state.problem, g_state.n, g_state.m);
}

namespace {

// The incumbent and counters of the search just run; then a clean state.
SearchResult TakeResult(int32_t n) {
  using namespace zoint;
  SearchResult result{g_state.incumbentValue,
                      std::vector<int64_t>(g_state.incumbentVector, g_state.incumbentVector + n),
                      g_stats.nodes, g_stats.evaluations};
  ResetSolver();
  return result;
}

}  // namespace

SearchResult SpecifiedSearch(const TestProblem& problem) {
  LoadIntoState(problem);
  zoint::Branch(zoint::GetRoot());
  return TakeResult(problem.n);
}

SearchResult ChosenSearch(const TestProblem& problem, bool* accelerated) {
  LoadIntoState(problem);
  zoint::Search(zoint::GetRoot());
  *accelerated = zoint::g_stats.search == zoint::SearchKind::Accelerated;
  return TakeResult(problem.n);
}

ForcedEnumeration::ForcedEnumeration() { zoint::g_searchMode = zoint::SearchMode::EnumerationOnly; }
ForcedEnumeration::~ForcedEnumeration() { zoint::g_searchMode = zoint::SearchMode::Automatic; }

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

}  // namespace zoint_test
