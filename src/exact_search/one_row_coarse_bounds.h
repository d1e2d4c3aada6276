// Upper bounds for a large one-row table, from coarse tables: every weight
// divided by a scale and rounded down, so that whatever fits a capacity
// fits its coarse image. For each item k, the most the items before k gain
// within each coarse capacity, and the most items k … end gain. A cell of
// the real table, capacity c left for items k … end, lies on the path of
// an assignment only if the items before k filled capacity − c: together
// they gain at most before[k][(capacity − c) / scale] + after[k][c / scale].
// Where that falls below a known feasible profit, no optimum passes, and a
// whole chunk of cells can be left out of the step: tighter than the
// relaxation's range, and never an interval, since the cells that matter
// lie scattered across it.
#ifndef ZOINT_ONE_ROW_COARSE_BOUNDS_H
#define ZOINT_ONE_ROW_COARSE_BOUNDS_H

#include <cstdint>
#include <memory>

#include "exact_search/one_row_knapsack.h"

namespace zoint {

struct CoarseBounds {
  uint64_t scale;     // 0: no bounds
  uint64_t capacity;  // the knapsack's
  uint64_t cells;     // coarse capacities per item: 0 … cells − 1
  // (itemCount + 1) rows of cells each: before[k·cells + u] over items
  // 0 … k − 1, after[k·cells + u] over items k … end.
  std::unique_ptr<uint32_t[]> before;
  std::unique_ptr<uint32_t[]> after;
};

// Fills the bounds where the real table, items times its cells, is large
// enough for them to pay and the profits sum below 2^32 (parameters.h);
// otherwise, or without the memory, bounds.scale is 0.
void MakeCoarseBounds(const OneRowKnapsack& knapsack, uint64_t tableCells, CoarseBounds& bounds);

// Whether an assignment through some capacity c in [low, high] left for
// items k … end can gain target. Always true without bounds.
bool CapacitiesCanReach(const CoarseBounds& bounds, int32_t k, uint64_t low, uint64_t high, uint64_t target);

}  // namespace zoint

#endif  // ZOINT_ONE_ROW_COARSE_BOUNDS_H
