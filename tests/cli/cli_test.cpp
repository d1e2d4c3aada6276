// The command-line host in its folder form, zoint [--stats] [--enumerate]
// [DIR], run as its own process.
#include <gtest/gtest.h>
#include <signal.h>
#include <time.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "cli/cli_support.h"
#include "support/run_support.h"

namespace zoint_test {
namespace {

const char kWorked[] = "3,2\n5,3,4,\n-1,-1,0,-1\n0,-1,-1,-1\n";
const char kWorkedConsole[] = "OutPut: \nX[0]: 0 \tX[1]: 1 \tX[2]: 0 \t\nFinal: 3";

TEST(Cli, SolvesInTheCurrentDirectory) {
  ScratchDir scratch;
  WriteFile("ZOIntIn.dat", kWorked);
  const Command c = RunCli("");
  EXPECT_EQ(c.status, 0);
  EXPECT_EQ(c.out, kWorkedConsole);
  EXPECT_EQ(c.err, "");
  EXPECT_EQ(ReadFile("ZOIntOut.dat"), "3\n0,1,0\n");
}

TEST(Cli, SolvesInTheGivenDirectory) {
  ScratchDir scratch;
  ASSERT_EQ(system("mkdir sub"), 0);
  WriteFile("sub/ZOIntIn.dat", kWorked);
  const Command c = RunCli("sub");
  EXPECT_EQ(c.status, 0);
  EXPECT_EQ(c.out, kWorkedConsole);
  EXPECT_EQ(ReadFile("sub/ZOIntOut.dat"), "3\n0,1,0\n");
  EXPECT_FALSE(FileExists("ZOIntOut.dat"));
}

TEST(Cli, StatsReportTheSearch) {
  ScratchDir scratch;
  WriteFile("ZOIntIn.dat", "4,2\n2,3,2,3,\n-1,-1,-1,-1,-2\n1,0,1,0,1\n");
  const Command c = RunCli("--stats --enumerate .");
  EXPECT_EQ(c.status, 0);
  EXPECT_NE(c.err.find("search: enumeration\n"), std::string::npos) << c.err;
  EXPECT_NE(c.err.find("nodes: 8\n"), std::string::npos) << c.err;
  EXPECT_NE(c.err.find("evaluations: 18\n"), std::string::npos) << c.err;
  EXPECT_NE(c.err.find("seconds: "), std::string::npos) << c.err;
  const std::string enumerated = ReadFile("ZOIntOut.dat");
  EXPECT_EQ(enumerated, "5\n0,0,1,1\n");

  // Costs ≥ 0 and small sums: the exact search runs, with the same answer,
  // and reports its own counters.
  const Command chosen = RunCli("--stats");
  EXPECT_EQ(chosen.status, 0);
  for (const char* line : {"search: exact\n", "\nnodes: ", "\nlp solves: ", "\nlp pivots: ",
                           "\nbranch trials: ", "\nset aside: ", "\ntie boxes: ", "\nsecond pass searches: ",
                           "\nfirst pass seconds: ", "\nsecond pass seconds: ", "\nseconds: "}) {
    EXPECT_NE(chosen.err.find(line), std::string::npos) << line << " in\n" << chosen.err;
  }
  EXPECT_EQ(chosen.err.find("evaluations"), std::string::npos) << chosen.err;
  EXPECT_EQ(chosen.out, c.out);
  EXPECT_EQ(ReadFile("ZOIntOut.dat"), enumerated);

  // With a negative cost the exact search still runs and finds the optimum;
  // --enumerate keeps the enumeration's own answer.
  WriteFile("ZOIntIn.dat", "2,0\n7,-7,\n");
  const Command negative = RunCli("--stats");
  EXPECT_NE(negative.err.find("search: exact\n"), std::string::npos) << negative.err;
  EXPECT_EQ(ReadFile("ZOIntOut.dat"), "-7\n0,1\n");
  const Command negativeEnumerated = RunCli("--stats --enumerate");
  EXPECT_NE(negativeEnumerated.err.find("search: enumeration\n"), std::string::npos)
      << negativeEnumerated.err;
  EXPECT_EQ(ReadFile("ZOIntOut.dat"), "0\n0,0\n");

  // Bad input: no search ran.
  WriteFile("ZOIntIn.dat", "101,0\n");
  const Command bad = RunCli("--stats");
  EXPECT_NE(bad.err.find("search: none\nseconds: "), std::string::npos) << bad.err;
}

TEST(Cli, AWarningMakesTheExitStatusOne) {
  ScratchDir scratch;
  const Command missing = RunCli("");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "读取输入参数失败！Kelvadra(Error: Input not Found!)\n");
  EXPECT_EQ(missing.out, "OutPut: \n\nFinal: 9223372036854775807");

  WriteFile("ZOIntIn.dat", kWorked);
  ASSERT_EQ(system("rm ZOIntOut.dat && mkdir ZOIntOut.dat"), 0);  // the answer cannot be written
  const Command unwritable = RunCli("");
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(unwritable.err, "写入结果失败！Kelvadra(Error: Output not writable!)\n");
  EXPECT_EQ(unwritable.out, kWorkedConsole);
}

TEST(Cli, CtrlCLeavesNoAnswerBehind) {
  ScratchDir scratch;
  WriteFile("ZOIntIn.dat", HardProblemText());
  WriteFile("ZOIntOut.dat", "123\n1,0,1\n");  // an earlier run's answer
  RunningCli cli({"."});
  // The call reads a small file and then searches for seconds.
  const timespec pause{0, 300 * 1000 * 1000};
  nanosleep(&pause, nullptr);
  ASSERT_TRUE(cli.Running()) << "the problem was solved before the signal; it must take longer";
  cli.Signal(SIGINT);
  const Command c = cli.Wait();
  EXPECT_EQ(c.status, 3);
  EXPECT_EQ(c.err, "zoint: stopped; ZOIntOut.dat removed\n");
  EXPECT_FALSE(FileExists("ZOIntOut.dat"));
}

// A set covering problem of 60 variables and 50 rows: the exact search
// solves it at once, the enumeration walks for many seconds.
std::string LongEnumerationText() {
  std::mt19937 random(7);
  std::string text = "60,50\n";
  for (int i = 0; i < 60; ++i) text += std::to_string(1 + random() % 20) + ",";
  text += "\n";
  for (int j = 0; j < 50; ++j) {
    std::string row(60, '0');
    for (int k = 0; k < 3; ++k) row[random() % 60] = '1';
    for (char c : row) text += c == '1' ? "-1," : "0,";
    text += "-1\n";
  }
  return text;
}

// Signals a run of `arguments` in the current directory once it has
// searched for a while; what it printed on standard error.
std::string StoppedRunErrors(const std::vector<std::string>& arguments) {
  RunningCli cli(arguments);
  const timespec pause{0, 300 * 1000 * 1000};
  nanosleep(&pause, nullptr);
  EXPECT_TRUE(cli.Running()) << "the problem was solved before the signal; it must take longer";
  cli.Signal(SIGINT);
  const Command c = cli.Wait();
  EXPECT_EQ(c.status, 3);
  EXPECT_FALSE(FileExists("ZOIntOut.dat"));
  return c.err;
}

// --stats still tells what the run did when a signal stops it: the search,
// the counters known so far, the seconds.
TEST(Cli, StatsReportAStoppedRun) {
  ScratchDir scratch;
  WriteFile("ZOIntIn.dat", HardProblemText());
  const std::string exact = StoppedRunErrors({"--stats", "."});
  EXPECT_EQ(exact.rfind("zoint: stopped; ZOIntOut.dat removed\n\nsearch: exact, stopped before its end", 0),
            0)
      << exact;
  EXPECT_NE(exact.find("\nseconds: "), std::string::npos) << exact;

  WriteFile("ZOIntIn.dat", LongEnumerationText());
  const std::string enumerated = StoppedRunErrors({"--stats", "--enumerate", "."});
  EXPECT_EQ(
      enumerated.rfind("zoint: stopped; ZOIntOut.dat removed\n\nsearch: enumeration, stopped before its end\n"
                       "nodes: ",
                       0),
      0)
      << enumerated;
  const size_t nodes = enumerated.find("nodes: ");
  ASSERT_NE(nodes, std::string::npos);
  EXPECT_GT(std::strtoull(enumerated.c_str() + nodes + 7, nullptr, 10), 1000u) << enumerated;
  EXPECT_NE(enumerated.find("\nevaluations: "), std::string::npos) << enumerated;
  EXPECT_NE(enumerated.find("\nseconds: "), std::string::npos) << enumerated;

  // Without --stats, the one line alone.
  EXPECT_EQ(StoppedRunErrors({"--enumerate", "."}), "zoint: stopped; ZOIntOut.dat removed\n");
}

TEST(Cli, HelpAndUsageErrors) {
  ScratchDir scratch;
  const Command help = RunCli("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("ZOIntIn.dat"), std::string::npos);
  EXPECT_NE(help.out.find("ZOIntOut.dat"), std::string::npos);
  EXPECT_FALSE(FileExists("ZOIntOut.dat"));  // help solves nothing

  for (const char* arguments : {"--bogus", "-x", "no-such-directory", "a b", "--stats --nope ."}) {
    const Command c = RunCli(arguments);
    EXPECT_EQ(c.status, 2) << arguments;
    EXPECT_NE(c.err.find("usage: zoint"), std::string::npos) << arguments << ": " << c.err;
    EXPECT_EQ(c.out, "") << arguments;
    EXPECT_FALSE(FileExists("ZOIntOut.dat")) << arguments;
  }
}

TEST(Cli, BundledWorkedExample) {
  ScratchDir scratch;
  WriteFile("ZOIntIn.dat", ReadFile(std::string(ZOINT_EXAMPLES_DIR) + "/worked/ZOIntIn.dat"));
  const Command c = RunCli(".");
  EXPECT_EQ(c.status, 0);
  EXPECT_EQ(c.out, kWorkedConsole);
}

}  // namespace
}  // namespace zoint_test
