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
  (void)node;  // the assignment is shared by every node on the path
  const uint64_t change = static_cast<uint64_t>(value) - static_cast<uint64_t>(g_state.assignment[index]);
  g_state.assignment[index] = value;
  if (change == 0) return;
  const Problem& problem = g_state.problem;
  for (int32_t e = problem.columnStart[index]; e < problem.columnStart[index + 1]; ++e) {
    const ColumnEntry& entry = problem.columnEntries[e];
    uint64_t& activity = g_state.rowActivity[entry.row];
    const bool wasViolated = static_cast<int64_t>(activity) > problem.rhs[entry.row];
    activity += static_cast<uint64_t>(entry.coefficient) * change;
    const bool isViolated = static_cast<int64_t>(activity) > problem.rhs[entry.row];
    g_state.violatedRows += static_cast<int32_t>(isViolated) - static_cast<int32_t>(wasViolated);
  }
}

void ReleaseNode(SearchNode* node) {
  // The parent's zero completion has 0 beyond the parent's depth.
  SetAssignment(node, node->depth, 0);
  if (node->parent != nullptr) node->parent->child = nullptr;
  node->parent = nullptr;
}

void PrepareProblem(Problem& problem, int32_t n, int32_t m) {
  int32_t count = 0;
  for (int32_t i = 0; i < n; ++i) {
    problem.columnStart[i] = count;
    for (int32_t j = 0; j < m; ++j) {
      const int64_t a = problem.rows[j].entries[i];
      if (a < 0) problem.columnEntries[count++] = ColumnEntry{j, a};
    }
    problem.columnPositive[i] = count;
    for (int32_t j = 0; j < m; ++j) {
      const int64_t a = problem.rows[j].entries[i];
      if (a > 0) problem.columnEntries[count++] = ColumnEntry{j, a};
    }
  }
  for (int32_t i = n; i <= MaxVariables; ++i) problem.columnStart[i] = count;
  for (int32_t i = n; i < MaxVariables; ++i) problem.columnPositive[i] = count;

  std::memset(problem.negativeTail, 0, sizeof problem.negativeTail);
  for (int32_t j = 0; j < m; ++j) {
    problem.rhs[j] = problem.rows[j].entries[RhsColumn];
    for (int32_t i = n - 1; i >= 0; --i) {
      const int64_t a = problem.rows[j].entries[i];
      problem.negativeTail[i][j] = problem.negativeTail[i + 1][j] + (a < 0 ? static_cast<uint64_t>(a) : 0);
    }
  }

  // The path starts at the zero assignment: every activity 0.
  std::memset(g_state.assignment, 0, sizeof g_state.assignment);
  std::memset(g_state.rowActivity, 0, sizeof g_state.rowActivity);
  g_state.violatedRows = 0;
  for (int32_t j = 0; j < m; ++j) g_state.violatedRows += problem.rhs[j] < 0;
}

}  // namespace zoint
