// The problem as loaded: minimise c·x subject to a_j·x ≤ b_j, x ∈ {0,1}^n.
// Every search and every front end (the exchange file, the C API, model
// files) meets in this one record.
#ifndef ZOINT_PROBLEM_H
#define ZOINT_PROBLEM_H

#include <cstdint>

namespace zoint {

constexpr int MaxVariables = 100;
constexpr int MaxConstraints = 50;
// Position of the right-hand side in a ConstraintRow, whatever n is.
constexpr int RhsColumn = 100;
constexpr int64_t NoSolutionValue = INT64_MAX;

// One constraint: coefficients a_j0 … a_j99, then b_j at RhsColumn.
// Entries n … 99 stay 0.
struct ConstraintRow {
  int64_t entries[MaxVariables + 1];
};

struct Problem {
  int32_t n;                           // variables, 0 … MaxVariables
  int32_t m;                           // constraints, 0 … MaxConstraints
  int64_t coefficients[MaxVariables];  // c_0 … c_99; entries n … 99 are 0
  ConstraintRow rows[MaxConstraints];  // rows m … 49 are all zero
};

// True when no sum over the problem can leave the signed 64-bit range:
// Σ|c_i| ≤ 2^63 − 1 and, for every row, Σ_i |a_ji| ≤ 2^63 − 1. Then every
// objective value and every left-hand side is exact, whatever the signs, and
// the least objective is well defined. Checked exactly.
bool NoSumCanWrap(const Problem& problem);

}  // namespace zoint

#endif  // ZOINT_PROBLEM_H
