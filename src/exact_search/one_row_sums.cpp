#include "exact_search/one_row_sums.h"

#include <algorithm>
#include <cassert>

#include "exact_search/parameters.h"
#include "problem/checked_arithmetic.h"

namespace zoint {

namespace {

// The stored words of item k's set, from word index first to last (sum s
// is bit s % 64 of word s / 64). Past the last item the set is {0}.
struct StoredSet {
  const uint64_t* words;
  int64_t first;
  int64_t last;
};

StoredSet SetOf(const OneRowKnapsack& knapsack, const SumsShape& shape, const uint64_t* sets, int32_t k) {
  static const uint64_t kOnlyZero = 1;
  if (k == knapsack.itemCount) return StoredSet{&kOnlyZero, 0, 0};
  return StoredSet{sets + shape.firstWord[k], static_cast<int64_t>(shape.low[k] / kBitsPerWord),
                   static_cast<int64_t>(shape.high[k] / kBitsPerWord)};
}

// Word q of the set; none outside what is stored, where no sum of interest lies.
uint64_t WordAt(const StoredSet& set, int64_t q) {
  return q >= set.first && q <= set.last ? set.words[q - set.first] : 0;
}

// Whether item k's set holds sum s, within the sums worth knowing.
bool Reaches(const OneRowKnapsack& knapsack, const SumsShape& shape, const uint64_t* sets, int32_t k,
             uint64_t s) {
  if (k == knapsack.itemCount) return s == 0;
  if (s < shape.low[k] || s > shape.high[k]) return false;
  const StoredSet set = SetOf(knapsack, shape, sets, k);
  return ((WordAt(set, static_cast<int64_t>(s / kBitsPerWord)) >> (s % kBitsPerWord)) & 1u) != 0;
}

}  // namespace

bool ProfitsFollowWeights(const OneRowKnapsack& knapsack) {
  if (knapsack.itemCount == 0) return false;
  const KnapsackItem& first = knapsack.items[0];
  for (int32_t k = 0; k < knapsack.itemCount; ++k) {
    const KnapsackItem& item = knapsack.items[k];
    if (item.profit == 0) return false;
    const Unsigned128 a = MultiplyWide(item.profit, first.weight);
    const Unsigned128 b = MultiplyWide(first.profit, item.weight);
    if (a.high != b.high || a.low != b.low) return false;
  }
  return true;
}

bool PlanSums(const OneRowKnapsack& knapsack, uint64_t incumbentWeight, SumsShape& shape) {
  const int32_t count = knapsack.itemCount;
  assert(count > 0 && incumbentWeight <= knapsack.capacity);
  uint64_t fromHere = 0;
  for (int32_t k = 0; k < count; ++k) fromHere += knapsack.items[k].weight;
  assert(fromHere > knapsack.capacity);
  if (knapsack.capacity >= parameters::kMaxTableCells) return false;
  uint64_t before = 0;
  shape.cells = 0;
  shape.firstWord[0] = 0;
  for (int32_t k = 0; k < count; ++k) {
    shape.low[k] = incumbentWeight > before ? incumbentWeight - before : 0;
    shape.high[k] = std::min(knapsack.capacity, fromHere);
    assert(shape.low[k] <= shape.high[k]);
    shape.cells += shape.high[k] - shape.low[k] + 1;
    shape.firstWord[k + 1] = shape.firstWord[k] + WordsSpanned(shape.low[k], shape.high[k]);
    before += knapsack.items[k].weight;
    fromHere -= knapsack.items[k].weight;
  }
  shape.words = shape.firstWord[count];
  return shape.words * sizeof(uint64_t) <= parameters::kMaxTableCells / 8;
}

bool FillSums(const OneRowKnapsack& knapsack, const SumsShape& shape, uint64_t* sets, SearchLimits& limits) {
  for (int32_t k = knapsack.itemCount - 1; k >= 0; --k) {
    if (LimitReached(limits)) return false;
    // Item k's sums: those of the items after it, with and without its weight.
    const StoredSet after = SetOf(knapsack, shape, sets, k + 1);
    const uint64_t weight = knapsack.items[k].weight;
    const int64_t wordShift = static_cast<int64_t>(weight / kBitsPerWord);
    const uint32_t bitShift = static_cast<uint32_t>(weight % kBitsPerWord);
    const int64_t first = static_cast<int64_t>(shape.low[k] / kBitsPerWord);
    const int64_t last = static_cast<int64_t>(shape.high[k] / kBitsPerWord);
    uint64_t* row = sets + shape.firstWord[k];
    for (int64_t q = first; q <= last; ++q) {
      uint64_t shifted = WordAt(after, q - wordShift) << bitShift;
      if (bitShift != 0) shifted |= WordAt(after, q - wordShift - 1) >> (kBitsPerWord - bitShift);
      row[q - first] = WordAt(after, q) | shifted;
    }
  }
  return true;
}

void ReadSmallestHeaviest(const OneRowKnapsack& knapsack, const SumsShape& shape, const uint64_t* sets,
                          int8_t* taken) {
  // The heaviest sum of all the items within the capacity: the highest
  // bit of item 0's set at or below high[0] (the set holds the incumbent's).
  const uint64_t* row = sets + shape.firstWord[0];
  const uint64_t firstWord = shape.low[0] / kBitsPerWord;
  uint64_t q = shape.high[0] / kBitsPerWord;
  uint64_t word = row[q - firstWord];
  const uint32_t topBit = static_cast<uint32_t>(shape.high[0] % kBitsPerWord);
  if (topBit + 1 < kBitsPerWord) word &= (uint64_t{1} << (topBit + 1)) - 1;
  while (word == 0) {
    assert(q > firstWord);
    word = row[--q - firstWord];
  }
  uint32_t highest = 0;
  while ((word >> highest) > 1) ++highest;
  uint64_t sum = q * kBitsPerWord + highest;
  assert(sum >= shape.low[0] && Reaches(knapsack, shape, sets, 0, sum));
  for (int32_t k = 0; k < knapsack.itemCount; ++k) {
    const KnapsackItem& item = knapsack.items[k];
    // x = 0 takes the item where its coefficient is negative.
    const bool zeroTakes = !item.takenIsOne;
    const bool zeroReaches =
        zeroTakes ? sum >= item.weight && Reaches(knapsack, shape, sets, k + 1, sum - item.weight)
                  : Reaches(knapsack, shape, sets, k + 1, sum);
    const bool take = zeroReaches == zeroTakes;
    taken[k] = static_cast<int8_t>(take ? 1 : 0);
    if (take) {
      assert(sum >= item.weight);
      sum -= item.weight;
    }
  }
  assert(sum == 0);
}

}  // namespace zoint
