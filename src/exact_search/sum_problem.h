// The problem as the enumeration of sums sees it: the rows whose sums it
// matches (the key rows), the rows it checks on each assignment it finds,
// and the variables it enumerates. Every other variable is in no row that
// any assignment can break, so it takes the value its cost prefers.
#ifndef ZOINT_SUM_PROBLEM_H
#define ZOINT_SUM_PROBLEM_H

#include <cstdint>

#include "problem/problem.h"

namespace zoint {

// An equation takes two rows.
constexpr int kMaxKeyRows = MaxConstraints / 2;

enum class SumKind {
  Equations,      // key·x = target for every key row; the objective is any
  BestSubsetSum,  // one key row, the objective a negative multiple of it: key·x ≤ upper as large as possible
};

struct SumProblem {
  SumKind kind;
  int32_t n;  // variables of the problem
  int32_t keyRows;
  int64_t key[kMaxKeyRows][MaxVariables];  // by variable of the problem
  int64_t target[kMaxKeyRows];             // Equations
  // BestSubsetSum: key·x within [lower, upper], the objective
  // −k·key·x over the enumerated variables for some rational k > 0.
  int64_t upper;
  int64_t lower;
  // The number that orders vectors of key sums: Σ_j orderWeight[j]·s_j, the
  // weights small enough that no such number over any subset wraps. Equal
  // numbers are told apart by key rows firstTieRow … keyRows − 1.
  int64_t orderWeight[kMaxKeyRows];
  int32_t firstTieRow;
  // Rows of the problem that some assignment meeting the key rows may break.
  int32_t checkedCount;
  int32_t checked[MaxConstraints];
  // Variables in a key or checked row, in increasing order, which keeps the
  // lexicographic order of the problem among them.
  int32_t enumeratedCount;
  int32_t enumerated[MaxVariables];
  // The others: 1 where the cost is negative, their objective fixedCost.
  int8_t fixedX[MaxVariables];
  int64_t fixedCost;
};

enum class Recognition {
  NotOurs,  // no equation and no row the objective follows, too many variables, or sparse key rows over many
  Infeasible,  // ours, and some row no assignment meets
  Ours,        // described in the record
};

// Reads the problem's structure; a few passes over its rows. Requires
// NoSumCanWrap(problem).
Recognition RecogniseSumProblem(const Problem& problem, SumProblem& sums);

}  // namespace zoint

#endif  // ZOINT_SUM_PROBLEM_H
