// A good first assignment for a one-row knapsack: the items around the
// relaxation's break item (its core) searched through by merging lists of
// undominated (weight, profit) pairs, the items before the core taken and
// those after it added wherever they still fit. The better its profit, the
// more the relaxation's bound fixes and the fewer cells the table fills;
// it decides nothing by itself.
#ifndef ZOINT_ONE_ROW_CORE_H
#define ZOINT_ONE_ROW_CORE_H

#include <cstdint>

#include "exact_search/one_row_bounds.h"
#include "exact_search/one_row_knapsack.h"

namespace zoint {

// Replaces taken (an assignment that fits) by the core's best assignment
// where that gains more; returns the profit of taken.
uint64_t ImproveByCore(const OneRowKnapsack& knapsack, const RatioOrder& order, int8_t* taken);

}  // namespace zoint

#endif  // ZOINT_ONE_ROW_CORE_H
