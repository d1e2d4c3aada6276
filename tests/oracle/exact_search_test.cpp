// The exact search against two references. With costs ≥ 0, on thousands of
// random problems in which no sum can wrap (many of them with tied optima),
// the value and the vector must be the enumeration's. With negative costs,
// where the enumeration may miss the optimum, they must be those of a brute
// force over every assignment. At the edges of the no-wrap range the choice
// of search must fall exactly where the range ends.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "problem/problem.h"
#include "support/random_problems.h"
#include "support/run_support.h"
#include "support/search_support.h"

namespace zoint_test {
namespace {

// The search a call chooses is the exact one, and gives the reference's
// value and vector.
void ExpectTheExactSearchGives(const TestProblem& problem, const SearchResult& expected,
                               const std::string& context) {
  bool exact = false;
  const SearchResult got = ChosenSearch(problem, &exact);
  ASSERT_TRUE(exact) << context << "\n" << ProblemText(problem);
  ASSERT_EQ(got.value, expected.value) << context << "\n" << ProblemText(problem);
  ASSERT_EQ(got.vector, expected.vector) << context << "\n" << ProblemText(problem);
}

TEST(ExactSearch, MatchesTheEnumerationInsideTheDomain) {
  std::mt19937_64 rng(6);
  // Huge lies beyond the magnitudes the relaxation is tried on (exact tests
  // only), Large within them but far beyond 2^32; both tie often. HugeRows
  // leaves every other row out of the relaxation.
  const Family families[] = {families::kCovering,  families::kKnapsack, families::kDenseMixed,
                             families::kZeroCosts, families::kFewCosts, families::kEqualities,
                             families::kHuge,      families::kLarge,    families::kHugeRows};
  const int rounds = RoundsToRun(500);
  for (int round = 0; round < rounds; ++round) {
    for (const Family& family : families) {
      // Mostly small, so the enumeration stays quick; every tenth up to 22.
      const int32_t n = static_cast<int32_t>(round % 10 == 0 ? 16 + rng() % 7 : rng() % 15);
      const int32_t m = static_cast<int32_t>(Uniform(rng, 0, family.rows == Rows::Equalities ? 6 : 16));
      const TestProblem problem = RandomProblem(rng, family, n, m);
      ExpectTheExactSearchGives(problem, SpecifiedSearch(problem), "round " + std::to_string(round) + " " + family.name);
    }
  }
}

TEST(ExactSearch, MatchesBruteForceWithNegativeCosts) {
  std::mt19937_64 rng(9);
  const Family families[] = {families::kSignedCovering,   families::kSignedKnapsack, families::kSignedDense,
                             families::kAllNegative,      families::kSignedEqualities, families::kSignedHuge};
  const int rounds = RoundsToRun(200);
  for (int round = 0; round < rounds; ++round) {
    for (const Family& family : families) {
      // Mostly small, so the brute force stays quick; every 50th up to 20.
      const int32_t n = static_cast<int32_t>(round % 50 == 0 ? 16 + rng() % 5 : rng() % 13);
      const int32_t m = static_cast<int32_t>(Uniform(rng, 0, family.rows == Rows::EqualAtPoint ? 5 : 12));
      const TestProblem problem = RandomProblem(rng, family, n, m);
      ASSERT_TRUE(zoint::NoSumCanWrap(ToProblem(problem))) << ProblemText(problem);
      ExpectTheExactSearchGives(problem, BruteForce(problem), "round " + std::to_string(round) + " " + family.name);
    }
  }
}

TEST(ExactSearch, NoWrapEdgesChooseTheSearch) {
  const int64_t kMax = INT64_MAX;
  const int64_t kHalf = int64_t{1} << 62;
  const struct {
    const char* name;
    TestProblem problem;
    bool exact;
  } cases[] = {
      {"all costs zero", {3, {0, 0, 0}, {{-1, -1, -1, -1}}}, true},
      {"one cost negative", {3, {4, -1, 2}, {{-1, -1, -1, -1}}}, true},
      {"costs sum to 2^63 - 1", {2, {kMax - 5, 5}, {{-1, -1, -1}}}, true},
      {"cost magnitudes sum to 2^63 - 1", {2, {-(kMax - 5), 5}, {{-1, -1, -1}}}, true},
      {"costs sum to 2^63", {2, {kHalf, kHalf}, {{-1, -1, -1}}}, false},
      {"cost magnitudes sum to 2^63", {2, {kHalf, -kHalf}, {{-1, -1, -1}}}, false},
      {"most negative cost", {1, {INT64_MIN}, {}}, false},
      // The single largest cost is reported as no solution by both searches.
      {"only solution costs 2^63 - 1", {1, {kMax}, {{-1, -1}}}, true},
      {"row magnitudes sum to 2^63 - 1", {2, {3, 4}, {{-(kMax - 7), 7, -10}}}, true},
      {"row magnitudes sum to 2^63", {2, {3, 4}, {{-(kMax - 7), 8, -10}}}, false},
      {"row holds the most negative number", {2, {3, 4}, {{INT64_MIN, 0, -1}}}, false},
      {"second row too large", {2, {3, 4}, {{-1, -1, -1}, {kHalf, kHalf, 0}}}, false},
      {"right-hand side at the limits", {2, {3, 4}, {{-1, -1, INT64_MIN}, {1, 1, kMax}}}, true},
      // Complementing both variables moves these right-hand sides by almost
      // 2^63, beyond the 64-bit range: always met, and never met.
      {"shifted right-hand side above the range", {2, {-1, -1}, {{-kHalf, -(kHalf - 1), kMax}}}, true},
      {"shifted right-hand side below the range", {2, {-1, -1}, {{kHalf, kHalf - 1, INT64_MIN}}}, true},
      {"shifted right-hand side at the edge", {2, {-1, -2}, {{-kHalf, -(kHalf - 1), -kMax}}}, true},
      {"no variables", {0, {}, {{-1}}}, true},
  };
  for (const auto& c : cases) {
    const SearchResult expected = c.exact ? BruteForce(c.problem) : SpecifiedSearch(c.problem);
    bool exact = false;
    const SearchResult got = ChosenSearch(c.problem, &exact);
    EXPECT_EQ(exact, c.exact) << c.name;
    EXPECT_EQ(got.value, expected.value) << c.name;
    EXPECT_EQ(got.vector, expected.vector) << c.name;
    // Where sums can wrap the enumeration itself ran: the same tree.
    if (!c.exact) {
      EXPECT_EQ(got, expected) << c.name;
    }
  }
}

// Maximisations written as "minimise minus the value", and other problems
// with negative costs: the answer is the optimum, which the enumeration's
// tests can miss.
TEST(ExactSearch, NegativeCostsGiveTheOptimum) {
  const struct {
    const char* name;
    TestProblem problem;
    int64_t value;
    std::vector<int64_t> vector;
  } cases[] = {
      {"opposite costs, no rows", {2, {7, -7}, {}}, -7, {0, 1}},
      {"both needed for the least value", {2, {-2, -2}, {{-1, -1, -1}}}, -4, {1, 1}},
      // Projects of value 5, 4, 3 and weight 5, 3, 3 within a budget of 6:
      // the two lighter ones (7) beat the most valuable one alone (5).
      {"project selection", {3, {-5, -4, -3}, {{5, 3, 3, 6}}}, -7, {0, 1, 1}},
      // Ties: x_0 = 0 wherever an optimum allows it.
      {"tied optima", {3, {-1, -1, -1}, {{1, 1, 1, 2}}}, -2, {0, 1, 1}},
      {"nothing fits", {2, {-1, -1}, {{1, 1, -1}}}, zoint::NoSolutionValue, {0, 0}},
  };
  for (const auto& c : cases) {
    bool exact = false;
    const SearchResult got = ChosenSearch(c.problem, &exact);
    EXPECT_TRUE(exact) << c.name;
    EXPECT_EQ(got.value, c.value) << c.name;
    EXPECT_EQ(got.vector, c.vector) << c.name;
    EXPECT_EQ(BruteForce(c.problem).value, c.value) << c.name;
  }
}

// 100 variables and 50 rows, too many for the enumeration to check in a
// test: rows j say x_2j + x_2j+1 ≥ 1, so the answers are known.
TEST(ExactSearch, LargestSizeWithKnownAnswers) {
  auto pairs = [](int64_t evenCost, int64_t oddCost, int64_t firstRhs) {
    TestProblem p{100, {}, {}};
    for (int32_t i = 0; i < 100; ++i) p.c.push_back(i % 2 ? oddCost : evenCost);
    for (int32_t j = 0; j < 50; ++j) {
      std::vector<int64_t> row(101, 0);
      row[2 * j] = -1;
      row[2 * j + 1] = -1;
      row[100] = j == 0 ? firstRhs : -1;
      p.rows.push_back(row);
    }
    return p;
  };
  std::string zeroOne, oneZero, zeros;
  for (int32_t i = 0; i < 100; ++i) {
    zeroOne += i % 2 ? '1' : '0';
    oneZero += i % 2 ? '0' : '1';
    zeros += '0';
  }
  const struct {
    const char* name;
    TestProblem problem;
    int64_t value;
    std::string vector;
  } cases[] = {
      {"equal costs: every pair ties, the odd ones win", pairs(1, 1, -1), 50, zeroOne},
      {"even variables cheaper", pairs(1, 2, -1), 50, oneZero},
      {"zero costs", pairs(0, 0, -1), 0, zeroOne},
      {"first pair cannot be met", pairs(1, 1, -3), zoint::NoSolutionValue, zeros},
  };
  for (const auto& c : cases) {
    bool exact = false;
    const SearchResult got = ChosenSearch(c.problem, &exact);
    EXPECT_TRUE(exact) << c.name;
    EXPECT_EQ(got.value, c.value) << c.name;
    std::string vector;
    for (int64_t x : got.vector) vector += static_cast<char>('0' + x);
    EXPECT_EQ(vector, c.vector) << c.name;
  }
}

TEST(ExactSearch, CallsGiveTheEnumerationsBytes) {
  // Through the files, with the search chosen as a host's call chooses it.
  std::mt19937_64 rng(11);
  ScratchDir scratch;
  const int rounds = RoundsToRun(60);
  for (int round = 0; round < rounds; ++round) {
    const Family& family = round % 2 ? families::kFewCosts : families::kCovering;
    const TestProblem problem = RandomProblem(rng, family, 10 + round % 9, static_cast<int32_t>(Uniform(rng, 0, 16)));
    const std::string text = ProblemText(problem);
    const RunOutput enumerated = Solve(text, zoint::SolveRequest::EnumerationOnly);
    const RunOutput chosen = Solve(text);
    ASSERT_EQ(chosen.console, enumerated.console) << text;
    ASSERT_EQ(chosen.solution, enumerated.solution) << text;
    ASSERT_EQ(chosen.warnings, "");
  }
}

}  // namespace
}  // namespace zoint_test
