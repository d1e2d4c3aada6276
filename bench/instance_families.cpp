#include "instance_families.h"

#include <random>

#include "support/random_problems.h"

namespace zoint_bench {

Instance SetCovering(int32_t n, int32_t m, int32_t maxCover, uint64_t seed) {
  std::mt19937_64 rng(seed);
  return {"cover n=" + std::to_string(n) + " m=" + std::to_string(m),
          zoint_test::RandomProblem(rng, zoint_test::families::kSetCovering, n, m, maxCover)};
}

Instance Knapsack(int32_t n, int32_t m, uint64_t seed) {
  std::mt19937_64 rng(seed);
  return {"knapsack n=" + std::to_string(n) + " m=" + std::to_string(m),
          zoint_test::RandomProblem(rng, zoint_test::families::kWeightedKnapsack, n, m)};
}

}  // namespace zoint_bench
