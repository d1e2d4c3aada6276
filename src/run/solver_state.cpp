#include "run/solver_state.h"

#include <cstring>

namespace zoint {

SearchNode* GetRoot(SolverState& state) {
  if (state.root == nullptr) {
    state.root = &state.enumeration.nodes[0];
    ClearNode(state.root);
  }
  for (int32_t i = 0; i < state.problem.n; ++i) state.incumbentVector[i] = 0;
  return state.root;
}

void ResetSolver(SolverState& state) {
  for (SearchNode* node = state.root; node != nullptr;) {
    SearchNode* next = node->child;
    ClearNode(node);
    node = next;
  }
  state.root = nullptr;
  std::memset(state.incumbentVector, 0, sizeof state.incumbentVector);
  state.inputValid = false;
  state.incumbentValue = NoSolutionValue;
  std::memset(&state.problem, 0, sizeof state.problem);  // n = m = 0
  state.report = RunReport{};
}

}  // namespace zoint
