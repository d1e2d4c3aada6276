// Additive implicit enumeration tests for a minimisation with ≤ rows. All
// sums wrap modulo 2^64 (computed unsigned, compared signed), so updating a
// sum by one column gives the same bits as summing every column afresh.
#include "enumeration/evaluate.h"

namespace zoint {

int64_t RowLowerBound(const EnumerationState& state, const SearchNode* node, int32_t j) {
  const uint64_t freePart = state.columns.negativeTail[node->depth + 1][j];
  return static_cast<int64_t>(state.rowActivity[j] + freePart);
}

bool EvaluateNode(EnumerationState& state, SearchNode* node) {
  ++state.counters.evaluations;
  const Problem& problem = *state.problem;
  const ColumnIndex& columns = state.columns;
  const int32_t d = node->depth;
  const uint64_t base = node->parent != nullptr ? static_cast<uint64_t>(node->parent->objective) : 0;
  const int64_t z = static_cast<int64_t>(base + static_cast<uint64_t>(problem.coefficients[d]) *
                                                    static_cast<uint64_t>(state.assignment[d]));
  node->objective = z;

  // The zero completion is feasible when no row is violated; SetAssignment
  // keeps that count along the path.
  if (state.violatedRows == 0) {
    // Only a strictly smaller value replaces: the first one found stays.
    if (z < state.incumbentValue) {
      state.incumbentValue = z;
      for (int32_t i = 0; i < problem.n; ++i) state.incumbentVector[i] = state.assignment[i];
    }
    return true;
  }

  if (d == problem.n - 1) return true;         // every variable fixed
  if (z >= state.incumbentValue) return true;  // cannot beat the incumbent

  // Some row cannot be met by any completion? At the root every row is
  // checked. Below it, the parent branched, so every row's bound passed when
  // the parent was evaluated, and a row's bound differs from that one only
  // where column d changes it: with x_d = 0 the free part loses a negative
  // a_jd; with x_d = 1 the activity gains a positive a_jd (a negative one
  // moves from the free part to the activity, which leaves the sum as it
  // was, bit for bit). Only those rows can close the node.
  if (node->parent == nullptr) {
    for (int32_t j = 0; j < problem.m; ++j) {
      if (RowLowerBound(state, node, j) > columns.rhs[j]) return true;
    }
    return false;
  }
  const bool one = state.assignment[d] != 0;
  const int32_t first = one ? columns.columnPositive[d] : columns.columnStart[d];
  const int32_t last = one ? columns.columnStart[d + 1] : columns.columnPositive[d];
  for (int32_t e = first; e < last; ++e) {
    const int32_t j = columns.columnEntries[e].row;
    if (RowLowerBound(state, node, j) > columns.rhs[j]) return true;
  }
  return false;
}

void Branch(EnumerationState& state, SearchNode* node) {
  for (int64_t v = 0; v <= 1; ++v) {
    SetAssignment(state, node->depth, v);
    if (EvaluateNode(state, node)) {
      node->child = nullptr;
      continue;
    }
    SearchNode* child = &state.nodes[node->depth + 1];
    InitChild(state, child, node);
    Branch(state, child);
    ReleaseNode(state, child);
  }
}

}  // namespace zoint
