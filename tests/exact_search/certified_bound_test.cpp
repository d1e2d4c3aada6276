// The certified bound against the truth: on small problems, every node's
// bound, whatever multipliers it is given, never exceeds the least objective
// of the node's completions that meet the rows (found by trying them all in
// integers); reduced-cost fixing never rules out a value that some such
// completion within the cutoff has; without the costs, a bound above 0 only
// where no completion meets the rows. Multipliers include NaN, infinities, huge, denormal and
// negative values, and the numbers sit at the edges of what double holds
// exactly (±2^53).
#include "exact_search/certified_bound.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <random>
#include <vector>

#include "exact_search/fixing.h"
#include "exact_search/oriented_problem.h"
#include "support/search_support.h"

namespace zoint_test {
namespace {

using zoint::CertifiedBound;
using zoint::Fixing;
using zoint::OrientedProblem;

// d ≤ v, exactly, for a finite d.
bool AtMost(double d, int64_t v) {
  if (d >= 9223372036854775808.0) return false;  // 2^63: above every int64
  if (d < -9223372036854775808.0) return true;
  return static_cast<int64_t>(std::ceil(d)) <= v;  // v is an integer
}

struct Truth {
  bool feasible;  // some completion meets every row
  int64_t least;  // the least cost·y among those (in y, as the bound is)
};

// Every completion of the node, in the engine's own terms (y, costs ≥ 0).
Truth Enumerate(const OrientedProblem& p, const Fixing& fixing) {
  std::vector<int32_t> free;
  for (int32_t i = 0; i < p.n; ++i) {
    if (fixing.value[i] == zoint::kFree) free.push_back(i);
  }
  Truth truth{false, INT64_MAX};
  for (uint64_t bits = 0; bits < (uint64_t{1} << free.size()); ++bits) {
    int64_t y[zoint::MaxVariables];
    for (int32_t i = 0; i < p.n; ++i) y[i] = fixing.value[i] == 1 ? 1 : 0;
    for (size_t k = 0; k < free.size(); ++k) y[free[k]] = static_cast<int64_t>((bits >> k) & 1u);
    bool meets = true;
    for (int32_t j = 0; j < p.m && meets; ++j) {
      int64_t lhs = 0;
      for (int32_t i = 0; i < p.n; ++i) lhs += p.column[i][j] * y[i];
      meets = lhs <= p.rhs[j];
    }
    if (!meets) continue;
    int64_t cost = 0;
    for (int32_t i = 0; i < p.n; ++i) cost += p.cost[i] * y[i];
    truth.feasible = true;
    if (cost < truth.least) truth.least = cost;
  }
  return truth;
}

double AdversarialMultiplier(std::mt19937_64& rng) {
  static const double kSpecial[] = {0.0,
                                    1.0,
                                    0.5,
                                    -1.0,
                                    -1e300,
                                    1e300,
                                    1e-310,  // denormal
                                    std::numeric_limits<double>::denorm_min(),
                                    std::numeric_limits<double>::infinity(),
                                    -std::numeric_limits<double>::infinity(),
                                    std::numeric_limits<double>::quiet_NaN(),
                                    1e-9,
                                    4503599627370496.0,  // 2^52
                                    1.0 / 3.0};
  const uint64_t pick = rng() % 24;
  if (pick < sizeof kSpecial / sizeof kSpecial[0]) return kSpecial[pick];
  return std::ldexp(static_cast<double>(rng() % 1000) / 997.0, static_cast<int>(rng() % 40) - 20);
}

// Numbers of the given size, with the odd offsets that double cannot hold
// once they pass 2^53.
int64_t Around(std::mt19937_64& rng, int64_t scale) {
  const int64_t base = static_cast<int64_t>(rng() % 5) - 2;
  const int64_t odd = static_cast<int64_t>(rng() % 7) - 3;
  return base * scale + odd;
}

OrientedProblem RandomOriented(std::mt19937_64& rng, int64_t scale) {
  TestProblem t;
  t.n = static_cast<int32_t>(1 + rng() % 10);
  const int32_t m = static_cast<int32_t>(rng() % 6);
  for (int32_t i = 0; i < t.n; ++i) t.c.push_back(Around(rng, scale));
  for (int32_t j = 0; j < m; ++j) {
    std::vector<int64_t> row;
    for (int32_t i = 0; i <= t.n; ++i) row.push_back(Around(rng, scale));
    t.rows.push_back(row);
  }
  OrientedProblem p;
  zoint::OrientProblem(ToProblem(t), p);
  return p;
}

void RandomNode(std::mt19937_64& rng, const OrientedProblem& p, Fixing& fixing) {
  zoint::StartFixing(fixing, p);
  for (int32_t i = 0; i < p.n; ++i) {
    if (rng() % 3 == 0) zoint::FixVariable(fixing, p, i, static_cast<int8_t>(rng() % 2));
  }
}

TEST(CertifiedBound, NeverAboveTheTrueLeastObjective) {
  std::mt19937_64 rng(21);
  // Small numbers, the neighbourhood of 2^53 (where double spaces its values
  // 2 apart), and far above it.
  const int64_t scales[] = {1, 7, int64_t{1} << 53, (int64_t{1} << 53) + 1, int64_t{1} << 56};
  int checkedWithCosts = 0;
  int checkedFeasibility = 0;
  int checkedFixings = 0;
  for (int round = 0; round < 4000; ++round) {
    const OrientedProblem p = RandomOriented(rng, scales[round % 5]);
    Fixing fixing;
    RandomNode(rng, p, fixing);
    const Truth truth = Enumerate(p, fixing);
    double y[zoint::MaxConstraints];
    for (int32_t j = 0; j < p.m; ++j) y[j] = AdversarialMultiplier(rng);

    CertifiedBound bound;
    zoint::BoundFromMultipliers(p, fixing, y, true, bound);
    if (bound.valid && truth.feasible) {
      ASSERT_TRUE(std::isfinite(bound.lower.value()));
      ASSERT_TRUE(AtMost(bound.lower.value(), truth.least))
          << "round " << round << ": bound " << bound.lower.value() << " above the least objective " << truth.least;
      ++checkedWithCosts;
    }
    if (bound.valid) {
      // With the cutoff at the least objective of x_i = v, that value must
      // not be ruled out: the tightest cutoff at which the claim is false.
      for (int32_t i = 0; i < p.n; ++i) {
        if (fixing.value[i] != zoint::kFree) continue;
        for (const int8_t v : {int8_t{0}, int8_t{1}}) {
          Fixing branch = fixing;
          zoint::FixVariable(branch, p, i, v);
          const Truth withValue = Enumerate(p, branch);
          if (!withValue.feasible) continue;
          ASSERT_FALSE(zoint::ValueExceedsCutoff(bound, i, v, withValue.least))
              << "round " << round << ": x" << i << " = " << int(v) << " ruled out, though it reaches "
              << withValue.least;
          ++checkedFixings;
        }
      }
    }
    zoint::BoundFromMultipliers(p, fixing, y, false, bound);
    if (bound.valid && truth.feasible) {
      ASSERT_TRUE(AtMost(bound.lower.value(), 0))
          << "round " << round << ": infeasibility claimed for a feasible node";
      ++checkedFeasibility;
    }
  }
  // The checks above must not all have been skipped as invalid.
  EXPECT_GT(checkedWithCosts, 1000);
  EXPECT_GT(checkedFeasibility, 1000);
  EXPECT_GT(checkedFixings, 1000);
}

// Costs just above 2^53 round up on conversion to double: 2^53 + 3 becomes
// 2^53 + 4. With no multipliers the bound is the fixed cost itself, so only
// the margin keeps it at or below the true value.
TEST(CertifiedBound, MarginCoversConversionAtTheEdgeOfDouble) {
  for (const int64_t cost : {(int64_t{1} << 53) + 3, (int64_t{1} << 53) - 1, -((int64_t{1} << 53) + 3)}) {
    TestProblem t{2, {cost, cost}, {{1, 1, 2}}};
    OrientedProblem p;
    zoint::OrientProblem(ToProblem(t), p);
    Fixing fixing;
    zoint::StartFixing(fixing, p);
    zoint::FixVariable(fixing, p, 0, 1);
    zoint::FixVariable(fixing, p, 1, 1);
    const double y[zoint::MaxConstraints] = {0.0};
    CertifiedBound bound;
    zoint::BoundFromMultipliers(p, fixing, y, true, bound);
    ASSERT_TRUE(bound.valid) << cost;
    EXPECT_TRUE(AtMost(bound.lower.value(), Enumerate(p, fixing).least)) << cost << ": " << bound.lower.value();
    // And the margin is small: the bound still says something.
    EXPECT_GT(bound.lower.value(), static_cast<double>(Enumerate(p, fixing).least) - 1e3) << cost;
  }
}

// Multipliers that no arithmetic can use make the bound invalid rather
// than a number.
TEST(CertifiedBound, UnusableMultipliersGiveNoBound) {
  TestProblem t{2, {3, 4}, {{5, -6, 7}}};
  OrientedProblem p;
  zoint::OrientProblem(ToProblem(t), p);
  Fixing fixing;
  zoint::StartFixing(fixing, p);
  for (const double y0 : {std::numeric_limits<double>::infinity(), 1e308}) {
    const double y[zoint::MaxConstraints] = {y0};
    CertifiedBound bound;
    zoint::BoundFromMultipliers(p, fixing, y, true, bound);
    EXPECT_FALSE(bound.valid) << y0;
  }
  // NaN and negative multipliers count as 0: the bound of the costs alone.
  for (const double y0 : {std::numeric_limits<double>::quiet_NaN(), -5.0}) {
    const double y[zoint::MaxConstraints] = {y0};
    CertifiedBound bound;
    zoint::BoundFromMultipliers(p, fixing, y, true, bound);
    ASSERT_TRUE(bound.valid) << y0;
    EXPECT_LE(bound.lower.value(), 0.0) << y0;
    EXPECT_GT(bound.lower.value(), -1e-6) << y0;
  }
}

}  // namespace
}  // namespace zoint_test
