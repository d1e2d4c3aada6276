#include "problem/problem.h"

#include "problem/checked_arithmetic.h"

namespace zoint {

bool NoSumCanWrap(const Problem& problem) {
  if (!MagnitudeSumAtMost(problem.coefficients, problem.n, kLargestMagnitude)) return false;
  for (int32_t j = 0; j < problem.m; ++j) {
    if (!MagnitudeSumAtMost(problem.rows[j].entries, problem.n, kLargestMagnitude)) return false;
  }
  return true;
}

}  // namespace zoint
