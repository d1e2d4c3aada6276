#include "exact_search/lp_relaxation.h"

#include <cmath>
#include <cstring>

namespace zoint {

namespace {

// Beyond this magnitude the relaxation is not attempted: below it every
// integer involved, and every sum of them, is exact in double.
constexpr double kTrusted = 1125899906842624.0;  // 2^50

constexpr uint8_t kBasic = 0;
constexpr uint8_t kAtLower = 1;
constexpr uint8_t kAtUpper = 2;

constexpr double kPrimalTolerance = 1e-9;
constexpr double kPivotTolerance = 1e-9;

struct Level {
  double* tableau;
  int32_t* head;
  uint8_t* state;
};

Level LevelOf(LpWorkspace& lp, int32_t level) {
  const size_t cells = static_cast<size_t>(lp.rows) * static_cast<size_t>(lp.cols);
  return Level{lp.tableaus.get() + cells * static_cast<size_t>(level),
               lp.heads.get() + static_cast<size_t>(lp.rows) * static_cast<size_t>(level),
               lp.states.get() + static_cast<size_t>(lp.cols) * static_cast<size_t>(level)};
}

// The all-slack basis: B = I, every structural column at its lower bound.
// With costs ≥ 0 it is dual feasible whatever the bounds are.
void SlackBasis(LpWorkspace& lp, const OrientedProblem& problem, Level level) {
  for (int32_t r = 0; r < lp.rows; ++r) {
    double* row = level.tableau + static_cast<size_t>(r) * lp.cols;
    const int32_t j = lp.rowOf[r];
    for (int32_t i = 0; i < lp.n; ++i) row[i] = static_cast<double>(problem.column[i][j]) / lp.scale[r];
    for (int32_t s = 0; s < lp.rows; ++s) row[lp.n + s] = s == r ? 1.0 : 0.0;
    level.head[r] = lp.n + r;
  }
  for (int32_t k = 0; k < lp.cols; ++k) level.state[k] = k < lp.n ? kAtLower : kBasic;
}

}  // namespace

bool PrepareLp(LpWorkspace& lp, const OrientedProblem& problem, int32_t levels) {
  double costSum = 0;
  double largestCost = 1;
  for (int32_t i = 0; i < problem.n; ++i) {
    costSum += static_cast<double>(problem.cost[i]);
    largestCost = std::fmax(largestCost, static_cast<double>(problem.cost[i]));
  }
  if (costSum > kTrusted) return false;

  lp.n = problem.n;
  lp.rows = 0;
  for (int32_t j = 0; j < problem.m; ++j) {
    double magnitude = 0, largest = 0, most = 0;
    for (int32_t i = 0; i < problem.n; ++i) {
      const double a = static_cast<double>(problem.column[i][j]);
      magnitude += std::fabs(a);
      largest = std::fmax(largest, std::fabs(a));
      if (a > 0) most += a;
    }
    const double b = static_cast<double>(problem.rhs[j]);
    if (magnitude > kTrusted || std::fabs(b) > kTrusted || largest == 0) continue;
    if (most <= b) continue;  // met by every assignment
    lp.rowOf[lp.rows] = j;
    lp.scale[lp.rows] = largest;
    lp.rhs[lp.rows] = b / largest;
    ++lp.rows;
  }
  lp.cols = lp.n + lp.rows;
  for (int32_t k = 0; k < lp.cols; ++k) lp.cost[k] = k < lp.n ? static_cast<double>(problem.cost[k]) : 0.0;
  lp.dualTolerance = 1e-9 * largestCost;

  const size_t count = static_cast<size_t>(levels);
  lp.tableaus.reset(new double[count * static_cast<size_t>(lp.rows) * static_cast<size_t>(lp.cols)]);
  lp.heads.reset(new int32_t[count * static_cast<size_t>(lp.rows)]);
  lp.states.reset(new uint8_t[count * static_cast<size_t>(lp.cols)]);
  SlackBasis(lp, problem, LevelOf(lp, 0));
  return true;
}

void CopyLpLevel(LpWorkspace& lp, int32_t from, int32_t to) {
  const Level a = LevelOf(lp, from);
  const Level b = LevelOf(lp, to);
  std::memcpy(b.tableau, a.tableau, sizeof(double) * static_cast<size_t>(lp.rows) * lp.cols);
  std::memcpy(b.head, a.head, sizeof(int32_t) * static_cast<size_t>(lp.rows));
  std::memcpy(b.state, a.state, sizeof(uint8_t) * static_cast<size_t>(lp.cols));
}

namespace {

// Column bounds at this node: a fixed variable's box is its value.
void NodeBounds(const LpWorkspace& lp, const Fixing& fixing, double* lower, double* upper) {
  for (int32_t i = 0; i < lp.n; ++i) {
    lower[i] = fixing.value[i] == 1 ? 1.0 : 0.0;
    upper[i] = fixing.value[i] == 0 ? 0.0 : 1.0;
  }
  for (int32_t k = lp.n; k < lp.cols; ++k) {
    lower[k] = 0.0;
    upper[k] = HUGE_VAL;
  }
}

// d_k = c_k − c_B·(B⁻¹A)_k.
void ReducedCosts(const LpWorkspace& lp, Level level, double* d) {
  for (int32_t k = 0; k < lp.cols; ++k) d[k] = lp.cost[k];
  for (int32_t r = 0; r < lp.rows; ++r) {
    const double cb = lp.cost[level.head[r]];
    if (cb == 0) continue;
    const double* row = level.tableau + static_cast<size_t>(r) * lp.cols;
    for (int32_t k = 0; k < lp.cols; ++k) d[k] -= cb * row[k];
  }
}

// Puts every nonbasic column at the bound its reduced cost asks for. Returns
// false when a slack would have to sit at its missing upper bound.
bool DualFeasiblePlacement(const LpWorkspace& lp, Level level, const double* d, const double* lower,
                           const double* upper) {
  for (int32_t k = 0; k < lp.cols; ++k) {
    if (level.state[k] == kBasic) continue;
    if (lower[k] == upper[k]) {
      level.state[k] = kAtLower;
    } else if (d[k] < -lp.dualTolerance) {
      if (upper[k] == HUGE_VAL) return false;
      level.state[k] = kAtUpper;
    } else if (d[k] > lp.dualTolerance) {
      level.state[k] = kAtLower;
    }
  }
  return true;
}

double NonbasicValue(Level level, int32_t k, const double* lower, const double* upper) {
  return level.state[k] == kAtUpper ? upper[k] : lower[k];
}

// x_B = B⁻¹b − Σ over nonbasic k of (B⁻¹A)_k x_k.
void BasicValues(const LpWorkspace& lp, Level level, const double* lower, const double* upper, double* xB) {
  double value[MaxVariables + MaxConstraints];
  for (int32_t k = 0; k < lp.cols; ++k) {
    value[k] = level.state[k] == kBasic ? 0.0 : NonbasicValue(level, k, lower, upper);
  }
  for (int32_t r = 0; r < lp.rows; ++r) {
    const double* row = level.tableau + static_cast<size_t>(r) * lp.cols;
    double sum = 0;
    for (int32_t s = 0; s < lp.rows; ++s) sum += row[lp.n + s] * lp.rhs[s];
    for (int32_t k = 0; k < lp.cols; ++k) {
      if (value[k] != 0) sum -= row[k] * value[k];
    }
    xB[r] = sum;
  }
}

void Pivot(const LpWorkspace& lp, Level level, double* d, int32_t r, int32_t q) {
  const int32_t cols = lp.cols;
  double* pivotRow = level.tableau + static_cast<size_t>(r) * cols;
  const double inverse = 1.0 / pivotRow[q];
  for (int32_t k = 0; k < cols; ++k) pivotRow[k] *= inverse;
  pivotRow[q] = 1.0;
  for (int32_t i = 0; i < lp.rows; ++i) {
    if (i == r) continue;
    double* row = level.tableau + static_cast<size_t>(i) * cols;
    const double f = row[q];
    if (f == 0) continue;
    for (int32_t k = 0; k < cols; ++k) row[k] -= f * pivotRow[k];
    row[q] = 0.0;
  }
  const double dq = d[q];
  for (int32_t k = 0; k < cols; ++k) d[k] -= dq * pivotRow[k];
  d[q] = 0.0;
  level.head[r] = q;
}

// Dual simplex iterations from a dual feasible basis.
LpResult::Status Iterate(const LpWorkspace& lp, Level level, double* d, const double* lower,
                         const double* upper, double* xB, int32_t* stuckRow) {
  const int32_t limit = 20 * lp.cols + 100;
  for (int32_t iteration = 0; iteration < limit; ++iteration) {
    BasicValues(lp, level, lower, upper, xB);

    // Leaving row: the basic variable furthest outside its bounds.
    int32_t r = -1;
    double worst = kPrimalTolerance;
    bool below = false;
    for (int32_t i = 0; i < lp.rows; ++i) {
      const int32_t k = level.head[i];
      if (!std::isfinite(xB[i])) return LpResult::Failed;
      if (lower[k] - xB[i] > worst) {
        worst = lower[k] - xB[i];
        r = i;
        below = true;
      } else if (xB[i] - upper[k] > worst) {
        worst = xB[i] - upper[k];
        r = i;
        below = false;
      }
    }
    if (r < 0) return LpResult::Optimal;

    // Entering column: keeps the reduced costs feasible (ratio test, with
    // Harris' tolerance, the largest pivot among the near-ties).
    const double* row = level.tableau + static_cast<size_t>(r) * lp.cols;
    // A nonbasic column whose move pushes the leaving variable towards its bound.
    auto candidate = [&](int32_t k) {
      if (level.state[k] == kBasic || lower[k] == upper[k]) return false;
      const double alpha = row[k];
      if (std::fabs(alpha) <= kPivotTolerance) return false;
      const bool increases = level.state[k] == kAtLower ? alpha < 0 : alpha > 0;
      return increases == below;
    };
    double bound = HUGE_VAL;
    for (int32_t k = 0; k < lp.cols; ++k) {
      if (candidate(k)) bound = std::fmin(bound, (std::fabs(d[k]) + lp.dualTolerance) / std::fabs(row[k]));
    }
    if (bound == HUGE_VAL) {
      *stuckRow = r;
      return LpResult::Infeasible;
    }
    int32_t q = -1;
    double largest = 0;
    for (int32_t k = 0; k < lp.cols; ++k) {
      if (!candidate(k)) continue;
      const double alpha = std::fabs(row[k]);
      if (std::fabs(d[k]) / alpha <= bound && alpha > largest) {
        largest = alpha;
        q = k;
      }
    }
    if (q < 0) return LpResult::Failed;

    const int32_t leaving = level.head[r];
    Pivot(lp, level, d, r, q);
    level.state[q] = kBasic;
    level.state[leaving] = below ? kAtLower : kAtUpper;
  }
  return LpResult::Failed;
}

}  // namespace

void SolveLp(LpWorkspace& lp, int32_t level, const OrientedProblem& problem, const Fixing& fixing,
             LpResult& result) {
  const Level at = LevelOf(lp, level);
  double lower[MaxVariables + MaxConstraints];
  double upper[MaxVariables + MaxConstraints];
  double d[MaxVariables + MaxConstraints];
  double xB[MaxConstraints];
  NodeBounds(lp, fixing, lower, upper);
  ReducedCosts(lp, at, d);
  if (!DualFeasiblePlacement(lp, at, d, lower, upper)) {
    SlackBasis(lp, problem, at);
    ReducedCosts(lp, at, d);
    DualFeasiblePlacement(lp, at, d, lower, upper);
  }

  int32_t stuckRow = -1;
  result.status = Iterate(lp, at, d, lower, upper, xB, &stuckRow);
  for (int32_t j = 0; j < problem.m; ++j) {
    result.multiplier[j] = 0.0;
    result.ray[j] = 0.0;
  }
  if (result.status == LpResult::Optimal) {
    for (int32_t i = 0; i < lp.n; ++i) {
      result.x[i] = at.state[i] == kBasic ? 0.0 : NonbasicValue(at, i, lower, upper);
    }
    for (int32_t r = 0; r < lp.rows; ++r) {
      const int32_t k = at.head[r];
      if (k < lp.n) result.x[k] = std::fmin(upper[k], std::fmax(lower[k], xB[r]));
    }
    // The reduced cost of slack s is −π_s: the multiplier of its row.
    for (int32_t s = 0; s < lp.rows; ++s) {
      result.multiplier[lp.rowOf[s]] = std::fmax(0.0, d[lp.n + s]) / lp.scale[s];
    }
  } else if (result.status == LpResult::Infeasible) {
    const double* row = at.tableau + static_cast<size_t>(stuckRow) * lp.cols;
    for (int32_t s = 0; s < lp.rows; ++s) result.ray[lp.rowOf[s]] = row[lp.n + s] / lp.scale[s];
  }
}

}  // namespace zoint
