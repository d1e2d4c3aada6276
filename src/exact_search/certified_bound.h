// What multipliers y ≥ 0 on the rows prove about a node, whatever their
// origin. For every completion x of the node that meets the rows,
//   c·x ≥ c·x + Σ_j y_j (a_j·x − b_j) = Σ_i G_i x_i − y·b,   G_i = c_i + Σ_j y_j a_ji,
// and the right side is least at x_i = 0 where G_i > 0 and x_i = 1 where
// G_i < 0. That minimum is a lower bound on the node's objective. Without the
// costs, the same minimum above 0 proves that no completion meets the rows.
//
// The sums are formed in double. The bound is lowered by a margin that
// covers every rounding of the total and of each G_i (the argument is in
// certified_bound.cpp), so a decision never rests on a rounding error. The
// result is a ProvenBound: the only kind of value that may close a node or
// fix a variable. The relaxation's own objective, the pseudocosts and the
// other guiding figures are plain doubles and can do neither.
#ifndef ZOINT_CERTIFIED_BOUND_H
#define ZOINT_CERTIFIED_BOUND_H

#include <cmath>
#include <cstdint>

#include "exact_search/fixing.h"
#include "exact_search/oriented_problem.h"

namespace zoint {

// The cutoff as a double no smaller than it: exact within ±2^53, +∞ above
// (no bound in this search is that large, so nothing is lost), −2^53 below.
double CutoffAsDouble(int64_t cutoff);

struct CertifiedBound;

// A lower bound on the objective (in y) of every completion of some node
// that meets the rows. Made only by BoundFromMultipliers, or as the bound
// that proves nothing.
class ProvenBound {
 public:
  // −∞: true of every node, closes none. Also what a bound starts as.
  ProvenBound() : value_(-HUGE_VAL) {}
  static ProvenBound Nothing() { return ProvenBound(); }

  // For guidance and reports; a decision goes through the tests below.
  double value() const { return value_; }

  // No completion of the node has an objective ≤ cutoff.
  bool Exceeds(int64_t cutoff) const { return value_ > CutoffAsDouble(cutoff); }

  // Of two regions with these bounds, the lesser bounds their union.
  static ProvenBound Least(ProvenBound a, ProvenBound b) { return a.value_ <= b.value_ ? a : b; }

 private:
  explicit ProvenBound(double value) : value_(value) {}
  double value_;
  friend void BoundFromMultipliers(const OrientedProblem&, const Fixing&, const double*, bool, CertifiedBound&);
};

struct CertifiedBound {
  bool valid;              // false when a sum overflowed or a multiplier was not finite
  ProvenBound lower;       // the minimum above, less the margin; Nothing() when not valid
  double margin;           // bounds the rounding error of the total and of each G_i
  double g[MaxVariables];  // G_i as computed, for the free variables only (costs included only when asked)
};

// y holds one multiplier per problem row; negative and NaN entries count as 0.
void BoundFromMultipliers(const OrientedProblem& problem, const Fixing& fixing, const double* y,
                          bool withCosts, CertifiedBound& bound);

// Proven: no completion of the node with free x_i = value has an objective
// ≤ cutoff, so x_i takes the other value. Requires a valid bound computed
// with the costs.
bool ValueExceedsCutoff(const CertifiedBound& bound, int32_t i, int8_t value, int64_t cutoff);

}  // namespace zoint

#endif  // ZOINT_CERTIFIED_BOUND_H
