// zoint_solve, the direct C API: answers against a plain brute force, calls
// from 8 threads at once, limits and hooks, and a status for every bad
// argument with the outputs left alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "support/random_problems.h"
#include "support/search_support.h"
#include "zoint/zoint_api.h"

namespace zoint_test {
namespace {

// A problem as the API takes it: rows flattened, row after row.
struct Flat {
  int32_t n;
  int32_t m;
  std::vector<int64_t> costs;
  std::vector<int64_t> rows;
  std::vector<int64_t> rhs;
};

Flat Flatten(const TestProblem& p) {
  Flat flat{p.n, static_cast<int32_t>(p.rows.size()), p.c, {}, {}};
  for (const auto& row : p.rows) {
    flat.rows.insert(flat.rows.end(), row.begin(), row.begin() + p.n);
    flat.rhs.push_back(row[static_cast<size_t>(p.n)]);
  }
  return flat;
}

struct Answer {
  zoint_status status;
  int64_t value;
  std::vector<int32_t> x;
};

Answer Call(const Flat& p, const zoint_options* options = nullptr) {
  Answer a{ZOINT_BAD_ARGUMENT, -1, std::vector<int32_t>(static_cast<size_t>(p.n), -1)};
  a.status =
      zoint_solve(p.n, p.m, p.costs.data(), p.rows.data(), p.rhs.data(), options, &a.value, a.x.data());
  return a;
}

void ExpectBruteForceAnswer(const TestProblem& p, const Answer& a) {
  const SearchResult expected = BruteForce(p);
  EXPECT_EQ(a.status, expected.value == ZOINT_NO_SOLUTION ? ZOINT_INFEASIBLE : ZOINT_OPTIMAL);
  EXPECT_EQ(a.value, expected.value);
  for (int32_t i = 0; i < p.n; ++i)
    EXPECT_EQ(a.x[static_cast<size_t>(i)], expected.vector[static_cast<size_t>(i)]) << i;
}

// Mixed signs everywhere, equality pairs included, some infeasible.
TestProblem RandomMixed(uint64_t seed, int32_t n, int32_t m) {
  uint64_t state = seed * 0x9E3779B97F4A7C15u + 1;
  auto next = [&](int64_t low, int64_t high) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return low + static_cast<int64_t>(state % static_cast<uint64_t>(high - low + 1));
  };
  TestProblem p{n, {}, {}};
  for (int32_t i = 0; i < n; ++i) p.c.push_back(next(-20, 20));
  for (int32_t j = 0; j < m; ++j) {
    std::vector<int64_t> row;
    int64_t total = 0;
    for (int32_t i = 0; i < n; ++i) {
      row.push_back(next(-9, 9));
      total += row.back();
    }
    const int64_t high = total / 2 + 5;
    row.push_back(next(-10, high > -10 ? high : -10));
    p.rows.push_back(row);
    if (j % 3 == 2) {  // the same row the other way round: an equality
      std::vector<int64_t> opposite;
      for (int64_t a : row) opposite.push_back(-a);
      p.rows.push_back(opposite);
    }
  }
  return p;
}

TEST(CApi, AgreesWithBruteForce) {
  for (uint64_t seed = 1; seed <= 40; ++seed) {
    const TestProblem p =
        RandomMixed(seed, static_cast<int32_t>(4 + seed % 11), static_cast<int32_t>(seed % 5));
    SCOPED_TRACE(seed);
    ExpectBruteForceAnswer(p, Call(Flatten(p)));
  }
}

TEST(CApi, EightThreadsAtOnceEachGetTheirOwnAnswer) {
  constexpr int kThreads = 8;
  constexpr int kCallsEach = 30;
  std::vector<TestProblem> problems;
  std::vector<SearchResult> expected;
  for (int t = 0; t < kThreads; ++t) {
    // Different sizes and kinds, each with its own answer.
    problems.push_back(t % 2 == 0 ? RandomKnapsack(100 + static_cast<uint64_t>(t), 14 + t, 3, true)
                                  : RandomMixed(200 + static_cast<uint64_t>(t), 10 + t, 4));
    expected.push_back(BruteForce(problems.back()));
  }
  // All threads start together and call repeatedly, so that calls overlap.
  std::atomic<bool> go{false};
  std::vector<int> wrong(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      const size_t k = static_cast<size_t>(t);
      const Flat flat = Flatten(problems[k]);
      while (!go.load()) std::this_thread::yield();
      for (int call = 0; call < kCallsEach; ++call) {
        const Answer a = Call(flat);
        std::vector<int64_t> x(a.x.begin(), a.x.end());
        if (a.value != expected[k].value || x != expected[k].vector) ++wrong[k];
      }
    });
  }
  go.store(true);
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(wrong[static_cast<size_t>(t)], 0) << "thread " << t;
    ExpectBruteForceAnswer(problems[static_cast<size_t>(t)], Call(Flatten(problems[static_cast<size_t>(t)])));
  }
}

TEST(CApi, EmptyArraysMayBeNull) {
  int64_t value = -1;
  EXPECT_EQ(zoint_solve(0, 0, nullptr, nullptr, nullptr, nullptr, &value, nullptr), ZOINT_OPTIMAL);
  EXPECT_EQ(value, 0);
  const int64_t impossible[] = {-1};  // 0 ≤ −1
  EXPECT_EQ(zoint_solve(0, 1, nullptr, nullptr, impossible, nullptr, &value, nullptr), ZOINT_INFEASIBLE);
  EXPECT_EQ(value, ZOINT_NO_SOLUTION);
  const int64_t costs[] = {3, -2};
  int32_t x[2] = {7, 7};
  EXPECT_EQ(zoint_solve(2, 0, costs, nullptr, nullptr, nullptr, &value, x), ZOINT_OPTIMAL);
  EXPECT_EQ(value, -2);
  EXPECT_EQ(x[0], 0);
  EXPECT_EQ(x[1], 1);
}

TEST(CApi, EveryBadArgumentGetsItsStatusAndLeavesTheOutputs) {
  const int64_t costs[2] = {1, 1};
  const int64_t rows[2] = {-1, -1};
  const int64_t rhs[1] = {-1};
  const double nan = std::numeric_limits<double>::quiet_NaN();
  zoint_options negativeTime{};
  negativeTime.time_limit = -1;
  zoint_options nanTime{};
  nanTime.time_limit = nan;
  zoint_options negativeInterval{};
  negativeInterval.progress_interval = -0.5;
  zoint_options nanInterval{};
  nanInterval.progress_interval = nan;
  const int64_t wideCosts[2] = {INT64_MAX, 1};
  const int64_t lowestRow[2] = {INT64_MIN, 0};
  const int64_t wideRow[2] = {INT64_MAX / 2 + 1, INT64_MAX / 2 + 1};

  struct Case {
    const char* what;
    int32_t n, m;
    const int64_t* costs;
    const int64_t* rows;
    const int64_t* rhs;
    const zoint_options* options;
    bool nullValue;
    bool nullX;
    zoint_status expected;
  };
  const Case cases[] = {
      {"n below 0", -1, 1, costs, rows, rhs, nullptr, false, false, ZOINT_BAD_SIZE},
      {"n above 100", 101, 1, costs, rows, rhs, nullptr, false, false, ZOINT_BAD_SIZE},
      {"m below 0", 2, -1, costs, rows, rhs, nullptr, false, false, ZOINT_BAD_SIZE},
      {"m above 50", 2, 51, costs, rows, rhs, nullptr, false, false, ZOINT_BAD_SIZE},
      {"bad size before null pointers", 101, 0, nullptr, nullptr, nullptr, nullptr, true, true,
       ZOINT_BAD_SIZE},
      {"value null", 2, 1, costs, rows, rhs, nullptr, true, false, ZOINT_BAD_ARGUMENT},
      {"x null", 2, 1, costs, rows, rhs, nullptr, false, true, ZOINT_BAD_ARGUMENT},
      {"costs null", 2, 1, nullptr, rows, rhs, nullptr, false, false, ZOINT_BAD_ARGUMENT},
      {"rows null", 2, 1, costs, nullptr, rhs, nullptr, false, false, ZOINT_BAD_ARGUMENT},
      {"rhs null", 2, 1, costs, rows, nullptr, nullptr, false, false, ZOINT_BAD_ARGUMENT},
      {"negative time limit", 2, 1, costs, rows, rhs, &negativeTime, false, false, ZOINT_BAD_ARGUMENT},
      {"NaN time limit", 2, 1, costs, rows, rhs, &nanTime, false, false, ZOINT_BAD_ARGUMENT},
      {"negative interval", 2, 1, costs, rows, rhs, &negativeInterval, false, false, ZOINT_BAD_ARGUMENT},
      {"NaN interval", 2, 1, costs, rows, rhs, &nanInterval, false, false, ZOINT_BAD_ARGUMENT},
      {"null before wrapping", 2, 1, wideCosts, rows, nullptr, nullptr, false, false, ZOINT_BAD_ARGUMENT},
      {"costs sum past 2^63 - 1", 2, 1, wideCosts, rows, rhs, nullptr, false, false, ZOINT_OUT_OF_RANGE},
      {"a row holds -2^63", 2, 1, costs, lowestRow, rhs, nullptr, false, false, ZOINT_OUT_OF_RANGE},
      {"a row sums past 2^63 - 1", 2, 1, costs, wideRow, rhs, nullptr, false, false, ZOINT_OUT_OF_RANGE},
  };
  for (const Case& c : cases) {
    int64_t value = 12345;
    int32_t x[2] = {7, 7};
    const zoint_status status = zoint_solve(c.n, c.m, c.costs, c.rows, c.rhs, c.options,
                                            c.nullValue ? nullptr : &value, c.nullX ? nullptr : x);
    EXPECT_EQ(status, c.expected) << c.what;
    EXPECT_EQ(value, 12345) << c.what;
    EXPECT_EQ(x[0], 7) << c.what;
    EXPECT_EQ(x[1], 7) << c.what;
  }
}

TEST(CApi, SumsAtTheLimitAreSolvedExactly) {
  // Σ|c| = 2^63 − 1 exactly: no sum can wrap, so this is solved.
  const int64_t costs[2] = {INT64_MAX - 5, -5};
  const int64_t rows[2] = {INT64_MAX / 2, -(INT64_MAX / 2) - 1};
  const int64_t rhs[1] = {-1};
  int64_t value = 0;
  int32_t x[2] = {0, 0};
  ASSERT_EQ(zoint_solve(2, 1, costs, rows, rhs, nullptr, &value, x), ZOINT_OPTIMAL);
  // x = (0, 1): row −(2^62) ≤ −1 holds, objective −5.
  EXPECT_EQ(value, -5);
  EXPECT_EQ(x[0], 0);
  EXPECT_EQ(x[1], 1);
}

void CountCalls(const zoint_progress* progress, void* data) {
  auto* seen = static_cast<std::vector<zoint_progress>*>(data);
  seen->push_back(*progress);
}

TEST(CApi, LimitsCancelAndProgress) {
  const TestProblem hard = RandomKnapsack(7, 60, 5, true);
  const Flat flat = Flatten(hard);

  zoint_options nodes{};
  nodes.node_limit = 5;
  const Answer byNodes = Call(flat, &nodes);
  EXPECT_EQ(byNodes.status, ZOINT_STOPPED);

  volatile int32_t cancel = 1;
  zoint_options cancelled{};
  cancelled.cancel = &cancel;
  const Answer byCancel = Call(flat, &cancelled);
  EXPECT_EQ(byCancel.status, ZOINT_STOPPED);

  // Whatever a stopped call returns is a feasible assignment worth its value,
  // or no assignment at all.
  for (const Answer* a : {&byNodes, &byCancel}) {
    if (a->value == ZOINT_NO_SOLUTION) {
      for (int32_t v : a->x) EXPECT_EQ(v, 0);
      continue;
    }
    int64_t value = 0;
    for (int32_t i = 0; i < hard.n; ++i)
      value += hard.c[static_cast<size_t>(i)] * a->x[static_cast<size_t>(i)];
    EXPECT_EQ(value, a->value);
    for (const auto& row : hard.rows) {
      int64_t lhs = 0;
      for (int32_t i = 0; i < hard.n; ++i) lhs += row[static_cast<size_t>(i)] * a->x[static_cast<size_t>(i)];
      EXPECT_LE(lhs, row[static_cast<size_t>(hard.n)]);
    }
  }

  std::vector<zoint_progress> seen;
  zoint_options reported{};
  reported.progress = CountCalls;
  reported.user_data = &seen;
  reported.progress_interval = 1e-6;
  const Answer full = Call(flat, &reported);
  ASSERT_EQ(full.status, ZOINT_OPTIMAL);
  ASSERT_FALSE(seen.empty());
  for (const zoint_progress& p : seen) {
    EXPECT_LE(p.bound, full.value);
    if (p.has_solution != 0) {
      EXPECT_GE(p.best_value, full.value);
    } else {
      EXPECT_EQ(p.best_value, ZOINT_NO_SOLUTION);
    }
  }
  // Being watched changes nothing in the answer.
  const Answer plain = Call(flat);
  EXPECT_EQ(full.value, plain.value);
  EXPECT_EQ(full.x, plain.x);
}

}  // namespace
}  // namespace zoint_test

namespace zoint_test {
namespace {

struct Listed {
  zoint_status status;
  std::vector<int64_t> values;
  std::vector<std::vector<int32_t>> xs;
  int32_t complete;
};

Listed CallList(const Flat& p, zoint_list_kind kind, int64_t gap, int32_t capacity) {
  std::vector<int64_t> values(static_cast<size_t>(capacity), -1);
  std::vector<int32_t> xs(static_cast<size_t>(capacity) * static_cast<size_t>(std::max(p.n, 1)), -1);
  int32_t count = -1, complete = -1;
  Listed listed{};
  listed.status = zoint_solve_list(p.n, p.m, p.costs.data(), p.rows.data(), p.rhs.data(), nullptr, kind, gap,
                                   capacity, values.data(), xs.data(), &count, &complete);
  EXPECT_GE(count, 0);
  for (int32_t k = 0; k < count; ++k) {
    listed.values.push_back(values[static_cast<size_t>(k)]);
    listed.xs.emplace_back(xs.begin() + k * p.n, xs.begin() + (k + 1) * p.n);
  }
  listed.complete = complete;
  return listed;
}

// Every feasible assignment, by objective then lexicographically, as the
// API's (value, x) pairs.
std::vector<std::pair<int64_t, std::vector<int32_t>>> SortedByBruteForce(const TestProblem& p) {
  std::vector<std::pair<int64_t, std::vector<int32_t>>> all;
  for (uint64_t bits = 0; bits < (uint64_t{1} << p.n); ++bits) {
    std::vector<int32_t> x(static_cast<size_t>(p.n));
    for (int32_t i = 0; i < p.n; ++i) x[static_cast<size_t>(i)] = static_cast<int32_t>((bits >> (p.n - 1 - i)) & 1u);
    bool feasible = true;
    for (const auto& row : p.rows) {
      int64_t lhs = 0;
      for (int32_t i = 0; i < p.n; ++i) lhs += row[static_cast<size_t>(i)] * x[static_cast<size_t>(i)];
      feasible = feasible && lhs <= row[static_cast<size_t>(p.n)];
    }
    int64_t value = 0;
    for (int32_t i = 0; i < p.n; ++i) value += p.c[static_cast<size_t>(i)] * x[static_cast<size_t>(i)];
    if (feasible) all.emplace_back(value, x);
  }
  std::sort(all.begin(), all.end());
  return all;
}

// The list's layout (assignment k at xs[k·n]), its order and its flags, on
// problems of mixed signs.
TEST(CApiLists, TheFirstAssignmentsInOrder) {
  for (uint64_t seed = 1; seed <= 30; ++seed) {
    const TestProblem p = RandomMixed(seed, static_cast<int32_t>(3 + seed % 9), static_cast<int32_t>(seed % 4));
    const auto all = SortedByBruteForce(p);
    SCOPED_TRACE(seed);
    const Listed best = CallList(Flatten(p), ZOINT_LIST_BEST, 0, 5);
    if (all.empty()) {
      EXPECT_EQ(best.status, ZOINT_INFEASIBLE);
      EXPECT_TRUE(best.values.empty());
      EXPECT_EQ(best.complete, 1);
      continue;
    }
    EXPECT_EQ(best.status, ZOINT_OPTIMAL);
    ASSERT_EQ(best.values.size(), std::min<size_t>(5, all.size()));
    for (size_t k = 0; k < best.values.size(); ++k) {
      EXPECT_EQ(best.values[k], all[k].first) << k;
      EXPECT_EQ(best.xs[k], all[k].second) << k;
    }
    EXPECT_EQ(best.complete, all.size() <= 5 ? 1 : 0);
    const Listed optimal = CallList(Flatten(p), ZOINT_LIST_OPTIMAL, 0, 1000);
    size_t ties = 0;
    while (ties < all.size() && all[ties].first == all.front().first) ++ties;
    EXPECT_EQ(optimal.values.size(), ties);
    EXPECT_EQ(optimal.complete, 1);
    const Listed gap = CallList(Flatten(p), ZOINT_LIST_WITHIN_GAP, 3, 2);
    size_t within = 0;
    while (within < all.size() && all[within].first <= all.front().first + 3) ++within;
    EXPECT_EQ(gap.values.size(), std::min<size_t>(2, within));
    EXPECT_EQ(gap.complete, within <= 2 ? 1 : 0);
  }
}

TEST(CApiLists, EveryBadRequestGetsItsStatusAndLeavesTheOutputs) {
  const int64_t costs[2] = {1, 1};
  const int64_t rows[2] = {-1, -1};
  const int64_t rhs[1] = {-1};
  struct Case {
    const char* what;
    int32_t kind;
    int64_t gap;
    int32_t capacity;
    bool nullValues, nullXs, nullCount, nullComplete;
  };
  const Case cases[] = {
      {"kind below the three", -1, 0, 3, false, false, false, false},
      {"kind above the three", 3, 0, 3, false, false, false, false},
      {"capacity 0", ZOINT_LIST_BEST, 0, 0, false, false, false, false},
      {"negative gap", ZOINT_LIST_WITHIN_GAP, -1, 3, false, false, false, false},
      {"values null", ZOINT_LIST_BEST, 0, 3, true, false, false, false},
      {"xs null", ZOINT_LIST_BEST, 0, 3, false, true, false, false},
      {"count null", ZOINT_LIST_BEST, 0, 3, false, false, true, false},
      {"complete null", ZOINT_LIST_BEST, 0, 3, false, false, false, true},
  };
  for (const Case& c : cases) {
    int64_t values[3] = {5, 5, 5};
    int32_t xs[6] = {7, 7, 7, 7, 7, 7};
    int32_t count = 9, complete = 9;
    const zoint_status status =
        zoint_solve_list(2, 1, costs, rows, rhs, nullptr, static_cast<zoint_list_kind>(c.kind), c.gap, c.capacity,
                         c.nullValues ? nullptr : values, c.nullXs ? nullptr : xs, c.nullCount ? nullptr : &count,
                         c.nullComplete ? nullptr : &complete);
    EXPECT_EQ(status, ZOINT_BAD_ARGUMENT) << c.what;
    EXPECT_EQ(values[0], 5) << c.what;
    EXPECT_EQ(xs[0], 7) << c.what;
    EXPECT_EQ(count, 9) << c.what;
    EXPECT_EQ(complete, 9) << c.what;
  }
  // Sizes first, then arguments, as zoint_solve checks them.
  int32_t count = 0, complete = 0;
  EXPECT_EQ(zoint_solve_list(101, 1, costs, rows, rhs, nullptr, ZOINT_LIST_BEST, 0, 0, nullptr, nullptr, &count,
                             &complete),
            ZOINT_BAD_SIZE);
}

}  // namespace
}  // namespace zoint_test
