#include "exact_search/local_search.h"

namespace zoint {

namespace {

// Whether moving the activities by −column[out] (and +column[in], if in ≥ 0)
// keeps every row met. Each partial sum is a sum over a subset of one row's
// coefficients, so none can overflow.
bool Fits(const OrientedProblem& problem, const int64_t* activity, int32_t out, int32_t in) {
  for (int32_t j = 0; j < problem.m; ++j) {
    int64_t moved = activity[j] - problem.column[out][j];
    if (in >= 0) moved += problem.column[in][j];
    if (moved > problem.rhs[j]) return false;
  }
  return true;
}

void Move(const OrientedProblem& problem, int64_t* activity, int8_t* y, int32_t out, int32_t in) {
  y[out] = 0;
  for (int32_t j = 0; j < problem.m; ++j) activity[j] -= problem.column[out][j];
  if (in < 0) return;
  y[in] = 1;
  for (int32_t j = 0; j < problem.m; ++j) activity[j] += problem.column[in][j];
}

}  // namespace

int64_t ImproveByExchanges(const OrientedProblem& problem, int8_t* y, int64_t value) {
  const int32_t n = problem.n;
  int64_t activity[MaxConstraints];
  for (int32_t j = 0; j < problem.m; ++j) {
    activity[j] = 0;
    for (int32_t i = 0; i < n; ++i) {
      if (y[i] == 1) activity[j] += problem.column[i][j];
    }
  }
  // Every move lowers the objective, which is an integer ≥ 0, so this ends.
  for (;;) {
    int32_t bestOut = -1, bestIn = -1;
    int64_t bestGain = 0;
    for (int32_t out = 0; out < n; ++out) {
      if (y[out] != 1 || problem.cost[out] <= bestGain) continue;
      if (Fits(problem, activity, out, -1)) {
        bestOut = out;
        bestIn = -1;
        bestGain = problem.cost[out];
        continue;
      }
      for (int32_t in = 0; in < n; ++in) {
        if (y[in] != 0) continue;
        const int64_t gain = problem.cost[out] - problem.cost[in];
        if (gain > bestGain && Fits(problem, activity, out, in)) {
          bestOut = out;
          bestIn = in;
          bestGain = gain;
        }
      }
    }
    if (bestOut < 0) return value;
    Move(problem, activity, y, bestOut, bestIn);
    value -= bestGain;
  }
}

}  // namespace zoint
