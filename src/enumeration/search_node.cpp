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
  const ColumnIndex& columns = g_state.columns;
  for (int32_t e = columns.columnStart[index]; e < columns.columnStart[index + 1]; ++e) {
    const ColumnEntry& entry = columns.columnEntries[e];
    uint64_t& activity = g_state.rowActivity[entry.row];
    const bool wasViolated = static_cast<int64_t>(activity) > columns.rhs[entry.row];
    activity += static_cast<uint64_t>(entry.coefficient) * change;
    const bool isViolated = static_cast<int64_t>(activity) > columns.rhs[entry.row];
    g_state.violatedRows += static_cast<int32_t>(isViolated) - static_cast<int32_t>(wasViolated);
  }
}

void ReleaseNode(SearchNode* node) {
  // The parent's zero completion has 0 beyond the parent's depth.
  SetAssignment(node, node->depth, 0);
  if (node->parent != nullptr) node->parent->child = nullptr;
  node->parent = nullptr;
}

void PrepareEnumeration() {
  const Problem& problem = g_state.problem;
  ColumnIndex& index = g_state.columns;
  const int32_t n = problem.n;
  const int32_t m = problem.m;
  int32_t count = 0;
  for (int32_t i = 0; i < n; ++i) {
    index.columnStart[i] = count;
    for (int32_t j = 0; j < m; ++j) {
      const int64_t a = problem.rows[j].entries[i];
      if (a < 0) index.columnEntries[count++] = ColumnEntry{j, a};
    }
    index.columnPositive[i] = count;
    for (int32_t j = 0; j < m; ++j) {
      const int64_t a = problem.rows[j].entries[i];
      if (a > 0) index.columnEntries[count++] = ColumnEntry{j, a};
    }
  }
  for (int32_t i = n; i <= MaxVariables; ++i) index.columnStart[i] = count;
  for (int32_t i = n; i < MaxVariables; ++i) index.columnPositive[i] = count;

  std::memset(index.negativeTail, 0, sizeof index.negativeTail);
  for (int32_t j = 0; j < m; ++j) {
    index.rhs[j] = problem.rows[j].entries[RhsColumn];
    for (int32_t i = n - 1; i >= 0; --i) {
      const int64_t a = problem.rows[j].entries[i];
      index.negativeTail[i][j] = index.negativeTail[i + 1][j] + (a < 0 ? static_cast<uint64_t>(a) : 0);
    }
  }

  // The path starts at the zero assignment: every activity 0.
  std::memset(g_state.assignment, 0, sizeof g_state.assignment);
  std::memset(g_state.rowActivity, 0, sizeof g_state.rowActivity);
  g_state.violatedRows = 0;
  for (int32_t j = 0; j < m; ++j) g_state.violatedRows += index.rhs[j] < 0;
}

}  // namespace zoint
