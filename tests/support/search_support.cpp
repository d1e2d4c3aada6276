#include "support/search_support.h"

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

SearchResult SpecifiedSearch(const TestProblem& problem) {
  using namespace zoint;
  LoadIntoState(problem);
  Branch(GetRoot());
  SearchResult result{g_state.incumbentValue,
                      std::vector<int64_t>(g_state.incumbentVector, g_state.incumbentVector + problem.n),
                      g_stats.nodes, g_stats.evaluations};
  ResetSolver();
  return result;
}

SearchResult ChosenSearch(const TestProblem& problem, bool* accelerated) {
  using namespace zoint;
  LoadIntoState(problem);
  Search(GetRoot());
  *accelerated = g_stats.search == SearchKind::Accelerated;
  SearchResult result{g_state.incumbentValue,
                      std::vector<int64_t>(g_state.incumbentVector, g_state.incumbentVector + problem.n),
                      g_stats.nodes, g_stats.evaluations};
  ResetSolver();
  return result;
}

ForcedEnumeration::ForcedEnumeration() { zoint::g_searchMode = zoint::SearchMode::EnumerationOnly; }
ForcedEnumeration::~ForcedEnumeration() { zoint::g_searchMode = zoint::SearchMode::Automatic; }

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
