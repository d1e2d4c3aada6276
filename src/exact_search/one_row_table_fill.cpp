#include "exact_search/one_row_table_fill.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <limits>

#include "exact_search/parameters.h"

namespace zoint {

namespace {

constexpr uint64_t kBitsPerWord = 64;

// Whether x = 0 for item's variable means choosing the item in the table's
// sense: taking it (packing) or leaving it out (covering).
bool ZeroChooses(const TableShape& shape, const KnapsackItem& item) { return shape.covering == item.takenIsOne; }

// One block of at most 64 cells of a step, all in one word of bits, with
// every cell at or above the item's weight: cell s becomes the better of
// itself and cell s − weight plus gain. Returns the bits, cell 0 of the
// block in bit 0. The new values go to a block of their own first, so the
// loop reads only cells the step has not changed yet (it runs from the top
// cell down, block by block) and has no dependence between its iterations.
template <typename Value>
uint64_t StepBlockAboveWeight(Value* cells, const Value* source, uint32_t count, Value gain, bool zeroChooses) {
  Value fresh[kBitsPerWord];
  uint8_t zeroBest[kBitsPerWord];
  if (zeroChooses) {
    for (uint32_t j = 0; j < count; ++j) {
      const Value kept = cells[j];
      const Value chosen = source[j] + gain;
      fresh[j] = kept > chosen ? kept : chosen;
      zeroBest[j] = chosen >= kept;
    }
  } else {
    for (uint32_t j = 0; j < count; ++j) {
      const Value kept = cells[j];
      const Value chosen = source[j] + gain;
      fresh[j] = kept > chosen ? kept : chosen;
      zeroBest[j] = kept >= chosen;
    }
  }
  std::memcpy(cells, fresh, count * sizeof(Value));
  uint64_t bits = 0;
  for (uint32_t j = 0; j < count; ++j) bits |= static_cast<uint64_t>(zeroBest[j]) << j;
  return bits;
}

// The same below the item's weight, where choosing it gives `chosen` itself.
template <typename Value>
uint64_t StepBlockBelowWeight(Value* cells, uint32_t count, Value chosen, bool zeroChooses) {
  uint64_t bits = 0;
  for (uint32_t j = 0; j < count; ++j) {
    const Value kept = cells[j];
    cells[j] = kept > chosen ? kept : chosen;
    const bool zeroBest = zeroChooses ? chosen >= kept : kept >= chosen;
    bits |= static_cast<uint64_t>(zeroBest) << j;
  }
  return bits;
}

template <typename Value>
void StepItem(const TableShape& shape, const KnapsackItem& item, uint64_t low, uint64_t high, Value* values,
              uint64_t* row) {
  const bool zeroChooses = ZeroChooses(shape, item);
  // Packing: taking the item gains its profit from the cell its weight
  // below, and does not fit under its weight. Covering: leaving it out
  // gives up its profit, and below its weight it alone meets the demand,
  // from cell 0, which holds 0.
  const Value profit = static_cast<Value>(item.profit);
  const Value gain = shape.covering ? -profit : profit;
  const Value belowWeight = shape.covering ? -profit : std::numeric_limits<Value>::lowest();
  uint64_t top = high;
  for (;;) {
    const uint64_t blockLow = std::max(low, top & ~(kBitsPerWord - 1));
    const uint32_t count = static_cast<uint32_t>(top - blockLow + 1);
    // Cells of the block at or above the weight first: they read cells
    // below them, the block's lower ones among them, before those change.
    const uint32_t below =
        blockLow >= item.weight ? 0 : static_cast<uint32_t>(std::min<uint64_t>(count, item.weight - blockLow));
    uint64_t bits = 0;
    if (below < count) {
      const uint64_t first = blockLow + below;
      bits = StepBlockAboveWeight(values + first, values + (first - item.weight), count - below, gain, zeroChooses)
             << below;
    }
    bits |= StepBlockBelowWeight(values + blockLow, below, belowWeight, zeroChooses);
    row[(top / kBitsPerWord) - (low / kBitsPerWord)] = bits << (blockLow % kBitsPerWord);
    if (blockLow == low) break;
    top = blockLow - 1;
  }
}

template <typename Value>
bool FillValues(const OneRowKnapsack& knapsack, const TableShape& shape, Value* values, uint64_t* bits,
                SearchLimits& limits) {
  // Before any item only cell 0 is reached, worth 0 in either form.
  values[0] = 0;
  uint64_t filled = 0;  // cells 0 … filled hold the values after the last step
  // Covering: a demand beyond the weight of the items stepped through so far
  // cannot be met; below every value reached (each ≥ −sumProfit).
  const Value unreachable = -static_cast<Value>(shape.sumProfit) - 1;
  for (int32_t k = knapsack.itemCount - 1; k >= 0; --k) {
    if (LimitReached(limits)) return false;
    const uint64_t low = shape.low[k];
    const uint64_t high = shape.high[k];
    if (high > filled) {
      // Packing: beyond the weight of the items so far nothing changes.
      const Value beyond = shape.covering ? unreachable : values[filled];
      std::fill(values + std::max(filled + 1, low), values + high + 1, beyond);
      filled = high;
    }
    StepItem(shape, knapsack.items[k], low, high, values, bits + shape.firstWord[k]);
  }
  return true;
}

}  // namespace

bool PlanTable(const OneRowKnapsack& knapsack, TableShape& shape) {
  const int32_t count = knapsack.itemCount;
  assert(count > 0);
  uint64_t sumWeight = 0;
  shape.sumProfit = 0;
  for (int32_t k = 0; k < count; ++k) {
    sumWeight += knapsack.items[k].weight;
    shape.sumProfit += knapsack.items[k].profit;
  }
  assert(sumWeight > knapsack.capacity);
  const uint64_t demand = sumWeight - knapsack.capacity;
  shape.covering = demand < knapsack.capacity;
  shape.top = shape.covering ? demand : knapsack.capacity;
  shape.narrowValues = shape.sumProfit < static_cast<uint64_t>(INT32_MAX);
  if (shape.top >= parameters::kMaxTableValueBytes || ValueBytes(shape) > parameters::kMaxTableValueBytes) {
    return false;
  }

  // From the top cell the items before k reach down by at most their
  // weight; items k … end reach up to their own weight at most.
  uint64_t before = 0;
  uint64_t fromHere = sumWeight;
  shape.cells = 0;
  shape.firstWord[0] = 0;
  for (int32_t k = 0; k < count; ++k) {
    shape.low[k] = shape.top > before ? shape.top - before : 0;
    shape.high[k] = std::min(shape.top, fromHere);
    assert(shape.low[k] <= shape.high[k]);
    shape.cells += shape.high[k] - shape.low[k] + 1;
    shape.firstWord[k + 1] = shape.firstWord[k] + shape.high[k] / kBitsPerWord - shape.low[k] / kBitsPerWord + 1;
    before += knapsack.items[k].weight;
    fromHere -= knapsack.items[k].weight;
  }
  shape.words = shape.firstWord[count];
  return shape.cells <= parameters::kMaxTableCells && DecisionBytes(shape) <= parameters::kMaxTableCells / 8;
}

uint64_t ValueBytes(const TableShape& shape) {
  return (shape.top + 1) * (shape.narrowValues ? sizeof(int32_t) : sizeof(int64_t));
}

uint64_t DecisionBytes(const TableShape& shape) { return shape.words * sizeof(uint64_t); }

bool FillTable(const OneRowKnapsack& knapsack, const TableShape& shape, void* values, uint64_t* bits,
               SearchLimits& limits) {
  if (shape.narrowValues) return FillValues(knapsack, shape, static_cast<int32_t*>(values), bits, limits);
  return FillValues(knapsack, shape, static_cast<int64_t*>(values), bits, limits);
}

void ReadSmallestOptimum(const OneRowKnapsack& knapsack, const TableShape& shape, const uint64_t* bits,
                         int8_t* taken) {
  uint64_t cell = shape.top;
  for (int32_t k = 0; k < knapsack.itemCount; ++k) {
    const KnapsackItem& item = knapsack.items[k];
    // Packing: capacity beyond the weight of the items left is worth the
    // same as that weight, and decided the same.
    cell = std::min(cell, shape.high[k]);
    assert(cell >= shape.low[k]);
    const uint64_t word = bits[shape.firstWord[k] + cell / kBitsPerWord - shape.low[k] / kBitsPerWord];
    const bool zeroBest = ((word >> (cell % kBitsPerWord)) & 1u) != 0;
    const bool chosen = zeroBest == ZeroChooses(shape, item);
    taken[k] = static_cast<int8_t>(chosen != shape.covering ? 1 : 0);
    if (!chosen) continue;
    if (shape.covering) {
      cell = cell > item.weight ? cell - item.weight : 0;
    } else {
      assert(cell >= item.weight);
      cell -= item.weight;
    }
  }
}

}  // namespace zoint
