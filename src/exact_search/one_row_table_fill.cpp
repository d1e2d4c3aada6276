#include "exact_search/one_row_table_fill.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "exact_search/one_row_bounds.h"
#include "exact_search/parameters.h"

namespace zoint {

namespace {

// Whether x = 0 for item's variable means choosing the item in the table's
// sense: taking it (packing) or leaving it out (covering).
bool ZeroChooses(const TableShape& shape, const KnapsackItem& item) {
  return shape.covering == item.takenIsOne;
}

// On x86-64 Linux the step's loop is also compiled for AVX2 and chosen at
// run time; for that it must be inlined into the AVX2 copy.
#if defined(__GNUC__) && defined(__x86_64__) && defined(__linux__)
#define STEP_WITH_AVX2 1
#define STEP_LOOP_INLINE __attribute__((always_inline)) inline
#else
#define STEP_LOOP_INLINE inline
#endif

constexpr uint32_t kChunkCells = parameters::kTableChunkCells;
static_assert(kChunkCells % kBitsPerWord == 0, "every word of bits lies in one chunk");

// Cells [0, count) at or above the item's weight: cell j becomes the better
// of itself and source[j] + gain, and zeroBest[j] says whether x = 0 reaches
// that best. The sources lie below the cells, or among them when the weight
// is below count: then the new values go to `fresh` first, so that every
// source is read before the step changes it. Either way the loop has no
// dependence between its iterations.
template <typename Value>
STEP_LOOP_INLINE void StepAboveWeight(Value* cells, const Value* source, uint32_t count, Value gain,
                                      bool zeroChooses, uint8_t* zeroBest, Value* fresh) {
  const bool overlap = source + count > cells;
  Value* out = overlap ? fresh : cells;
  if (zeroChooses) {
    for (uint32_t j = 0; j < count; ++j) {
      const Value kept = cells[j];
      const Value chosen = source[j] + gain;
      zeroBest[j] = static_cast<uint8_t>(chosen >= kept);
      out[j] = kept > chosen ? kept : chosen;
    }
  } else {
    for (uint32_t j = 0; j < count; ++j) {
      const Value kept = cells[j];
      const Value chosen = source[j] + gain;
      zeroBest[j] = static_cast<uint8_t>(kept >= chosen);
      out[j] = kept > chosen ? kept : chosen;
    }
  }
  if (overlap) std::memcpy(cells, fresh, count * sizeof(Value));
}

#if defined(STEP_WITH_AVX2)
// The same loop compiled for 256-bit vectors, where the processor has them
// (AVX2: eight 32-bit cells a step, with their maximum in one instruction),
// chosen once per process by asking the processor.
__attribute__((target("avx2"))) void StepAboveWeightAvx2(int32_t* cells, const int32_t* source,
                                                         uint32_t count, int32_t gain, bool zeroChooses,
                                                         uint8_t* zeroBest, int32_t* fresh) {
  StepAboveWeight(cells, source, count, gain, zeroChooses, zeroBest, fresh);
}

bool HaveAvx2() {
  static const bool have = __builtin_cpu_supports("avx2") != 0;
  return have;
}

void StepAboveWeightWidest(int32_t* cells, const int32_t* source, uint32_t count, int32_t gain,
                           bool zeroChooses, uint8_t* zeroBest, int32_t* fresh) {
  if (HaveAvx2()) {
    StepAboveWeightAvx2(cells, source, count, gain, zeroChooses, zeroBest, fresh);
  } else {
    StepAboveWeight(cells, source, count, gain, zeroChooses, zeroBest, fresh);
  }
}
#else
void StepAboveWeightWidest(int32_t* cells, const int32_t* source, uint32_t count, int32_t gain,
                           bool zeroChooses, uint8_t* zeroBest, int32_t* fresh) {
  StepAboveWeight(cells, source, count, gain, zeroChooses, zeroBest, fresh);
}
#endif

// 64-bit cells: the portable loop.
void StepAboveWeightWidest(int64_t* cells, const int64_t* source, uint32_t count, int64_t gain,
                           bool zeroChooses, uint8_t* zeroBest, int64_t* fresh) {
  StepAboveWeight(cells, source, count, gain, zeroChooses, zeroBest, fresh);
}

// The same below the item's weight, where choosing it gives `chosen` itself.
template <typename Value>
void StepBelowWeight(Value* cells, uint32_t count, Value chosen, bool zeroChooses, uint8_t* zeroBest) {
  for (uint32_t j = 0; j < count; ++j) {
    const Value kept = cells[j];
    zeroBest[j] = static_cast<uint8_t>(zeroChooses ? chosen >= kept : kept >= chosen);
    cells[j] = kept > chosen ? kept : chosen;
  }
}

// 64 flags, each 0 or 1, as the bits of one word, flag b in bit b.
uint64_t WordOfFlags(const uint8_t* flags) {
#if defined(__SSE2__)
  // Each flag moved to its byte's top bit, then the sixteen top bits at once.
  uint64_t word = 0;
  for (uint32_t group = 0; group < 4; ++group) {
    const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(flags + 16 * group));
    const uint64_t bits = static_cast<uint32_t>(_mm_movemask_epi8(_mm_slli_epi16(sixteen, 7)));
    word |= bits << (16 * group);
  }
  return word;
#else
  // Eight flags read as one little-endian number, times 0x0102040810204080,
  // bring flag b to bit 56 + b: eight bits with one multiplication.
  uint64_t word = 0;
  for (uint32_t group = 0; group < 8; ++group) {
    uint64_t eight = 0;
    for (uint32_t b = 0; b < 8; ++b) eight |= static_cast<uint64_t>(flags[8 * group + b]) << (8 * b);
    word |= ((eight * 0x0102040810204080u) >> 56) << (8 * group);
  }
  return word;
#endif
}

// Flags (each 0 or 1) of cells first … first + count − 1 as bits of the
// row, whose word 0 holds cells rowBase·64 … rowBase·64 + 63.
void PackBits(const uint8_t* flags, uint64_t first, uint32_t count, uint64_t* row, uint64_t rowBase) {
  uint32_t j = 0;
  while (j < count) {
    const uint64_t cell = first + j;
    const uint32_t offset = static_cast<uint32_t>(cell % kBitsPerWord);
    const uint32_t take = std::min<uint32_t>(static_cast<uint32_t>(kBitsPerWord) - offset, count - j);
    uint64_t word = 0;
    if (take == kBitsPerWord) {
      word = WordOfFlags(flags + j);
    } else {
      for (uint32_t t = 0; t < take; ++t) word |= static_cast<uint64_t>(flags[j + t]) << (offset + t);
    }
    row[cell / kBitsPerWord - rowBase] = word;
    j += take;
  }
}

// One item's step over cells from … to of its window, at most kChunkCells
// of them, from a multiple of 64 (or the window's low end) to one below a
// multiple of 64 (or its high end), so that each word of its bits is
// written whole here. `ceiling` is the previous step's.
template <typename Value>
void StepCells(const TableShape& shape, const KnapsackItem& item, uint64_t low, uint64_t ceiling,
               uint64_t from, uint64_t to, Value* values, uint64_t* row) {
  Value fresh[kChunkCells];
  uint8_t zeroBest[kChunkCells];
  if (!shape.covering && to > ceiling) {
    // Above the previous ceiling a capacity is worth what the ceiling is.
    std::fill(values + std::max(ceiling + 1, from), values + to + 1, values[ceiling]);
  }
  const bool zeroChooses = ZeroChooses(shape, item);
  // Packing: taking the item gains its profit from the cell its weight
  // below, and does not fit under its weight. Covering: leaving it out
  // gives up its profit, and below its weight it alone meets the demand,
  // from cell 0, which holds 0.
  const Value profit = static_cast<Value>(item.profit);
  const Value gain = shape.covering ? -profit : profit;
  const Value belowWeight = shape.covering ? -profit : std::numeric_limits<Value>::lowest();
  const uint32_t count = static_cast<uint32_t>(to - from + 1);
  // Cells at or above the weight first: they read cells below them, the
  // chunk's lower ones among them, before those change.
  const uint32_t below =
      from >= item.weight ? 0 : static_cast<uint32_t>(std::min<uint64_t>(count, item.weight - from));
  if (below < count) {
    const uint64_t first = from + below;
    StepAboveWeightWidest(values + first, values + (first - item.weight), count - below, gain, zeroChooses,
                          zeroBest + below, fresh);
  }
  StepBelowWeight(values + from, below, belowWeight, zeroChooses, zeroBest);
  PackBits(zeroBest, from, count, row, low / kBitsPerWord);
}

uint64_t RoundUpToWord(uint64_t cells) { return (cells + kBitsPerWord - 1) & ~(kBitsPerWord - 1); }

// The items first, first − 1, …, last in one sweep down the table. Item k
// reads the cells of item k + 1's step at and one weight below its own, so
// it may run as soon as item k + 1 is a weight (rounded up to a word) ahead
// of it: cell c of item j is stepped at time c + lag[j], item j's lag being
// the weights of the items after it in the sweep, each rounded up. At each
// time the sweep steps the items from the first, so that each reads its
// predecessor's fresh cells; a later item runs above an earlier one, so no
// item overwrites a cell an earlier one has still to read. The values the
// sweep touches at once span the lags, which stay within the last cache
// level; a step at a time would stream the whole window from memory.
//
// Returns false when the limits, asked every few chunks, say stop.
template <typename Value>
bool Sweep(const OneRowKnapsack& knapsack, const TableShape& shape, const CoarseBounds& bounds, int32_t first,
           int32_t last, Value* values, uint64_t* bits, SearchLimits& limits, uint64_t& filled) {
  uint64_t lag[MaxVariables];
  lag[first] = 0;
  for (int32_t k = first - 1; k >= last; --k) lag[k] = lag[k + 1] + RoundUpToWord(knapsack.items[k].weight);
  uint64_t earliest = UINT64_MAX;
  uint64_t latest = 0;
  for (int32_t k = first; k >= last; --k) {
    earliest = std::min(earliest, shape.low[k] + lag[last] - lag[k]);
    latest = std::max(latest, shape.high[k] + lag[last] - lag[k]);
  }
  // Times run down from latest to earliest in chunks that start at a
  // multiple of 64; cell c of item k is time c + lag[last] − lag[k].
  uint64_t end = latest;
  for (uint32_t chunk = 1;; ++chunk) {
    if (chunk % parameters::kChunksBetweenLimitChecks == 0 && LimitReached(limits)) return false;
    uint64_t start = end + 1 > kChunkCells ? RoundUpToWord(end + 1 - kChunkCells) : 0;
    start = std::max(start, earliest);
    for (int32_t k = first; k >= last; --k) {
      const uint64_t shift = lag[last] - lag[k];
      if (end < shape.low[k] + shift || start > shape.high[k] + shift) continue;
      const uint64_t from = std::max(start, shape.low[k] + shift) - shift;
      const uint64_t to = std::min(end, shape.high[k] + shift) - shift;
      if (!CellsCanReach(shape, bounds, k, from, to, shape.target)) continue;
      const uint64_t ceiling = k + 1 < knapsack.itemCount ? shape.ceiling[k + 1] : 0;
      StepCells(shape, knapsack.items[k], shape.low[k], ceiling, from, to, values, bits + shape.firstWord[k]);
      filled += to - from + 1;
    }
    if (start == earliest) return true;
    end = start - 1;
  }
}

template <typename Value>
bool FillValues(const OneRowKnapsack& knapsack, const TableShape& shape, const CoarseBounds& bounds,
                Value* values, uint64_t* bits, SearchLimits& limits, uint64_t& filled) {
  // Before any item: in packing every capacity is worth 0; in covering
  // only demand 0 is met, any other is beyond reach. Both are at most what
  // any later step gives, as a cell left out must be. Every value reached
  // is a profit, or minus one, of items other than the one stepped, so in
  // packing a value plus a profit stays within Σ profit; "beyond reach"
  // lies below −Σ profit and high enough that a profit subtracted from it
  // stays within the type (PlanTable checked there is room).
  const Value unreachable = std::numeric_limits<Value>::lowest() + static_cast<Value>(shape.largestProfit);
  std::fill(values, values + shape.top + 1, shape.covering ? unreachable : 0);
  values[0] = 0;
  int32_t first = knapsack.itemCount - 1;
  while (first >= 0) {
    if (LimitReached(limits)) return false;
    // As many items as keep the sweep's span within its budget, at least one.
    int32_t last = first;
    uint64_t span = 0;
    while (last > 0 && first - last + 1 < parameters::kMaxItemsPerSweep) {
      span += RoundUpToWord(knapsack.items[last - 1].weight);
      if (span > parameters::kMaxSweepSpan) break;
      --last;
    }
    if (!Sweep(knapsack, shape, bounds, first, last, values, bits, limits, filled)) return false;
    first = last - 1;
  }
  return true;
}

}  // namespace

bool PlanTable(const OneRowKnapsack& knapsack, uint64_t incumbent, TableShape& shape) {
  const int32_t count = knapsack.itemCount;
  assert(count > 0);
  uint64_t sumWeight = 0;
  uint64_t sumProfit = 0;
  shape.largestProfit = 0;
  for (int32_t k = 0; k < count; ++k) {
    sumWeight += knapsack.items[k].weight;
    sumProfit += knapsack.items[k].profit;
    shape.largestProfit = std::max(shape.largestProfit, knapsack.items[k].profit);
  }
  assert(sumWeight > knapsack.capacity);
  const uint64_t demand = sumWeight - knapsack.capacity;
  shape.covering = demand < knapsack.capacity;
  shape.top = shape.covering ? demand : knapsack.capacity;
  // The values span −Σ profit … Σ profit; covering needs room below them
  // for "beyond reach" minus a profit (see FillValues). Both sums are at
  // most 2^64 − 2.
  const uint64_t span = shape.covering ? sumProfit + shape.largestProfit : sumProfit;
  if (shape.covering && span >= static_cast<uint64_t>(INT64_MAX)) return false;
  shape.narrowValues = span < static_cast<uint64_t>(INT32_MAX);
  if (shape.top >= parameters::kMaxTableValueBytes || ValueBytes(shape) > parameters::kMaxTableValueBytes) {
    return false;
  }

  // In capacity left for items k … end: the items before k take at most
  // their weight, and items k … end no more than theirs. A covering cell d
  // is capacity (weight of items k … end) − d.
  RatioOrder order;
  OrderByRatio(knapsack, order);
  uint64_t before = 0;
  uint64_t fromHere = sumWeight;
  shape.cells = 0;
  shape.firstWord[0] = 0;
  for (int32_t k = 0; k < count; ++k) {
    const uint64_t least = knapsack.capacity > before ? knapsack.capacity - before : 0;
    const uint64_t most = std::min(knapsack.capacity, fromHere);
    const CapacityRange range = CapacitiesReaching(knapsack, order, k, least, most, incumbent);
    shape.ceiling[k] = most;
    shape.weightFrom[k] = fromHere;
    shape.low[k] = shape.covering ? fromHere - range.high : range.low;
    shape.high[k] = shape.covering ? fromHere - range.low : range.high;
    assert(shape.low[k] <= shape.high[k] && shape.high[k] <= shape.top);
    shape.cells += shape.high[k] - shape.low[k] + 1;
    shape.firstWord[k + 1] = shape.firstWord[k] + WordsSpanned(shape.low[k], shape.high[k]);
    before += knapsack.items[k].weight;
    fromHere -= knapsack.items[k].weight;
  }
  shape.words = shape.firstWord[count];
  shape.target = incumbent;
  return shape.cells <= parameters::kMaxTableCells && DecisionBytes(shape) <= parameters::kMaxTableCells / 8;
}

bool CellsCanReach(const TableShape& shape, const CoarseBounds& bounds, int32_t k, uint64_t low,
                   uint64_t high, uint64_t target) {
  // In capacity left, a covering cell d is (weight of items k … end) − d.
  const uint64_t lowest = shape.covering ? shape.weightFrom[k] - high : low;
  const uint64_t highest = shape.covering ? shape.weightFrom[k] - low : high;
  return CapacitiesCanReach(bounds, k, lowest, highest, target);
}

uint64_t ValueBytes(const TableShape& shape) {
  return (shape.top + 1) * (shape.narrowValues ? sizeof(int32_t) : sizeof(int64_t));
}

uint64_t DecisionBytes(const TableShape& shape) { return shape.words * sizeof(uint64_t); }

bool FillTable(const OneRowKnapsack& knapsack, const TableShape& shape, const CoarseBounds& bounds,
               void* values, uint64_t* bits, SearchLimits& limits, uint64_t& filled) {
  filled = 0;
  if (shape.narrowValues) {
    return FillValues(knapsack, shape, bounds, static_cast<int32_t*>(values), bits, limits, filled);
  }
  return FillValues(knapsack, shape, bounds, static_cast<int64_t*>(values), bits, limits, filled);
}

void ReadSmallestOptimum(const OneRowKnapsack& knapsack, const TableShape& shape, const uint64_t* bits,
                         int8_t* taken) {
  uint64_t cell = shape.top;
  for (int32_t k = 0; k < knapsack.itemCount; ++k) {
    const KnapsackItem& item = knapsack.items[k];
    // Packing: capacity beyond the weight of the items left is worth the
    // same as that weight, and decided the same.
    if (!shape.covering) cell = std::min(cell, shape.ceiling[k]);
    assert(cell >= shape.low[k] && cell <= shape.high[k]);
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
