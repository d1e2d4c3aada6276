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

WideProduct MultiplyWide(int64_t a, int64_t b) {
  const uint64_t x = Magnitude(a);
  const uint64_t y = Magnitude(b);
  const uint64_t xLow = x & 0xffffffffu, xHigh = x >> 32;
  const uint64_t yLow = y & 0xffffffffu, yHigh = y >> 32;
  // Four partial products of at most 64 bits each; the middle ones carry
  // into the high word.
  const uint64_t lowLow = xLow * yLow;
  const uint64_t highLow = xHigh * yLow;
  const uint64_t lowHigh = xLow * yHigh;
  const uint64_t highHigh = xHigh * yHigh;
  const uint64_t middle = (lowLow >> 32) + (highLow & 0xffffffffu) + (lowHigh & 0xffffffffu);
  WideProduct product;
  product.low = (middle << 32) | (lowLow & 0xffffffffu);
  product.high = highHigh + (highLow >> 32) + (lowHigh >> 32) + (middle >> 32);
  if ((a < 0) != (b < 0)) {
    // Two's complement of the 128-bit magnitude.
    product.low = ~product.low + 1;
    product.high = ~product.high + (product.low == 0 ? 1 : 0);
  }
  return product;
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
