#include "models/decimal_text.h"

#include <cstdlib>

namespace zoint {

namespace {

std::string MultipliedBy(const std::string& digits, int factor) {
  std::string product(digits.size(), '0');
  int carry = 0;
  for (size_t k = digits.size(); k-- > 0;) {
    const int current = (digits[k] - '0') * factor + carry;
    product[k] = static_cast<char>('0' + current % 10);
    carry = current / 10;
  }
  while (carry > 0) {
    product.insert(product.begin(), static_cast<char>('0' + carry % 10));
    carry /= 10;
  }
  return product;
}

// a + b or a − b (a ≥ b), digit strings of the same length.
std::string AddDigits(const std::string& a, const std::string& b) {
  std::string sum(a.size(), '0');
  int carry = 0;
  for (size_t k = a.size(); k-- > 0;) {
    const int current = (a[k] - '0') + (b[k] - '0') + carry;
    sum[k] = static_cast<char>('0' + current % 10);
    carry = current / 10;
  }
  return carry > 0 ? "1" + sum : sum;
}

std::string SubtractDigits(const std::string& a, const std::string& b) {
  std::string difference(a.size(), '0');
  int borrow = 0;
  for (size_t k = a.size(); k-- > 0;) {
    int current = (a[k] - '0') - (b[k] - '0') - borrow;
    borrow = current < 0 ? 1 : 0;
    if (current < 0) current += 10;
    difference[k] = static_cast<char>('0' + current);
  }
  return difference;
}

// The same value with `fractionDigits` digits after the point and `width`
// digits in all.
std::string Aligned(const Decimal& d, int32_t fractionDigits, size_t width) {
  std::string digits = d.digits + std::string(static_cast<size_t>(fractionDigits - d.fractionDigits), '0');
  return std::string(width - digits.size(), '0') + digits;
}

}  // namespace

Decimal DecimalOf(int64_t numerator, int64_t denominator) {
  const bool negative = numerator < 0;
  const uint64_t magnitude =
      negative ? 0 - static_cast<uint64_t>(numerator) : static_cast<uint64_t>(numerator);
  int32_t twos = 0;
  int32_t fives = 0;
  for (int64_t d = denominator; d % 2 == 0; d /= 2) ++twos;
  for (int64_t d = denominator; d % 5 == 0; d /= 5) ++fives;
  // n / (2^twos · 5^fives) = n · 2^(k − twos) · 5^(k − fives) / 10^k.
  const int32_t k = twos > fives ? twos : fives;
  std::string digits = std::to_string(magnitude);
  for (int32_t i = twos; i < k; ++i) digits = MultipliedBy(digits, 2);
  for (int32_t i = fives; i < k; ++i) digits = MultipliedBy(digits, 5);
  return {negative, digits, k};
}

Decimal DecimalOf(const ExactNumber& number) { return DecimalOf(number.numerator, number.denominator); }

Decimal Sum(const Decimal& a, const Decimal& b) {
  const int32_t fraction = a.fractionDigits > b.fractionDigits ? a.fractionDigits : b.fractionDigits;
  const size_t aWidth = a.digits.size() + static_cast<size_t>(fraction - a.fractionDigits);
  const size_t bWidth = b.digits.size() + static_cast<size_t>(fraction - b.fractionDigits);
  const size_t width = aWidth > bWidth ? aWidth : bWidth;
  const std::string x = Aligned(a, fraction, width);
  const std::string y = Aligned(b, fraction, width);
  if (a.negative == b.negative) return {a.negative, AddDigits(x, y), fraction};
  if (x.compare(y) >= 0)  // equal widths: text order is numeric order
    return {a.negative, SubtractDigits(x, y), fraction};
  return {b.negative, SubtractDigits(y, x), fraction};
}

std::string DecimalText(const Decimal& decimal) {
  std::string digits = decimal.digits;
  int32_t fraction = decimal.fractionDigits;
  const size_t fractionSize = static_cast<size_t>(fraction);
  // At least one digit before the point.
  if (digits.size() <= fractionSize) digits.insert(0, fractionSize + 1 - digits.size(), '0');
  while (fraction > 0 && digits.back() == '0') {
    digits.pop_back();
    --fraction;
  }
  const size_t point = digits.size() - static_cast<size_t>(fraction);
  const size_t firstNonZero = digits.find_first_not_of('0');
  const bool zero = firstNonZero == std::string::npos;
  std::string integer = digits.substr(0, point);
  const size_t leading = integer.find_first_not_of('0');
  integer = leading == std::string::npos ? "0" : integer.substr(leading);
  std::string text = (decimal.negative && !zero ? "-" : "") + integer;
  if (fraction > 0) text += "." + digits.substr(point);
  return text;
}

double ApproximateValue(const Decimal& decimal) { return std::strtod(DecimalText(decimal).c_str(), nullptr); }

}  // namespace zoint
