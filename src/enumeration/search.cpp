#include "enumeration/search.h"

#include "enumeration/evaluate.h"
#include "exact_search/exact_search.h"
#include "run/solver_state.h"

namespace zoint {

SearchMode g_searchMode = SearchMode::Automatic;

void Search(SearchNode* root) {
  if (!g_state.inputValid) return;
  const Problem& problem = g_state.problem;
  // Where no sum can wrap, the answer is the least objective below
  // NoSolutionValue and, among the assignments reaching it, the
  // lexicographically smallest (NoSolutionValue and the zero vector when
  // there is none), whatever the signs of the costs. The exact search
  // computes exactly that. With every cost ≥ 0 it is also what the
  // enumeration finds: its tests are then exact, it visits assignments in
  // lexicographic order and replaces the incumbent only on a strict
  // improvement. With a negative cost the enumeration can close subtrees
  // that hold better assignments, so it runs only where sums can wrap, its
  // wrapping arithmetic being the only definition of the answer there, or
  // when asked for.
  if (g_searchMode == SearchMode::Automatic && NoSumCanWrap(problem)) {
    g_stats.search = SearchKind::Exact;
    const ExactResult result = SolveExact(problem, ExactOptions{});
    g_stats.exact = result.stats;
    // No limit was set, so the search ran to its end.
    if (result.hasSolution) {
      g_state.incumbentValue = result.value;
      for (int32_t i = 0; i < problem.n; ++i) g_state.incumbentVector[i] = result.x[i];
    }
    return;
  }
  g_stats.search = SearchKind::Enumeration;
  Branch(root);
}

}  // namespace zoint
