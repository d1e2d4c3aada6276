// Overflow-checked integer arithmetic: the one place that says how a sum, a
// difference, a product or a run of decimal digits is kept within 64 bits.
// Every reader (the exchange file, the model files), the problem's checks and
// the exact search use these, so "fits" means the same everywhere.
#ifndef ZOINT_CHECKED_ARITHMETIC_H
#define ZOINT_CHECKED_ARITHMETIC_H

#include <cstdint>

namespace zoint {

// 2^63 − 1: the largest magnitude of a signed 64-bit integer whose negation
// also fits, and the largest sum of magnitudes a problem may have.
constexpr uint64_t kLargestMagnitude = static_cast<uint64_t>(INT64_MAX);

// a + b, a − b, a · b: false, with result unspecified, when the exact result
// leaves the signed 64-bit range.
inline bool CheckedAdd(int64_t a, int64_t b, int64_t& result) { return !__builtin_add_overflow(a, b, &result); }
inline bool CheckedSubtract(int64_t a, int64_t b, int64_t& result) {
  return !__builtin_sub_overflow(a, b, &result);
}
inline bool CheckedMultiply(int64_t a, int64_t b, int64_t& result) {
  return !__builtin_mul_overflow(a, b, &result);
}

// a + b with |a + b| ≤ 2^63 − 1, so that its negation fits too: false
// otherwise.
inline bool CheckedAddWithinMagnitude(int64_t a, int64_t b, int64_t& result) {
  return CheckedAdd(a, b, result) && result != INT64_MIN;
}

// a · b for magnitudes, when it is at most limit: false otherwise.
inline bool ProductAtMost(uint64_t a, uint64_t b, uint64_t limit, uint64_t& product) {
  if (b != 0 && a > limit / b) return false;
  product = a * b;
  return true;
}

// |v| as an unsigned number; |INT64_MIN| = 2^63 fits.
inline uint64_t Magnitude(int64_t v) { return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v); }

// The greatest common divisor of a and b by Euclid's algorithm; gcd(a, 0) = a.
uint64_t GreatestCommonDivisor(uint64_t a, uint64_t b);

// Σ|values[0 … count−1]| ≤ limit (limit ≤ kLargestMagnitude). Each term is at
// most 2^63 and the sum at most limit before it is added, so the test itself
// never wraps.
bool MagnitudeSumAtMost(const int64_t* values, int32_t count, uint64_t limit);

// An unsigned 128-bit number as two 64-bit halves: exact products of two
// 64-bit numbers on every target, the 32-bit ones included, which have no
// 128-bit type.
struct Unsigned128 {
  uint64_t high;
  uint64_t low;
};

// a · b, exactly.
Unsigned128 MultiplyWide(uint64_t a, uint64_t b);

// a + b; requires that the sum fits in 128 bits.
inline Unsigned128 AddWide(Unsigned128 a, Unsigned128 b) {
  const uint64_t low = a.low + b.low;
  return Unsigned128{a.high + b.high + (low < a.low ? 1u : 0u), low};
}

inline bool WideLess(Unsigned128 a, Unsigned128 b) {
  return a.high != b.high ? a.high < b.high : a.low < b.low;
}

// ⌊a / d⌋ for d > 0, when it fits in 64 bits (a.high < d); the remainder
// goes to *remainder when that is not null.
uint64_t DivideWide(Unsigned128 a, uint64_t d, uint64_t* remainder = nullptr);

// a · b = c · d, decided exactly: the same sign and the same magnitude.
inline bool ProductsEqual(int64_t a, int64_t b, int64_t c, int64_t d) {
  const Unsigned128 left = MultiplyWide(Magnitude(a), Magnitude(b));
  const Unsigned128 right = MultiplyWide(Magnitude(c), Magnitude(d));
  if (left.high != right.high || left.low != right.low) return false;
  const bool leftZero = left.high == 0 && left.low == 0;
  return leftZero || ((a < 0) != (b < 0)) == ((c < 0) != (d < 0));
}

// The run of decimal digits at [text, end): where it stops (the first byte
// that is not a digit) and its value, when that is at most limit. Digits past
// the limit are still consumed, so the caller can report the whole number.
struct DigitRun {
  const char* stop;
  uint64_t value;  // meaningful only when fits
  bool fits;       // value ≤ limit
};
DigitRun ScanDigits(const char* text, const char* end, uint64_t limit);

inline bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace zoint

#endif  // ZOINT_CHECKED_ARITHMETIC_H
