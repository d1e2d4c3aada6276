#include "exact_search/one_row_knapsack.h"

#include <cassert>

#include "problem/checked_arithmetic.h"

namespace zoint {

namespace {

// Whether some assignment breaks row j: its largest activity, the sum of its
// positive coefficients, exceeds b_j. That sum is at most Σ|a_ji| and fits.
bool SomeAssignmentBreaks(const ConstraintRow& row, int32_t n) {
  int64_t largest = 0;
  for (int32_t i = 0; i < n; ++i) largest += row.entries[i] > 0 ? row.entries[i] : 0;
  return largest > row.entries[RhsColumn];
}

}  // namespace

OneRowKind ReadOneRow(const Problem& problem, OneRowKnapsack& knapsack) {
  const int32_t n = problem.n;
  int32_t binding = -1;
  for (int32_t j = 0; j < problem.m; ++j) {
    if (!SomeAssignmentBreaks(problem.rows[j], n)) continue;
    if (binding >= 0) return OneRowKind::NotOneRow;
    binding = j;
  }
  if (binding < 0) return OneRowKind::NotOneRow;
  const int64_t* a = problem.rows[binding].entries;
  const int64_t b = a[RhsColumn];

  // Σ a_i x_i ≤ b with x_i = 1 − taken_i where a_i < 0 becomes
  // Σ |a_i| taken_i ≤ b + Σ_{a_i<0} |a_i|, which lies below 2^64 − 1.
  uint64_t negativeSum = 0;
  for (int32_t i = 0; i < n; ++i) negativeSum += a[i] < 0 ? Magnitude(a[i]) : 0;
  if (b < 0 && Magnitude(b) > negativeSum) return OneRowKind::Infeasible;
  knapsack.n = n;
  knapsack.capacity = b >= 0 ? static_cast<uint64_t>(b) + negativeSum : negativeSum - Magnitude(b);
  knapsack.itemCount = 0;
  knapsack.baseObjective = 0;
  for (int32_t i = 0; i < n; ++i) {
    const int64_t c = problem.coefficients[i];
    knapsack.x[i] = 0;
    if (a[i] == 0) {
      knapsack.x[i] = c < 0 ? 1 : 0;
    } else if (a[i] > 0 && c >= 0) {
      // Taking it costs capacity and gains nothing; with c = 0 the
      // assignment with x_i = 0 is the smaller of two equal ones.
      knapsack.x[i] = 0;
    } else if (a[i] < 0 && c < 0) {
      // x_i = 1 frees capacity and costs less.
      knapsack.x[i] = 1;
    } else {
      KnapsackItem& item = knapsack.items[knapsack.itemCount++];
      item.variable = i;
      item.weight = Magnitude(a[i]);
      item.takenIsOne = a[i] > 0;
      item.profit = Magnitude(c);
      // Not taken, an item of a negative coefficient has x_i = 1.
      if (!item.takenIsOne) knapsack.baseObjective += c;
    }
    knapsack.baseObjective += c * knapsack.x[i];
  }
  for (int32_t k = knapsack.itemCount - 1; k >= 0; --k) {
    if (knapsack.items[k].weight > knapsack.capacity) FixItem(knapsack, k, false);
  }
  return OneRowKind::Knapsack;
}

void FixItem(OneRowKnapsack& knapsack, int32_t k, bool taken) {
  assert(k >= 0 && k < knapsack.itemCount);
  const KnapsackItem item = knapsack.items[k];
  knapsack.x[item.variable] = static_cast<int8_t>(taken == item.takenIsOne ? 1 : 0);
  if (taken) {
    assert(item.weight <= knapsack.capacity);
    knapsack.capacity -= item.weight;
    // The objective of an assignment (this item alone taken): it fits.
    knapsack.baseObjective =
        static_cast<int64_t>(static_cast<uint64_t>(knapsack.baseObjective) - item.profit);
  }
  for (int32_t later = k + 1; later < knapsack.itemCount; ++later)
    knapsack.items[later - 1] = knapsack.items[later];
  --knapsack.itemCount;
}

void DivideWeights(OneRowKnapsack& knapsack) {
  uint64_t divisor = 0;
  for (int32_t k = 0; k < knapsack.itemCount; ++k)
    divisor = GreatestCommonDivisor(knapsack.items[k].weight, divisor);
  if (divisor <= 1) return;
  for (int32_t k = 0; k < knapsack.itemCount; ++k) knapsack.items[k].weight /= divisor;
  knapsack.capacity /= divisor;
}

void AssignmentOf(const OneRowKnapsack& knapsack, const int8_t* taken, int8_t* x) {
  for (int32_t i = 0; i < knapsack.n; ++i) x[i] = knapsack.x[i];
  for (int32_t k = 0; k < knapsack.itemCount; ++k) {
    const KnapsackItem& item = knapsack.items[k];
    x[item.variable] = static_cast<int8_t>((taken[k] != 0) == item.takenIsOne ? 1 : 0);
  }
}

}  // namespace zoint
