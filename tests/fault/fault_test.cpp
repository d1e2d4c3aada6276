// Every failure point of one call, one after another: the k-th call of each
// wrapped function fails, for every k a run makes. Each must give exactly
// its warning, a ZOIntOut.dat that cannot pass for an answer, nothing leaked
// (memory blocks, descriptors), and a clean next call.
#include <gtest/gtest.h>

#include <string>

#include "exchange/messages.h"
#include "fault/fault_points.h"
#include "support/float_settings.h"
#include "support/run_support.h"
#include "zoint/ZOInt.h"

namespace zoint_test {
namespace {

using zoint_fault::Fault;

// Eight variables, so that lines and the report outgrow short-string storage
// and allocate. Cheapest three with x0 + x1 + x4 + x5 <= 2: x2, x5 and x7.
const char kProblem[] = "8,2\n3,5,2,4,6,1,7,2,\n-1,-1,-1,-1,-1,-1,-1,-1,-3\n1,1,0,0,1,1,0,0,2\n";
const char kAnswer[] = "5\n0,0,1,0,0,1,0,1\n";
const std::string kAnswerConsole = ExpectedConsole(5, "0,0,1,0,0,1,0,1");
const char kStale[] = "1\n1,1,1,1,1,1,1,1\n";
const std::string kNoSolutionConsole = "OutPut: \n\nFinal: 9223372036854775807";

enum class Outcome { InputFault, OutputFault, OutOfMemory };

struct Expected {
  Outcome outcome;
  const char* warning;
};

// What the `call`-th failing call of the fault's function must give. Calls
// come in the order of a run: ZOIntIn.dat is opened (fstat 1, fdopen 1),
// measured (fstat 2), read line by line and closed (fclose 1); then
// ZOIntOut.dat is opened (fdopen 2), written and closed (fclose 2).
Expected ExpectedFor(Fault fault, int call) {
  switch (fault) {
    case Fault::ReadError:
      return {Outcome::InputFault, zoint::MessageOf(zoint::Failure::InputNotReadable)};
    case Fault::StatError:
      return {Outcome::InputFault, call == 1 ? zoint::MessageOf(zoint::Failure::InputNotFound)
                                             : zoint::MessageOf(zoint::Failure::InputNotReadable)};
    case Fault::CloseError:
      return call == 1 ? Expected{Outcome::InputFault, zoint::MessageOf(zoint::Failure::InputNotReadable)}
                       : Expected{Outcome::OutputFault, zoint::MessageOf(zoint::Failure::OutputNotWritable)};
    case Fault::ReadOutOfMemory:
    case Fault::OpenOutOfMemory:
    case Fault::NewFails:
    case Fault::None:
      break;
  }
  return {Outcome::OutOfMemory, zoint::MessageOf(zoint::Failure::OutOfMemory)};
}

struct Call {
  RunOutput out;
  bool fired;
  int calls;
  int64_t leakedBlocks;
  int leakedDescriptors;
};

// One call with `fault` armed at its `at`-th call, over a stale answer.
Call FaultyCall(Fault fault, int at) {
  WriteFile("ZOIntIn.dat", kProblem);
  WriteFile("ZOIntOut.dat", kStale);
  Call call{};
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const int64_t blocks = zoint_fault::LiveAllocations();
  const int descriptors = zoint_fault::OpenDescriptors();
  zoint_fault::Arm(fault, at);
  call.out.result = ZOInterProgram(0);
  zoint_fault::Disarm();
  call.leakedBlocks = zoint_fault::LiveAllocations() - blocks;
  call.leakedDescriptors = zoint_fault::OpenDescriptors() - descriptors;
  call.fired = zoint_fault::Fired();
  call.calls = zoint_fault::CallsSeen();
  call.out.warnings = testing::internal::GetCapturedStderr();
  call.out.console = testing::internal::GetCapturedStdout();
  call.out.hasSolution = FileExists("ZOIntOut.dat");
  call.out.solution = ReadFile("ZOIntOut.dat");
  return call;
}

void CheckEveryFailurePoint(Fault fault, int expectedPoints = 0) {
  ScratchDir scratch;
  const Call dry = FaultyCall(fault, 0);
  ASSERT_FALSE(dry.fired);
  ASSERT_EQ(dry.out.warnings, "");
  ASSERT_EQ(dry.out.solution, kAnswer);
  ASSERT_GE(dry.calls, 1) << "a run never reaches " << zoint_fault::Name(fault);
  if (expectedPoints > 0) {
    EXPECT_EQ(dry.calls, expectedPoints) << zoint_fault::Name(fault);
  }

  for (int at = 1; at <= dry.calls; ++at) {
    const std::string label = std::string(zoint_fault::Name(fault)) + " at call " + std::to_string(at);
    const Expected expected = ExpectedFor(fault, at);
    const Call c = FaultyCall(fault, at);
    ASSERT_TRUE(c.fired) << label;
    EXPECT_EQ(c.out.result, 0.0) << label;
    EXPECT_EQ(c.out.warnings, std::string(expected.warning) + "\n") << label;
    switch (expected.outcome) {
      case Outcome::InputFault:
        EXPECT_EQ(c.out.console, kNoSolutionConsole) << label;
        EXPECT_TRUE(c.out.hasSolution) << label;
        EXPECT_EQ(c.out.solution, "9223372036854775807\n") << label;
        break;
      case Outcome::OutputFault:
        EXPECT_EQ(c.out.console, kAnswerConsole) << label;
        EXPECT_FALSE(c.out.hasSolution) << label << ": " << c.out.solution;
        break;
      case Outcome::OutOfMemory:
        // The report is printed whole or not at all, depending on where
        // memory ran out; no answer file is left either way.
        EXPECT_TRUE(c.out.console.empty() || c.out.console == kAnswerConsole)
            << label << ": " << c.out.console;
        EXPECT_FALSE(c.out.hasSolution) << label << ": " << c.out.solution;
        break;
    }
    EXPECT_EQ(c.leakedBlocks, 0) << label;
    EXPECT_EQ(c.leakedDescriptors, 0) << label;

    const Call next = FaultyCall(Fault::None, 0);
    EXPECT_EQ(next.out.warnings, "") << label;
    EXPECT_EQ(next.out.console, kAnswerConsole) << label;
    EXPECT_EQ(next.out.solution, kAnswer) << label;
  }
}

TEST(FailurePoints, ReadErrorOnEveryLineIsInputNotReadable) {
  CheckEveryFailurePoint(Fault::ReadError, 4);  // header, objective, two rows
}

TEST(FailurePoints, StatErrorIsInputNotFoundOrNotReadable) { CheckEveryFailurePoint(Fault::StatError); }

TEST(FailurePoints, CloseErrorOnEitherFile) { CheckEveryFailurePoint(Fault::CloseError); }

TEST(FailurePoints, NoMemoryForALineIsOutOfMemory) { CheckEveryFailurePoint(Fault::ReadOutOfMemory, 4); }

TEST(FailurePoints, NoMemoryForAStreamIsOutOfMemory) { CheckEveryFailurePoint(Fault::OpenOutOfMemory); }

TEST(FailurePoints, EveryFailingAllocationIsOutOfMemory) { CheckEveryFailurePoint(Fault::NewFails); }

#ifdef ZOINT_TEST_X86_FLOAT
// A call that runs out of memory leaves through the entry point's catch
// path; the host's floating-point settings must come back there as well.
// The last allocation of a run fails, after the search has computed.
TEST(FailurePoints, OutOfMemoryGivesTheHostItsFloatSettingsBack) {
  ScratchDir scratch;
  const int lastAllocation = FaultyCall(Fault::NewFails, 0).calls;
  ASSERT_GE(lastAllocation, 1);
  const FloatSettings delphi = {0x1332, 0x00, 0x1900};
  const FloatSettings own = ReadFloatSettings();
  WriteFile("ZOIntIn.dat", kProblem);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  zoint_fault::Arm(Fault::NewFails, lastAllocation);
  WriteFloatSettings(delphi);
  const FloatSettings before = ReadFloatSettings();
  ZOInterProgram(0);
  const FloatSettings after = ReadFloatSettings();
  WriteFloatSettings(own);
  zoint_fault::Disarm();
  const std::string warnings = testing::internal::GetCapturedStderr();
  testing::internal::GetCapturedStdout();
  ASSERT_TRUE(zoint_fault::Fired());
  EXPECT_EQ(warnings, std::string(zoint::MessageOf(zoint::Failure::OutOfMemory)) + "\n");
  EXPECT_EQ(after, before) << "left " << Describe(before) << ", found " << Describe(after);
}
#endif

}  // namespace
}  // namespace zoint_test
