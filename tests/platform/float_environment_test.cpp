// A host's own floating-point settings around a call: exceptions unmasked as
// Delphi programs have them, each directed rounding mode, another x87
// precision, flush-to-zero, flags of its own already raised. The call gives
// the same bytes, does not trap, and hands back the host's settings and
// flags exactly; inside, the library rounds to nearest with every exception
// masked.
#include "platform/float_environment.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

#include "support/float_settings.h"
#include "support/run_support.h"
#include "support/random_problems.h"
#include "support/search_support.h"
#include "zoint/ZOInt.h"
#include "zoint/zoint_api.h"

namespace zoint_test {
namespace {

#ifdef ZOINT_TEST_X86_FLOAT

struct Problem {
  std::string name;
  std::string input;
  std::string console;
  std::string solution;
};

// The worked example, and problems on which the relaxation does real work:
// the larger example (expected bytes from a call under the process's own
// settings) and, when the shared instances are there, p0033 (expected bytes
// from its folder).
std::vector<Problem> Problems() {
  std::vector<Problem> problems = {{"worked example", "3,2\n5,3,4,\n-1,-1,0,-1\n0,-1,-1,-1\n",
                                    ExpectedConsole(3, "0,1,0"), ExpectedSolution(3, "0,1,0")}};
  const std::string larger = ReadFile(ZOINT_EXAMPLES_DIR "/larger/ZOIntIn.dat");
  EXPECT_FALSE(larger.empty()) << "examples/larger is missing";
  ScratchDir scratch;
  const RunOutput plain = Solve(larger);
  EXPECT_EQ(plain.warnings, "");
  problems.push_back({"examples/larger", larger, plain.console, plain.solution});
  const std::string p0033 = std::string(ZOINT_INSTANCES_DIR) + "/p0033/";
  if (FileExists(p0033 + "ZOIntIn.dat")) {
    problems.push_back({"p0033", ReadFile(p0033 + "ZOIntIn.dat"), ReadFile(p0033 + "stdout.txt"),
                        ReadFile(p0033 + "ZOIntOut.dat")});
  }
  return problems;
}

struct HostCall {
  RunOutput out;
  FloatSettings before;  // the host's settings as the call found them
  FloatSettings after;   // and once it has returned
};

// One call in the current directory with the host's settings in force from
// just before the call until just after it; the test's own come back then.
HostCall CallWith(const FloatSettings& host, const std::string& problem) {
  WriteFile("ZOIntIn.dat", problem);
  const FloatSettings own = ReadFloatSettings();
  HostCall call{};
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  WriteFloatSettings(host);
  call.before = ReadFloatSettings();
  const double result = ZOInterProgram(0);
  call.after = ReadFloatSettings();
  WriteFloatSettings(own);
  call.out.result = result;
  call.out.warnings = testing::internal::GetCapturedStderr();
  call.out.console = testing::internal::GetCapturedStdout();
  call.out.solution = ReadFile("ZOIntOut.dat");
  return call;
}

TEST(HostFloatSettings, SameBytesAndTheHostsSettingsBack) {
  const std::vector<Problem> problems = Problems();
  ScratchDir scratch;
  for (int k = 0; k < kHostFloatSettingsCount; ++k) {
    const HostFloatSettings& host = kHostFloatSettings[k];
    for (const Problem& problem : problems) {
      const std::string label = problem.name + " with " + host.name;
      const HostCall call = CallWith(host.settings, problem.input);
      EXPECT_EQ(call.out.result, 0.0) << label;
      EXPECT_EQ(call.out.console, problem.console) << label;
      EXPECT_EQ(call.out.solution, problem.solution) << label;
      EXPECT_EQ(call.out.warnings, "") << label;
      EXPECT_EQ(call.after, call.before)
          << label << ": left " << Describe(call.before) << ", found " << Describe(call.after);
    }
  }
}

// The direct API under the same host settings: the answer of a call made
// under the process's own settings, and the host's settings back after it.
// The problem is a correlated knapsack, on which the relaxation does most of
// the work.
TEST(HostFloatSettings, DirectApiGivesTheSameAnswerAndTheSettingsBack) {
  const TestProblem p = RandomKnapsack(7, 30, 5, true);
  std::vector<int64_t> rows, rhs;
  for (const auto& row : p.rows) {
    rows.insert(rows.end(), row.begin(), row.begin() + p.n);
    rhs.push_back(row[p.n]);
  }
  const int32_t m = static_cast<int32_t>(p.rows.size());
  int64_t expectedValue = 0;
  std::vector<int32_t> expectedX(static_cast<size_t>(p.n));
  ASSERT_EQ(zoint_solve(p.n, m, p.c.data(), rows.data(), rhs.data(), nullptr, &expectedValue, expectedX.data()),
            ZOINT_OPTIMAL);
  const FloatSettings own = ReadFloatSettings();
  for (int k = 0; k < kHostFloatSettingsCount; ++k) {
    const HostFloatSettings& host = kHostFloatSettings[k];
    int64_t value = 0;
    std::vector<int32_t> x(static_cast<size_t>(p.n));
    WriteFloatSettings(host.settings);
    const FloatSettings before = ReadFloatSettings();
    const zoint_status status = zoint_solve(p.n, m, p.c.data(), rows.data(), rhs.data(), nullptr, &value, x.data());
    const FloatSettings after = ReadFloatSettings();
    WriteFloatSettings(own);
    EXPECT_EQ(status, ZOINT_OPTIMAL) << host.name;
    EXPECT_EQ(value, expectedValue) << host.name;
    EXPECT_EQ(x, expectedX) << host.name;
    EXPECT_EQ(after, before) << host.name << ": left " << Describe(before) << ", found " << Describe(after);
  }
}

// Inside the library's scope: round to nearest on both units, x87 results
// rounded to 53 bits, and an infinity, a NaN and an overflow raise no trap
// whatever the host unmasked; after it, the host's settings and only its
// own flags.
TEST(HostFloatSettings, LibraryScopeRoundsToNearestAndNeverTraps) {
  const FloatSettings own = ReadFloatSettings();
  for (int k = 0; k < kHostFloatSettingsCount; ++k) {
    const HostFloatSettings& host = kHostFloatSettings[k];
    volatile double one = 1.0, zero = 0.0, largest = DBL_MAX;
    volatile double threeQuarterUlp = 0x1.8p-53, quarterUlp = 0x1p-54;
    volatile double aboveHalf, belowHalf, infinity, notANumber, overflow;
    volatile long double x87Sum;
    WriteFloatSettings(host.settings);
    const FloatSettings before = ReadFloatSettings();
    {
      zoint::platform::LibraryFloatEnvironment library;
      aboveHalf = one + threeQuarterUlp;  // rounded down or toward zero: 1
      belowHalf = one + quarterUlp;       // rounded up: 1 + 2^-52
      infinity = one / zero;
      notANumber = infinity - infinity;
      overflow = largest * largest;
      // Exact at 64 bits; 1 + 2^-52 at 53.
      x87Sum = static_cast<long double>(one) + static_cast<long double>(threeQuarterUlp);
    }
    const FloatSettings after = ReadFloatSettings();
    WriteFloatSettings(own);
    EXPECT_EQ(aboveHalf, 1.0 + 0x1p-52) << host.name;
    EXPECT_EQ(belowHalf, 1.0) << host.name;
    EXPECT_TRUE(std::isinf(infinity) && std::isnan(notANumber) && std::isinf(overflow)) << host.name;
    EXPECT_EQ(x87Sum, 1.0L + 0x1p-52L) << host.name;
    EXPECT_EQ(after, before) << host.name << ": left " << Describe(before) << ", found " << Describe(after);
  }
}

#else

TEST(HostFloatSettings, SameBytesAndTheHostsSettingsBack) { GTEST_SKIP() << "x86 floating-point units only"; }

#endif

}  // namespace
}  // namespace zoint_test
