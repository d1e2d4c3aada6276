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
#include "support/random_problems.h"
#include "support/search_support.h"

namespace zoint_test {
namespace {

using zoint::ExactOptions;
using zoint::ExactResult;
using zoint::ExactStatus;

// Costs ≥ 0. The tied families leave many optima; the equalities, pairs of
// opposite rows met at a random point, leave few feasible assignments at
// all. The knapsack is a maximisation complemented into costs ≥ 0.
TestProblem RandomProblem(std::mt19937_64& rng, const Family& family, int32_t n) {
  if (family.rows == Rows::Knapsack) {
    const TestProblem maximisation =
        RandomKnapsack(rng(), n, static_cast<int32_t>(Uniform(rng, 1, 5)), rng() % 2 == 0);
    return Complemented(maximisation, AllVariables(maximisation));
  }
  const int32_t m = static_cast<int32_t>(Uniform(rng, 1, family.rows == Rows::EqualAtPoint ? 3 : 8));
  return zoint_test::RandomProblem(rng, family, n, m);
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
  const Family families[] = {families::kKnapsack, families::kFewCostsCovering, families::kZeroCostsCovering,
                             families::kEqualAtPoint};
  const int rounds = RoundsToRun(30);
  for (int round = 0; round < rounds; ++round) {
    for (const Family& family : families) {
      // The enumeration takes seconds on knapsacks beyond 28 variables.
      const int32_t n = static_cast<int32_t>(family.rows == Rows::Knapsack ? Uniform(rng, 22, 28)
                                                                            : Uniform(rng, 24, 34));
      const TestProblem problem = RandomProblem(rng, family, n);
      const SearchResult expected = SpecifiedSearch(problem);
      // Default; with every second pass from the root; with nodes set aside
      // from the first.
      for (const int variant : {0, 1, 2}) {
        ExactOptions options;
        if (variant == 1) options.tieBoxLimit = 1;
        if (variant == 2) options.depthFirstNodes = 0;
        const ExactResult got = zoint::SolveExact(ToProblem(problem), options);
        const std::string context = "round " + std::to_string(round) + " " + family.name + " variant " +
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
    int64_t offset = 0;
    const TestProblem complemented = Complemented(problem, NegativeCosts(problem), &offset);
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
