// Every assignment of a quarter of the enumerated variables with its sums,
// sorted; and the sums of the pairs drawn from two such lists, produced in
// increasing order one window of values at a time. That is Schroeppel and
// Shamir's way of walking the 2^(n/2) sums of a half in order through
// memory for about 2^(n/4) of them, with windows sorted by a radix pass
// where they kept a heap: each window is a contiguous stretch of every run
// a + (second list), so it costs one pass over the runs and one sort.
#ifndef ZOINT_SUM_LISTS_H
#define ZOINT_SUM_LISTS_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "exact_search/sum_problem.h"
#include "exact_search/tie_boxes.h"
#include "problem/problem.h"

namespace zoint {

// The assignments of a few variables, in increasing order of the number
// that orders the key sums (see SumProblem::orderWeight).
struct QuarterList {
  uint32_t size;
  int32_t keyRows;
  int32_t checkedRows;
  std::vector<int64_t> order;
  std::vector<int64_t> keySums;      // keyRows per entry
  std::vector<int64_t> checkedSums;  // one per checked row, per entry
  std::vector<int64_t> cost;         // objective
  std::vector<LexKey> bits;          // the assignment, at its variables' places
};

// Variables sums.enumerated[first … first + count − 1]. Negated: key sums and
// order numbers negated, so that a half walked downward comes in increasing
// order (the checked sums and the costs stay as they are).
void BuildQuarterList(const Problem& problem, const SumProblem& sums, int32_t first, int32_t count,
                      bool negated, QuarterList& list);

// The most entries of the list that share their key sums. Pairs of two
// lists share theirs at least as often as the product of the two.
uint32_t KeyMultiplicity(const QuarterList& list);

// One pair sum: its order number, and the entries of the two lists.
struct PairEntry {
  int64_t order;
  uint32_t run;
  uint32_t item;
};

struct PairStream {
  const QuarterList* runs;  // one run per entry: that entry with each of items
  const QuarterList* items;
  int32_t firstTieRow;  // key rows from it on break ties in order
  // Only the best pair of each vector of key sums is wanted (least cost,
  // then smallest assignment): with one key row, pairs sharing their sum
  // beyond what a window holds come as that one pair.
  bool mergeTies;
  std::vector<uint32_t> next;     // per run: its first item not yet produced
  uint32_t live;                  // runs before it are spent
  uint64_t width;                 // of the next window of order numbers
  size_t capacity;                // entries a window holds
  std::vector<PairEntry> window;  // the last window produced, sorted: its first windowSize entries
  size_t windowSize;
  std::vector<PairEntry> spare;
  std::vector<uint32_t> bucketStart;  // of the window's radix pass
  std::vector<uint32_t> touchedRun;
  std::vector<uint32_t> touchedNext;
  uint64_t produced;
};

void StartPairStream(PairStream& stream, const QuarterList& a, const QuarterList& b, int32_t firstTieRow,
                     bool mergeTies);

enum class WindowOutcome {
  Filled,    // window holds the next pair sums in order, at least one
  Finished,  // every pair sum was produced
  TooDense,  // more pairs share one order number than a window holds, and cannot be merged
};

WindowOutcome NextWindow(PairStream& stream);

// Of two pairs, the one of lesser cost, then of smaller assignment.
bool PairBetter(const PairStream& stream, const PairEntry& a, const PairEntry& b);

// Key sum j of a pair.
inline int64_t PairKeySum(const PairStream& stream, const PairEntry& entry, int32_t j) {
  const int32_t k = stream.runs->keyRows;
  return stream.runs->keySums[static_cast<size_t>(entry.run) * k + j] +
         stream.items->keySums[static_cast<size_t>(entry.item) * k + j];
}

// The pairs' key sums are equal (the order numbers first, then the rows
// that break ties).
inline bool SameKeySums(const PairStream& stream, const PairEntry& a, const PairEntry& b) {
  if (a.order != b.order) return false;
  for (int32_t j = stream.firstTieRow; j < stream.runs->keyRows; ++j) {
    if (PairKeySum(stream, a, j) != PairKeySum(stream, b, j)) return false;
  }
  return true;
}

}  // namespace zoint

#endif  // ZOINT_SUM_LISTS_H
