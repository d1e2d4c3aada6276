// Numbers of a model file, held exactly. A model may write decimals; the
// mapping scales each row and the objective by the least common multiple of
// their denominators, so every number must be known exactly first.
#ifndef ZOINT_MODELS_EXACT_NUMBER_H
#define ZOINT_MODELS_EXACT_NUMBER_H

#include <cstdint>

namespace zoint {

// numerator / denominator in lowest terms, denominator ≥ 1 and a product of
// 2s and 5s (every decimal is one). Both fit in [−(2^63 − 1), 2^63 − 1], so
// negation never wraps. Numbers outside that set cannot become an exact
// 64-bit integer by any scaling that itself fits in 64 bits.
struct ExactNumber {
  int64_t numerator;
  int64_t denominator;
};

constexpr ExactNumber kZero = {0, 1};

enum class NumberParse {
  Ok,
  NotANumber,  // not of the form [+-]digits[.digits][(e|E)[+-]digits]
  OutOfRange,  // a number, but not representable as an ExactNumber
};

// Parses the whole of [begin, end).
NumberParse ParseExactNumber(const char* begin, const char* end, ExactNumber& number);

// The decimal a double was written as, when it can be known: an integer of
// magnitude below 2^53, or a number of at most 15 significant digits (every
// such decimal reads to a double that prints back as itself). False for
// anything else, infinities and NaN included.
bool ExactNumberOfDouble(double value, ExactNumber& number);

// Least common multiple of two denominators; false when it exceeds 2^63 − 1.
bool CommonDenominator(int64_t a, int64_t b, int64_t& lcm);

// number · scale, where scale is a multiple of number's denominator; false
// when the product leaves [−(2^63 − 1), 2^63 − 1].
bool ScaledInteger(const ExactNumber& number, int64_t scale, int64_t& product);

ExactNumber Negated(const ExactNumber& number);

// a · b and a + b, exactly; false when the result (in lowest terms) cannot
// be held, or an intermediate product leaves 64 bits.
bool Product(const ExactNumber& a, const ExactNumber& b, ExactNumber& product);
bool Sum(const ExactNumber& a, const ExactNumber& b, ExactNumber& sum);

}  // namespace zoint

#endif  // ZOINT_MODELS_EXACT_NUMBER_H
