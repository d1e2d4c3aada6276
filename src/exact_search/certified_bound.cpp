#include "exact_search/certified_bound.h"

#include <cmath>

namespace zoint {

void BoundFromMultipliers(const OrientedProblem& problem, const Fixing& fixing, const double* y,
                          bool withCosts, CertifiedBound& bound) {
  const int32_t m = problem.m;
  double multiplier[MaxConstraints];
  for (int32_t j = 0; j < m; ++j) multiplier[j] = y[j] > 0 ? y[j] : 0.0;  // NaN becomes 0

  // total: the minimum over the node's box; size: the same sums with every
  // term taken in magnitude, which bounds every rounding error below.
  double total = 0;
  double size = 0;
  for (int32_t i = 0; i < problem.n; ++i) {
    if (fixing.value[i] == 0) {
      bound.g[i] = 0;
      continue;
    }
    const int64_t* a = problem.column[i];
    const double c = withCosts ? static_cast<double>(problem.cost[i]) : 0.0;
    double g = c;
    double magnitude = std::fabs(c);
    for (int32_t j = 0; j < m; ++j) {
      if (multiplier[j] == 0 || a[j] == 0) continue;
      const double term = multiplier[j] * static_cast<double>(a[j]);
      g += term;
      magnitude += std::fabs(term);
    }
    bound.g[i] = g;
    size += magnitude;
    if (fixing.value[i] == 1) {
      total += g;
    } else if (g < 0) {
      total += g;
    }
  }
  for (int32_t j = 0; j < m; ++j) {
    if (multiplier[j] == 0) continue;
    const double term = multiplier[j] * static_cast<double>(problem.rhs[j]);
    total -= term;
    size += std::fabs(term);
  }

  // Each g_i and the total are sums of at most n + m + 1 rounded products of
  // numbers that were themselves rounded once on conversion, so each error is
  // below (n + m + 3)·2^−53 times the magnitudes summed, which is at most
  // size. Eight times that covers the rounding of size itself with room to
  // spare; the constant covers underflow of tiny products.
  const double k = static_cast<double>(problem.n + m + 3);
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
