#include "problem/checked_arithmetic.h"

namespace zoint {

bool MagnitudeSumAtMost(const int64_t* values, int32_t count, uint64_t limit) {
  uint64_t sum = 0;
  for (int32_t i = 0; i < count; ++i) {
    const uint64_t term = Magnitude(values[i]);
    if (term > limit - sum) return false;
    sum += term;
  }
  return true;
}

uint64_t GreatestCommonDivisor(uint64_t a, uint64_t b) {
  while (b != 0) {
    const uint64_t r = a % b;
    a = b;
    b = r;
  }
  return a;
}

Unsigned128 MultiplyWide(uint64_t a, uint64_t b) {
  // Schoolbook on 32-bit halves: each partial product fits in 64 bits, and
  // so does each column sum below (at most 3 · (2^32 − 1) · 2^32 < 2^64).
  const uint64_t mask = 0xFFFFFFFFu;
  const uint64_t aLow = a & mask, aHigh = a >> 32;
  const uint64_t bLow = b & mask, bHigh = b >> 32;
  const uint64_t lowLow = aLow * bLow;
  const uint64_t lowHigh = aLow * bHigh;
  const uint64_t highLow = aHigh * bLow;
  const uint64_t highHigh = aHigh * bHigh;
  const uint64_t middle = (lowLow >> 32) + (lowHigh & mask) + (highLow & mask);
  return Unsigned128{highHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32),
                     (middle << 32) | (lowLow & mask)};
}

uint64_t DivideWide(Unsigned128 a, uint64_t d, uint64_t* remainder) {
  if (a.high == 0) {
    if (remainder != nullptr) *remainder = a.low % d;
    return a.low / d;
  }
#if defined(__SIZEOF_INT128__)
  // Where the compiler has a 128-bit type, its division: a few times faster
  // than the loop below, which the one-row bounds feel on huge weights.
  __extension__ typedef unsigned __int128 Wide;
  const Wide number = (static_cast<Wide>(a.high) << 64) | a.low;
  if (remainder != nullptr) *remainder = static_cast<uint64_t>(number % d);
  return static_cast<uint64_t>(number / d);
#else
  // Long division one bit at a time; the remainder stays below d, and the
  // bit shifted out of it on the way says it already exceeds d.
  uint64_t left = a.high;
  uint64_t quotient = 0;
  for (int bit = 63; bit >= 0; --bit) {
    const bool carry = (left >> 63) != 0;
    left = (left << 1) | ((a.low >> bit) & 1u);
    quotient <<= 1;
    if (carry || left >= d) {
      left -= d;
      quotient |= 1u;
    }
  }
  if (remainder != nullptr) *remainder = left;
  return quotient;
#endif
}

DigitRun ScanDigits(const char* text, const char* end, uint64_t limit) {
  DigitRun run{text, 0, true};
  for (; run.stop < end && IsDecimalDigit(*run.stop); ++run.stop) {
    if (!run.fits) continue;
    const uint64_t digit = static_cast<uint64_t>(*run.stop - '0');
    // value·10 + digit ≤ limit, asked without computing anything that could wrap.
    if (digit > limit || run.value > (limit - digit) / 10) {
      run.fits = false;
    } else {
      run.value = run.value * 10 + digit;
    }
  }
  return run;
}

}  // namespace zoint
