// The exact search's door, called directly: its limits, its cancel flag and
// progress reports, what it returns when stopped, and calls from several
// threads at once (it keeps no state of its own).
#include <gtest/gtest.h>

#include <random>
#include <thread>
#include <vector>

#include "exact_search/exact_search.h"
#include "support/random_problems.h"
#include "support/search_support.h"

namespace zoint_test {
namespace {

using zoint::ExactOptions;
using zoint::ExactResult;
using zoint::ExactStatus;

TestProblem CorrelatedKnapsack(uint64_t seed, int32_t n, int32_t m) {
  return RandomKnapsack(seed, n, m, true);
}

bool Feasible(const TestProblem& p, const ExactResult& r) {
  for (const auto& row : p.rows) {
    int64_t lhs = 0;
    for (int32_t i = 0; i < p.n; ++i) lhs += row[i] * r.x[i];
    if (lhs > row[p.n]) return false;
  }
  return true;
}

int64_t Value(const TestProblem& p, const ExactResult& r) {
  int64_t value = 0;
  for (int32_t i = 0; i < p.n; ++i) value += p.c[i] * r.x[i];
  return value;
}

// Stopped with an assignment: it is feasible, worth what it says, and no
// better than the optimum.
void ExpectSoundStop(const TestProblem& p, const ExactResult& r, int64_t optimum) {
  EXPECT_EQ(r.status, ExactStatus::Stopped);
  if (r.hasSolution) {
    EXPECT_TRUE(Feasible(p, r));
    EXPECT_EQ(Value(p, r), r.value);
    EXPECT_GE(r.value, optimum);
  } else {
    EXPECT_EQ(r.value, zoint::NoSolutionValue);
    for (int32_t i = 0; i < p.n; ++i) EXPECT_EQ(r.x[i], 0);
  }
}

TEST(ExactEngine, AnswersWithoutLimits) {
  const TestProblem p = CorrelatedKnapsack(1, 20, 3);
  const ExactResult r = zoint::SolveExact(ToProblem(p), ExactOptions{});
  const SearchResult expected = BruteForce(p);
  ASSERT_EQ(r.status, ExactStatus::Optimal);
  EXPECT_TRUE(r.hasSolution);
  EXPECT_EQ(r.value, expected.value);
  for (int32_t i = 0; i < p.n; ++i) EXPECT_EQ(r.x[i], expected.vector[i]) << i;
  EXPECT_GT(r.stats.nodes, 0u);

  TestProblem infeasible{2, {-1, -1}, {{1, 1, -1}}};
  const ExactResult none = zoint::SolveExact(ToProblem(infeasible), ExactOptions{});
  EXPECT_EQ(none.status, ExactStatus::Infeasible);
  EXPECT_FALSE(none.hasSolution);
  EXPECT_EQ(none.value, zoint::NoSolutionValue);
}

TEST(ExactEngine, NodeLimitStopsWithTheBestFoundSoFar) {
  const TestProblem p = CorrelatedKnapsack(2, 40, 5);
  const ExactResult full = zoint::SolveExact(ToProblem(p), ExactOptions{});
  ASSERT_EQ(full.status, ExactStatus::Optimal);
  ASSERT_GT(full.stats.nodes, 200u);
  for (const uint64_t limit : {1u, 10u, 200u}) {
    ExactOptions options;
    options.nodeLimit = limit;
    const ExactResult r = zoint::SolveExact(ToProblem(p), options);
    EXPECT_EQ(r.stats.nodes, limit);
    ExpectSoundStop(p, r, full.value);
  }
  // A limit the search does not reach changes nothing.
  ExactOptions roomy;
  roomy.nodeLimit = full.stats.nodes;
  const ExactResult r = zoint::SolveExact(ToProblem(p), roomy);
  EXPECT_EQ(r.status, ExactStatus::Optimal);
  EXPECT_EQ(r.value, full.value);
}

TEST(ExactEngine, CancelFlagSetBeforehandStopsAtOnce) {
  const TestProblem p = CorrelatedKnapsack(3, 30, 5);
  volatile int32_t cancel = 1;
  ExactOptions options;
  options.cancel = &cancel;
  const ExactResult r = zoint::SolveExact(ToProblem(p), options);
  EXPECT_EQ(r.status, ExactStatus::Stopped);
  EXPECT_FALSE(r.hasSolution);
  EXPECT_EQ(r.stats.nodes, 0u);
  ExpectSoundStop(p, r, INT64_MIN);
}

TEST(ExactEngine, ProgressReportsAndCancelFromTheCallback) {
  const TestProblem p = CorrelatedKnapsack(4, 60, 10);
  ProgressLog log;
  log.cancelAfter = 3;
  ExactOptions options;
  options.cancel = &log.cancel;
  options.progress = Record;
  options.progressData = &log;
  options.progressInterval = 0.002;
  options.nodeLimit = 5000000;  // a backstop only; the flag stops it first
  const ExactResult r = zoint::SolveExact(ToProblem(p), options);
  // Three while it ran, then the last one, made as it stopped.
  ASSERT_EQ(log.reports.size(), 4u);
  EXPECT_EQ(r.status, ExactStatus::Stopped);
  // The flag is seen before the next node: none was explored after it.
  EXPECT_EQ(r.stats.nodes, log.reports[2].nodes);
  EXPECT_EQ(r.stats.nodes, log.reports[3].nodes);
  for (size_t k = 0; k < log.reports.size(); ++k) {
    const zoint::ExactProgress& report = log.reports[k];
    if (k > 0) {
      EXPECT_GE(report.nodes, log.reports[k - 1].nodes);
      // The interval holds between reports made while it ran, not for the last.
      EXPECT_GE(report.seconds, log.reports[k - 1].seconds + (k < 3 ? 0.002 : 0.0));
    }
    if (report.hasSolution) {
      EXPECT_LE(report.bound, report.bestValue);
    }
    // Every cost is at least the most negative one: the trivial bound holds.
    int64_t least = 0;
    for (int64_t c : p.c) least += c < 0 ? c : 0;
    EXPECT_GE(report.bound, least);
  }
  ExpectSoundStop(p, r, log.reports.back().bound);
}

// The bound reported while the search runs is a bound on the optimum itself,
// found by the same search run to its end: in the search of cores (a
// restricted problem), in the depth-first dive, and with nodes set aside.
// It never falls, and the last report, made as the search ends, has the
// optimum both as its best and as its bound.
TEST(ExactEngine, ProgressBoundsNeverPassTheOptimum) {
  int reports = 0;
  for (uint64_t seed = 11; seed < 31; ++seed) {
    for (const uint64_t depthFirstNodes : {uint64_t{500000}, uint64_t{0}}) {
      const TestProblem p = CorrelatedKnapsack(seed, 40 + static_cast<int32_t>(seed % 3) * 10, 2 + seed % 5);
      ProgressLog log;
      ExactOptions options;
      options.progress = Record;
      options.progressData = &log;
      options.progressInterval = 0.0002;
      options.depthFirstNodes = depthFirstNodes;
      const ExactResult r = zoint::SolveExact(ToProblem(p), options);
      ASSERT_EQ(r.status, ExactStatus::Optimal);
      for (size_t k = 0; k < log.reports.size(); ++k) {
        const zoint::ExactProgress& report = log.reports[k];
        EXPECT_LE(report.bound, r.value)
            << "seed " << seed << ", " << report.nodes << " nodes, depth first for " << depthFirstNodes;
        if (report.hasSolution) {
          EXPECT_GE(report.bestValue, r.value);
        }
        if (k > 0) {
          EXPECT_GE(report.bound, log.reports[k - 1].bound) << "seed " << seed << ": the bound fell";
        }
      }
      if (!log.reports.empty()) {
        EXPECT_EQ(log.reports.back().bound, r.value) << "seed " << seed;
        EXPECT_EQ(log.reports.back().bestValue, r.value) << "seed " << seed;
      }
      reports += static_cast<int>(log.reports.size());
    }
  }
  EXPECT_GT(reports, 20) << "too quick to report";
}

TEST(ExactEngine, ThreadsSolveAtOnceWithTheAnswersOfOneAtATime) {
  std::vector<TestProblem> problems;
  for (uint64_t seed = 0; seed < 8; ++seed) {
    problems.push_back(CorrelatedKnapsack(100 + seed, 24 + static_cast<int32_t>(seed), 3 + seed % 4));
  }
  std::vector<ExactResult> alone;
  for (const TestProblem& p : problems) alone.push_back(zoint::SolveExact(ToProblem(p), ExactOptions{}));

  std::vector<ExactResult> together(problems.size());
  std::vector<std::thread> threads;
  for (size_t k = 0; k < problems.size(); ++k) {
    threads.emplace_back([&, k] {
      for (int repeat = 0; repeat < 3; ++repeat) together[k] = zoint::SolveExact(ToProblem(problems[k]), {});
    });
  }
  for (std::thread& t : threads) t.join();
  for (size_t k = 0; k < problems.size(); ++k) {
    ASSERT_EQ(alone[k].status, ExactStatus::Optimal) << k;
    EXPECT_EQ(together[k].status, alone[k].status) << k;
    EXPECT_EQ(together[k].value, alone[k].value) << k;
    EXPECT_EQ(together[k].stats.nodes, alone[k].stats.nodes) << k;
    for (int32_t i = 0; i < problems[k].n; ++i) EXPECT_EQ(together[k].x[i], alone[k].x[i]) << k << " " << i;
  }
}

}  // namespace
}  // namespace zoint_test
