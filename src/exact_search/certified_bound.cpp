#include "exact_search/certified_bound.h"

#include <cmath>

namespace zoint {

void BoundFromMultipliers(const OrientedProblem& problem, const Fixing& fixing, const double* y,
                          bool withCosts, CertifiedBound& bound) {
  const int32_t m = problem.m;
  int32_t rows[kMaxRows];  // the rows with a positive multiplier
  double multiplier[kMaxRows];
  int32_t count = 0;
  for (int32_t j = 0; j < m; ++j) {
    if (y[j] > 0) {  // NaN and negative values count as 0
      rows[count] = j;
      multiplier[count++] = y[j];
    }
  }

  // total: the minimum over the node's box; size: the same sums with every
  // term taken in magnitude, which bounds every rounding error below. The
  // fixed variables enter through the node's exact sums: at 1 they add
  // c·x plus Σ_j y_j times their activity in row j, at 0 nothing.
  double total = withCosts ? static_cast<double>(fixing.objective) : 0.0;
  double size = std::fabs(total);
  for (int32_t t = 0; t < count; ++t) {
    const int32_t j = rows[t];
    const double fixed = multiplier[t] * static_cast<double>(fixing.fixedActivity[j]);
    const double rhs = multiplier[t] * problem.rhsValue[j];
    total += fixed - rhs;
    size += std::fabs(fixed) + std::fabs(rhs);
  }
  for (int32_t i = 0; i < problem.n; ++i) {
    if (fixing.value[i] != kFree) continue;
    const double* a = problem.columnValue[i];
    double g = withCosts ? problem.costValue[i] : 0.0;
    double magnitude = std::fabs(g);
    for (int32_t t = 0; t < count; ++t) {
      const double term = multiplier[t] * a[rows[t]];
      g += term;
      magnitude += std::fabs(term);
    }
    bound.g[i] = g;
    size += magnitude;
    if (g < 0) total += g;
  }

  // Each g_i is a sum of at most m + 1 rounded products, and the total a sum
  // of at most n + 2m + 1 terms, every number rounded once on conversion, so
  // the error is below (n + 3m + 5)·2^−53 times the magnitudes summed, which
  // is at most size. Eight times (n + 2m + 3) covers that and the rounding of
  // size itself with room to spare; the constant covers underflow of tiny
  // products.
  const double k = static_cast<double>(problem.n + 2 * m + 3);
  bound.margin = 8.0 * k * std::ldexp(size, -53) + 1e-250;
  bound.lower = total - bound.margin;
  bound.valid = std::isfinite(size) && std::isfinite(bound.lower);
}

double CutoffAsDouble(int64_t cutoff) {
  constexpr int64_t kExact = int64_t{1} << 53;
  if (cutoff >= kExact) return HUGE_VAL;
  if (cutoff <= -kExact) return -static_cast<double>(kExact);
  return static_cast<double>(cutoff);
}

}  // namespace zoint
