// The library's search against the word-for-word one, on thousands of random
// problems: same value, same vector, same node and evaluation counts. Some
// coefficients sit near the 64-bit limits so that sums wrap.
#include <gtest/gtest.h>

#include <random>

#include "oracle/literal_search.h"
#include "support/run_support.h"
#include "support/search_support.h"

namespace zoint_test {
namespace {

enum class Family { SmallMixed, Covering, Knapsack, Extreme };

int64_t Extreme(std::mt19937_64& rng) {
  static const int64_t kValues[] = {
      INT64_MIN, INT64_MAX, INT64_MIN + 1, INT64_MAX - 1, int64_t{1} << 62, -(int64_t{1} << 62), 3, -3, 1,
      -1,        0};
  if (rng() % 4 == 0) return static_cast<int64_t>(rng());
  return kValues[rng() % (sizeof kValues / sizeof kValues[0])];
}

TestProblem RandomProblem(std::mt19937_64& rng, Family family) {
  TestProblem p;
  // Knapsack trees grow fastest; the word-for-word search pays 42 KB a node.
  p.n = static_cast<int32_t>(rng() % (family == Family::Knapsack ? 15 : 21));
  const int32_t m = static_cast<int32_t>(rng() % 8);
  auto uniform = [&rng](int64_t lo, int64_t hi) {
    return lo + static_cast<int64_t>(rng() % uint64_t(hi - lo + 1));
  };
  for (int32_t i = 0; i < p.n; ++i) {
    switch (family) {
      case Family::SmallMixed:
        p.c.push_back(uniform(-5, 20));
        break;
      case Family::Covering:
        p.c.push_back(uniform(1, 20));
        break;
      case Family::Knapsack:
        p.c.push_back(uniform(0, 50));
        break;
      case Family::Extreme:
        p.c.push_back(Extreme(rng));
        break;
    }
  }
  for (int32_t j = 0; j < m; ++j) {
    std::vector<int64_t> row(p.n + 1, 0);
    int64_t sum = 0;
    for (int32_t i = 0; i < p.n; ++i) {
      switch (family) {
        case Family::SmallMixed:
          row[i] = uniform(-10, 10);
          break;
        case Family::Covering:
          row[i] = rng() % 4 == 0 ? -1 : 0;
          break;
        case Family::Knapsack:
          row[i] = -uniform(1, 30);
          sum += row[i];
          break;
        case Family::Extreme:
          row[i] = Extreme(rng);
          break;
      }
    }
    switch (family) {
      case Family::SmallMixed:
        row[p.n] = uniform(-10, 10);
        break;
      case Family::Covering:
        row[p.n] = -1;
        break;
      case Family::Knapsack:
        row[p.n] = sum / 2;
        break;  // −w·y ≤ C − Σw with C about half
      case Family::Extreme:
        row[p.n] = Extreme(rng);
        break;
    }
    p.rows.push_back(row);
  }
  return p;
}

TEST(Differential, MatchesWordForWordSearch) {
  std::mt19937_64 rng(20261210);
  const Family families[] = {Family::SmallMixed, Family::Covering, Family::Knapsack, Family::Extreme};
  const int rounds = RoundsToRun(1000);
  for (int round = 0; round < rounds; ++round) {
    for (Family family : families) {
      const TestProblem problem = RandomProblem(rng, family);
      const SearchResult expected = LiteralSearch(problem);
      const SearchResult got = SpecifiedSearch(problem);
      ASSERT_EQ(got, expected) << "round " << round << " family " << int(family) << "\n"
                               << ProblemText(problem);
    }
  }
}

TEST(Differential, FileRoundTripMatches) {
  // Through ZOIntIn.dat and ZOIntOut.dat: the reader and writer keep every
  // number, including the extremes.
  std::mt19937_64 rng(7);
  ScratchDir scratch;
  const int rounds = RoundsToRun(150);
  for (int round = 0; round < rounds; ++round) {
    const TestProblem problem = RandomProblem(rng, round % 2 ? Family::Extreme : Family::SmallMixed);
    const SearchResult expected = LiteralSearch(problem);
    std::string csv;
    for (size_t i = 0; i < expected.vector.size(); ++i)
      csv += (i ? "," : "") + std::to_string(expected.vector[i]);
    // The evaluation count is the enumeration's.
    const RunOutput run = Solve(ProblemText(problem), zoint::SolveRequest::EnumerationOnly);
    ASSERT_EQ(run.solution, ExpectedSolution(expected.value, csv)) << ProblemText(problem);
    ASSERT_EQ(run.console, ExpectedConsole(expected.value, csv));
    ASSERT_EQ(run.warnings, "");
    ASSERT_EQ(run.report.enumeration.evaluations, expected.evaluations);
  }
}

}  // namespace
}  // namespace zoint_test
