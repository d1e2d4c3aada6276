#include "exact_search/pseudocosts.h"

#include <cmath>

namespace zoint {

namespace {

// Changes smaller than this say nothing about a rise per unit.
constexpr double kLeastChange = 1e-6;

double Change(int8_t value, double fraction) { return value == 0 ? fraction : 1.0 - fraction; }

}  // namespace

void ClearPseudocosts(Pseudocosts& pseudocosts) { pseudocosts = Pseudocosts{}; }

void RecordRise(Pseudocosts& pseudocosts, int32_t i, int8_t value, double fraction, double rise) {
  const double change = Change(value, fraction);
  if (!(change > kLeastChange) || !std::isfinite(rise)) return;
  const double perUnit = (rise > 0 ? rise : 0.0) / change;
  pseudocosts.sum[i][value] += perUnit;
  ++pseudocosts.count[i][value];
  pseudocosts.totalSum[value] += perUnit;
  ++pseudocosts.totalCount[value];
}

double ExpectedRise(const Pseudocosts& pseudocosts, int32_t i, int8_t value, double fraction) {
  const double change = Change(value, fraction);
  if (pseudocosts.count[i][value] > 0)
    return change * pseudocosts.sum[i][value] / pseudocosts.count[i][value];
  if (pseudocosts.totalCount[value] > 0)
    return change * pseudocosts.totalSum[value] / pseudocosts.totalCount[value];
  return change;
}

double BranchScore(double riseAtZero, double riseAtOne) {
  constexpr double kFloor = 1e-6;
  return std::fmax(riseAtZero, kFloor) * std::fmax(riseAtOne, kFloor);
}

}  // namespace zoint
