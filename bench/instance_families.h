// Seeded generators for the benchmark's instance families.
#ifndef ZOINT_BENCH_INSTANCE_FAMILIES_H
#define ZOINT_BENCH_INSTANCE_FAMILIES_H

#include <cstdint>
#include <string>

#include "support/search_support.h"

namespace zoint_bench {

struct Instance {
  std::string name;
  zoint_test::TestProblem problem;
};

// Set covering: costs 1–20, m rows each covering 2 … maxCover random
// columns, written −Σx ≤ −1.
Instance SetCovering(int32_t n, int32_t m, int32_t maxCover, uint64_t seed);

// Multidimensional knapsack in complemented form: y = 1 − x, so minimise p·y
// subject to −w_j·y ≤ C_j − Σw_j, capacities about half the row sums.
Instance Knapsack(int32_t n, int32_t m, uint64_t seed);

}  // namespace zoint_bench

#endif  // ZOINT_BENCH_INSTANCE_FAMILIES_H
