// Additive implicit enumeration tests for a minimisation with ≤ rows. All
// sums wrap modulo 2^64 (computed unsigned, compared signed), so adding a
// column to the parent's sums gives the same bits as summing every column.
#include "enumeration/evaluate.h"

#include "run/solver_state.h"

namespace zoint {

namespace {

const uint64_t kNoActivity[MaxConstraints] = {};

// a_j·x of the node's zero completion, from the parent's and one column.
uint64_t RowActivity(const SearchNode* node, const uint64_t* base, int32_t j, uint64_t v) {
  const int64_t a = g_state.problem.rows[j].entries[node->depth];
  return base[j] + static_cast<uint64_t>(a) * v;
}

}  // namespace

int64_t RowLowerBound(const SearchNode* node, int32_t j) {
  const uint64_t freePart = g_state.problem.negativeTail[j][node->depth + 1];
  return static_cast<int64_t>(node->rowActivity[j] + freePart);
}

bool EvaluateNode(SearchNode* node) {
  ++g_stats.evaluations;
  const Problem& problem = g_state.problem;
  const int32_t d = node->depth;
  const int32_t m = g_state.m;
  const uint64_t v = static_cast<uint64_t>(g_state.assignment[d]);
  const SearchNode* parent = node->parent;
  const uint64_t* base = parent != nullptr ? parent->rowActivity : kNoActivity;
  const uint64_t baseObjective = parent != nullptr ? static_cast<uint64_t>(parent->objective) : 0;

  const int64_t z = static_cast<int64_t>(baseObjective + static_cast<uint64_t>(problem.coefficients[d]) * v);
  node->objective = z;

  // Feasibility of the zero completion; the first violated row decides.
  int32_t known = 0;
  bool feasible = true;
  while (known < m) {
    node->rowActivity[known] = RowActivity(node, base, known, v);
    const int64_t rhs = problem.rows[known].entries[RhsColumn];
    ++known;
    if (static_cast<int64_t>(node->rowActivity[known - 1]) > rhs) {
      feasible = false;
      break;
    }
  }

  if (feasible) {
    // Only a strictly smaller value replaces: the first one found stays.
    if (z < g_state.incumbentValue) {
      g_state.incumbentValue = z;
      for (int32_t i = 0; i < g_state.n; ++i) g_state.incumbentVector[i] = g_state.assignment[i];
    }
    return true;
  }

  if (d == g_state.n - 1) return true;           // every variable fixed
  if (z >= g_state.incumbentValue) return true;  // cannot beat the incumbent
  for (int32_t j = 0; j < m; ++j) {
    if (j >= known) node->rowActivity[j] = RowActivity(node, base, j, v);
    if (RowLowerBound(node, j) > problem.rows[j].entries[RhsColumn]) return true;
  }
  return false;
}

void Branch(SearchNode* node) {
  if (!g_state.inputValid) return;
  for (int64_t v = 0; v <= 1; ++v) {
    SetAssignment(node, node->depth, v);
    if (EvaluateNode(node)) {
      node->child = nullptr;
      continue;
    }
    SearchNode* child = &g_state.nodes[node->depth + 1];
    InitChild(child, node);
    Branch(child);
    ReleaseNode(child);
  }
}

}  // namespace zoint
