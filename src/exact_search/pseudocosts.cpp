#include "exact_search/pseudocosts.h"

#include <cmath>

#include "exact_search/parameters.h"

namespace zoint {

namespace {

double Change(int8_t value, double fraction) { return value == 0 ? fraction : 1.0 - fraction; }

// A count as a double, through int64_t: no count reaches 2^63, and 32-bit
// code converts a signed 64-bit integer with a plain x87 load, where an
// unsigned one needs x87 arithmetic that the 32-bit build keeps out.
double AsDouble(uint64_t count) { return static_cast<double>(static_cast<int64_t>(count)); }

}  // namespace

void ClearPseudocosts(Pseudocosts& pseudocosts) { pseudocosts = Pseudocosts{}; }

void RecordRise(Pseudocosts& pseudocosts, int32_t i, int8_t value, double fraction, double rise) {
  const double change = Change(value, fraction);
  if (!(change > parameters::kLeastChange) || !std::isfinite(rise)) return;
  const double perUnit = (rise > 0 ? rise : 0.0) / change;
  pseudocosts.sum[i][value] += perUnit;
  ++pseudocosts.count[i][value];
  pseudocosts.totalSum[value] += perUnit;
  ++pseudocosts.totalCount[value];
}

double ExpectedRise(const Pseudocosts& pseudocosts, int32_t i, int8_t value, double fraction) {
  const double change = Change(value, fraction);
  if (pseudocosts.count[i][value] > 0)
    return change * pseudocosts.sum[i][value] / AsDouble(pseudocosts.count[i][value]);
  if (pseudocosts.totalCount[value] > 0)
    return change * pseudocosts.totalSum[value] / AsDouble(pseudocosts.totalCount[value]);
  return change;
}

double BranchScore(double riseAtZero, double riseAtOne) {
  return std::fmax(riseAtZero, parameters::kScoreFloor) * std::fmax(riseAtOne, parameters::kScoreFloor);
}

}  // namespace zoint
