// Portable equivalents of the "%d" and "%I64d" conversions used by the
// problem file: white space skipped, an optional sign, decimal digits.
#ifndef ZOINT_NUMBER_SCAN_H
#define ZOINT_NUMBER_SCAN_H

#include <cstdint>

namespace zoint {

enum class ScanResult {
  Number,     // a number was read into the destination
  NoNumber,   // the text does not begin with a number; destination unchanged
  OutOfRange  // digits that do not fit between low and high
};

// Scans one integer at `text` (which ends at `end`), in [low, high].
// On success stores it in `value` and sets `*stop` just past its last digit.
ScanResult ScanInteger(const char* text, const char* end, int64_t low, int64_t high, int64_t& value,
                       const char** stop);

}  // namespace zoint

#endif  // ZOINT_NUMBER_SCAN_H
