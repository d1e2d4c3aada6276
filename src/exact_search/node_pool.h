// The first pass's nodes set aside for later, taken up lowest bound first.
// Once a search has run long, it dives depth first from a node (a plunge)
// only as long as the bounds it meets stay within half the gap above that
// node's; a node whose bound lies further up is set aside here with its
// fixed variables and its relaxation's basis. So a long search spends less
// time below nodes that a better assignment, found later, would have
// closed; and between plunges the lowest bound in the pool bounds every
// assignment not yet found.
#ifndef ZOINT_NODE_POOL_H
#define ZOINT_NODE_POOL_H

#include <cstddef>
#include <vector>

#include "exact_search/certified_bound.h"
#include "exact_search/lp_relaxation.h"
#include "exact_search/tie_boxes.h"

namespace zoint {

struct PooledNode {
  ProvenBound bound;   // its bound when it was set aside
  TieBox box;          // its fixed variables
  CompactBasis basis;  // its relaxation's final basis
};

struct NodePool {
  std::vector<PooledNode> heap;  // a binary heap, lowest bound on top
  size_t capacity;               // beyond this many, nothing more is set aside
  double plungeStart;            // the bound of the current plunge's first node
};

// The memory bound (parameters::kMaxPooledNodes) counts 96 bytes a node.
static_assert(sizeof(PooledNode) <= 96, "the memory bound counts 96 bytes a node");

void PushNode(NodePool& pool, ProvenBound bound, const Fixing& fixing, int32_t n, LpWorkspace& lp, int32_t level);

// Requires a node in the pool.
PooledNode PopLowestNode(NodePool& pool);

}  // namespace zoint

#endif  // ZOINT_NODE_POOL_H
