// The exact search on problems large enough for all of its parts to take
// part (22 – 34 variables): the search of cores before the proof, the
// exchanges that improve each find, the regions set aside as ties and the
// second pass over them, nodes set aside and taken up lowest bound first.
// With costs ≥ 0 the enumeration is the reference, value and vector, and the
// answer must not depend on how many tie regions may be kept (with a limit
// of 1 the second pass runs from the root) nor on when nodes are set aside. With
// negative costs the reference is the enumeration of the complemented
// problem (y = 1 − x wherever c < 0), which has the same least objective.
#include <gtest/gtest.h>

#include <random>

#include "exact_search/exact_search.h"
#include "support/search_support.h"

namespace zoint_test {
namespace {

using zoint::ExactOptions;
using zoint::ExactResult;
using zoint::ExactStatus;

int64_t Uniform(std::mt19937_64& rng, int64_t lo, int64_t hi) {
  return lo + static_cast<int64_t>(rng() % static_cast<uint64_t>(hi - lo + 1));
}

enum class Family { Knapsack, FewCosts, ZeroCosts, Equalities };

const char* Name(Family family) {
  static const char* const kNames[] = {"knapsack", "few costs", "zero costs", "equalities"};
  return kNames[static_cast<int>(family)];
}

// Costs ≥ 0. FewCosts and ZeroCosts leave many optima tied; Equalities has
// pairs of opposite rows, so few assignments are feasible at all.
TestProblem RandomProblem(std::mt19937_64& rng, Family family, int32_t n) {
  if (family == Family::Knapsack) {
    // Maximise p·x within the rows, in y = 1 − x: costs p ≥ 0.
    TestProblem t = RandomKnapsack(rng(), n, static_cast<int32_t>(Uniform(rng, 1, 5)), rng() % 2 == 0);
    TestProblem p;
    p.n = n;
    for (int32_t i = 0; i < n; ++i) p.c.push_back(-t.c[i]);
    for (const auto& row : t.rows) {
      std::vector<int64_t> complemented(row.size());
      int64_t sum = 0;
      for (int32_t i = 0; i < n; ++i) {
        complemented[i] = -row[i];
        sum += row[i];
      }
      complemented[n] = row[n] - sum;
      p.rows.push_back(complemented);
    }
    return p;
  }
  TestProblem p;
  p.n = n;
  for (int32_t i = 0; i < n; ++i) {
    p.c.push_back(family == Family::FewCosts    ? Uniform(rng, 1, 3)
                  : family == Family::ZeroCosts ? rng() % 4 == 0
                                                : Uniform(rng, 0, 30));
  }
  const int32_t m = static_cast<int32_t>(Uniform(rng, 1, family == Family::Equalities ? 3 : 8));
  for (int32_t j = 0; j < m; ++j) {
    std::vector<int64_t> row(static_cast<size_t>(n) + 1, 0);
    if (family == Family::Equalities) {
      int64_t atRandomPoint = 0;
      for (int32_t i = 0; i < n; ++i) {
        row[i] = Uniform(rng, -3, 3);
        if (rng() % 2) atRandomPoint += row[i];
      }
      row[n] = atRandomPoint;
      std::vector<int64_t> opposite(row.size());
      for (size_t k = 0; k < row.size(); ++k) opposite[k] = -row[k];
      p.rows.push_back(row);
      p.rows.push_back(opposite);
    } else {
      // Covering: at least a few of a random subset.
      for (int32_t i = 0; i < n; ++i) row[i] = rng() % 3 == 0 ? -Uniform(rng, 1, 3) : 0;
      row[n] = -Uniform(rng, 2, 6);
      p.rows.push_back(row);
    }
  }
  return p;
}

bool Meets(const TestProblem& p, const int8_t* x) {
  for (const auto& row : p.rows) {
    int64_t lhs = 0;
    for (int32_t i = 0; i < p.n; ++i) lhs += row[i] * x[i];
    if (lhs > row[p.n]) return false;
  }
  return true;
}

TEST(LargerProblems, MatchTheEnumerationWithCostsAtLeastZero) {
  std::mt19937_64 rng(17);
  const Family families[] = {Family::Knapsack, Family::FewCosts, Family::ZeroCosts, Family::Equalities};
  const int rounds = RoundsToRun(30);
  for (int round = 0; round < rounds; ++round) {
    for (Family family : families) {
      // The enumeration takes seconds on knapsacks beyond 28 variables.
      const int32_t n =
          static_cast<int32_t>(family == Family::Knapsack ? Uniform(rng, 22, 28) : Uniform(rng, 24, 34));
      const TestProblem problem = RandomProblem(rng, family, n);
      const SearchResult expected = SpecifiedSearch(problem);
      // Default; with every second pass from the root; with nodes set aside
      // from the first.
      for (const int variant : {0, 1, 2}) {
        ExactOptions options;
        if (variant == 1) options.tieBoxLimit = 1;
        if (variant == 2) options.depthFirstNodes = 0;
        const ExactResult got = zoint::SolveExact(ToProblem(problem), options);
        const std::string context = "round " + std::to_string(round) + " " + Name(family) + " variant " +
                                    std::to_string(variant) + "\n" + ProblemText(problem);
        ASSERT_EQ(got.value, expected.value) << context;
        ASSERT_EQ(got.status,
                  expected.value == zoint::NoSolutionValue ? ExactStatus::Infeasible : ExactStatus::Optimal)
            << context;
        for (int32_t i = 0; i < n; ++i) ASSERT_EQ(got.x[i], expected.vector[i]) << i << " " << context;
      }
    }
  }
}

TEST(LargerProblems, NegativeCostsReachTheComplementedOptimum) {
  std::mt19937_64 rng(23);
  const int rounds = RoundsToRun(40);
  for (int round = 0; round < rounds; ++round) {
    // Maximise p·x as minimise −p·x, and the same with some costs positive.
    const int32_t n = static_cast<int32_t>(Uniform(rng, 22, 28));
    TestProblem problem = RandomKnapsack(rng(), n, static_cast<int32_t>(Uniform(rng, 1, 5)), rng() % 2 == 0);
    if (round % 2 == 1) {
      for (int32_t i = 0; i < n; i += 3) problem.c[i] = -problem.c[i] / 2;
    }
    TestProblem complemented = problem;
    int64_t offset = 0;
    for (int32_t i = 0; i < n; ++i) {
      if (problem.c[i] >= 0) continue;
      offset += problem.c[i];
      complemented.c[i] = -problem.c[i];
      for (auto& row : complemented.rows) {
        row[n] -= row[i];
        row[i] = -row[i];
      }
    }
    const SearchResult reference = SpecifiedSearch(complemented);
    const ExactResult got = zoint::SolveExact(ToProblem(problem), ExactOptions{});
    const std::string context = "round " + std::to_string(round) + "\n" + ProblemText(problem);
    ASSERT_NE(reference.value, zoint::NoSolutionValue) << context;  // x = 0 meets every row
    ASSERT_EQ(got.status, ExactStatus::Optimal) << context;
    ASSERT_EQ(got.value, reference.value + offset) << context;
    ASSERT_TRUE(Meets(problem, got.x)) << context;
    int64_t value = 0;
    for (int32_t i = 0; i < n; ++i) value += problem.c[i] * got.x[i];
    ASSERT_EQ(value, got.value) << context;
  }
}

}  // namespace
}  // namespace zoint_test
