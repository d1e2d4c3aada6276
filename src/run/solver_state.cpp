#include "run/solver_state.h"

#include <cstring>

namespace zoint {

// Static storage: zero at load, which with the two fields below set by
// ResetSolver's values gives the start values without any code running.
SolverState g_state = {{}, NoSolutionValue, {}, false, nullptr, {}, {}, {}, 0, {}};
Stats g_stats = {};

SearchNode* GetRoot() {
  if (g_state.root == nullptr) {
    g_state.root = &g_state.nodes[0];
    ClearNode(g_state.root);
  }
  for (int32_t i = 0; i < g_state.problem.n; ++i) g_state.incumbentVector[i] = 0;
  return g_state.root;
}

void ResetSolver() {
  for (SearchNode* node = g_state.root; node != nullptr;) {
    SearchNode* next = node->child;
    ClearNode(node);
    node = next;
  }
  std::memset(g_state.incumbentVector, 0, sizeof g_state.incumbentVector);
  g_state.root = nullptr;
  g_state.inputValid = false;
  g_state.incumbentValue = NoSolutionValue;
  std::memset(&g_state.problem, 0, sizeof g_state.problem);  // n = m = 0
  std::memset(g_state.assignment, 0, sizeof g_state.assignment);
  std::memset(g_state.rowActivity, 0, sizeof g_state.rowActivity);
  g_state.violatedRows = 0;
}

}  // namespace zoint
