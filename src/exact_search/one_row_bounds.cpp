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

// The relaxation of one side of item k (the items before it, or it and
// those after) within a capacity: whole + remainder / divisor, with
// remainder < divisor.
struct SideRelaxation {
  uint64_t whole;
  uint64_t remainder;
  uint64_t divisor;
};

SideRelaxation RelaxSide(const OneRowKnapsack& knapsack, const RatioOrder& order, int32_t k, bool after,
                         uint64_t capacity) {
  SideRelaxation side{0, 0, 1};
  uint64_t left = capacity;
  for (int32_t r = 0; r < order.count; ++r) {
    if ((order.item[r] >= k) != after) continue;
    const KnapsackItem& item = knapsack.items[order.item[r]];
    if (item.weight > left) {
      side.whole += DivideWide(MultiplyWide(left, item.profit), item.weight, &side.remainder);
      side.divisor = item.weight;
      return side;
    }
    left -= item.weight;
    side.whole += item.profit;
  }
  return side;
}

// Whether the two sides' relaxations, items before k within capacity − c
// and the rest within c, reach target together. Each side's whole part
// fits, being at most the profit of its items.
bool SidesReach(const OneRowKnapsack& knapsack, const RatioOrder& order, int32_t k, uint64_t c,
                uint64_t target) {
  const SideRelaxation before = RelaxSide(knapsack, order, k, false, knapsack.capacity - c);
  const SideRelaxation after = RelaxSide(knapsack, order, k, true, c);
  const uint64_t whole = before.whole + after.whole;
  if (whole >= target) return true;
  if (whole + 1 < target) return false;
  // The two fractions must make up the last unit: r1/d1 + r2/d2 ≥ 1.
  const Unsigned128 sum =
      AddWide(MultiplyWide(before.remainder, after.divisor), MultiplyWide(after.remainder, before.divisor));
  return !WideLess(sum, MultiplyWide(before.divisor, after.divisor));
}

// The item of one side whose share of that side's relaxation holds unit
// [position, position + 1) of the capacity, or −1 beyond the side's weight.
int32_t ItemAtUnit(const OneRowKnapsack& knapsack, const RatioOrder& order, int32_t k, bool after,
                   uint64_t position) {
  uint64_t filled = 0;
  for (int32_t r = 0; r < order.count; ++r) {
    if ((order.item[r] >= k) != after) continue;
    filled += knapsack.items[order.item[r]].weight;
    if (position < filled) return order.item[r];
  }
  return -1;
}

// Whether the sum of the two sides' relaxations rises from c to c + 1: the
// unit the items from k gain is worth more than the unit the items before k
// give up. Requires capacity − c − 1 within the weight before k.
bool SidesRise(const OneRowKnapsack& knapsack, const RatioOrder& order, int32_t k, uint64_t c) {
  const int32_t gained = ItemAtUnit(knapsack, order, k, true, c);
  if (gained < 0) return false;
  const int32_t lost = ItemAtUnit(knapsack, order, k, false, knapsack.capacity - c - 1);
  if (lost < 0) return true;
  const KnapsackItem& up = knapsack.items[gained];
  const KnapsackItem& down = knapsack.items[lost];
  return WideLess(MultiplyWide(down.profit, up.weight), MultiplyWide(up.profit, down.weight));
}

}  // namespace

uint64_t ProfitOf(const OneRowKnapsack& knapsack, const int8_t* taken) {
  uint64_t profit = 0;
  for (int32_t k = 0; k < knapsack.itemCount; ++k) profit += taken[k] != 0 ? knapsack.items[k].profit : 0;
  return profit;
}

CapacityRange CapacitiesReaching(const OneRowKnapsack& knapsack, const RatioOrder& order, int32_t k,
                                 uint64_t low, uint64_t high, uint64_t target) {
  // The peak: the first c from which the sum no longer rises.
  uint64_t from = low;
  uint64_t to = high;
  while (from < to) {
    const uint64_t middle = from + (to - from) / 2;
    if (SidesRise(knapsack, order, k, middle)) {
      from = middle + 1;
    } else {
      to = middle;
    }
  }
  const uint64_t peak = from;
  if (!SidesReach(knapsack, order, k, peak, target)) return CapacityRange{peak, peak};
  // Rising up to the peak, falling after it: the first c that reaches
  // target below it, the last above it.
  from = low;
  to = peak;
  while (from < to) {
    const uint64_t middle = from + (to - from) / 2;
    if (SidesReach(knapsack, order, k, middle, target)) {
      to = middle;
    } else {
      from = middle + 1;
    }
  }
  CapacityRange range{from, peak};
  from = peak;
  to = high;
  while (from < to) {
    const uint64_t middle = from + (to - from + 1) / 2;
    if (SidesReach(knapsack, order, k, middle, target)) {
      from = middle;
    } else {
      to = middle - 1;
    }
  }
  range.high = from;
  return range;
}

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
                 RelaxationBelow(knapsack, order, k, knapsack.capacity - item.weight, item.profit,
                                 incumbent)) {
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
