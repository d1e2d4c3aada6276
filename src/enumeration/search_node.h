// One node of the depth-first enumeration tree, and the column index the
// enumeration reads the problem through.
#ifndef ZOINT_SEARCH_NODE_H
#define ZOINT_SEARCH_NODE_H

#include <cstdint>

#include "problem/problem.h"

namespace zoint {

// A nonzero coefficient a_ji, listed by column.
struct ColumnEntry {
  int32_t row;
  int64_t coefficient;
};

// What the enumeration derives from the problem once per run. Fixing x_i
// touches only the rows listed for column i, which is what makes an
// evaluation cost its column, not n·m.
struct ColumnIndex {
  // Column i: entries columnStart[i] … columnStart[i+1]−1, the negative
  // coefficients first, the positive ones from columnPositive[i].
  int32_t columnStart[MaxVariables + 1];
  int32_t columnPositive[MaxVariables];
  ColumnEntry columnEntries[MaxVariables * MaxConstraints];
  int64_t rhs[MaxConstraints];  // b_j, contiguous
  // negativeTail[k][j]: wrapping sum of the negative a_ji for i = k … n−1,
  // the free part of row j's lower bound at a node of depth k − 1.
  uint64_t negativeTail[MaxVariables + 2][MaxConstraints];
};

// One node of the enumeration tree: it fixes x_depth. The assignment and the
// rows' activity live once along the current path (in the solver state), so
// a node holds only what differs from its parent.
struct SearchNode {
  int32_t depth;       // the variable this node fixes
  int64_t objective;   // c·x of the zero completion
  SearchNode* child;   // live child, or none
  SearchNode* parent;  // none for the root
};

// Member operations of a node. Node storage is one slot per depth in the
// solver state, so creating and releasing a node never allocates.
void ClearNode(SearchNode* node);                       // every field zero, no links
void InitChild(SearchNode* child, SearchNode* parent);  // child of parent, one deeper
void SetAssignment(SearchNode* node, int32_t index, int64_t value);
void ReleaseNode(SearchNode* node);  // subtree finished: unlink it

// Builds the solver state's column index from its problem and starts the
// path at the all-zero assignment.
void PrepareEnumeration();

}  // namespace zoint

#endif  // ZOINT_SEARCH_NODE_H
