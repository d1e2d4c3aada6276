#include "exact_search/one_row_coarse.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "exact_search/one_row_bounds.h"
#include "exact_search/parameters.h"

namespace zoint {

namespace {

// The coarse knapsack's optimum as taken[k], by a table over the coarse
// capacity, items from the last to the first, with a byte per item and
// cell saying whether taking the item is better there. Each step writes a
// second column from the first, a loop without dependences.
template <typename Value>
void CoarseOptimum(const OneRowKnapsack& knapsack, const uint64_t* coarseWeight, uint64_t room,
                   int8_t* taken) {
  const int32_t count = knapsack.itemCount;
  const size_t cells = static_cast<size_t>(room) + 1;
  std::vector<Value> column(cells, 0);
  std::vector<Value> next(cells);
  std::vector<uint8_t> takes(cells * static_cast<size_t>(count));
  for (int32_t k = count - 1; k >= 0; --k) {
    const size_t weight = static_cast<size_t>(std::min<uint64_t>(coarseWeight[k], cells));
    const Value profit = static_cast<Value>(knapsack.items[k].profit);
    uint8_t* row = takes.data() + static_cast<size_t>(k) * cells;
    std::copy(column.begin(), column.begin() + static_cast<std::ptrdiff_t>(weight), next.begin());
    std::fill(row, row + weight, 0);
    const Value* kept = column.data();
    const Value* source = column.data();
    Value* out = next.data();
    for (size_t u = weight; u < cells; ++u) {
      const Value chosen = source[u - weight] + profit;
      row[u] = static_cast<uint8_t>(chosen > kept[u]);
      out[u] = chosen > kept[u] ? chosen : kept[u];
    }
    column.swap(next);
  }
  uint64_t u = room;
  for (int32_t k = 0; k < count; ++k) {
    taken[k] = static_cast<int8_t>(takes[static_cast<size_t>(k) * cells + static_cast<size_t>(u)]);
    if (taken[k] != 0) u -= coarseWeight[k];
  }
}

}  // namespace

uint64_t ImproveByCoarseTable(const OneRowKnapsack& knapsack, int8_t* taken) {
  const uint64_t best = ProfitOf(knapsack, taken);
  const int32_t count = knapsack.itemCount;
  uint64_t sumWeight = 0;
  uint64_t sumProfit = 0;
  for (int32_t k = 0; k < count; ++k) {
    sumWeight += knapsack.items[k].weight;
    sumProfit += knapsack.items[k].profit;
  }
  if (count == 0 || sumWeight <= knapsack.capacity) return best;
  // Only where the real table, items times the smaller side, is large.
  const uint64_t side = std::min(knapsack.capacity, sumWeight - knapsack.capacity);
  if (side < parameters::kCoarseTableFromCells / static_cast<uint64_t>(count)) return best;
  // Σ⌈w/scale⌉ ≤ ⌊capacity/scale⌋ gives Σ w ≤ capacity: what fits the
  // coarse knapsack fits the real one.
  const uint64_t scale = knapsack.capacity / parameters::kCoarseTableCells + 1;
  const uint64_t room = knapsack.capacity / scale;
  uint64_t coarseWeight[MaxVariables];
  for (int32_t k = 0; k < count; ++k)
    coarseWeight[k] = knapsack.items[k].weight / scale + (knapsack.items[k].weight % scale != 0 ? 1 : 0);
  int8_t candidate[MaxVariables];
  try {
    if (sumProfit < static_cast<uint64_t>(INT32_MAX)) {
      CoarseOptimum<int32_t>(knapsack, coarseWeight, room, candidate);
    } else {
      CoarseOptimum<int64_t>(knapsack, coarseWeight, room, candidate);
    }
  } catch (const std::bad_alloc&) {
    return best;
  }
  const uint64_t profit = ProfitOf(knapsack, candidate);
  if (profit <= best) return best;
  std::copy(candidate, candidate + count, taken);
  return profit;
}

}  // namespace zoint
