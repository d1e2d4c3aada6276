#include "support/random_problems.h"

#include <algorithm>
#include <numeric>

namespace zoint_test {

int64_t Uniform(std::mt19937_64& rng, int64_t lo, int64_t hi) {
  return lo + static_cast<int64_t>(rng() % static_cast<uint64_t>(hi - lo + 1));
}

namespace {

constexpr int64_t kUnit39 = int64_t{1} << 39;
constexpr int64_t kUnit40 = int64_t{1} << 40;
constexpr int64_t kUnit54 = int64_t{1} << 54;
constexpr int64_t kUnit55 = int64_t{1} << 55;
constexpr int64_t kUnit56 = int64_t{1} << 56;

// Near the limits, and some anywhere: sums of these wrap.
int64_t ExtremeNumber(std::mt19937_64& rng) {
  static const int64_t kValues[] = {INT64_MIN, INT64_MAX, INT64_MIN + 1, INT64_MAX - 1, int64_t{1} << 62,
                                    -(int64_t{1} << 62), 3, -3, 1, -1, 0};
  if (rng() % 4 == 0) return static_cast<int64_t>(rng());
  return kValues[rng() % (sizeof kValues / sizeof kValues[0])];
}

int64_t DrawCost(std::mt19937_64& rng, Costs costs) {
  switch (costs) {
    case Costs::Mixed:
      return Uniform(rng, -5, 20);
    case Costs::Small:
      return Uniform(rng, 0, 20);
    case Costs::Positive:
      return Uniform(rng, 1, 20);
    case Costs::Profits:
      return Uniform(rng, 0, 50);
    case Costs::Values:
      return Uniform(rng, 1, 100);
    case Costs::ZeroOrOne:
      return rng() % 4 == 0 ? 1 : 0;
    case Costs::Few:
      return Uniform(rng, 1, 3);
    case Costs::Signed:
      return Uniform(rng, -20, 20);
    case Costs::Negative:
      return -Uniform(rng, 1, 50);
    case Costs::NonPositive:
      return -Uniform(rng, 0, 20);
    case Costs::LargeUnits:
      return Uniform(rng, 0, 3) * kUnit40;
    case Costs::HugeUnits:
      return Uniform(rng, 0, 3) * kUnit55;
    case Costs::HugeSigned:
      return Uniform(rng, -3, 3) * kUnit55 + Uniform(rng, -1, 1);
    case Costs::Extreme:
      return ExtremeNumber(rng);
  }
  return 0;
}

// Row j's coefficients and right-hand side (entries 0 … n−1, then n).
std::vector<int64_t> DrawRow(std::mt19937_64& rng, Rows rows, int32_t n, int32_t j, int32_t coverSize) {
  std::vector<int64_t> row(static_cast<size_t>(n) + 1, 0);
  int64_t& rhs = row[static_cast<size_t>(n)];
  switch (rows) {
    case Rows::Dense:
    case Rows::Equalities:
      for (int32_t i = 0; i < n; ++i) row[i] = Uniform(rng, -10, 10);
      rhs = Uniform(rng, -10, 10);
      break;
    case Rows::CoverOnce:
      for (int32_t i = 0; i < n; ++i) row[i] = rng() % 4 == 0 ? -1 : 0;
      rhs = -1;
      break;
    case Rows::CoverTwice:
      for (int32_t i = 0; i < n; ++i) row[i] = rng() % 3 == 0 ? -Uniform(rng, 1, 2) : 0;
      rhs = -Uniform(rng, 1, 3);
      break;
    case Rows::CoverFew:
      for (int32_t i = 0; i < n; ++i) row[i] = rng() % 3 == 0 ? -Uniform(rng, 1, 3) : 0;
      rhs = -Uniform(rng, 2, 6);
      break;
    case Rows::CoverSubset: {
      std::vector<int32_t> columns(static_cast<size_t>(n));
      std::iota(columns.begin(), columns.end(), 0);
      std::shuffle(columns.begin(), columns.end(), rng);
      const int64_t cover = std::min<int64_t>(n, Uniform(rng, 2, std::max(2, coverSize)));
      for (int64_t k = 0; k < cover; ++k) row[columns[k]] = -1;
      rhs = -1;
      break;
    }
    case Rows::Knapsack: {
      int64_t sum = 0;
      for (int32_t i = 0; i < n; ++i) sum += row[i] = -Uniform(rng, 1, 30);
      rhs = sum / 2;
      break;
    }
    case Rows::Weights: {
      int64_t sum = 0;
      for (int32_t i = 0; i < n; ++i) {
        const int64_t w = Uniform(rng, 1, 100);
        row[i] = -w;
        sum += w;
      }
      rhs = sum / 2 - sum;
      break;
    }
    case Rows::PositiveKnapsack: {
      int64_t sum = 0;
      for (int32_t i = 0; i < n; ++i) sum += row[i] = Uniform(rng, 1, 30);
      rhs = sum / 2;
      break;
    }
    case Rows::EqualAtPoint: {
      int64_t atPoint = 0;
      for (int32_t i = 0; i < n; ++i) {
        row[i] = Uniform(rng, -3, 3);
        if (rng() % 2) atPoint += row[i];
      }
      rhs = atPoint;
      break;
    }
    case Rows::HugeEqualAtPoint: {
      int64_t atPoint = 0;
      for (int32_t i = 0; i < n; ++i) {
        row[i] = Uniform(rng, -3, 3) * kUnit56 + Uniform(rng, -1, 1);
        if (rng() % 2) atPoint += row[i];
      }
      rhs = atPoint;
      break;
    }
    case Rows::EqualAtPointAndDense:
      return DrawRow(rng, j % 2 == 0 ? Rows::EqualAtPoint : Rows::Dense, n, j, coverSize);
    case Rows::LargeUnits:
    case Rows::HugeUnits: {
      const int64_t unit = rows == Rows::LargeUnits ? kUnit39 : kUnit54;
      for (int32_t i = 0; i < n; ++i) row[i] = Uniform(rng, -10, 10) * unit + Uniform(rng, -1, 1);
      rhs = Uniform(rng, -10, 10) * unit + Uniform(rng, -1, 1);
      break;
    }
    case Rows::HugeOddRows:
      return DrawRow(rng, j % 2 == 1 ? Rows::HugeUnits : Rows::Dense, n, j, coverSize);
    case Rows::HugeSigned:
      for (int32_t i = 0; i < n; ++i) row[i] = Uniform(rng, -10, 10) * kUnit54;
      rhs = rng() % 4 == 0 ? (rng() % 2 ? INT64_MAX : INT64_MIN) : Uniform(rng, -10, 10) * kUnit54;
      break;
    case Rows::Extreme:
      for (int32_t i = 0; i < n; ++i) row[i] = ExtremeNumber(rng);
      rhs = ExtremeNumber(rng);
      break;
    case Rows::SignedKnapsack:
    case Rows::MetByEvery: {
      const bool signedKnapsack = rows == Rows::SignedKnapsack;
      int64_t least = 0;
      int64_t largest = 0;
      for (int32_t i = 0; i < n; ++i) {
        row[i] = signedKnapsack ? (rng() % 5 == 0 ? 0 : Uniform(rng, -30, 30)) : Uniform(rng, -10, 10);
        (row[i] < 0 ? least : largest) += row[i];
      }
      rhs = signedKnapsack ? Uniform(rng, least - 3, largest - 1) : Uniform(rng, largest, largest + 3);
      break;
    }
  }
  return row;
}

std::vector<int64_t> Opposite(const std::vector<int64_t>& row) {
  std::vector<int64_t> opposite(row.size());
  for (size_t k = 0; k < row.size(); ++k) opposite[k] = -row[k];
  return opposite;
}

}  // namespace

TestProblem RandomProblem(std::mt19937_64& rng, const Family& family, int32_t n, int32_t m, int32_t coverSize) {
  TestProblem p{n, {}, {}};
  for (int32_t i = 0; i < n; ++i) p.c.push_back(DrawCost(rng, family.costs));
  for (int32_t j = 0; j < m; ++j) {
    p.rows.push_back(DrawRow(rng, family.rows, n, j, coverSize));
    const bool equality = family.rows == Rows::Equalities || family.rows == Rows::EqualAtPoint ||
                          family.rows == Rows::HugeEqualAtPoint ||
                          (family.rows == Rows::EqualAtPointAndDense && j % 2 == 0);
    if (equality) p.rows.push_back(Opposite(p.rows.back()));
  }
  return p;
}

TestProblem RandomKnapsack(uint64_t seed, int32_t n, int32_t m, bool correlated) {
  std::mt19937_64 rng(seed);
  TestProblem p{n, std::vector<int64_t>(static_cast<size_t>(n), 0), {}};
  for (int32_t j = 0; j < m; ++j) {
    std::vector<int64_t> row(static_cast<size_t>(n) + 1, 0);
    int64_t total = 0;
    for (int32_t i = 0; i < n; ++i) {
      row[i] = Uniform(rng, 1, 1000);
      total += row[i];
      if (correlated) p.c[i] -= row[i] / m;
    }
    row[n] = total / 2;
    p.rows.push_back(row);
  }
  for (int32_t i = 0; i < n; ++i) p.c[i] -= correlated ? Uniform(rng, 0, 500) : Uniform(rng, 1, 1000);
  return p;
}

TestProblem RandomSubsetSum(std::mt19937_64& rng, int32_t n, int64_t maxWeight, bool signedWeights,
                            int64_t costUnit, int64_t rowUnit, SubsetSumForm form) {
  TestProblem p{n, {}, {}};
  std::vector<int64_t> row;
  int64_t total = 0;
  for (int32_t i = 0; i < n; ++i) {
    int64_t w = Uniform(rng, 1, maxWeight);
    if (signedWeights && rng() % 2) w = -w;
    p.c.push_back(costUnit * w);
    row.push_back(rowUnit * w);
    total += rowUnit * w;
  }
  row.push_back(total / 2);
  if (form == SubsetSumForm::Maximised) {
    for (int64_t& c : p.c) c = -c;
  }
  p.rows.push_back(row);
  if (form == SubsetSumForm::Complemented) {
    for (int64_t& c : p.c) c = -c;
    return Complemented(p, AllVariables(p));
  }
  return p;
}

TestProblem Complemented(const TestProblem& problem, const std::vector<bool>& mask, int64_t* offset) {
  TestProblem q = problem;
  int64_t sum = 0;
  for (int32_t i = 0; i < problem.n; ++i) {
    if (!mask[static_cast<size_t>(i)]) continue;
    sum += problem.c[i];
    q.c[i] = -problem.c[i];
    for (auto& row : q.rows) {
      row[problem.n] -= row[i];
      row[i] = -row[i];
    }
  }
  if (offset != nullptr) *offset = sum;
  return q;
}

std::vector<bool> NegativeCosts(const TestProblem& problem) {
  std::vector<bool> mask;
  for (int64_t c : problem.c) mask.push_back(c < 0);
  return mask;
}

std::vector<bool> AllVariables(const TestProblem& problem) {
  return std::vector<bool>(static_cast<size_t>(problem.n), true);
}

}  // namespace zoint_test
