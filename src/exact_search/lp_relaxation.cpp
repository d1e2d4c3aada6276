#include "exact_search/lp_relaxation.h"

#include <cmath>
#include <cstring>

#include "exact_search/parameters.h"

namespace zoint {

namespace {

constexpr uint8_t kBasic = 0;
constexpr uint8_t kAtLower = 1;
constexpr uint8_t kAtUpper = 2;

using parameters::kPivotTolerance;
using parameters::kPrimalTolerance;

struct Level {
  double* inverse;  // rows × rows
  double* d;        // cols
  int32_t* head;    // rows
  uint8_t* state;   // cols
  int32_t* age;
};

Level LevelOf(LpWorkspace& lp, int32_t level) {
  const size_t l = static_cast<size_t>(level);
  const size_t rows = static_cast<size_t>(lp.rows);
  const size_t cols = static_cast<size_t>(lp.cols);
  return Level{lp.inverses.get() + l * rows * rows, lp.reduced.get() + l * cols, lp.heads.get() + l * rows,
               lp.states.get() + l * cols, lp.ages.get() + l};
}

const double* ColumnOf(const LpWorkspace& lp, int32_t i) {
  return lp.columns.get() + static_cast<size_t>(i) * lp.rows;
}

// The all-slack basis: B = I, every structural column at its lower bound.
// With costs ≥ 0 it is dual feasible whatever the bounds are.
void SlackBasis(const LpWorkspace& lp, Level level) {
  const int32_t rows = lp.rows;
  for (int32_t r = 0; r < rows; ++r) {
    for (int32_t s = 0; s < rows; ++s) level.inverse[r * rows + s] = r == s ? 1.0 : 0.0;
    level.head[r] = lp.n + r;
  }
  for (int32_t k = 0; k < lp.cols; ++k) {
    level.state[k] = k < lp.n ? kAtLower : kBasic;
    level.d[k] = k < lp.n ? lp.cost[k] : 0.0;
  }
  *level.age = 0;
}

// d = c − (c_B B⁻¹)[A | I], for the level's basis.
void ComputeReducedCosts(const LpWorkspace& lp, Level level) {
  const int32_t rows = lp.rows;
  double pi[MaxConstraints];
  for (int32_t s = 0; s < rows; ++s) pi[s] = 0;
  for (int32_t r = 0; r < rows; ++r) {
    const int32_t k = level.head[r];
    const double cb = k < lp.n ? lp.cost[k] : 0.0;
    if (cb == 0) continue;
    const double* inverseRow = level.inverse + r * rows;
    for (int32_t s = 0; s < rows; ++s) pi[s] += cb * inverseRow[s];
  }
  for (int32_t i = 0; i < lp.n; ++i) {
    const double* column = ColumnOf(lp, i);
    double d = lp.cost[i];
    for (int32_t s = 0; s < rows; ++s) {
      if (pi[s] != 0) d -= pi[s] * column[s];
    }
    level.d[i] = d;
  }
  for (int32_t s = 0; s < rows; ++s) level.d[lp.n + s] = -pi[s];
  for (int32_t r = 0; r < rows; ++r) level.d[level.head[r]] = 0.0;
}

// Forms B⁻¹ afresh from the basis columns (Gauss-Jordan, partial pivoting).
// Returns false when the basis is numerically singular.
bool Reinvert(const LpWorkspace& lp, Level level) {
  const int32_t rows = lp.rows;
  double b[MaxConstraints * MaxConstraints];
  double* inverse = level.inverse;
  for (int32_t r = 0; r < rows; ++r) {
    for (int32_t c = 0; c < rows; ++c) {
      const int32_t k = level.head[c];
      b[r * rows + c] = k < lp.n ? ColumnOf(lp, k)[r] : (k - lp.n == r ? 1.0 : 0.0);
      inverse[r * rows + c] = r == c ? 1.0 : 0.0;
    }
  }
  // Column c of B belongs to row c of the basis: B x_B = …, so B⁻¹ maps
  // the rows to the basic positions in head's order.
  for (int32_t c = 0; c < rows; ++c) {
    int32_t p = c;
    for (int32_t r = c + 1; r < rows; ++r) {
      if (std::fabs(b[r * rows + c]) > std::fabs(b[p * rows + c])) p = r;
    }
    if (std::fabs(b[p * rows + c]) < parameters::kSingularPivot) return false;
    if (p != c) {
      for (int32_t k = 0; k < rows; ++k) {
        std::swap(b[p * rows + k], b[c * rows + k]);
        std::swap(inverse[p * rows + k], inverse[c * rows + k]);
      }
    }
    const double pivot = 1.0 / b[c * rows + c];
    for (int32_t k = 0; k < rows; ++k) {
      b[c * rows + k] *= pivot;
      inverse[c * rows + k] *= pivot;
    }
    for (int32_t r = 0; r < rows; ++r) {
      if (r == c) continue;
      const double f = b[r * rows + c];
      if (f == 0) continue;
      for (int32_t k = 0; k < rows; ++k) {
        b[r * rows + k] -= f * b[c * rows + k];
        inverse[r * rows + k] -= f * inverse[c * rows + k];
      }
    }
  }
  *level.age = 0;
  return true;
}

}  // namespace

bool PrepareLp(LpWorkspace& lp, const OrientedProblem& problem, int32_t levels) {
  double costSum = 0;
  double largestCost = 1;
  for (int32_t i = 0; i < problem.n; ++i) {
    costSum += static_cast<double>(problem.cost[i]);
    largestCost = std::fmax(largestCost, static_cast<double>(problem.cost[i]));
  }
  if (costSum > parameters::kTrustedMagnitude) return false;

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
    if (magnitude > parameters::kTrustedMagnitude || std::fabs(b) > parameters::kTrustedMagnitude || largest == 0)
      continue;
    if (most <= b) continue;  // met by every assignment
    lp.rowOf[lp.rows] = j;
    lp.scale[lp.rows] = largest;
    lp.rhs[lp.rows] = b / largest;
    ++lp.rows;
  }
  lp.cols = lp.n + lp.rows;
  lp.columns.reset(new double[static_cast<size_t>(lp.rows) * static_cast<size_t>(lp.n)]);
  for (int32_t r = 0; r < lp.rows; ++r) {
    for (int32_t i = 0; i < lp.n; ++i) {
      const double a = static_cast<double>(problem.column[i][lp.rowOf[r]]) / lp.scale[r];
      lp.columns[static_cast<size_t>(i) * lp.rows + r] = a;
    }
  }
  for (int32_t i = 0; i < lp.n; ++i) lp.cost[i] = static_cast<double>(problem.cost[i]);
  lp.dualTolerance = parameters::kDualToleranceShare * largestCost;

  const size_t count = static_cast<size_t>(levels);
  const size_t rows = static_cast<size_t>(lp.rows);
  const size_t cols = static_cast<size_t>(lp.cols);
  lp.inverses.reset(new double[count * rows * rows]);
  lp.reduced.reset(new double[count * cols]);
  lp.heads.reset(new int32_t[count * rows]);
  lp.states.reset(new uint8_t[count * cols]);
  lp.ages.reset(new int32_t[count]);
  SlackBasis(lp, LevelOf(lp, 0));
  return true;
}

void CopyLpLevel(LpWorkspace& lp, int32_t from, int32_t to) {
  const Level a = LevelOf(lp, from);
  const Level b = LevelOf(lp, to);
  const size_t rows = static_cast<size_t>(lp.rows);
  const size_t cols = static_cast<size_t>(lp.cols);
  std::memcpy(b.inverse, a.inverse, sizeof(double) * rows * rows);
  std::memcpy(b.d, a.d, sizeof(double) * cols);
  std::memcpy(b.head, a.head, sizeof(int32_t) * rows);
  std::memcpy(b.state, a.state, sizeof(uint8_t) * cols);
  *b.age = *a.age;
}

void RefreshLpLevel(LpWorkspace& lp, int32_t level) {
  const Level at = LevelOf(lp, level);
  if (Reinvert(lp, at)) {
    ComputeReducedCosts(lp, at);
  } else {
    SlackBasis(lp, at);
  }
}

void SaveLpBasis(LpWorkspace& lp, int32_t level, CompactBasis& basis) {
  const Level at = LevelOf(lp, level);
  // Columns number at most MaxVariables + MaxConstraints (asserted with CompactBasis).
  for (int32_t r = 0; r < lp.rows; ++r) basis.head[r] = static_cast<uint8_t>(at.head[r]);
}

void LoadLpBasis(LpWorkspace& lp, int32_t level, const CompactBasis& basis) {
  const Level at = LevelOf(lp, level);
  for (int32_t k = 0; k < lp.cols; ++k) at.state[k] = kAtLower;
  for (int32_t r = 0; r < lp.rows; ++r) {
    at.head[r] = basis.head[r];
    at.state[basis.head[r]] = kBasic;
  }
  RefreshLpLevel(lp, level);
}

namespace {

struct Bounds {
  double lower[MaxVariables + MaxConstraints];
  double upper[MaxVariables + MaxConstraints];
  // The columns that may move: free structurals, then every slack. Only
  // these are candidates to enter, and only their reduced costs are kept.
  int32_t active[MaxVariables + MaxConstraints];
  int32_t activeCount;
};

// Column bounds at this node: a fixed variable's box is its value.
void NodeBounds(const LpWorkspace& lp, const Fixing& fixing, Bounds& bounds) {
  for (int32_t i = 0; i < lp.n; ++i) {
    bounds.lower[i] = fixing.value[i] == 1 ? 1.0 : 0.0;
    bounds.upper[i] = fixing.value[i] == 0 ? 0.0 : 1.0;
  }
  for (int32_t k = lp.n; k < lp.cols; ++k) {
    bounds.lower[k] = 0.0;
    bounds.upper[k] = HUGE_VAL;
  }
  bounds.activeCount = 0;
  for (int32_t k = 0; k < lp.cols; ++k) {
    if (k >= lp.n || fixing.value[k] == kFree) bounds.active[bounds.activeCount++] = k;
  }
}

// Puts every nonbasic column at the bound its reduced cost asks for. Returns
// false when a slack would have to sit at its missing upper bound.
bool DualFeasiblePlacement(const LpWorkspace& lp, Level level, const Bounds& bounds) {
  for (int32_t k = 0; k < lp.cols; ++k) {
    if (level.state[k] == kBasic) continue;
    const double d = level.d[k];
    if (bounds.lower[k] == bounds.upper[k]) {
      level.state[k] = kAtLower;
    } else if (d < -lp.dualTolerance) {
      if (bounds.upper[k] == HUGE_VAL) return false;
      level.state[k] = kAtUpper;
    } else if (d > lp.dualTolerance) {
      level.state[k] = kAtLower;
    } else if (bounds.upper[k] == HUGE_VAL) {
      level.state[k] = kAtLower;
    }
  }
  return true;
}

double NonbasicValue(Level level, int32_t k, const Bounds& bounds) {
  return level.state[k] == kAtUpper ? bounds.upper[k] : bounds.lower[k];
}

// x_B = B⁻¹(b − N x_N). The fixed columns at 1 enter through the node's
// exact row activities (less those that are basic); of the free columns
// only those at their upper bound take part, and nonbasic slacks sit at 0.
void BasicValues(const LpWorkspace& lp, const OrientedProblem& problem, const Fixing& fixing, Level level,
                 const Bounds& bounds, double* xB) {
  const int32_t rows = lp.rows;
  double residual[MaxConstraints];
  for (int32_t s = 0; s < rows; ++s) {
    const int32_t j = lp.rowOf[s];
    residual[s] = static_cast<double>(problem.rhs[j] - fixing.fixedActivity[j]) / lp.scale[s];
  }
  for (int32_t r = 0; r < rows; ++r) {
    const int32_t k = level.head[r];
    if (k >= lp.n || fixing.value[k] != 1) continue;
    const double* column = ColumnOf(lp, k);
    for (int32_t s = 0; s < rows; ++s) residual[s] += column[s];
  }
  for (int32_t t = 0; t < bounds.activeCount; ++t) {
    const int32_t k = bounds.active[t];
    if (k >= lp.n || level.state[k] != kAtUpper) continue;
    const double* column = ColumnOf(lp, k);
    for (int32_t s = 0; s < rows; ++s) residual[s] -= column[s];
  }
  for (int32_t r = 0; r < rows; ++r) {
    const double* inverseRow = level.inverse + r * rows;
    double sum = 0;
    for (int32_t s = 0; s < rows; ++s) sum += inverseRow[s] * residual[s];
    xB[r] = sum;
  }
}

// Row r of B⁻¹[A | I] over the active columns.
void PivotRow(const LpWorkspace& lp, const Bounds& bounds, const double* rho, double* alpha) {
  const int32_t rows = lp.rows;
  for (int32_t t = 0; t < bounds.activeCount; ++t) {
    const int32_t k = bounds.active[t];
    if (k >= lp.n) {
      alpha[k] = rho[k - lp.n];
      continue;
    }
    const double* column = ColumnOf(lp, k);
    double sum = 0;
    for (int32_t s = 0; s < rows; ++s) sum += rho[s] * column[s];
    alpha[k] = sum;
  }
}

// B⁻¹ times column q of [A | I].
void PivotColumn(const LpWorkspace& lp, Level level, int32_t q, double* w) {
  const int32_t rows = lp.rows;
  if (q >= lp.n) {
    const int32_t s = q - lp.n;
    for (int32_t r = 0; r < rows; ++r) w[r] = level.inverse[r * rows + s];
    return;
  }
  const double* column = ColumnOf(lp, q);
  for (int32_t r = 0; r < rows; ++r) {
    const double* inverseRow = level.inverse + r * rows;
    double sum = 0;
    for (int32_t s = 0; s < rows; ++s) sum += inverseRow[s] * column[s];
    w[r] = sum;
  }
}

// Replaces the basic column of row r by column q: B⁻¹, the reduced costs
// and the basic values.
void Pivot(const LpWorkspace& lp, Level level, const Bounds& bounds, const double* alpha, const double* w,
           int32_t r, int32_t q, double* xB, double enteringValue, double step) {
  const int32_t rows = lp.rows;
  double* pivotRow = level.inverse + r * rows;
  const double inverse = 1.0 / w[r];
  for (int32_t s = 0; s < rows; ++s) pivotRow[s] *= inverse;
  for (int32_t i = 0; i < rows; ++i) {
    if (i == r || w[i] == 0) continue;
    double* row = level.inverse + i * rows;
    const double f = w[i];
    for (int32_t s = 0; s < rows; ++s) row[s] -= f * pivotRow[s];
  }
  const double ratio = level.d[q] / alpha[q];
  for (int32_t t = 0; t < bounds.activeCount; ++t) {
    const int32_t k = bounds.active[t];
    if (level.state[k] != kBasic) level.d[k] -= ratio * alpha[k];
  }
  level.d[level.head[r]] = -ratio;
  level.d[q] = 0.0;
  for (int32_t i = 0; i < rows; ++i) xB[i] -= step * w[i];
  xB[r] = enteringValue + step;
  level.head[r] = q;
  ++*level.age;
}

// Dual simplex iterations from a dual feasible basis.
LpResult::Status Iterate(const LpWorkspace& lp, Level level, const Bounds& bounds, double* xB,
                         int32_t* stuckRow, int32_t* iterations) {
  const int32_t limit = parameters::kIterationsPerColumn * lp.cols + parameters::kIterationsBase;
  double alpha[MaxVariables + MaxConstraints];
  double w[MaxConstraints];
  for (int32_t iteration = 0; iteration < limit; ++iteration) {
    // Leaving row: the basic variable furthest outside its bounds, measured
    // against the norm of its row of B⁻¹ (dual steepest edge, with the norms
    // computed exactly: the inverse is at hand).
    int32_t r = -1;
    double worst = 0;
    bool below = false;
    for (int32_t i = 0; i < lp.rows; ++i) {
      const int32_t k = level.head[i];
      if (!std::isfinite(xB[i])) return LpResult::Failed;
      double infeasibility = 0;
      bool isBelow = false;
      if (bounds.lower[k] - xB[i] > kPrimalTolerance) {
        infeasibility = bounds.lower[k] - xB[i];
        isBelow = true;
      } else if (xB[i] - bounds.upper[k] > kPrimalTolerance) {
        infeasibility = xB[i] - bounds.upper[k];
      } else {
        continue;
      }
      const double* inverseRow = level.inverse + i * lp.rows;
      double norm = 0;
      for (int32_t s = 0; s < lp.rows; ++s) norm += inverseRow[s] * inverseRow[s];
      const double score = infeasibility * infeasibility / norm;
      if (score > worst) {
        worst = score;
        r = i;
        below = isBelow;
      }
    }
    if (r < 0) return LpResult::Optimal;

    PivotRow(lp, bounds, level.inverse + r * lp.rows, alpha);
    // Entering column: keeps the reduced costs feasible (ratio test, with
    // Harris' tolerance, the largest pivot among the near-ties). A candidate
    // is a nonbasic column whose move pushes the leaving variable towards
    // its bound.
    int32_t candidates[MaxVariables + MaxConstraints];
    int32_t count = 0;
    double bound = HUGE_VAL;
    for (int32_t t = 0; t < bounds.activeCount; ++t) {
      const int32_t k = bounds.active[t];
      if (level.state[k] == kBasic) continue;
      const double a = alpha[k];
      if (std::fabs(a) <= kPivotTolerance) continue;
      const bool increases = level.state[k] == kAtLower ? a < 0 : a > 0;
      if (increases != below) continue;
      candidates[count++] = k;
      const double ratio = (std::fabs(level.d[k]) + lp.dualTolerance) / std::fabs(a);
      if (ratio < bound) bound = ratio;
    }
    if (count == 0) {
      *stuckRow = r;
      return LpResult::Infeasible;
    }
    int32_t q = -1;
    double largest = 0;
    for (int32_t t = 0; t < count; ++t) {
      const int32_t k = candidates[t];
      const double a = std::fabs(alpha[k]);
      if (std::fabs(level.d[k]) / a <= bound && a > largest) {
        largest = a;
        q = k;
      }
    }
    if (q < 0) return LpResult::Failed;

    PivotColumn(lp, level, q, w);
    if (std::fabs(w[r]) <= kPivotTolerance) return LpResult::Failed;
    const int32_t leaving = level.head[r];
    const double target = below ? bounds.lower[leaving] : bounds.upper[leaving];
    const double step = (xB[r] - target) / w[r];
    const double enteringValue = NonbasicValue(level, q, bounds);
    Pivot(lp, level, bounds, alpha, w, r, q, xB, enteringValue, step);
    level.state[q] = kBasic;
    level.state[leaving] = below ? kAtLower : kAtUpper;
    ++*iterations;
  }
  return LpResult::Failed;
}

}  // namespace

void SolveLp(LpWorkspace& lp, int32_t level, const OrientedProblem& problem, const Fixing& fixing,
             LpResult& result) {
  const Level at = LevelOf(lp, level);
  Bounds bounds;
  NodeBounds(lp, fixing, bounds);
  if (*at.age >= parameters::kRefreshAge) RefreshLpLevel(lp, level);
  if (!DualFeasiblePlacement(lp, at, bounds)) {
    SlackBasis(lp, at);
    DualFeasiblePlacement(lp, at, bounds);
  }

  double xB[MaxConstraints];
  BasicValues(lp, problem, fixing, at, bounds, xB);
  int32_t stuckRow = -1;
  result.iterations = 0;
  result.status = Iterate(lp, at, bounds, xB, &stuckRow, &result.iterations);
  if (result.status == LpResult::Failed) {
    // One more try from the slack basis, which needs no history.
    SlackBasis(lp, at);
    DualFeasiblePlacement(lp, at, bounds);
    BasicValues(lp, problem, fixing, at, bounds, xB);
    result.status = Iterate(lp, at, bounds, xB, &stuckRow, &result.iterations);
  }
  for (int32_t j = 0; j < problem.m; ++j) {
    result.multiplier[j] = 0.0;
    result.ray[j] = 0.0;
  }
  if (result.status == LpResult::Optimal) {
    for (int32_t i = 0; i < lp.n; ++i)
      result.x[i] = at.state[i] == kAtUpper ? bounds.upper[i] : bounds.lower[i];
    for (int32_t r = 0; r < lp.rows; ++r) {
      const int32_t k = at.head[r];
      if (k < lp.n) result.x[k] = std::fmin(bounds.upper[k], std::fmax(bounds.lower[k], xB[r]));
    }
    // The reduced cost of slack s is −π_s: the multiplier of its row.
    for (int32_t s = 0; s < lp.rows; ++s) {
      result.multiplier[lp.rowOf[s]] = std::fmax(0.0, at.d[lp.n + s]) / lp.scale[s];
    }
  } else if (result.status == LpResult::Infeasible) {
    const double* rho = at.inverse + stuckRow * lp.rows;
    for (int32_t s = 0; s < lp.rows; ++s) result.ray[lp.rowOf[s]] = rho[s] / lp.scale[s];
  }
}

}  // namespace zoint
