#include "models/exact_number.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "problem/checked_arithmetic.h"

namespace zoint {

namespace {

// A mantissa of more digits, or a decimal exponent of larger magnitude, can
// never reduce to a numerator and a denominator that both fit: with the
// mantissa's trailing zeros removed, the common factor with 10^k is a power
// of 2 alone or of 5 alone, which bounds both.
constexpr size_t kMaxMantissaDigits = 64;
constexpr int64_t kMaxExponent = 64;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Halves or fifths a decimal digit string that the divisor divides.
std::string DividedBy(const std::string& digits, int divisor) {
  std::string quotient;
  int remainder = 0;
  for (char c : digits) {
    const int current = remainder * 10 + (c - '0');
    const char digit = static_cast<char>('0' + current / divisor);
    remainder = current % divisor;
    if (!quotient.empty() || digit != '0') quotient += digit;
  }
  return quotient.empty() ? "0" : quotient;
}

bool Even(const std::string& digits) { return (digits.back() - '0') % 2 == 0; }
bool MultipleOfFive(const std::string& digits) { return digits.back() == '0' || digits.back() == '5'; }

bool ToUnsigned(const std::string& digits, uint64_t& value) {
  const DigitRun run = ScanDigits(digits.data(), digits.data() + digits.size(), kLargestMagnitude);
  value = run.value;
  return run.fits;
}

// base^exponent, false past the limit.
bool PowerWithin(uint64_t base, int64_t exponent, uint64_t& power) {
  power = 1;
  for (int64_t k = 0; k < exponent; ++k) {
    if (!ProductAtMost(power, base, kLargestMagnitude, power)) return false;
  }
  return true;
}

}  // namespace

NumberParse ParseExactNumber(const char* begin, const char* end, ExactNumber& number) {
  const char* p = begin;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  std::string mantissa;  // significant digits, leading zeros dropped
  int64_t exponent = 0;  // value = mantissa · 10^exponent
  bool anyDigit = false;
  for (; p < end && IsDigit(*p); ++p) {
    anyDigit = true;
    if (!mantissa.empty() || *p != '0') mantissa += *p;
    if (mantissa.size() > kMaxMantissaDigits) return NumberParse::OutOfRange;
  }
  if (p < end && *p == '.') {
    for (++p; p < end && IsDigit(*p); ++p) {
      anyDigit = true;
      if (!mantissa.empty() || *p != '0') mantissa += *p;
      if (mantissa.size() > kMaxMantissaDigits) return NumberParse::OutOfRange;
      --exponent;
    }
  }
  if (!anyDigit) return NumberParse::NotANumber;
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    bool negativeExponent = false;
    if (p < end && (*p == '+' || *p == '-')) negativeExponent = *p++ == '-';
    if (p == end || !IsDigit(*p)) return NumberParse::NotANumber;
    int64_t written = 0;
    for (; p < end && IsDigit(*p); ++p) {
      if (written < 100000000) written = written * 10 + (*p - '0');
    }
    exponent += negativeExponent ? -written : written;
  }
  if (p != end) return NumberParse::NotANumber;
  if (mantissa.empty()) {
    number = kZero;  // zero, whatever its exponent
    return NumberParse::Ok;
  }
  while (mantissa.size() > 1 && mantissa.back() == '0') {
    mantissa.pop_back();
    ++exponent;
  }
  if (exponent > kMaxExponent || exponent < -kMaxExponent) return NumberParse::OutOfRange;

  uint64_t numerator = 0;
  uint64_t denominator = 1;
  if (exponent >= 0) {
    uint64_t power = 0;
    if (!ToUnsigned(mantissa, numerator) || !PowerWithin(10, exponent, power) ||
        !ProductAtMost(numerator, power, kLargestMagnitude, numerator)) {
      return NumberParse::OutOfRange;
    }
  } else {
    // mantissa / 10^k in lowest terms: only 2s or only 5s can cancel, since
    // the mantissa has no trailing zero.
    const int64_t k = -exponent;
    int64_t twos = k;
    int64_t fives = k;
    while (twos > 0 && Even(mantissa)) {
      mantissa = DividedBy(mantissa, 2);
      --twos;
    }
    while (fives > 0 && MultipleOfFive(mantissa)) {
      mantissa = DividedBy(mantissa, 5);
      --fives;
    }
    uint64_t powerOfTwo = 0;
    uint64_t powerOfFive = 0;
    if (!ToUnsigned(mantissa, numerator) || !PowerWithin(2, twos, powerOfTwo) ||
        !PowerWithin(5, fives, powerOfFive) ||
        !ProductAtMost(powerOfTwo, powerOfFive, kLargestMagnitude, denominator)) {
      return NumberParse::OutOfRange;
    }
  }
  number.numerator = negative ? -static_cast<int64_t>(numerator) : static_cast<int64_t>(numerator);
  number.denominator = static_cast<int64_t>(denominator);
  return NumberParse::Ok;
}

bool ExactNumberOfDouble(double value, ExactNumber& number) {
  if (!std::isfinite(value)) return false;
  constexpr double kTwoToThe53 = 9007199254740992.0;
  if (value == std::floor(value) && std::fabs(value) < kTwoToThe53) {
    number = {static_cast<int64_t>(value), 1};
    return true;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.15g", value);
  if (std::strtod(text, nullptr) != value) return false;
  std::string written = text;
  return ParseExactNumber(written.data(), written.data() + written.size(), number) == NumberParse::Ok;
}

bool CommonDenominator(int64_t a, int64_t b, int64_t& lcm) {
  const uint64_t ua = static_cast<uint64_t>(a);
  const uint64_t ub = static_cast<uint64_t>(b);
  const uint64_t factor = ub / GreatestCommonDivisor(ua, ub);
  uint64_t product = 0;
  if (!ProductAtMost(ua, factor, kLargestMagnitude, product)) return false;
  lcm = static_cast<int64_t>(product);
  return true;
}

bool ScaledInteger(const ExactNumber& number, int64_t scale, int64_t& product) {
  const uint64_t factor = static_cast<uint64_t>(scale / number.denominator);
  const bool negative = number.numerator < 0;
  uint64_t result = 0;
  if (!ProductAtMost(Magnitude(number.numerator), factor, kLargestMagnitude, result)) return false;
  product = negative ? -static_cast<int64_t>(result) : static_cast<int64_t>(result);
  return true;
}

ExactNumber Negated(const ExactNumber& number) { return {-number.numerator, number.denominator}; }

namespace {

// numerator / denominator in lowest terms, within the range of ExactNumber.
bool Reduced(int64_t numerator, int64_t denominator, ExactNumber& number) {
  if (numerator == INT64_MIN) return false;
  const int64_t divisor = static_cast<int64_t>(GreatestCommonDivisor(Magnitude(numerator), static_cast<uint64_t>(denominator)));
  number = {numerator / divisor, denominator / divisor};
  return true;
}

}  // namespace

bool Product(const ExactNumber& a, const ExactNumber& b, ExactNumber& product) {
  // Cross-cancelled first, so that the products stay as small as they can.
  const int64_t first =
      static_cast<int64_t>(GreatestCommonDivisor(Magnitude(a.numerator), static_cast<uint64_t>(b.denominator)));
  const int64_t second =
      static_cast<int64_t>(GreatestCommonDivisor(Magnitude(b.numerator), static_cast<uint64_t>(a.denominator)));
  int64_t numerator = 0;
  int64_t denominator = 0;
  if (!CheckedMultiply(a.numerator / first, b.numerator / second, numerator) ||
      !CheckedMultiply(a.denominator / second, b.denominator / first, denominator)) {
    return false;
  }
  return Reduced(numerator, denominator, product);
}

bool Sum(const ExactNumber& a, const ExactNumber& b, ExactNumber& sum) {
  int64_t denominator = 0;
  if (!CommonDenominator(a.denominator, b.denominator, denominator)) return false;
  int64_t first = 0;
  int64_t second = 0;
  int64_t numerator = 0;
  if (!CheckedMultiply(a.numerator, denominator / a.denominator, first) ||
      !CheckedMultiply(b.numerator, denominator / b.denominator, second) || !CheckedAdd(first, second, numerator)) {
    return false;
  }
  return Reduced(numerator, denominator, sum);
}

}  // namespace zoint
