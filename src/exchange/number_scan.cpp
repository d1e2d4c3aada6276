#include "exchange/number_scan.h"

#include "problem/checked_arithmetic.h"

namespace zoint {

namespace {

// The C locale's white space, which the conversions skip.
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

ScanResult ScanInteger(const char* text, const char* end, int64_t low, int64_t high, int64_t& value,
                       const char** stop) {
  const char* p = text;
  while (p < end && IsSpace(*p)) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
  }
  if (p == end || !IsDecimalDigit(*p)) return ScanResult::NoNumber;

  // The magnitude is accumulated unsigned against the limit of its sign, so
  // that low itself (INT64_MIN, whose magnitude is 2^63) is in range.
  const DigitRun digits = ScanDigits(p, end, negative ? Magnitude(low) : static_cast<uint64_t>(high));
  if (!digits.fits) return ScanResult::OutOfRange;
  value = negative ? static_cast<int64_t>(0 - digits.value) : static_cast<int64_t>(digits.value);
  if (stop != nullptr) *stop = digits.stop;
  return ScanResult::Number;
}

}  // namespace zoint
