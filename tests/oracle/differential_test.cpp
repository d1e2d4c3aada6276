// The library's search against the word-for-word one, on thousands of random
// problems: same value, same vector, same node and evaluation counts. Some
// coefficients sit near the 64-bit limits so that sums wrap.
#include <gtest/gtest.h>

#include <random>

#include "oracle/literal_search.h"
#include "support/random_problems.h"
#include "support/run_support.h"
#include "support/search_support.h"

namespace zoint_test {
namespace {

TestProblem RandomProblem(std::mt19937_64& rng, const Family& family) {
  // Knapsack trees grow fastest; the word-for-word search pays 42 KB a node.
  const int32_t n = static_cast<int32_t>(rng() % (family.rows == Rows::Knapsack ? 15 : 21));
  const int32_t m = static_cast<int32_t>(rng() % 8);
  return zoint_test::RandomProblem(rng, family, n, m);
}

TEST(Differential, MatchesWordForWordSearch) {
  std::mt19937_64 rng(20261210);
  const Family families[] = {families::kSmallMixed, families::kCoverOnce, families::kKnapsack, families::kExtreme};
  const int rounds = RoundsToRun(1000);
  for (int round = 0; round < rounds; ++round) {
    for (const Family& family : families) {
      const TestProblem problem = RandomProblem(rng, family);
      const SearchResult expected = LiteralSearch(problem);
      const SearchResult got = SpecifiedSearch(problem);
      ASSERT_EQ(got, expected) << "round " << round << " family " << family.name << "\n"
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
    const TestProblem problem = RandomProblem(rng, round % 2 ? families::kExtreme : families::kSmallMixed);
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
