// One node of the depth-first enumeration tree, and the enumeration's own
// state record: the column index it reads the problem through, the current
// path's assignment with the sums it implies, one node slot per depth, the
// best assignment so far and the counters.
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
  // the free part of row j's lower bound at a node of depth k − 1; k runs
  // from 0 to n, where the tail is empty.
  uint64_t negativeTail[MaxVariables + 1][MaxConstraints];
};

// One node of the enumeration tree: it fixes x_depth. The assignment and the
// rows' activity live once along the current path (in the enumeration's
// state), so a node holds only what differs from its parent.
struct SearchNode {
  int32_t depth;       // the variable this node fixes
  int64_t objective;   // c·x of the zero completion
  SearchNode* child;   // live child, or none
  SearchNode* parent;  // none for the root
};

struct EnumerationCounters {
  uint64_t nodes;        // nodes created below the root
  uint64_t evaluations;  // EvaluateNode calls
};

// Everything one enumeration works on; owned by its run.
struct EnumerationState {
  const Problem* problem;  // the problem being enumerated; none before StartEnumeration
  ColumnIndex columns;
  int64_t assignment[MaxVariables];      // x of the current path; 0 beyond it
  uint64_t rowActivity[MaxConstraints];  // a_j·x of that assignment (wrapping)
  int32_t violatedRows;                  // rows whose activity exceeds b_j
  SearchNode nodes[MaxVariables];        // node storage, one slot per depth
  int64_t incumbentValue;                // best zero completion found; NoSolutionValue before one
  int64_t incumbentVector[MaxVariables];
  EnumerationCounters counters;
};

// Member operations of a node. Node storage is one slot per depth in the
// state, so creating and releasing a node never allocates.
void ClearNode(SearchNode* node);  // every field zero, no links
void InitChild(EnumerationState& state, SearchNode* child, SearchNode* parent);  // child of parent, one deeper
void SetAssignment(EnumerationState& state, int32_t index, int64_t value);
void ReleaseNode(EnumerationState& state, SearchNode* node);  // subtree finished: unlink it

// Builds the column index from the problem, starts the path at the all-zero
// assignment with no incumbent and zero counters, and returns the root: a
// cleared node at depth 0 in the first slot. The problem must outlive the
// enumeration.
SearchNode* StartEnumeration(EnumerationState& state, const Problem& problem);

}  // namespace zoint

#endif  // ZOINT_SEARCH_NODE_H
