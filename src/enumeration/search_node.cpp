#include "enumeration/search_node.h"

#include <cstring>

namespace zoint {

void ClearNode(SearchNode* node) { std::memset(node, 0, sizeof *node); }

void InitChild(EnumerationState& state, SearchNode* child, SearchNode* parent) {
  child->depth = parent->depth + 1;
  child->objective = 0;
  child->child = nullptr;
  child->parent = parent;
  parent->child = child;
  ++state.counters.nodes;
}

void SetAssignment(EnumerationState& state, int32_t index, int64_t value) {
  const uint64_t change = static_cast<uint64_t>(value) - static_cast<uint64_t>(state.assignment[index]);
  state.assignment[index] = value;
  if (change == 0) return;
  const ColumnIndex& columns = state.columns;
  for (int32_t e = columns.columnStart[index]; e < columns.columnStart[index + 1]; ++e) {
    const ColumnEntry& entry = columns.columnEntries[e];
    uint64_t& activity = state.rowActivity[entry.row];
    const bool wasViolated = static_cast<int64_t>(activity) > columns.rhs[entry.row];
    activity += static_cast<uint64_t>(entry.coefficient) * change;
    const bool isViolated = static_cast<int64_t>(activity) > columns.rhs[entry.row];
    state.violatedRows += static_cast<int32_t>(isViolated) - static_cast<int32_t>(wasViolated);
  }
}

void ReleaseNode(EnumerationState& state, SearchNode* node) {
  // The parent's zero completion has 0 beyond the parent's depth.
  SetAssignment(state, node->depth, 0);
  if (node->parent != nullptr) node->parent->child = nullptr;
  node->parent = nullptr;
}

namespace {

void BuildColumnIndex(const Problem& problem, ColumnIndex& index) {
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
}

}  // namespace

SearchNode* StartEnumeration(EnumerationState& state, const Problem& problem) {
  state.problem = &problem;
  BuildColumnIndex(problem, state.columns);
  // The path starts at the zero assignment: every activity 0.
  std::memset(state.assignment, 0, sizeof state.assignment);
  std::memset(state.rowActivity, 0, sizeof state.rowActivity);
  state.violatedRows = 0;
  for (int32_t j = 0; j < problem.m; ++j) state.violatedRows += state.columns.rhs[j] < 0;
  state.incumbentValue = NoSolutionValue;
  std::memset(state.incumbentVector, 0, sizeof state.incumbentVector);
  state.counters = EnumerationCounters{};
  SearchNode* root = &state.nodes[0];
  ClearNode(root);
  return root;
}

}  // namespace zoint
