// libFuzzer target: the OPB reader and the mapping to a problem.
//
// An input whose first byte is 0 is decoded into a small model directly
// (decimal coefficients, bounds, senses: what the OPB reader never makes);
// any other input is OPB text. Properties checked on every input:
//  - a refusal is one non-empty line, at a line the text has;
//  - a mapped problem is within the sizes, and no sum in it can wrap;
//  - a variable the mapping leaves out is a slack: continuous, no cost, two
//    finite bounds apart, in one row;
//  - for up to kBruteForceLimit variables, every assignment is feasible in
//    the mapped problem exactly when it is in the model (bounds included,
//    for some value of each slack within its bounds), and its objective,
//    reported back through ModelValue, is the model's own.
// A violated property aborts, so libFuzzer keeps the input.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "models/model_mapping.h"
#include "models/opb_reader.h"

#include "fuzz_support.h"

namespace {

constexpr int kBruteForceLimit = 10;

[[noreturn]] void Fail(const std::string& what) { zoint_fuzz::Fail("zoint_fuzz_models", what); }

void Expect(bool holds, const std::string& what) {
  if (!holds) Fail(what);
}

using zoint_fuzz::Bytes;

// A small model from bytes: up to 8 variables and 4 rows; numerators within
// ±10^6 and denominators 2^a·5^b of at most 10^6, so that the checks below
// are exact in 128 bits.
zoint::RawModel DecodeModel(Bytes& in) {
  const double inf = std::numeric_limits<double>::infinity();
  const double bounds[] = {-inf, -1, 0, 0.5, 1, 2, inf, std::nan("")};
  auto number = [&]() {
    const int64_t magnitude = (in.Next() << 12 | in.Next() << 4 | in.Next() >> 4) % 1000001;
    const uint8_t shape = in.Next();
    int64_t denominator = 1;
    for (int k = 0; k < shape % 7; ++k) denominator *= 2;
    for (int k = 0; k < (shape >> 4) % 7; ++k) denominator *= 5;
    // Lowest terms, as the readers give them.
    int64_t numerator = shape & 8 ? -magnitude : magnitude;
    while (denominator % 2 == 0 && numerator % 2 == 0) {
      numerator /= 2;
      denominator /= 2;
    }
    while (denominator % 5 == 0 && numerator % 5 == 0) {
      numerator /= 5;
      denominator /= 5;
    }
    if (numerator == 0) denominator = 1;
    return zoint::ExactNumber{numerator, denominator};
  };
  zoint::RawModel model{{}, {}, (in.Next() & 1) != 0, zoint::kZero, 1};
  model.constant = number();
  const int n = in.Next() % 9;
  for (int i = 0; i < n; ++i) {
    const uint8_t kind = in.Next();
    model.variables.push_back({"v" + std::to_string(i), number(), (kind & 1) != 0, bounds[(kind >> 1) % 8],
                               bounds[(kind >> 4) % 8], i + 1});
  }
  const int m = in.Next() % 5;
  for (int j = 0; j < m; ++j) {
    zoint::RawRow row{"row " + std::to_string(j), {}, false, zoint::kZero, false, zoint::kZero, 20 + j};
    for (int i = 0; i < n; ++i) {
      if (in.Next() & 1) row.terms.push_back({i, number()});
    }
    const uint8_t sides = in.Next();
    row.hasLower = (sides & 1) != 0;
    row.hasUpper = (sides & 2) != 0;
    row.lower = number();
    row.upper = sides & 4 ? row.lower : number();
    model.rows.push_back(row);
  }
  return model;
}

// Σ a_i x_i over exact numbers, as a fraction over `denominator` (the LCM of
// the denominators involved, at most 10^6 here).
__int128 ScaledSum(const std::vector<zoint::ExactNumber>& a, const std::vector<int>& x, int64_t denominator) {
  __int128 sum = 0;
  for (size_t i = 0; i < a.size(); ++i)
    sum += static_cast<__int128>(a[i].numerator) * (denominator / a[i].denominator) * x[i];
  return sum;
}

int64_t Lcm(int64_t a, int64_t b) {
  int64_t x = a, y = b;
  while (y != 0) {
    const int64_t r = x % y;
    x = y;
    y = r;
  }
  return a / x * b;
}

int64_t Lcm(int64_t a, int64_t b, int64_t c) { return Lcm(Lcm(a, b), c); }

// A bound of the decoder's set, {-1, 0, 0.5, 1, 2}, as halves.
int64_t Halves(double bound) { return static_cast<int64_t>(bound * 2); }

// x holds a value for each variable the mapping kept and 0 for each slack.
// A row holding slacks s_k (coefficients c_k, bounds [l_k, u_k]) is met when
// some t in Σ c_k·[l_k, u_k] brings the rest of the row within its sides.
bool ModelFeasible(const zoint::RawModel& model, const std::vector<int>& x, const std::vector<bool>& slack) {
  for (size_t i = 0; i < x.size(); ++i) {
    const zoint::RawVariable& v = model.variables[i];
    if (!slack[i] && !(v.lower <= x[i] && x[i] <= v.upper)) return false;
  }
  for (const zoint::RawRow& row : model.rows) {
    std::vector<zoint::ExactNumber> a(x.size(), zoint::kZero);
    int64_t d = Lcm(row.lower.denominator, row.upper.denominator, 2);
    std::vector<const zoint::RawTerm*> slackTerms;
    for (const zoint::RawTerm& term : row.terms) {
      if (slack[static_cast<size_t>(term.variable)]) {
        slackTerms.push_back(&term);
      } else {
        a[static_cast<size_t>(term.variable)] = term.coefficient;
      }
      d = Lcm(d, term.coefficient.denominator);
    }
    const __int128 sum = ScaledSum(a, x, d);
    // The room the sides leave, [low, high], as multiples of 1/(2d).
    const __int128 infinite = static_cast<__int128>(1) << 120;
    const __int128 low = row.hasLower
                             ? 2 * (static_cast<__int128>(row.lower.numerator) * (d / row.lower.denominator) - sum)
                             : -infinite;
    const __int128 high = row.hasUpper
                              ? 2 * (static_cast<__int128>(row.upper.numerator) * (d / row.upper.denominator) - sum)
                              : infinite;
    // The slacks together reach every t in [least, most] (each ranges over
    // an interval, so their sum does too).
    __int128 least = 0;
    __int128 most = 0;
    for (const zoint::RawTerm* term : slackTerms) {
      const zoint::RawVariable& v = model.variables[static_cast<size_t>(term->variable)];
      const __int128 c = static_cast<__int128>(term->coefficient.numerator) * (d / term->coefficient.denominator);
      __int128 from = c * Halves(v.lower);
      __int128 to = c * Halves(v.upper);
      if (from > to) std::swap(from, to);
      least += from;
      most += to;
    }
    if (most < low || least > high) return false;
  }
  return true;
}

bool IsSlack(const zoint::RawModel& model, size_t i) {
  const zoint::RawVariable& v = model.variables[i];
  int rows = 0;
  for (const zoint::RawRow& row : model.rows) {
    for (const zoint::RawTerm& term : row.terms) rows += static_cast<size_t>(term.variable) == i;
  }
  return !v.integer && v.cost.numerator == 0 && std::isfinite(v.lower) && std::isfinite(v.upper) &&
         v.lower < v.upper && rows == 1;
}

bool ProblemFeasible(const zoint::Problem& p, const std::vector<int>& x) {
  for (int32_t j = 0; j < p.m; ++j) {
    __int128 lhs = 0;
    for (int32_t i = 0; i < p.n; ++i)
      lhs += static_cast<__int128>(p.rows[j].entries[i]) * x[static_cast<size_t>(i)];
    if (lhs > p.rows[j].entries[zoint::RhsColumn]) return false;
  }
  return true;
}

std::string Text(__int128 v) {
  if (v == 0) return "0";
  std::string digits;
  const bool negative = v < 0;
  for (unsigned __int128 u = negative ? -static_cast<unsigned __int128>(v) : v; u != 0; u /= 10) {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(u % 10)));
  }
  return (negative ? "-" : "") + digits;
}

// The model's objective for x, exactly, as the decimal ModelValue writes.
std::string ModelObjective(const zoint::RawModel& model, const std::vector<int>& x) {
  std::vector<zoint::ExactNumber> costs;
  int64_t d = model.constant.denominator;
  for (const zoint::RawVariable& v : model.variables) {
    costs.push_back(v.cost);
    d = Lcm(d, v.cost.denominator);
  }
  const __int128 scaled = ScaledSum(costs, x, d) +
                          static_cast<__int128>(model.constant.numerator) * (d / model.constant.denominator);
  // scaled / d as a decimal: d = 2^a·5^b divides 10^k.
  int k = 0;
  __int128 power = 1;
  while (power % d != 0) {
    power *= 10;
    ++k;
  }
  const __int128 numerator = scaled * (power / d);
  const zoint::Decimal decimal{numerator < 0, Text(numerator < 0 ? -numerator : numerator), k};
  return zoint::DecimalText(decimal);
}

void CheckMapping(const zoint::RawModel& model, const zoint::MappedModel& mapped) {
  const zoint::Problem& p = mapped.problem;
  Expect(p.n <= zoint::MaxVariables && mapped.names.size() == static_cast<size_t>(p.n), "n");
  Expect(p.m >= 0 && p.m <= zoint::MaxConstraints, "m");
  Expect(zoint::NoSumCanWrap(p), "a sum of the mapped problem can wrap");
  // The names kept, in order; every variable left out must be a slack.
  std::vector<bool> slack(model.variables.size(), false);
  std::vector<size_t> kept;
  for (size_t i = 0; i < model.variables.size(); ++i) {
    if (kept.size() < mapped.names.size() && mapped.names[kept.size()] == model.variables[i].name) {
      kept.push_back(i);
    } else {
      slack[i] = true;
      Expect(IsSlack(model, i), model.variables[i].name + " left out, but it is no slack");
    }
  }
  Expect(kept.size() == mapped.names.size(), "names");
  if (p.n > kBruteForceLimit) return;
  std::vector<int> x(model.variables.size(), 0);
  std::vector<int> y(static_cast<size_t>(p.n));
  for (uint32_t bits = 0; bits < (1u << p.n); ++bits) {
    for (int32_t i = 0; i < p.n; ++i) {
      y[static_cast<size_t>(i)] = (bits >> i) & 1;
      x[kept[static_cast<size_t>(i)]] = y[static_cast<size_t>(i)];
    }
    const bool inModel = ModelFeasible(model, x, slack);
    Expect(inModel == ProblemFeasible(p, y), "feasible in one and not the other");
    if (!inModel) continue;
    __int128 value = 0;
    for (int32_t i = 0; i < p.n; ++i)
      value += static_cast<__int128>(p.coefficients[i]) * y[static_cast<size_t>(i)];
    // Only costs ≥ 0 summing to exactly 2^63 − 1 reach the no-solution value.
    Expect(value < INT64_MAX || zoint::ValueCanBeNoSolutionValue(p),
           "an objective value reaches the no-solution value");
    const std::string reported = zoint::DecimalText(zoint::ModelValue(mapped, static_cast<int64_t>(value)));
    const std::string expected = ModelObjective(model, x);
    Expect(reported == expected, "objective reported as " + reported + ", the model's is " + expected);
  }
}

void CheckRefusal(const zoint::ModelError& error, const std::string& text) {
  Expect(!error.reason.empty() && error.reason.find('\n') == std::string::npos,
         "not one line: " + error.reason);
  int64_t lines = 1;
  for (char c : text) lines += c == '\n';
  Expect(error.line >= 0 && error.line <= lines, "no such line: " + std::to_string(error.line));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  zoint::RawModel model;
  zoint::ModelError error{0, ""};
  std::string text;
  if (size > 0 && data[0] == 0) {
    Bytes in{data + 1, size - 1};
    model = DecodeModel(in);
  } else {
    text.assign(reinterpret_cast<const char*>(data), size);
    if (!zoint::ReadOpb(text, model, error)) {
      CheckRefusal(error, text);
      return 0;
    }
  }
  static zoint::MappedModel mapped;
  if (zoint::MapModel(model, mapped, error)) {
    CheckMapping(model, mapped);
  } else {
    CheckRefusal(error, text.empty() ? std::string(100, '\n') : text);
  }
  return 0;
}
