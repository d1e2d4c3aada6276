#include "instance_families.h"

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace zoint_bench {

namespace {

int64_t Uniform(std::mt19937_64& rng, int64_t lo, int64_t hi) {
  return lo + static_cast<int64_t>(rng() % static_cast<uint64_t>(hi - lo + 1));
}

}  // namespace

Instance SetCovering(int32_t n, int32_t m, int32_t maxCover, uint64_t seed) {
  std::mt19937_64 rng(seed);
  Instance instance{"cover n=" + std::to_string(n) + " m=" + std::to_string(m), {n, {}, {}}};
  for (int32_t i = 0; i < n; ++i) instance.problem.c.push_back(Uniform(rng, 1, 20));
  std::vector<int32_t> columns(n);
  std::iota(columns.begin(), columns.end(), 0);
  for (int32_t j = 0; j < m; ++j) {
    std::shuffle(columns.begin(), columns.end(), rng);
    std::vector<int64_t> row(n + 1, 0);
    const int64_t cover = Uniform(rng, 2, maxCover);
    for (int64_t k = 0; k < cover; ++k) row[columns[k]] = -1;
    row[n] = -1;
    instance.problem.rows.push_back(row);
  }
  return instance;
}

Instance Knapsack(int32_t n, int32_t m, uint64_t seed) {
  std::mt19937_64 rng(seed);
  Instance instance{"knapsack n=" + std::to_string(n) + " m=" + std::to_string(m), {n, {}, {}}};
  for (int32_t i = 0; i < n; ++i) instance.problem.c.push_back(Uniform(rng, 1, 100));
  for (int32_t j = 0; j < m; ++j) {
    std::vector<int64_t> row(n + 1, 0);
    int64_t sum = 0;
    for (int32_t i = 0; i < n; ++i) {
      const int64_t w = Uniform(rng, 1, 100);
      row[i] = -w;
      sum += w;
    }
    row[n] = sum / 2 - sum;  // C − Σw with C = Σw / 2
    instance.problem.rows.push_back(row);
  }
  return instance;
}

}  // namespace zoint_bench
