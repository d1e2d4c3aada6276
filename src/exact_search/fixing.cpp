#include "exact_search/fixing.h"

#include <cassert>

#include "problem/checked_arithmetic.h"

namespace zoint {

void StartFixing(Fixing& fixing, const OrientedProblem& problem) {
  for (int32_t i = 0; i < problem.n; ++i) fixing.value[i] = kFree;
  fixing.objective = 0;
  for (int32_t j = 0; j < problem.m; ++j) {
    fixing.fixedActivity[j] = 0;
    int64_t least = 0;
    for (int32_t i = 0; i < problem.n; ++i) {
      if (problem.column[i][j] < 0) least += problem.column[i][j];
    }
    fixing.minActivity[j] = least;
  }
}

void FixVariable(Fixing& fixing, const OrientedProblem& problem, int32_t i, int8_t value) {
  assert(fixing.value[i] == kFree && (value == 0 || value == 1));
  fixing.value[i] = value;
  const int64_t* a = problem.column[i];
  if (value == 1) {
    fixing.objective += problem.cost[i];
    for (int32_t j = 0; j < problem.m; ++j) {
      fixing.fixedActivity[j] += a[j];
      if (a[j] > 0) fixing.minActivity[j] += a[j];
    }
  } else {
    for (int32_t j = 0; j < problem.m; ++j) {
      if (a[j] < 0) fixing.minActivity[j] -= a[j];
    }
  }
}

namespace {

// Whether some variable's other value could break row j: its slack is below
// the row's largest magnitude. The slack is ≥ 0 here; when it does not fit
// in 64 bits it is beyond every magnitude.
bool RowCanForce(const Fixing& fixing, const OrientedProblem& problem, int32_t j) {
  int64_t slack = 0;
  if (!CheckedSubtract(problem.rhs[j], fixing.minActivity[j], slack)) return false;
  return problem.largestMagnitude[j] > slack;
}

}  // namespace

bool Propagate(Fixing& fixing, const OrientedProblem& problem, int64_t cutoff) {
  const int32_t m = problem.m;
  bool changed = true;
  while (changed) {
    changed = false;
    if (fixing.objective > cutoff) return false;
    int32_t rows[MaxConstraints];  // the rows that may force a variable
    int32_t count = 0;
    for (int32_t j = 0; j < m; ++j) {
      if (fixing.minActivity[j] > problem.rhs[j]) return false;
      if (RowCanForce(fixing, problem, j)) rows[count++] = j;
    }
    // Costs are ≥ 0: x_i = 1 costs at least c_i more than the fixed part
    // (a sum of some costs, which cannot overflow).
    int64_t most = 0;
    const bool costCanForce = !CheckedAdd(fixing.objective, problem.largestCost, most) || most > cutoff;
    if (count == 0 && !costCanForce) break;
    for (int32_t i = 0; i < problem.n; ++i) {
      if (fixing.value[i] != kFree) continue;
      if (costCanForce && fixing.objective + problem.cost[i] > cutoff) {
        FixVariable(fixing, problem, i, 0);
        changed = true;
        continue;
      }
      // The other value of x_i raises row j's least activity by |a_ji|.
      const int64_t* a = problem.column[i];
      for (int32_t t = 0; t < count; ++t) {
        const int32_t j = rows[t];
        if (a[j] > 0 && fixing.minActivity[j] + a[j] > problem.rhs[j]) {
          FixVariable(fixing, problem, i, 0);
          changed = true;
          break;
        }
        if (a[j] < 0 && fixing.minActivity[j] - a[j] > problem.rhs[j]) {
          FixVariable(fixing, problem, i, 1);
          changed = true;
          break;
        }
      }
    }
  }
  return true;
}

bool ZeroCompletionFeasible(const Fixing& fixing, const OrientedProblem& problem) {
  for (int32_t j = 0; j < problem.m; ++j) {
    if (fixing.fixedActivity[j] > problem.rhs[j]) return false;
  }
  return true;
}

}  // namespace zoint
