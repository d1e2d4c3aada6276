// A one-row knapsack whose items all gain the same profit per unit of
// weight (subset sums; Avis's knapsack): an assignment gains more exactly
// where it weighs more, so the optimum is the heaviest sum of weights within
// the capacity. Which sums items k … end reach is one bit per sum, 64 sums
// to a word, and keeping every item's set answers, from item 0 forward,
// whether x = 0 still leaves the heaviest sum within reach: the
// lexicographically smallest optimum, at a 64th of the table's work.
#ifndef ZOINT_ONE_ROW_SUMS_H
#define ZOINT_ONE_ROW_SUMS_H

#include <cstdint>

#include "exact_search/one_row_knapsack.h"
#include "exact_search/search_limits.h"

namespace zoint {

// Whether every item gains the same positive profit per unit of weight.
bool ProfitsFollowWeights(const OneRowKnapsack& knapsack);

struct SumsShape {
  // Sums of items k … end worth knowing: low[k] … high[k]. A heavier sum
  // breaks the capacity; a lighter one, with all the items before k, stays
  // below the weight of a known assignment, so no optimum passes there.
  uint64_t low[MaxVariables];
  uint64_t high[MaxVariables];
  uint64_t firstWord[MaxVariables + 1];  // item k's set starts at this word
  uint64_t words;                        // words in all
  uint64_t cells;                        // Σ (high − low + 1)
};

// The shape, or false beyond the budgets of parameters.h; some assignment
// weighs `incumbentWeight`. Requires Σ weight > capacity and one item at least.
bool PlanSums(const OneRowKnapsack& knapsack, uint64_t incumbentWeight, SumsShape& shape);

// Fills the sets (`words` words); asks the limits before each item and
// returns false when they say stop.
bool FillSums(const OneRowKnapsack& knapsack, const SumsShape& shape, uint64_t* sets, SearchLimits& limits);

// The lexicographically smallest assignment of the heaviest sum: taken[k]
// for every item.
void ReadSmallestHeaviest(const OneRowKnapsack& knapsack, const SumsShape& shape, const uint64_t* sets,
                          int8_t* taken);

}  // namespace zoint

#endif  // ZOINT_ONE_ROW_SUMS_H
