#include "enumeration/search.h"

#include "enumeration/accelerated_search.h"
#include "enumeration/evaluate.h"
#include "enumeration/exact_domain.h"
#include "run/solver_state.h"

namespace zoint {

SearchMode g_searchMode = SearchMode::Automatic;

void Search(SearchNode* root) {
  if (!g_state.inputValid) return;
  // Inside the exact domain (every c_i ≥ 0, and neither Σ|c_i| nor any row's
  // Σ|a_ji| above 2^63 − 1) no sum of the enumeration wraps, so its tests are
  // exact: a feasible zero completion is the cheapest and the
  // lexicographically smallest completion of its node; z ≥ incumbent and a
  // row's least activity above b_j close only nodes that hold nothing
  // strictly better; and since it visits assignments in lexicographic order
  // and replaces the incumbent only on a strict improvement, it reports the
  // least objective below 9223372036854775807 with the lexicographically
  // smallest assignment reaching it, or 9223372036854775807 and the zero
  // vector when there is none. The accelerated search computes exactly that.
  // Outside the domain the enumeration runs as it is.
  if (g_searchMode == SearchMode::Automatic && InExactDomain(g_state.problem, g_state.n, g_state.m)) {
    g_stats.search = SearchKind::Accelerated;
    AcceleratedSearch();
    return;
  }
  g_stats.search = SearchKind::Enumeration;
  Branch(root);
}

}  // namespace zoint
