// What multipliers y ≥ 0 on the rows prove about a node, whatever their
// origin. For every completion x of the node that meets the rows,
//   c·x ≥ c·x + Σ_j y_j (a_j·x − b_j) = Σ_i g_i x_i − y·b,   g_i = c_i + Σ_j y_j a_ji,
// and the right side is least at x_i = 0 where g_i > 0 and x_i = 1 where
// g_i < 0. That minimum is a lower bound on the node's objective. Without the
// costs, the same minimum above 0 proves that no completion meets the rows.
// The sums are formed in double; the bound is lowered by a margin that covers
// every rounding, so a pruning decision never rests on a rounding error.
#ifndef ZOINT_CERTIFIED_BOUND_H
#define ZOINT_CERTIFIED_BOUND_H

#include <cstdint>

#include "exact_search/fixing.h"
#include "exact_search/oriented_problem.h"

namespace zoint {

struct CertifiedBound {
  bool valid;              // false when a sum overflowed or a multiplier was not finite
  double lower;            // the minimum above, less the margin
  double margin;           // bound on the rounding error of lower and of each g_i
  double g[MaxVariables];  // g_i as computed, for the free variables only (costs included only when asked)
};

// y holds one multiplier per problem row; negative entries count as 0.
void BoundFromMultipliers(const OrientedProblem& problem, const Fixing& fixing, const double* y,
                          bool withCosts, CertifiedBound& bound);

// The cutoff as a double no smaller than it: exact within ±2^53, +∞ above
// (no bound in this search is that large, so nothing is lost).
double CutoffAsDouble(int64_t cutoff);

}  // namespace zoint

#endif  // ZOINT_CERTIFIED_BOUND_H
