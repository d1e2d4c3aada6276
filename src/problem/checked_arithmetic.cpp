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
