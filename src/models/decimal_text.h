// Exact decimals of any length, for writing objective values back in a
// model's own terms: constant + sense · value / scale does not fit 64 bits in
// general, and must not be rounded.
#ifndef ZOINT_MODELS_DECIMAL_TEXT_H
#define ZOINT_MODELS_DECIMAL_TEXT_H

#include <cstdint>
#include <string>

#include "models/exact_number.h"

namespace zoint {

// ±digits / 10^fractionDigits.
struct Decimal {
  bool negative;
  std::string digits;  // at least one digit, most significant first
  int32_t fractionDigits;
};

// numerator / denominator, where denominator ≥ 1 is a product of 2s and 5s.
Decimal DecimalOf(int64_t numerator, int64_t denominator);
Decimal DecimalOf(const ExactNumber& number);

Decimal Sum(const Decimal& a, const Decimal& b);

// Shortest exact form: "-12.5", "3", "0.001"; never "-0".
std::string DecimalText(const Decimal& decimal);

// For progress figures only: the nearest double.
double ApproximateValue(const Decimal& decimal);

}  // namespace zoint

#endif  // ZOINT_MODELS_DECIMAL_TEXT_H
