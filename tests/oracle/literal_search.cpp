#include "oracle/literal_search.h"

#include <cstring>
#include <memory>

namespace zoint_test {
namespace {

constexpr int kMaxVariables = 100;
constexpr int kMaxConstraints = 50;
constexpr int kRhsColumn = 100;

struct Row {
  int64_t entries[kMaxVariables + 1];
};

struct Node {
  int32_t depth;
  int64_t assignment[kMaxVariables];
  int64_t coefficients[kMaxVariables];
  int64_t objective;
  Node* child;
  Node* parent;
  Row rows[kMaxConstraints];
};

struct State {
  int32_t n, m;
  int64_t incumbentValue;
  int64_t incumbentVector[kMaxVariables];
  uint64_t nodes, evaluations;
  // One node's storage per depth, reused: a fresh allocation per node would
  // mostly measure the allocator handing 42 KB back to the system each time.
  std::unique_ptr<Node> storage[kMaxVariables + 1];
};

int64_t DotProduct(int32_t count, const int64_t* u, const int64_t* v) {
  uint64_t sum = 0;
  for (int32_t i = 0; i < count; ++i) sum += static_cast<uint64_t>(u[i]) * static_cast<uint64_t>(v[i]);
  return static_cast<int64_t>(sum);
}

int64_t RowLowerBound(const State& s, const Node& node, int32_t j) {
  const int32_t k = node.depth + 1;
  uint64_t bound = 0;
  for (int32_t i = k; i < s.n; ++i) {
    if (node.rows[j].entries[i] < 0) bound += static_cast<uint64_t>(node.rows[j].entries[i]);
  }
  for (int32_t i = 0; i < k; ++i) {
    bound += static_cast<uint64_t>(node.rows[j].entries[i]) * static_cast<uint64_t>(node.assignment[i]);
  }
  return static_cast<int64_t>(bound);
}

bool EvaluateNode(State& s, Node& node) {
  ++s.evaluations;
  const int64_t z = DotProduct(s.n, node.assignment, node.coefficients);
  node.objective = z;
  bool feasible = true;
  for (int32_t j = 0; j < s.m; ++j) {
    if (DotProduct(s.n, node.assignment, node.rows[j].entries) > node.rows[j].entries[kRhsColumn]) {
      feasible = false;
      break;
    }
  }
  if (feasible) {
    if (z < s.incumbentValue) {
      s.incumbentValue = z;
      for (int32_t i = 0; i < s.n; ++i) s.incumbentVector[i] = node.assignment[i];
    }
    return true;
  }
  if (node.depth == s.n - 1) return true;
  if (z >= s.incumbentValue) return true;
  for (int32_t j = 0; j < s.m; ++j) {
    if (RowLowerBound(s, node, j) > node.rows[j].entries[kRhsColumn]) return true;
  }
  return false;
}

void InitChild(Node& child, Node& parent) {
  std::memcpy(child.assignment, parent.assignment, sizeof child.assignment);
  std::memcpy(child.coefficients, parent.coefficients, sizeof child.coefficients);
  std::memcpy(child.rows, parent.rows, sizeof child.rows);
  child.objective = 0;
  parent.child = &child;
  child.child = nullptr;
  child.parent = &parent;
  child.depth = parent.depth + 1;
}

void Branch(State& s, Node& node) {
  for (int64_t v = 0; v <= 1; ++v) {
    node.assignment[node.depth] = v;
    if (EvaluateNode(s, node)) {
      node.child = nullptr;
    } else {
      std::unique_ptr<Node>& slot = s.storage[node.depth + 1];
      if (!slot) slot.reset(new Node());
      Node& child = *slot;
      child = Node{};  // created with every field zero
      ++s.nodes;
      InitChild(child, node);
      Branch(s, child);
      node.child = nullptr;  // the child is released when its subtree is done
    }
  }
}

}  // namespace

SearchResult LiteralSearch(const TestProblem& problem) {
  std::unique_ptr<State> state(new State{});
  State& s = *state;
  s.n = problem.n;
  s.m = static_cast<int32_t>(problem.rows.size());
  s.incumbentValue = INT64_MAX;
  std::unique_ptr<Node> root(new Node());
  for (int32_t i = 0; i < problem.n; ++i) root->coefficients[i] = problem.c[i];
  for (int32_t j = 0; j < s.m; ++j) {
    for (int32_t i = 0; i < problem.n; ++i) root->rows[j].entries[i] = problem.rows[j][i];
    root->rows[j].entries[kRhsColumn] = problem.rows[j][problem.n];
  }
  Branch(s, *root);
  return {s.incumbentValue, std::vector<int64_t>(s.incumbentVector, s.incumbentVector + s.n), s.nodes,
          s.evaluations};
}

}  // namespace zoint_test
