// The 128-bit products and quotients the exact search compares ratios and
// bounds with, on every target (the 32-bit ones have no 128-bit type).
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "problem/checked_arithmetic.h"

namespace zoint_test {
namespace {

using zoint::DivideWide;
using zoint::MultiplyWide;
using zoint::Unsigned128;

TEST(WideArithmetic, ProductsAtTheEdges) {
  const uint64_t kAll = ~uint64_t{0};
  const struct {
    uint64_t a, b;
    uint64_t high, low;
  } cases[] = {
      {0, kAll, 0, 0},
      {1, kAll, 0, kAll},
      {kAll, kAll, kAll - 1, 1},                           // (2^64 − 1)^2 = 2^128 − 2^65 + 1
      {uint64_t{1} << 32, uint64_t{1} << 32, 1, 0},        // 2^64
      {uint64_t{1} << 63, 2, 1, 0},                        // 2^64
      {0xFFFFFFFFu, 0xFFFFFFFFu, 0, 0xFFFFFFFE00000001u},  // the middle column's carry
      {0x123456789ABCDEF0u, 0x0FEDCBA987654321u, 0x0121FA00AD77D742u, 0x2236D88FE5618CF0u},
  };
  for (const auto& c : cases) {
    const Unsigned128 product = MultiplyWide(c.a, c.b);
    EXPECT_EQ(product.high, c.high) << c.a << " · " << c.b;
    EXPECT_EQ(product.low, c.low) << c.a << " · " << c.b;
  }
}

// a·b is the one 128-bit number P with P mod 2^64 = a·b mod 2^64 and
// ⌊P / b⌋ = a: together they check the product and the quotient.
TEST(WideArithmetic, ProductDividedByAFactorGivesTheOther) {
  std::mt19937_64 rng(3);
  for (int round = 0; round < 20000; ++round) {
    const uint64_t a = rng() >> (rng() % 64);
    const uint64_t b = (rng() >> (rng() % 64)) | 1u;
    const Unsigned128 product = MultiplyWide(a, b);
    ASSERT_EQ(product.low, a * b) << a << " · " << b;
    ASSERT_EQ(DivideWide(product, b), a) << a << " · " << b;
    // Adding less than b leaves the quotient alone; adding b raises it.
    const Unsigned128 almost = zoint::AddWide(product, Unsigned128{0, b - 1});
    uint64_t remainder = 0;
    ASSERT_EQ(DivideWide(almost, b, &remainder), a);
    ASSERT_EQ(remainder, b - 1);
    if (a < ~uint64_t{0}) {
      ASSERT_EQ(DivideWide(zoint::AddWide(product, Unsigned128{0, b}), b), a + 1);
    }
    ASSERT_TRUE(zoint::WideLess(product, zoint::AddWide(product, Unsigned128{0, 1})));
  }
}

// Signed products compared exactly, where the 64-bit products would wrap
// or a sign would be lost.
TEST(WideArithmetic, SignedProductsEqual) {
  const int64_t kMin = INT64_MIN;
  const int64_t kMax = INT64_MAX;
  const struct {
    int64_t a, b, c, d;
    bool equal;
  } cases[] = {
      {6, 4, 3, 8, true},
      {-6, 4, 3, -8, true},
      {-6, 4, 3, 8, false},           // same magnitude, other sign
      {0, -5, 7, 0, true},            // zero has no sign
      {0, 5, 1, 1, false},
      {kMin, 2, kMin, 2, true},
      {kMin, -1, kMax, 1, false},     // 2^63 against 2^63 − 1
      {kMax, kMax, kMax, kMax, true},
      {kMax, 4, kMin, -2, false},     // 2^65 − 4 against 2^64
      {kMin, kMin, kMin, kMin, true},
      {int64_t{1} << 40, int64_t{1} << 40, int64_t{1} << 20, int64_t{1} << 60, true},
      {(int64_t{1} << 32) + 1, int64_t{1} << 32, int64_t{1} << 32, 1, false},  // equal mod 2^64
  };
  for (const auto& c : cases) {
    EXPECT_EQ(zoint::ProductsEqual(c.a, c.b, c.c, c.d), c.equal) << c.a << "·" << c.b << " = " << c.c << "·" << c.d;
  }
}

}  // namespace
}  // namespace zoint_test
