// A problem with one row that matters, read as a knapsack over literals:
// item k stands for variable items[k].variable, and "taken" means x = 1
// where the row's coefficient is positive, x = 0 where it is negative, so
// that every weight is positive. Maximise Σ profit·taken subject to
// Σ weight·taken ≤ capacity. Every variable no item stands for has its
// value in x: the one that every answer the table could give has.
#ifndef ZOINT_ONE_ROW_KNAPSACK_H
#define ZOINT_ONE_ROW_KNAPSACK_H

#include <cstdint>

#include "problem/problem.h"

namespace zoint {

// The tables of a one-row knapsack keep bits in 64-bit words, each item's
// cells [low, high] starting in a word of their own.
constexpr uint64_t kBitsPerWord = 64;
inline uint64_t WordsSpanned(uint64_t low, uint64_t high) { return high / kBitsPerWord - low / kBitsPerWord + 1; }

struct KnapsackItem {
  int32_t variable;
  uint64_t weight;  // > 0
  uint64_t profit;  // ≥ 0
  bool takenIsOne;  // taken ⇔ x = 1
};

struct OneRowKnapsack {
  int32_t n;               // variables of the problem
  int8_t x[MaxVariables];  // fixed values; entries of items are unused
  int32_t itemCount;
  KnapsackItem items[MaxVariables];  // by increasing variable
  uint64_t capacity;
  // The objective when no item is taken: c·x with every item at its
  // not-taken value. Taking item k lowers it by items[k].profit.
  int64_t baseObjective;
};

enum class OneRowKind {
  NotOneRow,   // no row that some assignment breaks, or more than one
  Infeasible,  // that row is broken by every assignment
  Knapsack,    // the knapsack holds the problem
};

// Requires NoSumCanWrap(problem). Drops the rows every assignment meets,
// and fixes what no table is needed for: variables outside the row, items
// that cost more than they gain, items that gain nothing where not taking
// them is x = 0 (the smaller assignment), items heavier than the capacity.
OneRowKind ReadOneRow(const Problem& problem, OneRowKnapsack& knapsack);

// Fixes item k at taken or not, removing it; later items move down by one.
void FixItem(OneRowKnapsack& knapsack, int32_t k, bool taken);

// Divides every weight by their greatest common divisor, and the capacity
// too, rounded down: the same assignments fit.
void DivideWeights(OneRowKnapsack& knapsack);

// The assignment in x with item k taken exactly where taken[k] is nonzero.
void AssignmentOf(const OneRowKnapsack& knapsack, const int8_t* taken, int8_t* x);

}  // namespace zoint

#endif  // ZOINT_ONE_ROW_KNAPSACK_H
