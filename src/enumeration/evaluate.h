// The evaluation of one node and the depth-first branching that drives it.
#ifndef ZOINT_EVALUATE_H
#define ZOINT_EVALUATE_H

#include <cstdint>

#include "enumeration/search_node.h"

namespace zoint {

// Least value row j can take over all completions of the node's partial
// assignment. Valid once EvaluateNode has computed the row's activity.
int64_t RowLowerBound(const EnumerationState& state, const SearchNode* node, int32_t j);

// Tests the node's current assignment. Returns true (fathomed) when the
// subtree below it can be closed, false when the search must descend.
// May replace the incumbent.
bool EvaluateNode(EnumerationState& state, SearchNode* node);

// Enumerates every completion below the node, depth first, 0 before 1.
void Branch(EnumerationState& state, SearchNode* node);

}  // namespace zoint

#endif  // ZOINT_EVALUATE_H
