#include "exchange/number_scan.h"

namespace zoint {

namespace {

// The C locale's white space, which the conversions skip.
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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
  if (p == end || !IsDigit(*p)) return ScanResult::NoNumber;

  // Accumulate the magnitude unsigned; once it passes the limit of the
  // requested sign the number is out of range, however many digits follow.
  const uint64_t limit = negative ? 0 - static_cast<uint64_t>(low) : static_cast<uint64_t>(high);
  uint64_t magnitude = 0;
  bool inRange = true;
  for (; p < end && IsDigit(*p); ++p) {
    if (!inRange) continue;
    const uint64_t digit = static_cast<uint64_t>(*p - '0');
    if (magnitude > (limit - digit) / 10) {
      inRange = false;
    } else {
      magnitude = magnitude * 10 + digit;
    }
  }
  if (!inRange) return ScanResult::OutOfRange;
  value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  if (stop != nullptr) *stop = p;
  return ScanResult::Number;
}

}  // namespace zoint
