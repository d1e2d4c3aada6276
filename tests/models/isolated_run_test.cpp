// The child process that CoinUtils reads in: what comes back, and how a
// crash, a loop and a cancel end, each without touching the caller.
#include "models/isolated_run.h"

#include <gtest/gtest.h>

#include <csignal>
#include <stdexcept>
#include <string>

namespace zoint_test {
namespace {

using zoint::IsolatedOutcome;
using zoint::RunIsolated;

TEST(IsolatedRun, ReturnsWhatTheWorkReturns) {
  const std::string big(10 << 20, 'z');  // more than a pipe holds at once
  const zoint::IsolatedResult result = RunIsolated([&] { return big; }, 30, nullptr);
  EXPECT_EQ(result.outcome, IsolatedOutcome::Finished);
  EXPECT_TRUE(result.output == big);
}

TEST(IsolatedRun, CrashesLoopsAndCancelsEndCleanly) {
  const zoint::IsolatedResult crashed = RunIsolated(
      [] {
        std::raise(SIGSEGV);
        return std::string("unreached");
      },
      30, nullptr);
  EXPECT_EQ(crashed.outcome, IsolatedOutcome::Failed);
  // Signal 11 itself, or 6 where a sanitizer turns the fault into an abort.
  EXPECT_NE(crashed.detail.find("killed by signal "), std::string::npos) << crashed.detail;
  EXPECT_TRUE(crashed.output.empty());

  const zoint::IsolatedResult threw =
      RunIsolated([]() -> std::string { throw std::runtime_error("no"); }, 30, nullptr);
  EXPECT_EQ(threw.outcome, IsolatedOutcome::Failed);
  EXPECT_NE(threw.detail.find("ended with status 3"), std::string::npos) << threw.detail;

  auto forever = []() -> std::string {
    for (volatile int spin = 0;; spin = spin + 1) {
    }
  };
  EXPECT_EQ(RunIsolated(forever, 0.2, nullptr).outcome, IsolatedOutcome::TimedOut);
  const volatile int32_t cancel = 1;
  EXPECT_EQ(RunIsolated(forever, 30, &cancel).outcome, IsolatedOutcome::Cancelled);
}

}  // namespace
}  // namespace zoint_test
