// A mistaken host calls ZOInterProgram from several threads at once. The
// calls must run one after another: each gives exactly the bytes of a call
// made alone. Standard output and the working directory are shared by the
// whole process, so each thread's own report and answer are taken from what
// it wrote (the fwrite calls of its thread), and the process's standard
// output must hold the reports back to back, never interleaved.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "fault/fault_points.h"
#include "support/run_support.h"
#include "zoint/ZOInt.h"

namespace zoint_test {
namespace {

constexpr int kThreads = 8;
constexpr int kCallsPerThread = 3;

// x_0 costs 1, the other 20 variables nothing. Without x_0 the rows ask for
// at least 10 and at most 9 of the others, so the search spends some hundred
// thousand nodes proving that, then finds x_0 = 1 with the last ten set.
// Calls that were not kept apart would meet inside that search. A third row,
// never violated and never closing a node, holds two coefficients of 2^62,
// so that a sum can wrap and a host's call runs the enumeration (the exact
// search needs a few nodes here).
std::string Problem() {
  const int others = 20;
  std::string objective = "1,", atMost = "-10,", atLeast = "0,";
  for (int i = 0; i < others; ++i) {
    objective += "0,";
    atMost += "1,";
    atLeast += "-1,";
  }
  const std::string huge = std::to_string(int64_t{1} << 62);
  std::string wraps = "0," + huge + "," + huge + ",";
  for (int i = 2; i < others; ++i) wraps += "0,";
  return std::to_string(others + 1) + ",3\n" + objective + "\n" + atMost + "9\n" + atLeast + "-10\n" + wraps +
         "9223372036854775807\n";
}

TEST(OverlappingCalls, EightThreadsGetTheBytesOfACallAlone) {
  ScratchDir scratch;
  WriteFile("ZOIntIn.dat", Problem());

  // The reference: one call alone.
  zoint_fault::StartRecording();
  const RunOutput alone = RunCounted();
  const zoint_fault::Recorded reference = zoint_fault::ThisThreadRecord();
  zoint_fault::ThisThreadRecord() = {};
  zoint_fault::StopRecording();
  ASSERT_EQ(alone.warnings, "");
  ASSERT_EQ(reference.console, alone.console);
  ASSERT_EQ(reference.file, alone.solution);
  ASSERT_EQ(alone.solution, "1\n1,0,0,0,0,0,0,0,0,0,0,1,1,1,1,1,1,1,1,1,1\n");
  ASSERT_TRUE(alone.report.searched && alone.report.mode == zoint::SolveMode::Enumeration);
  ASSERT_GT(alone.report.enumeration.nodes, 100000u) << "the search should be long enough for calls to overlap";

  std::vector<std::vector<zoint_fault::Recorded>> calls(kThreads);
  std::vector<std::vector<double>> results(kThreads);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  zoint_fault::StartRecording();
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &calls, &results] {
      for (int k = 0; k < kCallsPerThread; ++k) {
        zoint_fault::ThisThreadRecord() = {};
        results[t].push_back(ZOInterProgram(t));
        calls[t].push_back(zoint_fault::ThisThreadRecord());
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  zoint_fault::StopRecording();
  const std::string warnings = testing::internal::GetCapturedStderr();
  const std::string console = testing::internal::GetCapturedStdout();

  EXPECT_EQ(warnings, "");
  for (int t = 0; t < kThreads; ++t) {
    ASSERT_EQ(calls[t].size(), static_cast<size_t>(kCallsPerThread));
    for (int k = 0; k < kCallsPerThread; ++k) {
      const std::string label = "thread " + std::to_string(t) + " call " + std::to_string(k);
      EXPECT_EQ(results[t][k], 0.0) << label;
      EXPECT_EQ(calls[t][k].console, reference.console) << label;
      EXPECT_EQ(calls[t][k].file, reference.file) << label;
    }
  }
  std::string expected;
  for (int i = 0; i < kThreads * kCallsPerThread; ++i) expected += reference.console;
  EXPECT_EQ(console, expected);
  EXPECT_EQ(ReadFile("ZOIntOut.dat"), alone.solution);
}

}  // namespace
}  // namespace zoint_test
