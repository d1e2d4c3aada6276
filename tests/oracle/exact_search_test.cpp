// The exact search against two references. With costs ≥ 0, on thousands of
// random problems in which no sum can wrap (many of them with tied optima),
// the value and the vector must be the enumeration's. With negative costs,
// where the enumeration may miss the optimum, they must be those of a brute
// force over every assignment. At the edges of the no-wrap range the choice
// of search must fall exactly where the range ends.
#include <gtest/gtest.h>

#include <random>

#include "problem/problem.h"
#include "support/run_support.h"
#include "support/search_support.h"

namespace zoint_test {
namespace {

// Adds a·x ≤ b, and with asEquality a·x ≥ b as well: an equality row, which
// leaves few feasible points.
void PushRow(TestProblem& p, const std::vector<int64_t>& row, bool asEquality) {
  p.rows.push_back(row);
  if (!asEquality) return;
  std::vector<int64_t> opposite(row.size());
  for (size_t k = 0; k < row.size(); ++k) opposite[k] = -row[k];
  p.rows.push_back(opposite);
}

enum class Family { Covering, Knapsack, DenseMixed, ZeroCosts, FewCosts, Equalities, Huge, Large, HugeRows };

const char* Name(Family family) {
  static const char* const kNames[] = {"covering",   "knapsack", "dense mixed", "zero costs", "few costs",
                                       "equalities", "huge",     "large",       "huge rows"};
  return kNames[static_cast<int>(family)];
}

// A problem of the family, inside the exact domain by construction.
TestProblem RandomProblem(std::mt19937_64& rng, Family family, int32_t n) {
  auto uniform = [&rng](int64_t lo, int64_t hi) {
    return lo + static_cast<int64_t>(rng() % static_cast<uint64_t>(hi - lo + 1));
  };
  // Units for the two large families, whose costs are few multiples of one
  // unit so that optima tie: Huge beyond the magnitudes the relaxation is
  // tried on (exact tests only), Large within them but far beyond 2^32.
  const int64_t unit = family == Family::Huge ? (int64_t{1} << 55) : (int64_t{1} << 40);
  // HugeRows: small costs, and every other row beyond what the relaxation
  // keeps, so it runs on the remaining rows alone.
  auto hugeRow = [&](int32_t j) { return family == Family::HugeRows && j % 2 == 1; };
  TestProblem p;
  p.n = n;
  const int32_t m = static_cast<int32_t>(uniform(0, family == Family::Equalities ? 6 : 16));
  for (int32_t i = 0; i < n; ++i) {
    switch (family) {
      case Family::ZeroCosts:
        p.c.push_back(rng() % 5 == 0 ? 1 : 0);
        break;
      case Family::FewCosts:
        p.c.push_back(uniform(1, 3));
        break;
      case Family::Huge:
      case Family::Large:
        p.c.push_back(uniform(0, 3) * unit);
        break;
      case Family::Knapsack:
        p.c.push_back(uniform(0, 50));
        break;
      default:
        p.c.push_back(uniform(0, 20));
        break;
    }
  }
  for (int32_t j = 0; j < m; ++j) {
    std::vector<int64_t> row(static_cast<size_t>(n) + 1, 0);
    int64_t sum = 0;
    for (int32_t i = 0; i < n; ++i) {
      switch (family) {
        case Family::Covering:
          row[i] = rng() % 3 == 0 ? -uniform(1, 2) : 0;
          break;
        case Family::Knapsack:
          row[i] = -uniform(1, 30);
          break;
        case Family::Huge:
        case Family::Large:
          row[i] = uniform(-10, 10) * (unit / 2) + uniform(-1, 1);
          break;
        case Family::HugeRows:
          row[i] = hugeRow(j) ? uniform(-10, 10) * (int64_t{1} << 54) + uniform(-1, 1) : uniform(-10, 10);
          break;
        default:
          row[i] = uniform(-10, 10);
          break;
      }
      sum += row[i];
    }
    switch (family) {
      case Family::Covering:
        row[n] = -uniform(1, 3);
        break;
      case Family::Knapsack:
        row[n] = sum / 2;  // −w·y ≤ C − Σw with C about half of Σw
        break;
      case Family::Huge:
      case Family::Large:
        row[n] = uniform(-10, 10) * (unit / 2) + uniform(-1, 1);
        break;
      case Family::HugeRows:
        row[n] = hugeRow(j) ? uniform(-10, 10) * (int64_t{1} << 54) + uniform(-1, 1) : uniform(-10, 10);
        break;
      default:
        row[n] = uniform(-10, 10);
        break;
    }
    PushRow(p, row, family == Family::Equalities);
  }
  return p;
}

TEST(ExactSearch, MatchesTheEnumerationInsideTheDomain) {
  std::mt19937_64 rng(6);
  const Family families[] = {Family::Covering,  Family::Knapsack, Family::DenseMixed,
                             Family::ZeroCosts, Family::FewCosts, Family::Equalities,
                             Family::Huge,      Family::Large,    Family::HugeRows};
  const int rounds = RoundsToRun(500);
  for (int round = 0; round < rounds; ++round) {
    for (Family family : families) {
      // Mostly small, so the enumeration stays quick; every tenth up to 22.
      const int32_t n = static_cast<int32_t>(round % 10 == 0 ? 16 + rng() % 7 : rng() % 15);
      const TestProblem problem = RandomProblem(rng, family, n);
      const SearchResult expected = SpecifiedSearch(problem);
      bool exact = false;
      const SearchResult got = ChosenSearch(problem, &exact);
      ASSERT_TRUE(exact) << Name(family) << "\n" << ProblemText(problem);
      ASSERT_EQ(got.value, expected.value) << "round " << round << " " << Name(family) << "\n"
                                           << ProblemText(problem);
      ASSERT_EQ(got.vector, expected.vector) << "round " << round << " " << Name(family) << "\n"
                                             << ProblemText(problem);
    }
  }
}

enum class SignedFamily { Covering, Knapsack, DenseMixed, AllNegative, EqualityPairs, Huge };

const char* Name(SignedFamily family) {
  static const char* const kNames[] = {"covering",     "knapsack",       "dense mixed",
                                       "all negative", "equality pairs", "huge"};
  return kNames[static_cast<int>(family)];
}

// A problem with costs of both signs (all negative for AllNegative) in
// which no sum can wrap.
TestProblem RandomSignedProblem(std::mt19937_64& rng, SignedFamily family, int32_t n) {
  auto uniform = [&rng](int64_t lo, int64_t hi) {
    return lo + static_cast<int64_t>(rng() % static_cast<uint64_t>(hi - lo + 1));
  };
  // Huge: beyond the magnitudes the relaxation is tried on, and with right-
  // hand sides that complementing moves far.
  const int64_t unit = family == SignedFamily::Huge ? (int64_t{1} << 54) : 1;
  TestProblem p;
  p.n = n;
  for (int32_t i = 0; i < n; ++i) {
    switch (family) {
      case SignedFamily::Knapsack:
        p.c.push_back(-uniform(1, 50));  // maximise the value: minimise minus it
        break;
      case SignedFamily::AllNegative:
        p.c.push_back(-uniform(0, 20));
        break;
      case SignedFamily::Huge:
        p.c.push_back(uniform(-3, 3) * 2 * unit + uniform(-1, 1));
        break;
      default:
        p.c.push_back(uniform(-20, 20));
        break;
    }
  }
  const int32_t m = static_cast<int32_t>(uniform(0, family == SignedFamily::EqualityPairs ? 5 : 12));
  for (int32_t j = 0; j < m; ++j) {
    std::vector<int64_t> row(static_cast<size_t>(n) + 1, 0);
    int64_t positive = 0;
    int64_t atRandomPoint = 0;  // the row's value at a random assignment
    for (int32_t i = 0; i < n; ++i) {
      switch (family) {
        case SignedFamily::Covering:
          row[i] = rng() % 3 == 0 ? -uniform(1, 2) : 0;
          break;
        case SignedFamily::Knapsack:
          row[i] = uniform(1, 30);
          break;
        case SignedFamily::EqualityPairs:
          row[i] = uniform(-3, 3);
          break;
        default:
          row[i] = uniform(-10, 10) * unit;
          break;
      }
      if (row[i] > 0) positive += row[i];
      if (rng() % 2) atRandomPoint += row[i];
    }
    switch (family) {
      case SignedFamily::Covering:
        row[n] = -uniform(1, 2);
        break;
      case SignedFamily::Knapsack:
        row[n] = positive / 2;
        break;
      case SignedFamily::EqualityPairs:
        row[n] = atRandomPoint;
        break;
      case SignedFamily::Huge:
        // Anywhere in the 64-bit range, the ends included.
        row[n] = rng() % 4 == 0 ? (rng() % 2 ? INT64_MAX : INT64_MIN) : uniform(-10, 10) * unit;
        break;
      default:
        row[n] = uniform(-10, 10);
        break;
    }
    PushRow(p, row, family == SignedFamily::EqualityPairs);
  }
  return p;
}

TEST(ExactSearch, MatchesBruteForceWithNegativeCosts) {
  std::mt19937_64 rng(9);
  const SignedFamily families[] = {SignedFamily::Covering,      SignedFamily::Knapsack,
                                   SignedFamily::DenseMixed,    SignedFamily::AllNegative,
                                   SignedFamily::EqualityPairs, SignedFamily::Huge};
  const int rounds = RoundsToRun(200);
  for (int round = 0; round < rounds; ++round) {
    for (SignedFamily family : families) {
      // Mostly small, so the brute force stays quick; every 50th up to 20.
      const int32_t n = static_cast<int32_t>(round % 50 == 0 ? 16 + rng() % 5 : rng() % 13);
      const TestProblem problem = RandomSignedProblem(rng, family, n);
      ASSERT_TRUE(zoint::NoSumCanWrap(ToProblem(problem))) << ProblemText(problem);
      const SearchResult expected = BruteForce(problem);
      bool exact = false;
      const SearchResult got = ChosenSearch(problem, &exact);
      ASSERT_TRUE(exact) << Name(family) << "\n" << ProblemText(problem);
      ASSERT_EQ(got.value, expected.value) << "round " << round << " " << Name(family) << "\n"
                                           << ProblemText(problem);
      ASSERT_EQ(got.vector, expected.vector) << "round " << round << " " << Name(family) << "\n"
                                             << ProblemText(problem);
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
    const TestProblem problem =
        RandomProblem(rng, round % 2 ? Family::FewCosts : Family::Covering, 10 + round % 9);
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
