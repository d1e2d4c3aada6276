// libFuzzer target: zoint_solve's checks of its arguments, and its answers.
//
// The input picks n and m (a little beyond their limits on both sides),
// which pointers are null, the options (NaN, negative and infinite ones
// included) and the numbers (small ones, and ones at the 64-bit edges).
// Properties checked on every input:
//  - the status is the one the header's rules give, in their order: sizes,
//    then pointers and options, then sums that can wrap;
//  - after any other status than optimal, infeasible and stopped, the
//    outputs are as they were;
//  - an answer is feasible and worth its value; up to kBruteForceLimit
//    variables, optimal and infeasible answers are the brute force's.
// Large problems run under a node limit, so that each input stays quick.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "zoint/zoint_api.h"

#include "fuzz_support.h"

namespace {

constexpr int kBruteForceLimit = 12;

[[noreturn]] void Fail(const std::string& what) { zoint_fuzz::Fail("zoint_fuzz_api", what); }

void Expect(bool holds, const std::string& what) {
  if (!holds) Fail(what);
}

using zoint_fuzz::Bytes;

int64_t Number(Bytes& in) {
  const uint8_t kind = in.Next();
  switch (kind % 8) {
    case 0:
      return INT64_MAX - in.Next();
    case 1:
      return INT64_MIN + in.Next();
    case 2: {
      uint64_t v = 0;
      for (int k = 0; k < 8; ++k) v = v << 8 | in.Next();
      return static_cast<int64_t>(v);
    }
    default:
      return static_cast<int64_t>(in.Next() % 41) - 20;
  }
}

double Seconds(uint8_t pick) {
  const double choices[] = {0, 0, 0, 0.001, -1, std::nan(""), std::numeric_limits<double>::infinity(), 1e-9};
  return choices[pick % 8];
}

bool SumFits(const std::vector<int64_t>& values, size_t first, size_t count) {
  __int128 sum = 0;
  for (size_t k = first; k < first + count; ++k)
    sum += values[k] < 0 ? -static_cast<__int128>(values[k]) : values[k];
  return sum <= INT64_MAX;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes in{data, size};
  const int32_t n = static_cast<int32_t>(in.Next() % 104) - 2;  // −2 … 101
  const int32_t m = static_cast<int32_t>(in.Next() % 55) - 2;   // −2 … 52
  const uint8_t nulls = in.Next();
  const uint8_t optionBits = in.Next();
  const size_t un = n > 0 ? static_cast<size_t>(n) : 0;
  const size_t um = m > 0 ? static_cast<size_t>(m) : 0;

  std::vector<int64_t> costs(un + 1), rows(un * um + 1), rhs(um + 1);
  for (size_t i = 0; i < un; ++i) costs[i] = Number(in);
  for (size_t k = 0; k < un * um; ++k) rows[k] = Number(in);
  for (size_t j = 0; j < um; ++j) rhs[j] = Number(in);

  zoint_options options{};
  options.time_limit = Seconds(optionBits);
  options.progress_interval = Seconds(optionBits >> 3);
  // Past the brute force's reach, a node limit keeps the input quick.
  const bool small = n <= kBruteForceLimit;
  options.node_limit = small ? 0 : 200;
  const bool nullOptions = (nulls & 32) != 0 && small;

  const int64_t* pCosts = nulls & 1 ? nullptr : costs.data();
  const int64_t* pRows = nulls & 2 ? nullptr : rows.data();
  const int64_t* pRhs = nulls & 4 ? nullptr : rhs.data();
  const bool nullValue = (nulls & 8) != 0 && (nulls & 64) != 0;
  const bool nullX = (nulls & 16) != 0;
  int64_t value = 424242;
  std::vector<int32_t> x(un + 1, 7);

  const zoint_status status = zoint_solve(n, m, pCosts, pRows, pRhs, nullOptions ? nullptr : &options,
                                          nullValue ? nullptr : &value, nullX ? nullptr : x.data());

  // The status the header's rules give.
  zoint_status expected = ZOINT_OPTIMAL;
  const bool badSize = n < 0 || n > ZOINT_MAX_VARIABLES || m < 0 || m > ZOINT_MAX_CONSTRAINTS;
  const bool badOptions =
      !nullOptions && (std::isnan(options.time_limit) || options.time_limit < 0 ||
                       std::isnan(options.progress_interval) || options.progress_interval < 0);
  const bool nullNeeded = nullValue || (n > 0 && (pCosts == nullptr || nullX)) ||
                          (n > 0 && m > 0 && pRows == nullptr) || (m > 0 && pRhs == nullptr);
  if (badSize) {
    expected = ZOINT_BAD_SIZE;
  } else if (nullNeeded || badOptions) {
    expected = ZOINT_BAD_ARGUMENT;
  } else {
    bool fits = SumFits(costs, 0, un);
    for (size_t j = 0; j < um; ++j) fits = fits && SumFits(rows, j * un, un);
    if (!fits) expected = ZOINT_OUT_OF_RANGE;
  }
  if (expected != ZOINT_OPTIMAL) {
    Expect(status == expected, "status " + std::to_string(status) + ", expected " + std::to_string(expected));
    Expect(value == 424242, "value written after a refusal");
    for (size_t i = 0; i < un + 1; ++i) Expect(x[i] == 7, "x written after a refusal");
    return 0;
  }
  Expect(status == ZOINT_OPTIMAL || status == ZOINT_INFEASIBLE || status == ZOINT_STOPPED,
         "status " + std::to_string(status) + " for a problem the header accepts");

  // Feasible and worth its value, or no assignment at all.
  auto feasible = [&](const std::vector<int32_t>& a) {
    for (size_t j = 0; j < um; ++j) {
      __int128 lhs = 0;
      for (size_t i = 0; i < un; ++i) lhs += static_cast<__int128>(rows[j * un + i]) * a[i];
      if (lhs > rhs[j]) return false;
    }
    return true;
  };
  auto worth = [&](const std::vector<int32_t>& a) {
    __int128 total = 0;
    for (size_t i = 0; i < un; ++i) total += static_cast<__int128>(costs[i]) * a[i];
    return total;
  };
  if (value == ZOINT_NO_SOLUTION) {
    for (size_t i = 0; i < un; ++i) Expect(x[i] == 0, "no solution but x is not all 0");
  } else {
    for (size_t i = 0; i < un; ++i) Expect(x[i] == 0 || x[i] == 1, "x not binary");
    Expect(feasible(x), "the answer breaks a row");
    Expect(worth(x) == value, "the answer is not worth its value");
  }
  if (status == ZOINT_STOPPED || !small) return 0;

  // Brute force, in lexicographic order: the first optimum met is the smallest.
  __int128 best = INT64_MAX;
  std::vector<int32_t> bestX(un + 1, 0), trial(un + 1, 0);
  for (uint32_t bits = 0; bits < (1u << un); ++bits) {
    for (size_t i = 0; i < un; ++i) trial[i] = static_cast<int32_t>((bits >> (un - 1 - i)) & 1u);
    if (!feasible(trial)) continue;
    const __int128 w = worth(trial);
    if (w < best) {
      best = w;
      bestX = trial;
    }
  }
  Expect(value == best, "not the least objective");
  Expect(status == (best == INT64_MAX ? ZOINT_INFEASIBLE : ZOINT_OPTIMAL), "optimal and infeasible swapped");
  for (size_t i = 0; i < un; ++i) Expect(x[i] == bestX[i], "not the smallest optimal assignment");
  return 0;
}
