// Lists of answers against a brute force that sorts every feasible
// assignment by objective, then lexicographically: the first k, every
// optimal one and every one within a gap must be exactly the brute force's
// prefix, each assignment once, with the right completeness; with one entry
// the list is the single answer; a stopped list holds only a proven prefix.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <set>
#include <random>
#include <string>
#include <vector>

#include "exact_search/exact_search.h"
#include "exact_search/oriented_problem.h"
#include "exact_search/solution_list.h"
#include "support/random_problems.h"
#include "support/search_support.h"

namespace zoint_test {
namespace {

using zoint::ExactStatus;
using zoint::ListKind;
using zoint::ListRequest;
using zoint::ListResult;

struct Entry {
  int64_t value;
  std::vector<int8_t> x;
};

bool Before(const Entry& a, const Entry& b) { return a.value != b.value ? a.value < b.value : a.x < b.x; }

// Every feasible assignment worth less than NoSolutionValue, in order.
std::vector<Entry> SortedAssignments(const TestProblem& p) {
  std::vector<Entry> all;
  for (uint64_t bits = 0; bits < (uint64_t{1} << p.n); ++bits) {
    std::vector<int8_t> x(static_cast<size_t>(p.n));
    for (int32_t i = 0; i < p.n; ++i) x[i] = static_cast<int8_t>((bits >> (p.n - 1 - i)) & 1u);
    bool feasible = true;
    for (const auto& row : p.rows) {
      int64_t lhs = 0;
      for (int32_t i = 0; i < p.n; ++i) lhs += row[i] * x[i];
      feasible = feasible && lhs <= row[p.n];
    }
    int64_t value = 0;
    for (int32_t i = 0; i < p.n; ++i) value += p.c[i] * x[i];
    if (feasible && value < zoint::NoSolutionValue) all.push_back({value, x});
  }
  std::sort(all.begin(), all.end(), Before);
  return all;
}

// What the request must give: the brute force's prefix, and whether it is
// every assignment of the kind.
std::vector<Entry> Expected(const std::vector<Entry>& all, const ListRequest& request, bool* complete) {
  std::vector<Entry> kind;
  for (const Entry& e : all) {
    if (request.kind == ListKind::Optimal && e.value != all.front().value) break;
    if (request.kind == ListKind::WithinGap && e.value > all.front().value + request.gap) break;
    kind.push_back(e);
  }
  *complete = kind.size() <= request.count;
  if (kind.size() > request.count) kind.resize(request.count);
  return kind;
}

std::string Describe(const ListRequest& r) {
  static const char* const kKinds[] = {"best", "optimal", "within gap"};
  return std::string(kKinds[static_cast<int>(r.kind)]) + " count " + std::to_string(r.count) + " gap " +
         std::to_string(r.gap);
}

void ExpectList(const TestProblem& p, const std::vector<Entry>& all, const ListRequest& request,
                const std::string& context) {
  const ListResult got = zoint::ListSolutions(ToProblem(p), zoint::ExactOptions{}, request);
  const std::string where = context + ", " + Describe(request) + "\n" + ProblemText(p);
  if (all.empty()) {
    ASSERT_EQ(got.status, ExactStatus::Infeasible) << where;
    ASSERT_TRUE(got.answers.empty()) << where;
    ASSERT_TRUE(got.complete) << where;
    return;
  }
  bool complete = false;
  const std::vector<Entry> expected = Expected(all, request, &complete);
  ASSERT_EQ(got.status, ExactStatus::Optimal) << where;
  ASSERT_EQ(got.answers.size(), expected.size()) << where;
  for (size_t k = 0; k < expected.size(); ++k) {
    ASSERT_EQ(got.answers[k].value, expected[k].value) << "entry " << k << ", " << where;
    for (int32_t i = 0; i < p.n; ++i) ASSERT_EQ(got.answers[k].x[i], expected[k].x[i]) << "entry " << k << ", " << where;
  }
  // A single best answer does not say whether it is the only one.
  if (!(request.kind == ListKind::Best && request.count == 1)) {
    ASSERT_EQ(got.complete, complete) << where;
  }
}

TEST(ListSolutions, MatchTheBruteForcePrefix) {
  std::mt19937_64 rng(18);
  // Mixed signs, ties, infeasible rows, rows every assignment meets.
  const Family families[] = {families::kSignedDense,  families::kFewCosts,    families::kZeroCosts,
                             families::kSignedEqualities, families::kKnapsack, families::kSignedKnapsack,
                             families::kCovering,     families::kAllNegative};
  const ListRequest requests[] = {
      {ListKind::Best, 1, 0},     {ListKind::Best, 2, 0},      {ListKind::Best, 7, 0},
      {ListKind::Best, 40, 0},    {ListKind::Optimal, 1, 0},   {ListKind::Optimal, 3, 0},
      {ListKind::Optimal, 500, 0}, {ListKind::WithinGap, 5, 0}, {ListKind::WithinGap, 6, 2},
      {ListKind::WithinGap, 500, 7},
  };
  const int rounds = RoundsToRun(60);
  for (int round = 0; round < rounds; ++round) {
    for (const Family& family : families) {
      const int32_t n = static_cast<int32_t>(Uniform(rng, 0, 12));
      const int32_t m = static_cast<int32_t>(Uniform(rng, 0, 5));
      TestProblem p = RandomProblem(rng, family, n, m);
      // Now and then a row every assignment meets, which lets every one through.
      if (round % 5 == 0) p.rows = {std::vector<int64_t>(static_cast<size_t>(n) + 1, 0)};
      const std::vector<Entry> all = SortedAssignments(p);
      for (const ListRequest& request : requests) {
        ExpectList(p, all, request, "round " + std::to_string(round) + " " + family.name);
      }
    }
  }
}

// The seeding of a list: from a feasible assignment, its neighbours within
// two flips, then theirs. Every entry is feasible, worth its value, listed
// once and in order; with room for all and no limit on expansions the list
// is exactly the set of feasible assignments a chain of such flips through
// feasible ones reaches (found here by a breadth-first walk); with less
// room or fewer expansions, a part of that set in order (what falls off a
// full list is not expanded, so not the first part).
TEST(ListSolutions, SeededNeighbourhoodsStayWithinTheReachableFeasibleOnes) {
  std::mt19937_64 rng(29);
  const Family families[] = {families::kSignedDense, families::kFewCosts, families::kKnapsack,
                             families::kCovering, families::kSignedEqualities};
  const int rounds = RoundsToRun(40);
  for (int round = 0; round < rounds; ++round) {
    for (const Family& family : families) {
      const int32_t n = static_cast<int32_t>(Uniform(rng, 1, 10));
      const int32_t m = static_cast<int32_t>(Uniform(rng, 0, 4));
      const TestProblem p = RandomProblem(rng, family, n, m);
      const std::vector<Entry> all = SortedAssignments(p);
      if (all.empty()) continue;
      std::set<std::vector<int8_t>> feasible;
      for (const Entry& e : all) feasible.insert(e.x);
      const std::vector<int8_t> start = all[static_cast<size_t>(Uniform(rng, 0, static_cast<int64_t>(all.size()) - 1))].x;
      // Breadth first over one and two flips.
      std::set<std::vector<int8_t>> reached{start};
      std::deque<std::vector<int8_t>> open{start};
      while (!open.empty()) {
        const std::vector<int8_t> x = open.front();
        open.pop_front();
        for (int32_t a = 0; a < n; ++a) {
          for (int32_t b = a; b < n; ++b) {
            std::vector<int8_t> next = x;
            next[static_cast<size_t>(a)] ^= 1;
            if (b != a) next[static_cast<size_t>(b)] ^= 1;
            if (feasible.count(next) != 0 && reached.insert(next).second) open.push_back(next);
          }
        }
      }

      zoint::OrientedProblem oriented;
      zoint::OrientProblem(ToProblem(p), oriented);
      int8_t y[zoint::MaxVariables];
      for (int32_t i = 0; i < n; ++i) y[i] = zoint::OrientedValue(oriented, i, start[static_cast<size_t>(i)]);
      const struct {
        size_t capacity;
        int32_t expansions;
      } shapes[] = {{size_t{1} << n, 1 << n}, {4, 1000}, {1000, 3}, {1, 1}};
      for (const auto& shape : shapes) {
        const std::string where = "round " + std::to_string(round) + " " + family.name + " capacity " +
                                  std::to_string(shape.capacity) + " expansions " +
                                  std::to_string(shape.expansions) + "\n" + ProblemText(p);
        zoint::SolutionList list;
        zoint::StartSolutionList(list, shape.capacity, zoint::NoSolutionValue);
        zoint::InsertNeighbourhoods(list, oriented, y, shape.expansions);
        std::vector<Entry> got;
        for (const zoint::ListedSolution& listed : list.entries) {
          Entry e{listed.value, std::vector<int8_t>(listed.x, listed.x + n)};
          ASSERT_EQ(reached.count(e.x), 1u) << where;
          int64_t value = 0;
          for (int32_t i = 0; i < n; ++i) value += p.c[static_cast<size_t>(i)] * e.x[static_cast<size_t>(i)];
          ASSERT_EQ(e.value, value) << where;
          if (!got.empty()) {
            ASSERT_TRUE(Before(got.back(), e)) << where;
          }
          got.push_back(e);
        }
        ASSERT_LE(got.size(), shape.capacity) << where;
        if (shape.capacity >= (size_t{1} << n) && shape.expansions >= (1 << n)) {
          // Room for all, each expanded: every reachable one, in order.
          std::vector<Entry> expected;
          for (const Entry& e : all) {
            if (reached.count(e.x) != 0) expected.push_back(e);
          }
          ASSERT_EQ(got.size(), expected.size()) << where;
          for (size_t k = 0; k < got.size(); ++k) ASSERT_EQ(got[k].x, expected[k].x) << where;
        }
      }
    }
  }
}

// A list of one is the single answer.
TEST(ListSolutions, OneBestIsTheSingleAnswer) {
  std::mt19937_64 rng(19);
  for (int round = 0; round < RoundsToRun(200); ++round) {
    const Family& family = round % 2 ? families::kSignedDense : families::kFewCostsCovering;
    const TestProblem p = RandomProblem(rng, family, static_cast<int32_t>(Uniform(rng, 0, 20)),
                                        static_cast<int32_t>(Uniform(rng, 0, 8)));
    const zoint::ExactResult single = zoint::SolveExact(ToProblem(p), zoint::ExactOptions{});
    const ListResult list = zoint::ListSolutions(ToProblem(p), zoint::ExactOptions{}, {ListKind::Best, 1, 0});
    ASSERT_EQ(list.status, single.status) << ProblemText(p);
    if (single.status == ExactStatus::Infeasible) continue;
    ASSERT_EQ(list.answers.size(), 1u);
    ASSERT_EQ(list.answers[0].value, single.value) << ProblemText(p);
    for (int32_t i = 0; i < p.n; ++i) ASSERT_EQ(list.answers[0].x[i], single.x[i]) << ProblemText(p);
  }
}

// Stopped by a node limit, a list holds only entries proven to come first:
// a prefix of the true list, and it says it is not complete.
TEST(ListSolutions, StoppedListsAreProvenPrefixes) {
  std::mt19937_64 rng(20);
  int stopped = 0, nonEmpty = 0;
  for (int round = 0; round < RoundsToRun(80); ++round) {
    const TestProblem p = RandomProblem(rng, families::kFewCosts, 12, static_cast<int32_t>(Uniform(rng, 1, 4)));
    const std::vector<Entry> all = SortedAssignments(p);
    zoint::ExactOptions options;
    options.nodeLimit = static_cast<uint64_t>(Uniform(rng, 1, 60));
    const ListResult got = zoint::ListSolutions(ToProblem(p), options, {ListKind::Best, 50, 0});
    if (got.status != ExactStatus::Stopped) continue;
    ++stopped;
    EXPECT_FALSE(got.complete);
    ASSERT_LE(got.answers.size(), all.size()) << ProblemText(p);
    for (size_t k = 0; k < got.answers.size(); ++k) {
      ASSERT_EQ(got.answers[k].value, all[k].value) << "entry " << k << "\n" << ProblemText(p);
      for (int32_t i = 0; i < p.n; ++i) ASSERT_EQ(got.answers[k].x[i], all[k].x[i]) << ProblemText(p);
    }
    nonEmpty += !got.answers.empty();
  }
  EXPECT_GT(stopped, 10) << "the node limits should stop most of these";
  EXPECT_GT(nonEmpty, 0) << "some stopped lists should already hold a proven prefix";
}

}  // namespace
}  // namespace zoint_test
