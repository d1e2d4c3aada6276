#include "exact_search/node_pool.h"

#include <algorithm>

namespace zoint {

namespace {

// std::push_heap keeps the greatest on top: here that is the lowest bound.
bool HigherBound(const PooledNode& a, const PooledNode& b) { return a.bound.value() > b.bound.value(); }

}  // namespace

void PushNode(NodePool& pool, ProvenBound bound, const Fixing& fixing, int32_t n, LpWorkspace& lp, int32_t level) {
  PooledNode node{bound, BoxOf(fixing, n), {}};
  SaveLpBasis(lp, level, node.basis);
  pool.heap.push_back(node);
  std::push_heap(pool.heap.begin(), pool.heap.end(), HigherBound);
}

PooledNode PopLowestNode(NodePool& pool) {
  std::pop_heap(pool.heap.begin(), pool.heap.end(), HigherBound);
  const PooledNode node = pool.heap.back();
  pool.heap.pop_back();
  return node;
}

}  // namespace zoint
