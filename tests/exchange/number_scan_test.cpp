// The portable "%d"/"%I64d" conversion: what it reads, where it stops, and
// which numbers are out of range.
#include "exchange/number_scan.h"

#include <gtest/gtest.h>

#include <cstring>

namespace zoint {
namespace {

struct ScanCase {
  const char* text;
  ScanResult result;
  int64_t value;    // when a number was read
  size_t consumed;  // characters up to the stop
};

TEST(NumberScan, SixtyFourBitTable) {
  const ScanCase cases[] = {
      {"42,", ScanResult::Number, 42, 2},
      {"  \t-17,", ScanResult::Number, -17, 6},
      {"+8", ScanResult::Number, 8, 2},
      {"1.5,", ScanResult::Number, 1, 1},
      {"007", ScanResult::Number, 7, 3},
      {"-0", ScanResult::Number, 0, 2},
      {"9223372036854775807", ScanResult::Number, INT64_MAX, 19},
      {"-9223372036854775808", ScanResult::Number, INT64_MIN, 20},
      {"00000000000000000000009223372036854775807", ScanResult::Number, INT64_MAX, 41},
      {"9223372036854775808", ScanResult::OutOfRange, 0, 0},
      {"-9223372036854775809", ScanResult::OutOfRange, 0, 0},
      {"99999999999999999999999999", ScanResult::OutOfRange, 0, 0},
      {"", ScanResult::NoNumber, 0, 0},
      {",5", ScanResult::NoNumber, 0, 0},
      {"   ", ScanResult::NoNumber, 0, 0},
      {"-", ScanResult::NoNumber, 0, 0},
      {"- 5", ScanResult::NoNumber, 0, 0},
      {"+-5", ScanResult::NoNumber, 0, 0},
      {"abc", ScanResult::NoNumber, 0, 0},
      {".5", ScanResult::NoNumber, 0, 0},
  };
  for (const ScanCase& c : cases) {
    int64_t value = -12345;
    const char* stop = nullptr;
    const char* end = c.text + std::strlen(c.text);
    ScanResult result = ScanInteger(c.text, end, INT64_MIN, INT64_MAX, value, &stop);
    EXPECT_EQ(result, c.result) << '"' << c.text << '"';
    if (c.result == ScanResult::Number) {
      EXPECT_EQ(value, c.value) << '"' << c.text << '"';
      EXPECT_EQ(static_cast<size_t>(stop - c.text), c.consumed) << '"' << c.text << '"';
    } else {
      EXPECT_EQ(value, -12345) << "destination must stay unchanged for \"" << c.text << '"';
    }
  }
}

TEST(NumberScan, ThirtyTwoBitLimits) {
  const struct {
    const char* text;
    ScanResult result;
  } cases[] = {
      {"2147483647", ScanResult::Number},     {"-2147483648", ScanResult::Number},
      {"2147483648", ScanResult::OutOfRange}, {"-2147483649", ScanResult::OutOfRange},
      {"4294967299", ScanResult::OutOfRange},
  };
  for (const auto& c : cases) {
    int64_t value = 0;
    EXPECT_EQ(ScanInteger(c.text, c.text + std::strlen(c.text), INT32_MIN, INT32_MAX, value, nullptr),
              c.result)
        << c.text;
  }
}

TEST(NumberScan, StopsAtTheEndItIsGiven) {
  const char text[] = "12345";
  int64_t value = 0;
  const char* stop = nullptr;
  ASSERT_EQ(ScanInteger(text, text + 2, INT64_MIN, INT64_MAX, value, &stop), ScanResult::Number);
  EXPECT_EQ(value, 12);
  EXPECT_EQ(stop, text + 2);
  EXPECT_EQ(ScanInteger(text, text, INT64_MIN, INT64_MAX, value, &stop), ScanResult::NoNumber);
}

}  // namespace
}  // namespace zoint
