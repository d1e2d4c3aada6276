// The engine's own view of the problem. Every variable with a negative cost
// is complemented (y_i = 1 − x_i), so every cost is ≥ 0 and the assignment
// with every free variable at 0 is the cheapest completion of any node; and
// the problem is held by columns, so fixing one variable touches one
// contiguous column. The search runs entirely in y; only the order in which
// the answer is chosen, and the answer itself, are taken back to x.
#ifndef ZOINT_ORIENTED_PROBLEM_H
#define ZOINT_ORIENTED_PROBLEM_H

#include <cstdint>

#include "problem/problem.h"

namespace zoint {

struct OrientedProblem {
  int32_t n;
  int32_t m;
  int64_t cost[MaxVariables];              // |c_i|
  int64_t column[MaxVariables][MaxConstraints];  // column[i][j] = a_ji, negated where complemented
  // b_j − Σ a_ji over the complemented i, brought into [−S_j − 1, S_j] with
  // S_j = Σ_i |a_ji|: every left-hand side lies in [−S_j, S_j], so a bound
  // beyond either end means the same as that end, and the shifted value,
  // which may need 65 bits, never has to be held.
  int64_t rhs[MaxConstraints];
  bool complemented[MaxVariables];     // y_i = 1 − x_i
  int64_t largestCost;                 // max_i c_i (in y)
  int64_t largestMagnitude[MaxConstraints];  // max_i |a_ji|
  // The same numbers as doubles (rounded once where beyond 2^53), for the
  // certified bound's sums.
  double costValue[MaxVariables];
  double columnValue[MaxVariables][MaxConstraints];
  double rhsValue[MaxConstraints];
  int64_t offset;  // Σ of the negative c_i: c·x = offset + cost·y
};

// Requires NoSumCanWrap(problem). Then every sum of costs, and every sum of
// one row's coefficients, fits in 64 bits in y as it did in x.
void OrientProblem(const Problem& problem, OrientedProblem& oriented);

// Sets the largest magnitudes and the double copies from the integers.
void FillValues(OrientedProblem& oriented);

// The value of y_i that gives x_i = value.
inline int8_t OrientedValue(const OrientedProblem& problem, int32_t i, int8_t value) {
  return problem.complemented[i] ? static_cast<int8_t>(1 - value) : value;
}

}  // namespace zoint

#endif  // ZOINT_ORIENTED_PROBLEM_H
