#include "exact_search/sum_lists.h"

#include <algorithm>
#include <numeric>

#include "exact_search/parameters.h"

namespace zoint {

namespace {

// The distance of an order number above the window's start. Only for
// value ≥ start, where the difference is below 2^64 and exact in unsigned.
uint64_t Offset(int64_t value, int64_t start) {
  return static_cast<uint64_t>(value) - static_cast<uint64_t>(start);
}

int32_t BitsOf(uint64_t value) {
  int32_t bits = 0;
  while (value != 0) {
    ++bits;
    value >>= 1;
  }
  return bits;
}

// width · wanted / had, within [width / 2, 2 · width] and [1, 2^64 − 1],
// without a product that could wrap (wanted, had ≤ 2^32).
uint64_t ScaledWidth(uint64_t width, uint64_t wanted, uint64_t had) {
  if (had == 0 || wanted >= 2 * had) return width <= UINT64_MAX / 2 ? 2 * width : UINT64_MAX;
  if (2 * wanted <= had) return width / 2 > 0 ? width / 2 : 1;
  const uint64_t whole = width / had;
  const uint64_t part = width % had;
  const uint64_t scaled = (whole <= UINT64_MAX / wanted ? whole * wanted : UINT64_MAX);
  const uint64_t rest = part * wanted / had;
  const uint64_t total = scaled <= UINT64_MAX - rest ? scaled + rest : UINT64_MAX;
  return total > 0 ? total : 1;
}

// Order numbers first; with equal ones, the rows that break ties.
bool PairLess(const PairStream& stream, const PairEntry& a, const PairEntry& b) {
  if (a.order != b.order) return a.order < b.order;
  for (int32_t j = stream.firstTieRow; j < stream.runs->keyRows; ++j) {
    const int64_t x = PairKeySum(stream, a, j);
    const int64_t y = PairKeySum(stream, b, j);
    if (x != y) return x < y;
  }
  return false;
}

void InsertionSort(PairEntry* begin, PairEntry* end) {
  for (PairEntry* p = begin + 1; p < end; ++p) {
    const PairEntry entry = *p;
    PairEntry* q = p;
    while (q > begin && (q - 1)->order > entry.order) {
      *q = *(q - 1);
      --q;
    }
    *q = entry;
  }
}

// The entries in the order of the buckets the fill counted (the top bits
// of each offset above start, shifted right by shift), then each bucket by
// insertion; a bucket the spread of values left large, by std::sort.
void SortWindow(PairStream& stream, int32_t shift, int64_t start) {
  const size_t count = stream.windowSize;
  PairEntry* window = stream.window.data();
  if (count > 1) {
    std::vector<uint32_t>& first = stream.bucketStart;
    const size_t buckets = first.size() - 1;
    for (size_t b = 0; b < buckets; ++b) first[b + 1] += first[b];
    PairEntry* spare = stream.spare.data();
    // first[b] runs through bucket b as it fills, ending at the start of b + 1.
    for (size_t at = 0; at < count; ++at)
      spare[first[Offset(window[at].order, start) >> shift]++] = window[at];
    stream.window.swap(stream.spare);
    window = stream.window.data();
    size_t begin = 0;
    for (size_t b = 0; b < buckets; ++b) {
      const size_t end = first[b];
      if (end - begin > 32) {
        std::sort(window + begin, window + end,
                  [](const PairEntry& x, const PairEntry& y) { return x.order < y.order; });
      } else if (end - begin > 1) {
        InsertionSort(window + begin, window + end);
      }
      begin = end;
    }
  }
  if (stream.firstTieRow == stream.runs->keyRows) return;
  // Equal order numbers: the rows that break ties decide.
  for (size_t begin = 0; begin < count;) {
    size_t end = begin + 1;
    while (end < count && window[end].order == window[begin].order) ++end;
    if (end - begin > 1) {
      std::sort(window + begin, window + end,
                [&stream](const PairEntry& x, const PairEntry& y) { return PairLess(stream, x, y); });
    }
    begin = end;
  }
}

// Every pair at order number start, more than a window holds, merged into
// the best of them; with one key row they share their key sums.
void MergeTies(PairStream& stream, int64_t start) {
  const QuarterList& runs = *stream.runs;
  const QuarterList& items = *stream.items;
  PairEntry best = {start, 0, 0};
  bool seen = false;
  for (uint32_t r = stream.live; r < runs.size; ++r) {
    const int64_t runOrder = runs.order[r];
    if (runOrder + items.order.front() > start) break;
    uint32_t j = stream.next[r];
    for (; j < items.size && runOrder + items.order[j] == start; ++j) {
      const PairEntry entry = {start, r, j};
      if (!seen || PairBetter(stream, entry, best)) best = entry;
      seen = true;
      ++stream.produced;
    }
    stream.next[r] = j;
  }
  stream.window[0] = best;
  stream.windowSize = 1;
}

}  // namespace

void BuildQuarterList(const Problem& problem, const SumProblem& sums, int32_t first, int32_t count,
                      bool negated, QuarterList& list) {
  const uint32_t size = uint32_t{1} << count;
  const int32_t k = sums.keyRows;
  const int32_t checked = sums.checkedCount;
  std::vector<int64_t> keySums(static_cast<size_t>(size) * k);
  std::vector<int64_t> checkedSums(static_cast<size_t>(size) * checked);
  std::vector<int64_t> cost(size);
  std::vector<LexKey> bits(size);
  std::vector<int64_t> order(size);
  cost[0] = 0;
  bits[0] = LexKey{};
  for (int32_t j = 0; j < k; ++j) keySums[j] = 0;
  for (int32_t t = 0; t < checked; ++t) checkedSums[t] = 0;
  // Each assignment is an earlier one with its lowest variable added; every
  // sum is a subset sum, within 2^63 − 1, negated or not.
  for (uint32_t mask = 1; mask < size; ++mask) {
    int32_t low = 0;
    while (((mask >> low) & 1u) == 0) ++low;
    const uint32_t earlier = mask & (mask - 1);
    const int32_t variable = sums.enumerated[first + low];
    for (int32_t j = 0; j < k; ++j) {
      const int64_t a = sums.key[j][variable];
      keySums[static_cast<size_t>(mask) * k + j] =
          keySums[static_cast<size_t>(earlier) * k + j] + (negated ? -a : a);
    }
    for (int32_t t = 0; t < checked; ++t) {
      checkedSums[static_cast<size_t>(mask) * checked + t] =
          checkedSums[static_cast<size_t>(earlier) * checked + t] +
          problem.rows[sums.checked[t]].entries[variable];
    }
    cost[mask] = cost[earlier] + problem.coefficients[variable];
    bits[mask] = bits[earlier];
    bits[mask].word[variable >> 6] |= uint64_t{1} << (63 - (variable & 63));
  }
  // Within 2^63 − 1 by the weights' choice (ChooseOrderWeights).
  for (uint32_t mask = 0; mask < size; ++mask) {
    int64_t number = 0;
    for (int32_t j = 0; j < k; ++j)
      number += sums.orderWeight[j] * keySums[static_cast<size_t>(mask) * k + j];
    order[mask] = number;
  }
  std::vector<uint32_t> sorted(size);
  std::iota(sorted.begin(), sorted.end(), 0u);
  // Equal key sums end up next to each other, for KeyMultiplicity.
  std::sort(sorted.begin(), sorted.end(), [&](uint32_t x, uint32_t y) {
    if (order[x] != order[y]) return order[x] < order[y];
    for (int32_t j = sums.firstTieRow; j < k; ++j) {
      const int64_t a = keySums[static_cast<size_t>(x) * k + j];
      const int64_t b = keySums[static_cast<size_t>(y) * k + j];
      if (a != b) return a < b;
    }
    return false;
  });

  list.size = size;
  list.keyRows = k;
  list.checkedRows = checked;
  list.order.resize(size);
  list.keySums.resize(keySums.size());
  list.checkedSums.resize(checkedSums.size());
  list.cost.resize(size);
  list.bits.resize(size);
  for (uint32_t at = 0; at < size; ++at) {
    const uint32_t from = sorted[at];
    list.order[at] = order[from];
    list.cost[at] = cost[from];
    list.bits[at] = bits[from];
    for (int32_t j = 0; j < k; ++j)
      list.keySums[static_cast<size_t>(at) * k + j] = keySums[static_cast<size_t>(from) * k + j];
    for (int32_t t = 0; t < checked; ++t) {
      list.checkedSums[static_cast<size_t>(at) * checked + t] =
          checkedSums[static_cast<size_t>(from) * checked + t];
    }
  }
}

uint32_t KeyMultiplicity(const QuarterList& list) {
  const int32_t k = list.keyRows;
  uint32_t most = 0;
  for (uint32_t begin = 0; begin < list.size;) {
    uint32_t end = begin + 1;
    while (end < list.size && std::equal(&list.keySums[static_cast<size_t>(begin) * k],
                                         &list.keySums[static_cast<size_t>(begin + 1) * k],
                                         &list.keySums[static_cast<size_t>(end) * k])) {
      ++end;
    }
    most = std::max(most, end - begin);
    begin = end;
  }
  return most;
}

bool PairBetter(const PairStream& stream, const PairEntry& a, const PairEntry& b) {
  const QuarterList& runs = *stream.runs;
  const QuarterList& items = *stream.items;
  const int64_t costA = runs.cost[a.run] + items.cost[a.item];
  const int64_t costB = runs.cost[b.run] + items.cost[b.item];
  if (costA != costB) return costA < costB;
  for (int k = 0; k < kBitWords; ++k) {
    const uint64_t x = runs.bits[a.run].word[k] | items.bits[a.item].word[k];
    const uint64_t y = runs.bits[b.run].word[k] | items.bits[b.item].word[k];
    if (x != y) return x < y;
  }
  return false;
}

void StartPairStream(PairStream& stream, const QuarterList& a, const QuarterList& b, int32_t firstTieRow,
                     bool mergeTies) {
  // The shorter list gives the runs, which every window scans once.
  const bool aFirst = a.size <= b.size;
  stream.runs = aFirst ? &a : &b;
  stream.items = aFirst ? &b : &a;
  stream.firstTieRow = firstTieRow;
  stream.mergeTies = mergeTies;
  stream.next.assign(stream.runs->size, 0);
  stream.live = 0;
  stream.produced = 0;
  // A stream of fewer pairs than a window holds takes only what it needs.
  const uint64_t pairs = uint64_t{stream.runs->size} * stream.items->size;
  const size_t capacity =
      pairs < parameters::kSumWindowEntries ? static_cast<size_t>(pairs) : parameters::kSumWindowEntries;
  stream.capacity = capacity;
  stream.window.resize(capacity);
  stream.spare.resize(capacity);
  stream.windowSize = 0;
  // A first width that would give half a window if the sums were spread
  // evenly; NextWindow adapts it to how they are spread.
  const int64_t least = stream.runs->order.front() + stream.items->order.front();
  const int64_t greatest = stream.runs->order.back() + stream.items->order.back();
  const uint64_t span = Offset(greatest, least);
  const uint64_t windows = pairs / (parameters::kSumWindowEntries / 2);
  if (windows > 1) {
    stream.width = span / windows + 1;
  } else {
    stream.width = span == UINT64_MAX ? span : span + 1;
  }
}

WindowOutcome NextWindow(PairStream& stream) {
  const QuarterList& runs = *stream.runs;
  const QuarterList& items = *stream.items;
  const size_t capacity = stream.capacity;
  while (stream.live < runs.size && stream.next[stream.live] == items.size) ++stream.live;
  if (stream.live == runs.size) return WindowOutcome::Finished;

  // The least pair sum not yet produced: the least head of a run. Runs are
  // in increasing order, so one whose first pair is at or above the least
  // head so far ends the search, with every later one.
  const int64_t firstItem = items.order.front();
  int64_t start = 0;
  bool seen = false;
  for (uint32_t r = stream.live; r < runs.size; ++r) {
    if (seen && runs.order[r] + firstItem >= start) break;
    if (stream.next[r] == items.size) continue;
    const int64_t head = runs.order[r] + items.order[stream.next[r]];
    if (!seen || head < start) start = head;
    seen = true;
  }

  // The pairs in [start, start + width), or a narrower window when they do
  // not fit. No pair below start is left, so every offset is exact. Each
  // entry is counted in its bucket of the sort as it is written.
  PairEntry* window = stream.window.data();
  int32_t shift = 0;
  for (;;) {
    const int32_t widthBits = BitsOf(stream.width - 1);
    const int32_t bucketBits = std::min(parameters::kSumSortBucketBits, widthBits);
    shift = widthBits - bucketBits;
    stream.bucketStart.assign((size_t{1} << bucketBits) + 1, 0);
    uint32_t* counts = stream.bucketStart.data() + 1;
    stream.touchedRun.clear();
    stream.touchedNext.clear();
    size_t filled = 0;
    bool full = false;
    for (uint32_t r = stream.live; r < runs.size && !full; ++r) {
      const int64_t runOrder = runs.order[r];
      const int64_t runLeast = runOrder + firstItem;
      if (runLeast >= start && Offset(runLeast, start) >= stream.width) break;
      uint32_t j = stream.next[r];
      const uint32_t begin = j;
      for (; j < items.size; ++j) {
        const int64_t sum = runOrder + items.order[j];
        const uint64_t offset = Offset(sum, start);
        if (offset >= stream.width) break;
        if (filled == capacity) {
          full = true;
          break;
        }
        window[filled++] = PairEntry{sum, r, j};
        ++counts[offset >> shift];
      }
      if (j != begin) {
        stream.touchedRun.push_back(r);
        stream.touchedNext.push_back(j);
      }
    }
    stream.windowSize = filled;
    if (!full) break;
    if (stream.width == 1) {
      if (!stream.mergeTies || stream.firstTieRow < runs.keyRows) return WindowOutcome::TooDense;
      MergeTies(stream, start);
      return WindowOutcome::Filled;
    }
    stream.width /= 2;
  }
  for (size_t t = 0; t < stream.touchedRun.size(); ++t)
    stream.next[stream.touchedRun[t]] = stream.touchedNext[t];
  stream.produced += stream.windowSize;
  SortWindow(stream, shift, start);
  // The next window aims at half the capacity, the sums' density being
  // about what it was in this one: seldom too full, never much too empty.
  stream.width = ScaledWidth(stream.width, capacity / 2, stream.windowSize);
  return WindowOutcome::Filled;
}

}  // namespace zoint
