// The table of a one-row knapsack. Items are stepped through from the last
// to the first; after item k's step, cell s holds the best over items
// k … end: the most profit within capacity s (packing), or, in the covering
// form, minus the least profit given up by leaving items out so that the
// weight left out is at least s. Either form answers the same knapsack: the
// covering form's demand is Σ weight − capacity, and the smaller of the two
// is taken. Each step also keeps one bit per cell: whether x = 0 for the
// item's variable reaches the best there. Read from item 0 forward, those
// bits give the lexicographically smallest optimum (x_0 most significant,
// 0 before 1), since at each item they say exactly whether some optimum
// with the choices so far has x = 0 there.
//
// A step fills only the cells an optimum can pass through: from the
// answer's cell the items before k move it down by at most their weight,
// the items from k on reach at most their own weight (beyond it nothing
// changes), and an assignment gaining at least a known feasible profit
// passes only where the relaxations of the items before k and of the rest
// together reach it (CapacitiesReaching). A cell left out keeps an older
// value, never above its own: the cells an optimum passes through are
// exact, and so are their bits, which is all the reading needs.
#ifndef ZOINT_ONE_ROW_TABLE_FILL_H
#define ZOINT_ONE_ROW_TABLE_FILL_H

#include <cstdint>

#include "exact_search/one_row_coarse_bounds.h"
#include "exact_search/one_row_knapsack.h"
#include "exact_search/search_limits.h"

namespace zoint {

struct TableShape {
  bool covering;               // cells count weight still to leave out, not capacity left
  bool narrowValues;           // every value fits in 32 bits
  uint64_t top;                // the answer's cell: the capacity, or the demand
  uint64_t largestProfit;      // of the items
  uint64_t low[MaxVariables];  // cells item k's step fills: low[k] … high[k]
  uint64_t high[MaxVariables];
  // Packing: min(capacity, weight of items k … end); a cell above it is
  // worth the same and decided the same.
  uint64_t ceiling[MaxVariables];
  uint64_t weightFrom[MaxVariables];     // of items k … end
  uint64_t target;                       // the profit of a feasible assignment
  uint64_t firstWord[MaxVariables + 1];  // item k's bits start at this word
  uint64_t words;                        // words of bits in all
  uint64_t cells;                        // Σ (high − low + 1)
};

// The shape of the knapsack's table, or false when it is beyond the
// budgets of parameters.h; some assignment gains `incumbent`. Requires
// Σ weight > capacity and at least one item.
bool PlanTable(const OneRowKnapsack& knapsack, uint64_t incumbent, TableShape& shape);

// Whether cells low … high of item k's step can lie on the path of an
// assignment gaining target, by the bounds.
bool CellsCanReach(const TableShape& shape, const CoarseBounds& bounds, int32_t k, uint64_t low,
                   uint64_t high, uint64_t target);

// Bytes of the values and of the decision bits the table needs.
uint64_t ValueBytes(const TableShape& shape);
uint64_t DecisionBytes(const TableShape& shape);

// Fills the table: values has room for top + 1 entries of the width the
// shape says (int32_t or int64_t), bits for `words` words. Chunks of cells
// the bounds show no assignment gaining the target passes through are left
// out; `filled` counts the cells stepped. Asks the limits now and then;
// returns false when they say stop.
bool FillTable(const OneRowKnapsack& knapsack, const TableShape& shape, const CoarseBounds& bounds,
               void* values, uint64_t* bits, SearchLimits& limits, uint64_t& filled);

// The lexicographically smallest optimum from the filled bits: taken[k]
// for every item.
void ReadSmallestOptimum(const OneRowKnapsack& knapsack, const TableShape& shape, const uint64_t* bits,
                         int8_t* taken);

}  // namespace zoint

#endif  // ZOINT_ONE_ROW_TABLE_FILL_H
