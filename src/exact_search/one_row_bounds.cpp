#include "exact_search/one_row_bounds.h"

#include <algorithm>
#include <cassert>

#include "problem/checked_arithmetic.h"

namespace zoint {

namespace {

// Whether gained plus the relaxation over the items in order, item skip
// left out, with the capacity given, stays below target. The relaxation
// fills the items in turn and the first that does not fit in part:
// gained + P + left·p/w < target ⇔ left·p < (target − gained − P)·w, asked
// in 128 bits. Every profit sum here is at most Σ|c_i| and fits.
bool RelaxationBelow(const OneRowKnapsack& knapsack, const RatioOrder& order, int32_t skip, uint64_t capacity,
                     uint64_t gained, uint64_t target) {
  uint64_t left = capacity;
  uint64_t profit = gained;
  for (int32_t r = 0; r < order.count; ++r) {
    if (order.item[r] == skip) continue;
    const KnapsackItem& item = knapsack.items[order.item[r]];
    if (item.weight <= left) {
      left -= item.weight;
      profit += item.profit;
      continue;
    }
    if (profit >= target) return false;
    return WideLess(MultiplyWide(left, item.profit), MultiplyWide(target - profit, item.weight));
  }
  return profit < target;
}

uint64_t ProfitOf(const OneRowKnapsack& knapsack, const int8_t* taken) {
  uint64_t profit = 0;
  for (int32_t k = 0; k < knapsack.itemCount; ++k) profit += taken[k] != 0 ? knapsack.items[k].profit : 0;
  return profit;
}

}  // namespace

void OrderByRatio(const OneRowKnapsack& knapsack, RatioOrder& order) {
  order.count = knapsack.itemCount;
  for (int32_t k = 0; k < order.count; ++k) order.item[k] = k;
  // p_a / w_a > p_b / w_b ⇔ p_a·w_b > p_b·w_a; equal ratios keep item order.
  std::stable_sort(order.item, order.item + order.count, [&knapsack](int32_t a, int32_t b) {
    const KnapsackItem& first = knapsack.items[a];
    const KnapsackItem& second = knapsack.items[b];
    return WideLess(MultiplyWide(second.profit, first.weight), MultiplyWide(first.profit, second.weight));
  });
}

uint64_t GreedyPacking(const OneRowKnapsack& knapsack, const RatioOrder& order, int8_t* taken) {
  uint64_t left = knapsack.capacity;
  uint64_t profit = 0;
  for (int32_t k = 0; k < knapsack.itemCount; ++k) taken[k] = 0;
  for (int32_t r = 0; r < order.count; ++r) {
    const KnapsackItem& item = knapsack.items[order.item[r]];
    if (item.weight > left) continue;
    taken[order.item[r]] = 1;
    left -= item.weight;
    profit += item.profit;
  }
  return profit;
}

uint64_t RelaxationBound(const OneRowKnapsack& knapsack, const RatioOrder& order) {
  uint64_t left = knapsack.capacity;
  uint64_t profit = 0;
  for (int32_t r = 0; r < order.count; ++r) {
    const KnapsackItem& item = knapsack.items[order.item[r]];
    if (item.weight > left) {
      // left < weight: the part taken gains less than the item's profit.
      return profit + DivideWide(MultiplyWide(left, item.profit), item.weight);
    }
    left -= item.weight;
    profit += item.profit;
  }
  return profit;
}

void FixByRelaxationBound(OneRowKnapsack& knapsack, int8_t* taken) {
  for (;;) {
    RatioOrder order;
    OrderByRatio(knapsack, order);
    const uint64_t incumbent = ProfitOf(knapsack, taken);
    // Each fixing holds on its own for every assignment gaining at least
    // the incumbent's profit, so all of one round hold together.
    int8_t fixTo[MaxVariables];
    bool any = false;
    for (int32_t k = 0; k < knapsack.itemCount; ++k) {
      const KnapsackItem& item = knapsack.items[k];
      fixTo[k] = -1;
      if (RelaxationBelow(knapsack, order, k, knapsack.capacity, 0, incumbent)) {
        fixTo[k] = 1;
      } else if (item.weight > knapsack.capacity ||
                 RelaxationBelow(knapsack, order, k, knapsack.capacity - item.weight, item.profit, incumbent)) {
        fixTo[k] = 0;
      }
      // The incumbent gains its own profit, so it agrees with every fixing.
      assert(fixTo[k] < 0 || fixTo[k] == taken[k]);
      any = any || fixTo[k] >= 0;
    }
    if (!any) return;
    for (int32_t k = knapsack.itemCount - 1; k >= 0; --k) {
      if (fixTo[k] < 0) continue;
      FixItem(knapsack, k, fixTo[k] == 1);
      for (int32_t later = k + 1; later <= knapsack.itemCount; ++later) taken[later - 1] = taken[later];
    }
  }
}

}  // namespace zoint
