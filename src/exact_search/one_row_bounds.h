// Bounds on a one-row knapsack, in exact integer arithmetic: the greedy
// packing (a feasible assignment), the linear relaxation's bound (Dantzig's:
// items by falling profit per weight, the first that does not fit taken in
// part), and the fixing they justify together.
#ifndef ZOINT_ONE_ROW_BOUNDS_H
#define ZOINT_ONE_ROW_BOUNDS_H

#include <cstdint>

#include "exact_search/one_row_knapsack.h"

namespace zoint {

// The items by falling profit per unit of weight (ratios compared exactly).
struct RatioOrder {
  int32_t count;
  int32_t item[MaxVariables];
};
void OrderByRatio(const OneRowKnapsack& knapsack, RatioOrder& order);

// Takes the items in ratio order wherever they still fit; taken[k] says
// which. Returns their profit.
uint64_t GreedyPacking(const OneRowKnapsack& knapsack, const RatioOrder& order, int8_t* taken);

// ⌊the linear relaxation's optimum⌋: no assignment gains more.
uint64_t RelaxationBound(const OneRowKnapsack& knapsack, const RatioOrder& order);

// Fixes every item whose other value would leave the relaxation's bound
// below the profit of `taken`, a feasible assignment, and repeats while
// that fixes more; taken follows the removals. Every assignment gaining at
// least as much as taken, the optima and every assignment tied with them
// among them, has each item at the value it is fixed to, so no optimum is
// lost, nor any tie that the lexicographic choice needs.
void FixByRelaxationBound(OneRowKnapsack& knapsack, int8_t* taken);

// Capacities c left for items k … end through which an assignment gaining
// at least target can pass: the items before k then fill exactly
// capacity − c, so it gains at most the relaxation of those items within
// capacity − c plus the relaxation of items k … end within c. That sum is
// concave in c, so the capacities where it reaches target form one range;
// returned within [low, high], where items before k can fill capacity − c.
// Never empty: when no capacity reaches target, one of them.
struct CapacityRange {
  uint64_t low;
  uint64_t high;
};
CapacityRange CapacitiesReaching(const OneRowKnapsack& knapsack, const RatioOrder& order, int32_t k,
                                 uint64_t low, uint64_t high, uint64_t target);

// The profit of the items taken.
uint64_t ProfitOf(const OneRowKnapsack& knapsack, const int8_t* taken);

}  // namespace zoint

#endif  // ZOINT_ONE_ROW_BOUNDS_H
