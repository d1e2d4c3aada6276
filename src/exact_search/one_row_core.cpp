#include "exact_search/one_row_core.h"

#include <algorithm>
#include <vector>

#include "exact_search/parameters.h"
#include "problem/checked_arithmetic.h"

namespace zoint {

namespace {

static_assert(parameters::kCoreItems <= 64, "a state keeps the core's choices in one 64-bit word");

// Choices of the core's items so far: bit j for the core's item j.
struct CoreState {
  uint64_t weight;
  uint64_t profit;
  uint64_t chosen;
};

// Weights and profits of the items in ratio order, summed from the first:
// sums[r] holds items 0 … r − 1.
struct RatioSums {
  uint64_t weight[MaxVariables + 1];
  uint64_t profit[MaxVariables + 1];
};

void SumInRatioOrder(const OneRowKnapsack& knapsack, const RatioOrder& order, RatioSums& sums) {
  sums.weight[0] = 0;
  sums.profit[0] = 0;
  for (int32_t r = 0; r < order.count; ++r) {
    const KnapsackItem& item = knapsack.items[order.item[r]];
    sums.weight[r + 1] = sums.weight[r] + item.weight;
    sums.profit[r + 1] = sums.profit[r] + item.profit;
  }
}

// ⌊The relaxation of the items from ratio position `next` on within room⌋.
uint64_t RelaxFrom(const OneRowKnapsack& knapsack, const RatioOrder& order, const RatioSums& sums,
                   int32_t next, uint64_t room) {
  // The items next … end − 1 fit whole; item end, if any, in part.
  int32_t end = static_cast<int32_t>(std::upper_bound(sums.weight + next, sums.weight + order.count + 1,
                                                      sums.weight[next] + room) -
                                     sums.weight) -
                1;
  uint64_t bound = sums.profit[end] - sums.profit[next];
  if (end < order.count) {
    const KnapsackItem& item = knapsack.items[order.item[end]];
    const uint64_t left = room - (sums.weight[end] - sums.weight[next]);
    bound += DivideWide(MultiplyWide(left, item.profit), item.weight);
  }
  return bound;
}

// The states with the item added where it fits, merged with those without
// it; of states of equal or greater weight only those gaining strictly more
// than every lighter one are kept.
void AddItem(const std::vector<CoreState>& states, const KnapsackItem& item, uint64_t bit, uint64_t room,
             std::vector<CoreState>& merged) {
  merged.clear();
  size_t without = 0;
  size_t with = 0;
  const size_t count = states.size();
  while (without < count || with < count) {
    CoreState next;
    const bool withFits = with < count && item.weight <= room && states[with].weight <= room - item.weight;
    if (!withFits) with = count;
    if (with < count && (without == count || states[with].weight + item.weight < states[without].weight)) {
      next = CoreState{states[with].weight + item.weight, states[with].profit + item.profit,
                       states[with].chosen | bit};
      ++with;
    } else if (without < count) {
      next = states[without];
      ++without;
    } else {
      break;
    }
    if (merged.empty() || next.profit > merged.back().profit) {
      if (!merged.empty() && merged.back().weight == next.weight) merged.pop_back();
      merged.push_back(next);
    }
  }
}

}  // namespace

uint64_t ImproveByCore(const OneRowKnapsack& knapsack, const RatioOrder& order, int8_t* taken) {
  uint64_t best = ProfitOf(knapsack, taken);
  RatioSums sums;
  SumInRatioOrder(knapsack, order, sums);
  const int32_t count = order.count;
  if (sums.weight[count] <= knapsack.capacity) return best;
  // The break item: the first that does not fit after all before it.
  int32_t breakAt = 0;
  while (sums.weight[breakAt + 1] <= knapsack.capacity) ++breakAt;
  const int32_t last =
      std::min(count, std::max(breakAt - parameters::kCoreItems / 2, 0) + parameters::kCoreItems);
  const int32_t first = std::max(0, last - parameters::kCoreItems);
  // Items before the core are taken: they fit, being before the break.
  const uint64_t room = knapsack.capacity - sums.weight[first];
  const uint64_t before = sums.profit[first];
  // The budget grows with the table the assignment is to narrow: items
  // times the smaller of the capacity and the weight left out.
  const uint64_t side = std::min(knapsack.capacity, sums.weight[count] - knapsack.capacity);
  const uint64_t cells = side / parameters::kTableCellsPerCoreState * static_cast<uint64_t>(count);
  const size_t budget = static_cast<size_t>(std::min<uint64_t>(
      parameters::kMaxCoreStates, std::max<uint64_t>(parameters::kFewestCoreStates, cells)));

  std::vector<CoreState> states(1, CoreState{0, 0, 0});
  std::vector<CoreState> merged;
  std::vector<std::pair<uint64_t, CoreState>> promise;
  for (int32_t r = first; r < last; ++r) {
    AddItem(states, knapsack.items[order.item[r]], uint64_t{1} << (r - first), room, merged);
    // Keep the states that can still beat the best so far, and of those,
    // beyond the budget, the most promising.
    promise.clear();
    for (const CoreState& state : merged) {
      const uint64_t bound =
          before + state.profit + RelaxFrom(knapsack, order, sums, r + 1, room - state.weight);
      if (bound > best) promise.emplace_back(bound, state);
    }
    if (promise.size() > budget) {
      std::nth_element(promise.begin(), promise.begin() + static_cast<std::ptrdiff_t>(budget), promise.end(),
                       [](const std::pair<uint64_t, CoreState>& a, const std::pair<uint64_t, CoreState>& b) {
                         return a.first > b.first;
                       });
      promise.resize(budget);
      std::sort(promise.begin(), promise.end(),
                [](const std::pair<uint64_t, CoreState>& a, const std::pair<uint64_t, CoreState>& b) {
                  return a.second.weight < b.second.weight;
                });
    }
    states.clear();
    for (const auto& entry : promise) states.push_back(entry.second);
    if (states.empty()) return best;
  }

  // The best state, completed greedily by the items after the core.
  const CoreState& top = states.back();
  int8_t candidate[MaxVariables] = {};
  uint64_t left = room - top.weight;
  uint64_t profit = before + top.profit;
  for (int32_t r = 0; r < count; ++r) {
    const int32_t k = order.item[r];
    if (r < first) {
      candidate[k] = 1;
    } else if (r < last) {
      candidate[k] = static_cast<int8_t>((top.chosen >> (r - first)) & 1u);
    } else if (knapsack.items[k].weight <= left) {
      candidate[k] = 1;
      left -= knapsack.items[k].weight;
      profit += knapsack.items[k].profit;
    }
  }
  if (profit <= best) return best;
  std::copy(candidate, candidate + count, taken);
  return profit;
}

}  // namespace zoint
