#include "exact_search/certified_bound.h"

namespace zoint {

// Why the margin covers every rounding. Write u = 2^−53. Every operation
// below (a sum, a difference, a product, an integer converted to double)
// rounds to nearest, so fl(a ∘ b) = (a ∘ b)(1 + δ) with |δ| ≤ u, short of
// underflow (taken last) and overflow (then size is not finite and the
// bound is not valid). The multipliers y_j are the doubles given: the bound
// is proven for exactly those, so they carry no error. Let k be the number
// of rows with y_j > 0 (k ≤ m), and call the exact quantities
//   G_i = c_i + Σ_j y_j a_ji,   M_i = |c_i| + Σ_j |y_j a_ji|,
//   T   = c·x_F + Σ_j y_j (A_j − b_j) + Σ_{i free} min(0, G_i),
//   S   = |c·x_F| + Σ_j (|y_j A_j| + |y_j b_j|) + Σ_{i free} M_i,
// where x_F is the node's fixed part and A_j its exact activity in row j.
//
// 1. Each G_i. The computed g_i sums k + 1 terms: c_i converted (error
//    ≤ u|c_i|) and k products y_j·a_ji of a converted a_ji (error
//    ≤ (2u + u²)|y_j a_ji|), with k additions, which add at most
//    γ_k = ku/(1 − ku) times the sum of the terms' magnitudes. Together
//    |g_i − G_i| ≤ (k + 3)·u·M_i, as (2 + u) + k(1 + 3u)/(1 − ku) < k + 3
//    for k ≤ 50. The magnitudes summed alongside, g_i's share of size, are
//    at least M_i(1 − (k + 3)u).
// 2. The total. Its terms are c·x_F converted (error ≤ u|c·x_F|), per row
//    fl(fl(y_j A_j) − fl(y_j b_j)) with A_j and b_j converted (error
//    ≤ 3.0001·u·(|y_j A_j| + |y_j b_j|)), and min(0, g_i) per free i (error
//    ≤ |g_i − G_i| ≤ (m + 3)·u·M_i). These are disjoint parts of S, so the
//    terms' errors add up to at most (m + 3)·u·S. Adding the at most
//    1 + m + n terms takes at most m + n roundings: at most
//    (m + n)·u·(1 + 10^−12)·S more. So |total − T| ≤ (n + 2m + 3)·u·S·(1 + 10^−12).
// 3. Size. size sums the same parts in magnitude, each at least (1 − (m + 3)u)
//    of its exact value, with at most n + 2m roundings: size ≥ S/(1 + 10^−12)
//    for n ≤ 100, m ≤ 50 (all the factors (1 ± ju) here have j ≤ 210, so
//    ju < 3·10^−14).
// 4. The margin. With K = n + 2m + 3, margin = fl(8K·size·u) ≥ 8K·u·size·(1 − u).
//    lower = fl(total − margin) adds one rounding of at most
//    u·|total − margin| ≤ 1.0001·u·size. So
//      lower − T ≤ (total − T) − margin + 1.0001·u·size
//                ≤ K·u·S·(1 + 10^−12) + 1.0001·u·size − margin
//                ≤ (K + 1.001)·u·size − 8K·u·size·(1 − u) < 0:
//    lower ≤ T, and T is a lower bound on every completion (header).
// 5. Each G_i is within the margin too: (m + 3)·u·M_i ≤ (m + 3)·u·1.0001·size,
//    and m + 3 < 8K. Reduced-cost fixing (ValueExceedsCutoff) relies on it.
// 6. Underflow. A product below 2^−1022 carries an absolute error of at
//    most 2^−1075 instead; there are fewer than n·m + 3m + n + 2 < 2^13 of
//    them, so at most 2^−1062 in all, which the 10^−250 added covers.
//    ldexp(size, −53) is exact unless it underflows, when it is < 2^−1022
//    and the same constant covers it.
void BoundFromMultipliers(const OrientedProblem& problem, const Fixing& fixing, const double* y,
                          bool withCosts, CertifiedBound& bound) {
  const int32_t m = problem.m;
  int32_t rows[MaxConstraints];  // the rows with a positive multiplier
  double multiplier[MaxConstraints];
  int32_t count = 0;
  for (int32_t j = 0; j < m; ++j) {
    if (y[j] > 0) {  // NaN and negative values count as 0
      rows[count] = j;
      multiplier[count++] = y[j];
    }
  }

  // total: the minimum over the node's box; size: the same sums with every
  // term taken in magnitude (S above, as computed). The fixed variables
  // enter through the node's exact sums: at 1 they add c·x plus Σ_j y_j
  // times their activity in row j, at 0 nothing.
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

  const double k = static_cast<double>(problem.n + 2 * m + 3);
  bound.margin = 8.0 * k * std::ldexp(size, -53) + 1e-250;
  const double lower = total - bound.margin;
  bound.valid = std::isfinite(size) && std::isfinite(lower);
  bound.lower = bound.valid ? ProvenBound(lower) : ProvenBound::Nothing();
}

// A completion with free x_i = 1 is worth at least T + max(0, G_i), one with
// x_i = 0 at least T + max(0, −G_i): fixing x_i replaces its min(0, G_i) in
// T by G_i·x_i. With lower ≤ T and |g_i − G_i| ≤ (m + 3)·u·M_i (steps 4 and
// 1 above), T + max(0, ±G_i) ≥ lower + max(0, ±g_i) − (m + 3)·u·M_i. The
// test below subtracts the margin instead, which covers that and the two
// roundings of the test itself, each at most u·(|lower| + |g_i| + margin)
// ≤ 2.001·u·size: (m + 3)·1.0001 + 4.002 < 8(n + 2m + 3) for every n, m ≥ 0.
bool ValueExceedsCutoff(const CertifiedBound& bound, int32_t i, int8_t value, int64_t cutoff) {
  const double rise = std::fmax(0.0, value == 1 ? bound.g[i] : -bound.g[i]);
  return bound.lower.value() + rise - bound.margin > CutoffAsDouble(cutoff);
}

double CutoffAsDouble(int64_t cutoff) {
  constexpr int64_t kExact = int64_t{1} << 53;
  if (cutoff >= kExact) return HUGE_VAL;
  if (cutoff <= -kExact) return -static_cast<double>(kExact);
  return static_cast<double>(cutoff);
}

}  // namespace zoint
