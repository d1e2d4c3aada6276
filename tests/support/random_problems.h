// Seeded random problems for the differential tests and the benchmarks: one
// table of families, each a kind of costs with a kind of rows, and the
// transforms the tests apply to them.
#ifndef ZOINT_TESTS_RANDOM_PROBLEMS_H
#define ZOINT_TESTS_RANDOM_PROBLEMS_H

#include <cstdint>
#include <random>
#include <vector>

#include "support/search_support.h"

namespace zoint_test {

// Uniform in [lo, hi], from the generator's next number.
int64_t Uniform(std::mt19937_64& rng, int64_t lo, int64_t hi);

// How the costs are drawn.
enum class Costs {
  Mixed,      // −5 … 20
  Small,      // 0 … 20
  Positive,   // 1 … 20
  Profits,    // 0 … 50
  Values,     // 1 … 100
  ZeroOrOne,  // 1 for one variable in four, else 0: many tied optima
  Few,        // 1 … 3: many tied optima
  Signed,     // −20 … 20
  Negative,   // −50 … −1: a maximisation written as minimise minus the value
  NonPositive,  // −20 … 0
  LargeUnits,   // 0 … 3 times 2^40: within the magnitudes the relaxation takes, ties
  HugeUnits,    // 0 … 3 times 2^55: beyond them, ties
  HugeSigned,   // −3 … 3 times 2^55, ±1
  Extreme,      // near the 64-bit limits, so that sums wrap
};

// How the rows are drawn, coefficients and right-hand side.
enum class Rows {
  Dense,          // a_ji and b_j in −10 … 10
  CoverOnce,      // −1 for one column in four, b = −1
  CoverTwice,     // −1 or −2 for one column in three, b in −3 … −1
  CoverFew,       // −1 … −3 for one column in three, b in −6 … −2
  CoverSubset,    // −1 on exactly k random columns, k in 2 … coverSize, b = −1
  Knapsack,       // −w with w in 1 … 30, b = −⌊Σw/2⌋ (capacity half, complemented)
  Weights,        // −w with w in 1 … 100, b = ⌊Σw/2⌋ − Σw
  PositiveKnapsack,  // w in 1 … 30, b = ⌊Σw/2⌋ (an uncomplemented knapsack)
  Equalities,     // Dense rows, each with its opposite: a·x = b
  EqualAtPoint,   // a_ji in −3 … 3, b = a·x at a random x, and the opposite row: feasible, few points
  HugeEqualAtPoint,     // the same times 2^56, ±1: near the 64-bit ends for n up to 20
  EqualAtPointAndDense, // even rows EqualAtPoint with their opposites, odd rows Dense alone
  LargeUnits,     // a_ji and b_j: −10 … 10 times 2^39, ±1
  HugeUnits,      // the same with 2^54
  HugeOddRows,    // every odd row HugeUnits, the others Dense: the relaxation keeps half
  HugeSigned,     // a_ji in −10 … 10 times 2^54, b anywhere, the 64-bit ends included
  Extreme,        // near the 64-bit limits
  // a_ji in −30 … 30, one in five 0, b uniform from 3 below the least
  // activity to 1 below the largest: every row broken by some assignment,
  // now and then by all
  SignedKnapsack,
  MetByEvery,     // a_ji in −10 … 10, b from the largest activity to 3 above it
};

struct Family {
  const char* name;
  Costs costs;
  Rows rows;
};

// The families the tests and benchmarks draw from.
namespace families {
constexpr Family kSmallMixed = {"small mixed", Costs::Mixed, Rows::Dense};
constexpr Family kDenseMixed = {"dense mixed", Costs::Small, Rows::Dense};
constexpr Family kCoverOnce = {"covering, once", Costs::Positive, Rows::CoverOnce};
constexpr Family kCovering = {"covering", Costs::Small, Rows::CoverTwice};
constexpr Family kSetCovering = {"set covering", Costs::Positive, Rows::CoverSubset};
constexpr Family kKnapsack = {"knapsack", Costs::Profits, Rows::Knapsack};
constexpr Family kWeightedKnapsack = {"knapsack, weights to 100", Costs::Values, Rows::Weights};
constexpr Family kZeroCosts = {"zero costs", Costs::ZeroOrOne, Rows::Dense};
constexpr Family kFewCosts = {"few costs", Costs::Few, Rows::Dense};
constexpr Family kZeroCostsCovering = {"zero costs, covering", Costs::ZeroOrOne, Rows::CoverFew};
constexpr Family kFewCostsCovering = {"few costs, covering", Costs::Few, Rows::CoverFew};
constexpr Family kEqualities = {"equalities", Costs::Small, Rows::Equalities};
constexpr Family kEqualAtPoint = {"equalities met at a point", Costs::Small, Rows::EqualAtPoint};
constexpr Family kLarge = {"large", Costs::LargeUnits, Rows::LargeUnits};
constexpr Family kHuge = {"huge", Costs::HugeUnits, Rows::HugeUnits};
constexpr Family kHugeRows = {"huge rows", Costs::Small, Rows::HugeOddRows};
constexpr Family kExtreme = {"extreme", Costs::Extreme, Rows::Extreme};
// Costs of both signs, no sum wrapping.
constexpr Family kSignedCovering = {"signed covering", Costs::Signed, Rows::CoverTwice};
constexpr Family kSignedKnapsack = {"maximised knapsack", Costs::Negative, Rows::PositiveKnapsack};
constexpr Family kSignedDense = {"signed dense", Costs::Signed, Rows::Dense};
constexpr Family kAllNegative = {"all negative", Costs::NonPositive, Rows::Dense};
constexpr Family kSignedEqualities = {"signed equalities", Costs::Signed, Rows::EqualAtPoint};
constexpr Family kSignedHuge = {"signed huge", Costs::HugeSigned, Rows::HugeSigned};
constexpr Family kSignedSetCovering = {"signed set covering", Costs::Mixed, Rows::CoverSubset};
// Equations with inequalities beside them, with costs that tie, and with
// coefficients near 2^56.
constexpr Family kEquationsAndRows = {"equations and rows", Costs::Signed, Rows::EqualAtPointAndDense};
constexpr Family kTiedEquations = {"equations, tied costs", Costs::ZeroOrOne, Rows::EqualAtPoint};
constexpr Family kHugeEquations = {"huge equations", Costs::HugeSigned, Rows::HugeEqualAtPoint};
// One row of either sign, with costs of either sign, or with many ties.
constexpr Family kOneRowSigned = {"one signed row", Costs::Signed, Rows::SignedKnapsack};
constexpr Family kOneRowFewCosts = {"one signed row, few costs", Costs::Few, Rows::SignedKnapsack};
constexpr Family kOneRowZeroCosts = {"one signed row, zero costs", Costs::ZeroOrOne, Rows::SignedKnapsack};
constexpr Family kOneRowHugeCosts = {"one signed row, huge costs", Costs::HugeSigned, Rows::SignedKnapsack};
// Rows no assignment breaks.
constexpr Family kMetByEvery = {"rows met by every assignment", Costs::Signed, Rows::MetByEvery};
}  // namespace families

// A problem of the family with n variables and m rows as drawn (Equalities
// and EqualAtPoint add each row's opposite too, so 2m rows). CoverSubset
// covers up to coverSize columns a row.
TestProblem RandomProblem(std::mt19937_64& rng, const Family& family, int32_t n, int32_t m,
                          int32_t coverSize = 6);

// Maximise p·x subject to W x ≤ C (m rows, weights 1 … 1000, C half of each
// row's total), written as minimise −p·x. Correlated: each value near its
// item's mean weight, which makes the relaxation's bound weak and the search
// long (thousands of nodes at n = 60, a few at n = 20).
TestProblem RandomKnapsack(uint64_t seed, int32_t n, int32_t m, bool correlated);

// A subset sum: one row whose costs follow its coefficients. Weights w_i in
// 1 … maxWeight (−maxWeight … maxWeight, not 0, with signedWeights), costs
// costUnit·w_i and coefficients rowUnit·w_i (so c = (costUnit / rowUnit)·a)
// in the form given, the right-hand side half the row's total.
enum class SubsetSumForm {
  Maximised,     // minimise −c·x subject to a·x ≤ b: the largest sum that fits
  Complemented,  // the same with y = 1 − x: minimise c·y subject to −a·y ≤ b − Σa
  Minimised,     // minimise c·x subject to a·x ≤ b: the row only bounds it
};
TestProblem RandomSubsetSum(std::mt19937_64& rng, int32_t n, int64_t maxWeight, bool signedWeights,
                            int64_t costUnit, int64_t rowUnit, SubsetSumForm form);

// y = 1 − x for every variable in mask: costs and coefficients change sign,
// each right-hand side moves by the row's complemented coefficients. c·x =
// offset + c'·y, with offset the sum of the complemented costs.
TestProblem Complemented(const TestProblem& problem, const std::vector<bool>& mask, int64_t* offset = nullptr);

// The variables with a negative cost; every variable.
std::vector<bool> NegativeCosts(const TestProblem& problem);
std::vector<bool> AllVariables(const TestProblem& problem);

}  // namespace zoint_test

#endif  // ZOINT_TESTS_RANDOM_PROBLEMS_H
