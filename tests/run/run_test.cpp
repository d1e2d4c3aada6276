// Whole calls of ZOInterProgram in a scratch directory: the run sequence,
// what each call leaves behind, and the failure paths of the two files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "exchange/messages.h"
#include "support/run_support.h"

namespace zoint_test {
namespace {

const char kWorked[] = "3,2\n5,3,4,\n-1,-1,0,-1\n0,-1,-1,-1\n";
const std::string kNoSolution = "9223372036854775807\n";
const std::string kNoSolutionConsole = "OutPut: \n\nFinal: 9223372036854775807";

TEST(Run, ArgumentIsIgnoredAndResultIsZero) {
  ScratchDir scratch;
  WriteFile("ZOIntIn.dat", kWorked);
  const RunOutput first = RunInCurrentDir(0);
  for (int32_t argument : {1, -1, INT32_MAX, INT32_MIN, 12345}) {
    const RunOutput again = RunInCurrentDir(argument);
    EXPECT_EQ(again.result, 0.0);
    EXPECT_EQ(again.console, first.console) << argument;
    EXPECT_EQ(again.solution, first.solution) << argument;
  }
  EXPECT_EQ(first.console, "OutPut: \nX[0]: 0 \tX[1]: 1 \tX[2]: 0 \t\nFinal: 3");
  EXPECT_EQ(first.solution, "3\n0,1,0\n");
}

TEST(Run, EachCallStartsFromStartValues) {
  // Nothing of one call reaches the next: not its problem, not its answer.
  ScratchDir scratch;
  const RunOutput first = Solve("5,1\n1,1,1,1,1,\n-1,-1,-1,-1,-1,-5\n");
  EXPECT_EQ(first.solution, "5\n1,1,1,1,1\n");
  const RunOutput failed = Solve("3,2\n");  // a failed load: no variables, no answer
  EXPECT_EQ(failed.console, kNoSolutionConsole);
  EXPECT_EQ(failed.solution, kNoSolution);
  EXPECT_FALSE(failed.report.searched);
  const RunOutput again = Solve(kWorked);
  EXPECT_EQ(again.console, "OutPut: \nX[0]: 0 \tX[1]: 1 \tX[2]: 0 \t\nFinal: 3");
  EXPECT_EQ(again.solution, "3\n0,1,0\n");
}

TEST(Run, SolutionFileIsReplacedWhole) {
  ScratchDir scratch;
  WriteFile("ZOIntOut.dat", std::string(5000, 'x') + "\n1,1,1,1,1,1\n");
  const RunOutput run = Solve("0,0\n");
  EXPECT_EQ(run.console, "OutPut: \n\nFinal: 0");
  EXPECT_EQ(run.solution, "0\n");
}

TEST(Run, ReadOnlyInputIsNotFound) {
  ScratchDir scratch;
  WriteFile("ZOIntIn.dat", kWorked);
  ASSERT_EQ(chmod("ZOIntIn.dat", 0444), 0);
  const RunOutput run = RunInCurrentDir();
  EXPECT_EQ(run.warnings, std::string(zoint::MessageOf(zoint::Failure::InputNotFound)) + "\n");
  EXPECT_EQ(run.console, kNoSolutionConsole);
  EXPECT_EQ(run.solution, kNoSolution);
  EXPECT_EQ(ReadFile("ZOIntIn.dat"), kWorked);  // never written

  ASSERT_EQ(chmod("ZOIntIn.dat", 0644), 0);
  const RunOutput next = RunInCurrentDir();
  EXPECT_EQ(next.warnings, "");
  EXPECT_EQ(next.solution, "3\n0,1,0\n");
}

TEST(Run, DirectoryNamedLikeInputIsNotFound) {
  ScratchDir scratch;
  ASSERT_EQ(mkdir("ZOIntIn.dat", 0755), 0);
  const RunOutput run = RunInCurrentDir();
  EXPECT_EQ(run.warnings, std::string(zoint::MessageOf(zoint::Failure::InputNotFound)) + "\n");
  EXPECT_EQ(run.console, kNoSolutionConsole);
  EXPECT_EQ(run.solution, kNoSolution);

  ASSERT_EQ(rmdir("ZOIntIn.dat"), 0);
  const RunOutput next = Solve(kWorked);
  EXPECT_EQ(next.warnings, "");
  EXPECT_EQ(next.solution, "3\n0,1,0\n");
}

TEST(Run, UnwritableSolutionLeavesNoAnswer) {
  // Each case leaves behind something that must not pass for an answer.
  struct Case {
    const char* name;
    void (*prepare)();
    bool directoryRemains;
  };
  const Case cases[] = {
      {"read-only file with an old answer",
       [] {
         WriteFile("ZOIntOut.dat", "1\n1,1,1\n");
         chmod("ZOIntOut.dat", 0444);
       },
       false},
      {"directory", [] { mkdir("ZOIntOut.dat", 0755); }, true},
      {"full device", [] { (void)!symlink("/dev/full", "ZOIntOut.dat"); }, false},
  };
  for (const Case& c : cases) {
    ScratchDir scratch;
    c.prepare();
    const RunOutput run = Solve(kWorked);
    EXPECT_EQ(run.console, "OutPut: \nX[0]: 0 \tX[1]: 1 \tX[2]: 0 \t\nFinal: 3") << c.name;
    EXPECT_EQ(run.warnings, std::string(zoint::MessageOf(zoint::Failure::OutputNotWritable)) + "\n")
        << c.name;
    struct stat info;
    if (c.directoryRemains) {
      EXPECT_TRUE(stat("ZOIntOut.dat", &info) == 0 && S_ISDIR(info.st_mode)) << c.name;
    } else {
      EXPECT_FALSE(FileExists("ZOIntOut.dat")) << c.name;
    }
      // Once the obstacle is gone, the next call writes normally.
    if (c.directoryRemains) rmdir("ZOIntOut.dat");
    unlink("ZOIntOut.dat");
    const RunOutput next = RunInCurrentDir();
    EXPECT_EQ(next.warnings, "") << c.name;
    EXPECT_EQ(next.solution, "3\n0,1,0\n") << c.name;
  }
}

}  // namespace
}  // namespace zoint_test
