// A first assignment for a large one-row knapsack from a coarse table:
// every weight divided by a scale and rounded up, the capacity divided and
// rounded down, so that whatever fits there fits the real knapsack. The
// coarse optimum loses at most a scale's worth of capacity per item taken,
// far less than the greedy packing and the core leave on knapsacks whose
// capacity runs to millions, and a first assignment that much closer to the
// optimum fixes more items and narrows the real table more. It decides
// nothing by itself.
#ifndef ZOINT_ONE_ROW_COARSE_H
#define ZOINT_ONE_ROW_COARSE_H

#include <cstdint>

#include "exact_search/one_row_knapsack.h"

namespace zoint {

// Replaces taken (an assignment that fits) by the coarse table's optimum
// where that gains more, when the real table would be large enough for the
// coarse one to pay (parameters.h); returns the profit of taken. Throws
// nothing: without the memory it leaves taken as it is.
uint64_t ImproveByCoarseTable(const OneRowKnapsack& knapsack, int8_t* taken);

}  // namespace zoint

#endif  // ZOINT_ONE_ROW_COARSE_H
