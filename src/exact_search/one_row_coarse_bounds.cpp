#include "exact_search/one_row_coarse_bounds.h"

#include <algorithm>
#include <new>

#include "exact_search/parameters.h"

namespace zoint {

namespace {

// Row `to` from row `from` with one more item of coarse weight `weight`:
// the better of leaving it out and taking it from `weight` cells below.
// A coarse weight of 0 adds the profit everywhere.
void AddItem(const uint32_t* from, uint32_t* to, uint64_t cells, uint64_t weight, uint32_t profit) {
  const uint64_t below = std::min(weight, cells);
  for (uint64_t u = 0; u < below; ++u) to[u] = from[u];
  for (uint64_t u = below; u < cells; ++u) {
    const uint32_t taken = from[u - weight] + profit;
    to[u] = from[u] > taken ? from[u] : taken;
  }
}

}  // namespace

void MakeCoarseBounds(const OneRowKnapsack& knapsack, uint64_t tableCells, CoarseBounds& bounds) {
  bounds.scale = 0;
  const int32_t count = knapsack.itemCount;
  uint64_t sumProfit = 0;
  for (int32_t k = 0; k < count; ++k) sumProfit += knapsack.items[k].profit;
  // Every value is a sum of distinct items' profits: below 2^32 they fit.
  if (tableCells < parameters::kCoarseTableFromCells || sumProfit > UINT32_MAX) return;
  const uint64_t scale = knapsack.capacity / parameters::kCoarseBoundCells + 1;
  const uint64_t cells = knapsack.capacity / scale + 1;
  const size_t size = static_cast<size_t>(cells) * static_cast<size_t>(count + 1);
  bounds.before.reset(new (std::nothrow) uint32_t[size]);
  bounds.after.reset(new (std::nothrow) uint32_t[size]);
  if (bounds.before == nullptr || bounds.after == nullptr) return;
  uint32_t* before = bounds.before.get();
  uint32_t* after = bounds.after.get();
  std::fill(before, before + cells, 0u);
  for (int32_t k = 0; k < count; ++k) {
    const KnapsackItem& item = knapsack.items[k];
    AddItem(before + k * cells, before + (k + 1) * cells, cells, item.weight / scale,
            static_cast<uint32_t>(item.profit));
  }
  std::fill(after + count * cells, after + (count + 1) * cells, 0u);
  for (int32_t k = count - 1; k >= 0; --k) {
    const KnapsackItem& item = knapsack.items[k];
    AddItem(after + (k + 1) * cells, after + k * cells, cells, item.weight / scale,
            static_cast<uint32_t>(item.profit));
  }
  bounds.scale = scale;
  bounds.capacity = knapsack.capacity;
  bounds.cells = cells;
}

bool CapacitiesCanReach(const CoarseBounds& bounds, int32_t k, uint64_t low, uint64_t high, uint64_t target) {
  if (bounds.scale == 0) return true;
  // The items before k fill capacity − c ≤ capacity − low: their coarse
  // weights sum to at most (capacity − low) / scale; those from k take at
  // most c ≤ high. Both tables rise with the capacity.
  const uint64_t row = static_cast<uint64_t>(k) * bounds.cells;
  const uint64_t before = bounds.before[row + (bounds.capacity - low) / bounds.scale];
  const uint64_t after = bounds.after[row + high / bounds.scale];
  return before + after >= target;
}

}  // namespace zoint
