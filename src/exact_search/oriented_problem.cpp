#include "exact_search/oriented_problem.h"

#include <cassert>

#include "problem/checked_arithmetic.h"

namespace zoint {

namespace {

// b − shift, held within [−span − 1, span]. |shift| ≤ span ≤ 2^63 − 1, so
// the true difference is within 65 bits; when it does not fit in 64 it is
// beyond one end of the range and takes that end.
int64_t ShiftedRhs(int64_t b, int64_t shift, int64_t span) {
  int64_t difference = 0;
  if (!CheckedSubtract(b, shift, difference)) return b > 0 ? span : -span - 1;
  if (difference > span) return span;
  if (difference < -span - 1) return -span - 1;
  return difference;
}

}  // namespace

void FillValues(OrientedProblem& oriented) {
  oriented.largestCost = 0;
  for (int32_t i = 0; i < oriented.n; ++i) {
    oriented.costValue[i] = static_cast<double>(oriented.cost[i]);
    if (oriented.cost[i] > oriented.largestCost) oriented.largestCost = oriented.cost[i];
  }
  for (int32_t j = 0; j < oriented.m; ++j) {
    // |a| fits: the magnitudes of a row sum to at most 2^63 − 1.
    uint64_t largest = 0;
    for (int32_t i = 0; i < oriented.n; ++i) {
      const uint64_t a = Magnitude(oriented.column[i][j]);
      if (a > largest) largest = a;
    }
    oriented.largestMagnitude[j] = static_cast<int64_t>(largest);
    for (int32_t i = 0; i < oriented.n; ++i)
      oriented.columnValue[i][j] = static_cast<double>(oriented.column[i][j]);
    oriented.rhsValue[j] = static_cast<double>(oriented.rhs[j]);
  }
}

void OrientProblem(const Problem& problem, OrientedProblem& oriented) {
  assert(NoSumCanWrap(problem));
  const int32_t n = problem.n;
  const int32_t m = problem.m;
  oriented.n = n;
  oriented.m = m;
  oriented.offset = 0;
  for (int32_t i = 0; i < n; ++i) {
    const int64_t c = problem.coefficients[i];
    oriented.complemented[i] = c < 0;
    // Σ|c_i| ≤ 2^63 − 1, so neither −c nor the offset can overflow.
    oriented.cost[i] = c < 0 ? -c : c;
    if (c < 0) oriented.offset += c;
  }
  for (int32_t j = 0; j < m; ++j) {
    const int64_t* row = problem.rows[j].entries;
    int64_t shift = 0;  // Σ a_ji over the complemented i
    int64_t span = 0;   // Σ |a_ji|
    for (int32_t i = 0; i < n; ++i) {
      const int64_t a = row[i];
      oriented.column[i][j] = oriented.complemented[i] ? -a : a;
      if (oriented.complemented[i]) shift += a;
      span += static_cast<int64_t>(Magnitude(a));
    }
    oriented.rhs[j] = ShiftedRhs(row[RhsColumn], shift, span);
  }
  FillValues(oriented);
}

}  // namespace zoint
