// The enumeration of sums, called directly and through a host's call: its
// answers (status, value and every x_i) against a brute force over every
// assignment, on equation systems and subset sums with ties, extra rows,
// mixed signs and numbers near the 64-bit ends; where it must decline; how
// it stops and reports; and the shared instances it is for.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "exact_search/parameters.h"
#include "exact_search/search_limits.h"
#include "exact_search/structure_methods.h"
#include "exact_search/sum_lists.h"
#include "exact_search/sum_problem.h"
#include "exact_search/sum_walks.h"
#include "support/random_problems.h"
#include "support/run_support.h"
#include "support/search_support.h"

namespace zoint_test {
namespace {

using zoint::ExactResult;
using zoint::ExactStatus;
using zoint::MethodOutcome;
using zoint::NoSolutionValue;

constexpr int64_t kMax = INT64_MAX;

struct MethodRun {
  MethodOutcome outcome;
  ExactResult result;
};

// One call of the method with fresh limits, as the exact search makes it.
// The result starts out holding marks a declining call must leave alone.
MethodRun RunMethod(const TestProblem& p, const zoint::ExactOptions& options = {}) {
  zoint::SearchLimits limits;
  StartLimitsFor(p, options, limits);
  MethodRun run;
  run.result = ExactResult{};
  run.result.status = ExactStatus::Stopped;
  run.result.value = 12345;
  run.result.stats.sumsVisited = 777;
  run.outcome = zoint::SolveByEnumeratingSums(ToProblem(p), limits, run.result);
  return run;
}

// The method answered, with the brute force's status, value and vector.
void ExpectBruteForceAnswer(const TestProblem& p, const MethodRun& run, const std::string& what) {
  ASSERT_EQ(run.outcome, MethodOutcome::Answered) << what << "\n" << ProblemText(p);
  const ExactResult& r = run.result;
  const SearchResult expected = BruteForce(p);
  const bool feasible = expected.value != NoSolutionValue;
  ASSERT_EQ(r.status, feasible ? ExactStatus::Optimal : ExactStatus::Infeasible) << what << "\n"
                                                                                 << ProblemText(p);
  EXPECT_EQ(r.stats.method, zoint::ExactMethod::SumEnumeration) << what;
  EXPECT_EQ(r.hasSolution, feasible) << what;
  EXPECT_EQ(r.value, expected.value) << what << "\n" << ProblemText(p);
  for (int32_t i = 0; i < p.n; ++i) {
    ASSERT_EQ(r.x[i], expected.vector[static_cast<size_t>(i)]) << what << ", x_" << i << "\n"
                                                               << ProblemText(p);
  }
}

void ExpectDeclined(const TestProblem& p, const std::string& what) {
  const MethodRun run = RunMethod(p);
  EXPECT_EQ(run.outcome, MethodOutcome::NotApplicable) << what;
  // The result is left as it was.
  EXPECT_EQ(run.result.status, ExactStatus::Stopped) << what;
  EXPECT_EQ(run.result.value, 12345) << what;
  EXPECT_EQ(run.result.stats.sumsVisited, 777u) << what;
}

// Some pair of rows, one the other negated, with a coefficient not 0.
bool HasAnEquation(const TestProblem& p) {
  for (size_t j = 0; j < p.rows.size(); ++j) {
    for (size_t l = j + 1; l < p.rows.size(); ++l) {
      bool opposite = true;
      bool nonzero = false;
      for (size_t i = 0; i <= static_cast<size_t>(p.n); ++i) {
        opposite = opposite && p.rows[j][i] == -p.rows[l][i];
        nonzero = nonzero || (i < static_cast<size_t>(p.n) && p.rows[j][i] != 0);
      }
      if (opposite && nonzero) return true;
    }
  }
  return false;
}

// --- Answers ------------------------------------------------------------------

// Equations alone (mostly infeasible with Dense rows, feasible at a point),
// with tied or mixed-sign costs, with inequalities beside them, and with
// coefficients near 2^56. Both answers occur, or the table tests too little.
TEST(SumEnumeration, EquationSystemsMatchBruteForce) {
  std::mt19937_64 rng(17);
  const Family kFamilies[] = {families::kEqualities,       families::kEqualAtPoint,
                              families::kSignedEqualities, families::kTiedEquations,
                              families::kEquationsAndRows, families::kHugeEquations};
  bool sawFeasible = false;
  bool sawInfeasible = false;
  const int rounds = RoundsToRun(120);
  for (int round = 0; round < rounds; ++round) {
    for (const Family& family : kFamilies) {
      // Mostly small, so the brute force stays quick; every twentieth up to 18.
      const int32_t n = static_cast<int32_t>(round % 20 == 0 ? 16 + rng() % 3 : 1 + rng() % 14);
      const int32_t m =
          static_cast<int32_t>(Uniform(rng, 1, family.rows == Rows::EqualAtPointAndDense ? 6 : 4));
      const TestProblem p = RandomProblem(rng, family, n, m);
      const std::string what = std::string(family.name) + ", round " + std::to_string(round);
      const MethodRun run = RunMethod(p);
      // Equations drawn all 0 say nothing: the method leaves such a problem.
      if (!HasAnEquation(p)) {
        ExpectDeclined(p, what);
        continue;
      }
      ExpectBruteForceAnswer(p, run, what);
      if (HasFailure()) return;
      (run.result.hasSolution ? sawFeasible : sawInfeasible) = true;
    }
  }
  EXPECT_TRUE(sawFeasible && sawInfeasible);
}

// One row the objective follows, in each form it takes, with small weights
// that make many subsets tie, a rational multiple, weights of both signs,
// weights near 2^58, and a second row either checked or met by all.
TEST(SumEnumeration, SubsetSumsMatchBruteForce) {
  using Form = SubsetSumForm;
  const struct {
    const char* name;
    int64_t maxWeight;
    bool signedWeights;
    int64_t costUnit;
    int64_t rowUnit;
    Form form;
    Rows extraRow;  // Dense: one more row; CoverOnce: none
  } kCases[] = {
      {"ties, maximised", 6, false, 1, 1, Form::Maximised, Rows::CoverOnce},
      {"ties, complemented", 6, false, 1, 1, Form::Complemented, Rows::CoverOnce},
      {"costs 3/2 of the row", 20, false, 3, 2, Form::Complemented, Rows::CoverOnce},
      {"costs 5 times the row", 1000, false, 5, 1, Form::Maximised, Rows::CoverOnce},
      {"weights of both signs", 30, true, 1, 1, Form::Maximised, Rows::CoverOnce},
      {"a positive multiple", 10, true, 2, 1, Form::Minimised, Rows::CoverOnce},
      {"weights near 2^58", int64_t{1} << 58, false, 1, 1, Form::Complemented, Rows::CoverOnce},
      {"another row checked", 8, false, 1, 1, Form::Complemented, Rows::Dense},
      {"another row checked, both signs", 8, true, 1, 1, Form::Maximised, Rows::Dense},
  };
  std::mt19937_64 rng(23);
  const int rounds = RoundsToRun(60);
  for (const auto& c : kCases) {
    for (int round = 0; round < rounds; ++round) {
      const int32_t n = static_cast<int32_t>(round % 20 == 0 ? 16 : 1 + rng() % 14);
      TestProblem p = RandomSubsetSum(rng, n, c.maxWeight, c.signedWeights, c.costUnit, c.rowUnit, c.form);
      if (c.extraRow == Rows::Dense) {
        std::vector<int64_t> row(static_cast<size_t>(n) + 1);
        for (int64_t& v : row) v = Uniform(rng, -4, 4);
        p.rows.push_back(row);
      }
      const std::string what = std::string(c.name) + ", round " + std::to_string(round);
      // A row every assignment meets is no subset sum: the method leaves it.
      int64_t greatest = 0;
      for (int32_t i = 0; i < n; ++i) greatest += std::max<int64_t>(p.rows[0][static_cast<size_t>(i)], 0);
      if (greatest <= p.rows[0][static_cast<size_t>(n)]) {
        ExpectDeclined(p, what);
      } else {
        ExpectBruteForceAnswer(p, RunMethod(p), what);
      }
      if (HasFailure()) return;
    }
  }
}

// Rows the method reads apart: repeats, zero equations, targets out of
// reach, variables in no row, objectives at the no-solution value.
TEST(SumEnumeration, RowsAtTheirEdgesMatchBruteForce) {
  const int64_t kBig = int64_t{1} << 62;
  const struct {
    const char* name;
    TestProblem problem;
  } kCases[] = {
      {"target beyond the row's reach", {3, {1, 2, 3}, {{1, 1, 1, 4}, {-1, -1, -1, -4}}}},
      {"target below the row's reach", {3, {1, 2, 3}, {{1, -1, 1, -2}, {-1, 1, -1, 2}}}},
      {"zero equation with 0", {3, {3, 1, 2}, {{0, 0, 0, 0}, {0, 0, 0, 0}, {1, 1, 1, 1}, {-1, -1, -1, -1}}}},
      {"zero equation with 1", {3, {3, 1, 2}, {{0, 0, 0, 1}, {0, 0, 0, -1}, {1, 1, 1, 1}, {-1, -1, -1, -1}}}},
      {"an equation twice, once the other way round",
       {4, {1, -2, 3, 1}, {{2, 1, 1, 3, 4}, {-2, -1, -1, -3, -4}, {-2, -1, -1, -3, -4}, {2, 1, 1, 3, 4}}}},
      {"a row that repeats one side of an equation",
       {4, {1, 1, 1, 1}, {{2, 1, 1, 3, 4}, {-2, -1, -1, -3, -4}, {2, 1, 1, 3, 4}}}},
      {"variables in no row take their cost's side",
       {5, {-3, 2, 0, 1, -1}, {{0, 1, 0, 2, 0, 2}, {0, -1, 0, -2, 0, -2}}}},
      {"a variable only in a checked row",
       {4, {-1, 1, 1, -2}, {{1, 1, 1, 0, 2}, {-1, -1, -1, 0, -2}, {1, 0, 0, 1, 1}}}},
      {"an equation and a row met by every assignment",
       {3, {-1, -1, -1}, {{1, 1, 1, 2}, {-1, -1, -1, -2}, {1, 1, 1, 3}}}},
      {"the only feasible value is 2^63 - 1", {2, {kMax - 1, 1}, {{1, 1, 2}, {-1, -1, -2}}}},
      {"the best subset sum is worth 2^63 - 1", {2, {kBig, kBig - 1}, {{-kBig, -(kBig - 1), -kMax}}}},
      {"the best subset sum beside it", {3, {kBig, kBig - 2, 1}, {{-kBig, -(kBig - 2), -1, -kBig}}}},
      {"a row no assignment meets", {3, {-1, -2, -3}, {{1, 2, 3, 6}, {-1, -2, -3, -6}, {1, 1, 1, -1}}}},
      {"a subset sum with the bound at INT64_MIN", {2, {2, 4}, {{1, 2, INT64_MIN}}}},
      {"one variable", {1, {-5}, {{3, 3}, {-3, -3}}}},
  };
  for (const auto& c : kCases) ExpectBruteForceAnswer(c.problem, RunMethod(c.problem), c.name);
}

// --- Declining ------------------------------------------------------------------

// A market split system as the instances hold it: m equations over n
// binaries, coefficients 0 … 99, right-hand sides half the rows' totals.
TestProblem MarketSplit(uint64_t seed, int32_t m, int32_t n) {
  std::mt19937_64 rng(seed);
  TestProblem p{n, std::vector<int64_t>(static_cast<size_t>(n), 1), {}};
  for (int32_t j = 0; j < m; ++j) {
    std::vector<int64_t> row(static_cast<size_t>(n) + 1, 0);
    int64_t total = 0;
    for (int32_t i = 0; i < n; ++i) total += row[static_cast<size_t>(i)] = Uniform(rng, 0, 99);
    row[static_cast<size_t>(n)] = total / 2;
    p.rows.push_back(row);
    for (int64_t& v : row) v = -v;
    p.rows.push_back(row);
  }
  return p;
}

// Equations (as many as given) over the first k variables, coefficients
// 1 … largest, right-hand sides half their totals; with knapsack, a
// knapsack row over all n beside them.
TestProblem EquationsOverSome(int32_t n, int32_t k, int64_t largest, int32_t equations, bool knapsack) {
  std::mt19937_64 rng(5);
  TestProblem p{n, {}, {}};
  std::vector<int64_t> weights(static_cast<size_t>(n) + 1, 0);
  for (int32_t i = 0; i < n; ++i) {
    p.c.push_back(-Uniform(rng, 1, 100));
    weights[static_cast<size_t>(i)] = Uniform(rng, 1, 100);
    weights[static_cast<size_t>(n)] += weights[static_cast<size_t>(i)] / 2;
  }
  for (int32_t e = 0; e < equations; ++e) {
    std::vector<int64_t> equation(static_cast<size_t>(n) + 1, 0);
    for (int32_t i = 0; i < k; ++i) {
      equation[static_cast<size_t>(i)] = Uniform(rng, 1, largest);
      equation[static_cast<size_t>(n)] += equation[static_cast<size_t>(i)];
    }
    equation[static_cast<size_t>(n)] /= 2;
    p.rows.push_back(equation);
    for (int64_t& v : equation) v = -v;
    p.rows.push_back(equation);
  }
  if (knapsack) p.rows.push_back(weights);
  return p;
}

TEST(SumEnumeration, DeclinesWhereItIsNotTheMethod) {
  // Neither equations nor costs that follow a row.
  ExpectDeclined({3, {-3, -5, -4}, {{2, 3, 4, 5}}}, "knapsack with its own costs");
  ExpectDeclined({3, {0, 0, 0}, {{1, 2, 3, 3}}}, "costs all 0");
  ExpectDeclined({3, {-1, -2, -3}, {{1, 2, 3, 6}}}, "the one row met by every assignment");
  ExpectDeclined({3, {-2, -4, -7}, {{1, 2, 3, 3}}}, "costs nearly a multiple");
  ExpectDeclined({3, {-1, -5, -2}, {{1, 2, 3, 4}, {-1, -2, -3, -3}}}, "a range is no equation");
  // Too many variables: market split with 7 equations.
  ExpectDeclined(MarketSplit(1, 7, 60), "60 variables");
  // Beyond 40 variables, equations each over a few of them: set
  // partitioning, 10 parts of 5 among 50 columns.
  TestProblem partition{50, std::vector<int64_t>(50, 1), {}};
  for (int32_t part = 0; part < 10; ++part) {
    std::vector<int64_t> row(51, 0);
    for (int32_t i = 5 * part; i < 5 * part + 5; ++i) row[static_cast<size_t>(i)] = 1;
    row[50] = 1;
    partition.rows.push_back(row);
    for (int64_t& v : row) v = -v;
    partition.rows.push_back(row);
  }
  ExpectDeclined(partition, "sparse equations over 50");
}

// So many assignments share their sums that meeting them tells little: an
// equation over two variables (x0 + x1 = 1) or one with all coefficients 1,
// beside a knapsack (seen in the lists at once); two equations whose
// coefficients 1 … 3 give a half's pair sums more ties than a window holds
// (seen in the walk); one whose matches, with a row checked on each, pass
// the budget of checks.
TEST(SumEnumeration, DeclinesWhereTooManyAssignmentsShareTheirSums) {
  ExpectDeclined(EquationsOverSome(40, 2, 1, 1, true), "x0 + x1 = 1 and 38 free");
  ExpectDeclined(EquationsOverSome(50, 50, 1, 1, true), "sum x = 25 over 50");
  ExpectDeclined(EquationsOverSome(50, 50, 3, 2, false), "two equations, coefficients 1 … 3, over 50");
  ExpectDeclined(EquationsOverSome(40, 40, 20, 1, true), "coefficients 1 … 20 over 40 and a knapsack");
}

// With one key row and no other row to check, only the best of the pairs
// sharing a sum matters, so a sum shared beyond what a window holds is
// merged into that one pair. Answers found apart: Σx = 20 over 40 with
// tied costs (the 20 cheapest, the later of equal costs first); Σx ≤ 20
// worth −Σx (the last 20); and Avis's knapsack at n = 40, whose best is its
// 19 heaviest items (20 would not fit).
TEST(SumEnumeration, TiesBeyondAWindowAreMergedIntoTheirBest) {
  const int32_t n = 40;
  std::mt19937_64 rng(31);
  TestProblem choose{n, {}, {}};
  std::vector<int64_t> ones(static_cast<size_t>(n), 1);
  for (int32_t i = 0; i < n; ++i) choose.c.push_back(Uniform(rng, 0, 3));
  ones.push_back(20);
  choose.rows.push_back(ones);
  for (int64_t& v : ones) v = -v;
  choose.rows.push_back(ones);
  std::vector<int32_t> byCost(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) byCost[static_cast<size_t>(i)] = i;
  std::sort(byCost.begin(), byCost.end(), [&](int32_t a, int32_t b) {
    return choose.c[a] != choose.c[b] ? choose.c[a] < choose.c[b] : a > b;
  });
  std::vector<int8_t> chosen(static_cast<size_t>(n), 0);
  int64_t chosenCost = 0;
  for (int32_t k = 0; k < 20; ++k) {
    chosen[static_cast<size_t>(byCost[k])] = 1;
    chosenCost += choose.c[byCost[k]];
  }

  TestProblem fill{n, std::vector<int64_t>(static_cast<size_t>(n), -1), {}};
  std::vector<int64_t> row(static_cast<size_t>(n), 1);
  row.push_back(20);
  fill.rows.push_back(row);
  std::vector<int8_t> lastTwenty(static_cast<size_t>(n), 0);
  for (int32_t i = 20; i < n; ++i) lastTwenty[static_cast<size_t>(i)] = 1;

  // Avis's knapsack as the instances write it: y = 1 − x, costs w, row
  // −w·y ≤ C − Σw; the best leaves out the 19 heaviest items.
  const int64_t unit = int64_t{n} * (n + 1);
  TestProblem avis{n, {}, {}};
  std::vector<int64_t> weights;
  int64_t total = 0;
  for (int32_t j = 1; j <= n; ++j) {
    avis.c.push_back(unit + j);
    weights.push_back(-(unit + j));
    total += unit + j;
  }
  const int64_t capacity = (n - 1) / 2 * unit + int64_t{n} * (n - 1) / 2;
  weights.push_back(capacity - total);
  avis.rows.push_back(weights);
  std::vector<int8_t> lightest(static_cast<size_t>(n), 0);
  int64_t lightestWeight = 0;
  for (int32_t i = 0; i < n - (n - 1) / 2; ++i) {
    lightest[static_cast<size_t>(i)] = 1;
    lightestWeight += unit + i + 1;
  }

  const struct {
    const char* name;
    const TestProblem& problem;
    int64_t value;
    const std::vector<int8_t>& x;
  } kCases[] = {
      {"sum x = 20, tied costs", choose, chosenCost, chosen},
      {"sum x <= 20 worth -sum x", fill, -20, lastTwenty},
      {"Avis's knapsack", avis, lightestWeight, lightest},
  };
  for (const auto& c : kCases) {
    const MethodRun run = RunMethod(c.problem);
    ASSERT_EQ(run.outcome, MethodOutcome::Answered) << c.name;
    EXPECT_EQ(run.result.status, ExactStatus::Optimal) << c.name;
    EXPECT_EQ(run.result.value, c.value) << c.name;
    for (int32_t i = 0; i < n; ++i)
      EXPECT_EQ(run.result.x[i], c.x[static_cast<size_t>(i)]) << c.name << ", x_" << i;
  }
}

// --- The stream of pair sums ---------------------------------------------------------

// The left half's pair sums, window by window, against every pair sorted
// apart: each pair once, in the order of the order numbers and then of the
// rows that break ties. Halves of 18 variables take several windows: sums of
// Todd's kind (one row, bunched by the number of items), market split's
// (five rows weighed into one number), and small coefficients of both
// signs (many pairs share their sums).
TEST(SumEnumeration, PairStreamGivesEveryPairInOrder) {
  std::mt19937_64 rng(29);
  TestProblem todd{36, {}, {}};
  std::vector<int64_t> row;
  int64_t total = 0;
  for (int32_t j = 1; j <= 36; ++j) {
    const int64_t w = (int64_t{1} << 42) + (int64_t{1} << (42 - j)) + 1;
    todd.c.push_back(w);
    row.push_back(-w);
    total += w;
  }
  row.push_back(total / 2 - total);
  todd.rows.push_back(row);
  const struct {
    const char* name;
    TestProblem problem;
  } kCases[] = {
      {"Todd's sums", todd},
      {"market split's", MarketSplit(3, 5, 36)},
      {"small coefficients", RandomProblem(rng, families::kSignedEqualities, 36, 2)},
  };
  for (const auto& c : kCases) {
    const zoint::Problem problem = ToProblem(c.problem);
    zoint::SumProblem sums;
    ASSERT_EQ(zoint::RecogniseSumProblem(problem, sums), zoint::Recognition::Ours) << c.name;
    zoint::SearchLimits limits;
    zoint::StartLimits(limits, zoint::ExactOptions{}, 0);
    auto search = std::make_unique<zoint::SumSearch>();
    ASSERT_TRUE(zoint::PrepareSumSearch(*search, problem, sums, limits)) << c.name;
    zoint::PairStream stream;
    zoint::StartPairStream(stream, search->quarters[0], search->quarters[1], sums.firstTieRow, false);
    const uint64_t pairs = uint64_t{stream.runs->size} * stream.items->size;
    ASSERT_GT(pairs, 2 * zoint::parameters::kSumWindowEntries) << c.name;

    // Each pair's order number and key sums, as the stream should order them.
    auto keyOf = [&](const zoint::PairEntry& e) {
      std::vector<int64_t> key{e.order};
      for (int32_t j = sums.firstTieRow; j < sums.keyRows; ++j)
        key.push_back(zoint::PairKeySum(stream, e, j));
      return key;
    };
    std::vector<std::vector<int64_t>> expected;
    for (uint32_t r = 0; r < stream.runs->size; ++r) {
      for (uint32_t i = 0; i < stream.items->size; ++i) {
        expected.push_back(keyOf(zoint::PairEntry{stream.runs->order[r] + stream.items->order[i], r, i}));
      }
    }
    std::sort(expected.begin(), expected.end());

    std::vector<bool> seen(pairs, false);
    std::vector<std::vector<int64_t>> produced;
    int windows = 0;
    zoint::WindowOutcome outcome;
    while ((outcome = zoint::NextWindow(stream)) == zoint::WindowOutcome::Filled) {
      ++windows;
      for (size_t at = 0; at < stream.windowSize; ++at) {
        const zoint::PairEntry& e = stream.window[at];
        const uint64_t index = uint64_t{e.run} * stream.items->size + e.item;
        ASSERT_FALSE(seen[index]) << c.name << ": a pair twice";
        seen[index] = true;
        ASSERT_EQ(e.order, stream.runs->order[e.run] + stream.items->order[e.item]) << c.name;
        produced.push_back(keyOf(e));
      }
    }
    EXPECT_EQ(outcome, zoint::WindowOutcome::Finished) << c.name;
    EXPECT_GT(windows, 2) << c.name;
    EXPECT_EQ(stream.produced, pairs) << c.name;
    EXPECT_TRUE(produced == expected) << c.name << ": not every pair, or not in order";
  }
}

// --- Limits -----------------------------------------------------------------------

// A system of three equations over 40 variables met at a point, long
// enough to report several times at a fine interval.
TestProblem LongSystem() {
  std::mt19937_64 rng(41);
  return RandomProblem(rng, families::kSignedEqualities, 40, 3);
}

TEST(SumEnumeration, CancelFlagSetBeforehandStopsWithNothing) {
  volatile int32_t cancel = 1;
  zoint::ExactOptions options;
  options.cancel = &cancel;
  const MethodRun run = RunMethod(LongSystem(), options);
  ASSERT_EQ(run.outcome, MethodOutcome::Answered);
  EXPECT_EQ(run.result.status, ExactStatus::Stopped);
  EXPECT_FALSE(run.result.hasSolution);
  EXPECT_EQ(run.result.value, NoSolutionValue);
  for (int32_t i = 0; i < zoint::MaxVariables; ++i) EXPECT_EQ(run.result.x[i], 0);
}

// Every report's bound is at most the optimum and every best found at
// least it; a flag raised from the callback stops the walk with a best
// that is a feasible assignment worth what it says.
TEST(SumEnumeration, ProgressReportsAndCancelFromTheCallback) {
  const TestProblem p = LongSystem();
  const MethodRun full = RunMethod(p);
  ASSERT_EQ(full.outcome, MethodOutcome::Answered);
  ASSERT_EQ(full.result.status, ExactStatus::Optimal);
  const int64_t optimum = full.result.value;

  ProgressLog log;
  zoint::ExactOptions options;
  options.progress = Record;
  options.progressData = &log;
  options.progressInterval = 0.0002;
  const MethodRun watched = RunMethod(p, options);
  ASSERT_EQ(watched.result.status, ExactStatus::Optimal);
  EXPECT_EQ(watched.result.value, optimum);
  ASSERT_FALSE(log.reports.empty()) << "too quick to report";
  for (const zoint::ExactProgress& report : log.reports) {
    EXPECT_LE(report.bound, optimum);
    if (report.hasSolution) {
      EXPECT_GE(report.bestValue, optimum);
    }
  }

  ProgressLog stopping;
  stopping.cancelAfter = 1;
  options.progressData = &stopping;
  options.cancel = &stopping.cancel;
  const MethodRun stopped = RunMethod(p, options);
  ASSERT_EQ(stopped.outcome, MethodOutcome::Answered);
  ASSERT_EQ(stopping.reports.size(), 1u);
  EXPECT_EQ(stopped.result.status, ExactStatus::Stopped);
  if (stopped.result.hasSolution) {
    EXPECT_GE(stopped.result.value, optimum);
    int64_t value = 0;
    for (int32_t i = 0; i < p.n; ++i) value += p.c[static_cast<size_t>(i)] * stopped.result.x[i];
    EXPECT_EQ(value, stopped.result.value);
    for (const auto& row : p.rows) {
      int64_t lhs = 0;
      for (int32_t i = 0; i < p.n; ++i) lhs += row[static_cast<size_t>(i)] * stopped.result.x[i];
      EXPECT_LE(lhs, row[static_cast<size_t>(p.n)]);
    }
  }
}

// --- The shared instances -----------------------------------------------------------

// Market split with 3, 4 and 5 equations and Todd's knapsack at n = 40, as
// a host's call solves them: the reference optimum, and the assignment the
// separate check (bench/market_split_check.cpp) and Todd's structure give,
// each the only optimum there is.
TEST(SumEnumeration, SharedStructureInstances) {
  const std::string root = ZOINT_INSTANCES_DIR "/structure/";
  const struct {
    const char* name;
    const char* x;  // "" where there is no solution
  } kInstances[] = {
      {"ms3_20_s131", ""},
      {"ms4_30_s141", ""},
      {"ms5_40_s151", "0101101110111010101111000010100110100100"},
      {"todd_n40", "1000000000000000000001111111111111111111"},
  };
  if (ReadFile(root + "todd_n40/ZOIntIn.dat").empty()) GTEST_SKIP() << "no instances under " << root;
  for (const auto& instance : kInstances) {
    const std::string folder = root + instance.name + "/";
    const std::string optimum = ReadFile(folder + "optimum.txt");
    ASSERT_FALSE(optimum.empty()) << instance.name;
    ScratchDir scratch;
    const RunOutput run = Solve(ReadFile(folder + "ZOIntIn.dat"));
    ASSERT_TRUE(run.report.searched) << instance.name;
    EXPECT_EQ(run.report.exact.method, zoint::ExactMethod::SumEnumeration) << instance.name;
    std::string vector;
    const std::string x = instance.x;
    const size_t n = x.empty() ? static_cast<size_t>(std::stoi(ReadFile(folder + "ZOIntIn.dat"))) : x.size();
    for (size_t i = 0; i < n; ++i) vector += std::string(i ? "," : "") + (x.empty() ? '0' : x[i]);
    EXPECT_EQ(run.solution, ExpectedSolution(std::stoll(optimum), vector)) << instance.name;
  }
}

}  // namespace
}  // namespace zoint_test
