#include "enumeration/search_node.h"

#include <cstring>

#include "run/solver_state.h"

namespace zoint {

void ClearNode(SearchNode* node) { std::memset(node, 0, sizeof *node); }

void InitChild(SearchNode* child, SearchNode* parent) {
  child->depth = parent->depth + 1;
  child->objective = 0;
  child->child = nullptr;
  child->parent = parent;
  parent->child = child;
  ++g_stats.nodes;
}

void SetAssignment(SearchNode* node, int32_t index, int64_t value) {
  (void)node;  // the path's assignment is shared by every node on it
  g_state.assignment[index] = value;
}

void ReleaseNode(SearchNode* node) {
  // The parent's zero completion has 0 beyond the parent's depth.
  g_state.assignment[node->depth] = 0;
  if (node->parent != nullptr) node->parent->child = nullptr;
  node->parent = nullptr;
}

void PrepareProblem(Problem& problem, int32_t n, int32_t m) {
  for (int32_t j = 0; j < m; ++j) {
    uint64_t* tail = problem.negativeTail[j];
    const int64_t* a = problem.rows[j].entries;
    tail[n] = 0;
    tail[n + 1] = 0;
    for (int32_t i = n - 1; i >= 0; --i) {
      tail[i] = tail[i + 1] + (a[i] < 0 ? static_cast<uint64_t>(a[i]) : 0);
    }
    for (int32_t k = n + 2; k <= MaxVariables + 1; ++k) tail[k] = 0;
  }
}

}  // namespace zoint
