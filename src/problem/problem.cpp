#include "problem/problem.h"

namespace zoint {

namespace {

constexpr uint64_t kLimit = static_cast<uint64_t>(INT64_MAX);

// |v| as an unsigned number; |INT64_MIN| = 2^63 fits.
uint64_t Magnitude(int64_t v) { return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v); }

// Σ|values[0 … count−1]| ≤ 2^63 − 1. Each term is at most 2^63 and the sum
// is at most 2^63 − 1 before it is added, so the test itself never wraps.
bool MagnitudeSumFits(const int64_t* values, int32_t count) {
  uint64_t sum = 0;
  for (int32_t i = 0; i < count; ++i) {
    const uint64_t term = Magnitude(values[i]);
    if (term > kLimit - sum) return false;
    sum += term;
  }
  return true;
}

}  // namespace

bool NoSumCanWrap(const Problem& problem) {
  if (!MagnitudeSumFits(problem.coefficients, problem.n)) return false;
  for (int32_t j = 0; j < problem.m; ++j) {
    if (!MagnitudeSumFits(problem.rows[j].entries, problem.n)) return false;
  }
  return true;
}

}  // namespace zoint
