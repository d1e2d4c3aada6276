// What branching has taught the search so far: for each variable and each
// direction, the average rise of the node's bound per unit of change in the
// relaxation's x. It only steers the choice of branching variable, never a
// prune, so it may be shared by every search of one call.
#ifndef ZOINT_PSEUDOCOSTS_H
#define ZOINT_PSEUDOCOSTS_H

#include <cstdint>

#include "problem/problem.h"

namespace zoint {

struct Pseudocosts {
  // Counts are 64 bits: a search without limits observes once or twice a
  // node, and no search lives through 2^64 nodes.
  double sum[MaxVariables][2];      // Σ of observed rises per unit, per value branched to
  uint64_t count[MaxVariables][2];  // observations behind each sum
  double totalSum[2];               // over all variables, for those not yet observed
  uint64_t totalCount[2];
};

void ClearPseudocosts(Pseudocosts& pseudocosts);

// The bound rose by rise when x_i, at fraction in the parent's relaxation,
// was fixed to value (the change is fraction for 0, 1 − fraction for 1).
void RecordRise(Pseudocosts& pseudocosts, int32_t i, int8_t value, double fraction, double rise);

// The expected rise of fixing x_i to value from fraction.
double ExpectedRise(const Pseudocosts& pseudocosts, int32_t i, int8_t value, double fraction);

// Observations of x_i in its less observed direction.
inline uint64_t Reliability(const Pseudocosts& pseudocosts, int32_t i) {
  const uint64_t down = pseudocosts.count[i][0];
  const uint64_t up = pseudocosts.count[i][1];
  return down < up ? down : up;
}

// How good a branching variable is whose two children rise by these: the
// product, so that both sides must move (each floored, so that one side at
// zero still tells candidates apart).
double BranchScore(double riseAtZero, double riseAtOne);

}  // namespace zoint

#endif  // ZOINT_PSEUDOCOSTS_H
