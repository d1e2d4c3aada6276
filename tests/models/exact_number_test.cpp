// Exact numbers of model files: decimal text and CoinUtils' doubles to exact
// fractions, the scaling that makes them integers, and the exact decimals
// that report values back.
#include "models/exact_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "models/decimal_text.h"

namespace zoint_test {
namespace {

using zoint::ExactNumber;
using zoint::NumberParse;

NumberParse Parse(const std::string& text, ExactNumber& number) {
  return zoint::ParseExactNumber(text.data(), text.data() + text.size(), number);
}

TEST(ExactNumber, ParsesDecimalsToLowestTerms) {
  struct Case {
    const char* text;
    int64_t numerator;
    int64_t denominator;
  };
  const Case cases[] = {
      {"3", 3, 1},
      {"+7", 7, 1},
      {"-0.5", -1, 2},
      {"0.25", 1, 4},
      {"2.50", 5, 2},
      {".5", 1, 2},
      {"5.", 5, 1},
      {"1e3", 1000, 1},
      {"1.5E-3", 3, 2000},
      {"0.1e1", 1, 1},
      {"-0", 0, 1},
      {"0.000", 0, 1},
      {"0e999999999999", 0, 1},
      {"000000000000000000000000000000012", 12, 1},
      {"9223372036854775807", INT64_MAX, 1},
      {"-9223372036854775807", -INT64_MAX, 1},
      {"1e-18", 1, 1000000000000000000},
      // 2^63 / 10^18: the mantissa itself is past 2^63 - 1, its lowest terms are not.
      {"9.223372036854775808", 35184372088832, 3814697265625},
  };
  for (const Case& c : cases) {
    ExactNumber number{-99, -99};
    ASSERT_EQ(Parse(c.text, number), NumberParse::Ok) << c.text;
    EXPECT_EQ(number.numerator, c.numerator) << c.text;
    EXPECT_EQ(number.denominator, c.denominator) << c.text;
  }
}

TEST(ExactNumber, RejectsWhatIsNotANumberOrCannotFit) {
  const char* notNumbers[] = {"", "-", "abc", "1.2.3", "1e", "e5", "1e+", "12x", " 1", "."};
  for (const char* text : notNumbers) {
    ExactNumber number{};
    EXPECT_EQ(Parse(text, number), NumberParse::NotANumber) << text;
  }
  const std::string seventyDigits(70, '7');
  const std::string tooWide[] = {
      "9223372036854775808", "-9223372036854775808", "1e19", "1e-19", "1e400", "0.1e-18", seventyDigits};
  for (const std::string& text : tooWide) {
    ExactNumber number{};
    EXPECT_EQ(Parse(text, number), NumberParse::OutOfRange) << text;
  }
}

TEST(ExactNumber, DoublesAreTakenOnlyWhenTheirDecimalIsKnown) {
  struct Case {
    double value;
    bool exact;
    int64_t numerator;
    int64_t denominator;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {0.1, true, 1, 10},
      {1e-7, true, 1, 10000000},
      {-2.75, true, -11, 4},
      {3.0, true, 3, 1},
      {9007199254740991.0, true, 9007199254740991, 1},  // 2^53 - 1: every integer below 2^53 is exact
      {1e16, true, 10000000000000000, 1},               // 15 digits suffice to write it
      {9007199254740994.0, false, 0, 0},                // 16 digits, at or past 2^53
      {0.1 + 0.2, false, 0, 0},                         // 0.30000000000000004: 17 digits
      {1.0 / 3.0, false, 0, 0},
      {1e300, false, 0, 0},
      {inf, false, 0, 0},
      {std::nan(""), false, 0, 0},
  };
  for (const Case& c : cases) {
    ExactNumber number{};
    EXPECT_EQ(zoint::ExactNumberOfDouble(c.value, number), c.exact) << c.value;
    if (!c.exact) continue;
    EXPECT_EQ(number.numerator, c.numerator) << c.value;
    EXPECT_EQ(number.denominator, c.denominator) << c.value;
  }
}

TEST(ExactNumber, ScalingStaysWithin64Bits) {
  int64_t lcm = 0;
  ASSERT_TRUE(zoint::CommonDenominator(4, 10, lcm));
  EXPECT_EQ(lcm, 20);
  EXPECT_FALSE(zoint::CommonDenominator(int64_t{1} << 62, 5, lcm));
  int64_t product = 0;
  ASSERT_TRUE(zoint::ScaledInteger({1, 4}, 20, product));
  EXPECT_EQ(product, 5);
  ASSERT_TRUE(zoint::ScaledInteger({-3, 2}, 4, product));
  EXPECT_EQ(product, -6);
  ASSERT_TRUE(zoint::ScaledInteger({-INT64_MAX, 1}, 1, product));
  EXPECT_EQ(product, -INT64_MAX);
  EXPECT_FALSE(zoint::ScaledInteger({INT64_MAX, 1}, 2, product));
  EXPECT_FALSE(zoint::ScaledInteger({-(INT64_MAX / 2 + 1), 1}, 2, product));
}

TEST(ExactNumber, ProductsAndSumsInLowestTerms) {
  struct Case {
    ExactNumber a;
    ExactNumber b;
    bool fits;
    ExactNumber expected;
  };
  const ExactNumber big{INT64_MAX, 1};
  const Case products[] = {
      {{3, 4}, {2, 5}, true, {3, 10}},
      {{-5, 2}, {4, 5}, true, {-2, 1}},  // cancelled across before multiplying
      {big, {1, 5}, true, {INT64_MAX, 5}},
      {big, {-1, 1}, true, {-INT64_MAX, 1}},
      {big, {2, 1}, false, {}},
      {{1, int64_t{1} << 62}, {1, 4}, false, {}},
  };
  for (const Case& c : products) {
    ExactNumber result{0, 1};
    EXPECT_EQ(zoint::Product(c.a, c.b, result), c.fits) << c.a.numerator << "/" << c.a.denominator;
    if (!c.fits) continue;
    EXPECT_EQ(result.numerator, c.expected.numerator);
    EXPECT_EQ(result.denominator, c.expected.denominator);
  }
  const Case sums[] = {
      {{1, 4}, {1, 10}, true, {7, 20}},
      {{1, 2}, {-1, 2}, true, {0, 1}},
      {{-3, 5}, {-2, 5}, true, {-1, 1}},
      {{INT64_MAX - 1, 1}, {1, 1}, true, big},
      {big, {1, 1}, false, {}},
      {{-INT64_MAX, 1}, {-1, 1}, false, {}},  // would be INT64_MIN, which negation could not undo
  };
  for (const Case& c : sums) {
    ExactNumber result{0, 1};
    EXPECT_EQ(zoint::Sum(c.a, c.b, result), c.fits) << c.a.numerator << "/" << c.a.denominator;
    if (!c.fits) continue;
    EXPECT_EQ(result.numerator, c.expected.numerator);
    EXPECT_EQ(result.denominator, c.expected.denominator);
  }
}

TEST(DecimalText, ExactSumsOfAnyWidth) {
  using zoint::DecimalOf;
  using zoint::DecimalText;
  using zoint::Sum;
  EXPECT_EQ(DecimalText(DecimalOf(1, 4)), "0.25");
  EXPECT_EQ(DecimalText(DecimalOf(-5, 2)), "-2.5");
  EXPECT_EQ(DecimalText(DecimalOf(0, 8)), "0");
  EXPECT_EQ(DecimalText(DecimalOf(-1, 1024)), "-0.0009765625");
  EXPECT_EQ(DecimalText(DecimalOf(INT64_MIN, 1)), "-9223372036854775808");
  EXPECT_EQ(DecimalText(Sum(DecimalOf(3, 2), DecimalOf(-3, 2))), "0");
  EXPECT_EQ(DecimalText(Sum(DecimalOf(-1, 4), DecimalOf(1, 1))), "0.75");
  EXPECT_EQ(DecimalText(Sum(DecimalOf(1, 4), DecimalOf(-1, 1))), "-0.75");
  EXPECT_EQ(DecimalText(Sum(DecimalOf(INT64_MAX, 1), DecimalOf(INT64_MAX, 1))), "18446744073709551614");
  EXPECT_EQ(DecimalText(Sum(DecimalOf(INT64_MAX, 5), DecimalOf(1, 4))), "1844674407370955161.65");
  EXPECT_EQ(DecimalText(Sum(DecimalOf(-7, 1), DecimalOf(7, 100))), "-6.93");
}

}  // namespace
}  // namespace zoint_test
