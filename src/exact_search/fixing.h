// A partial assignment of the exact search, with the exact sums its
// integer tests need, and the propagation that fixes what those tests imply.
// Inside the exact domain none of these sums can wrap: each is a sum of some
// of the c_i, or of some of one row's a_ji.
#ifndef ZOINT_FIXING_H
#define ZOINT_FIXING_H

#include <cstdint>

#include "exact_search/oriented_problem.h"

namespace zoint {

constexpr int8_t kFree = -1;

struct Fixing {
  int8_t value[MaxVariables];  // kFree, 0 or 1
  int64_t objective;                // Σ c_i x_i over the fixed variables
  int64_t fixedActivity[MaxConstraints];  // Σ a_ji x_i over the fixed variables
  int64_t minActivity[MaxConstraints];    // the same plus every negative free a_ji
};

// Every variable free.
void StartFixing(Fixing& fixing, const OrientedProblem& problem);

// Requires x_i free; value is 0 or 1.
void FixVariable(Fixing& fixing, const OrientedProblem& problem, int32_t i, int8_t value);

// Fixes every free variable whose other value would leave no completion with
// objective ≤ cutoff that meets every row. Returns false when no such
// completion exists at all.
bool Propagate(Fixing& fixing, const OrientedProblem& problem, int64_t cutoff);

// True when setting every free variable to 0 meets every row. That completion
// is then the cheapest (costs are ≥ 0), and the lexicographically smallest in
// x among the cheapest: a complemented variable costs strictly more at 1, so
// a completion as cheap differs from it only where the cost is 0, and there
// y = x.
bool ZeroCompletionFeasible(const Fixing& fixing, const OrientedProblem& problem);

}  // namespace zoint

#endif  // ZOINT_FIXING_H
