// zoint solve and zoint convert, run as their own processes: the models and
// instances beside the project, the mapping end to end, limits, signals and
// progress, and the exit status and one line of every refusal.
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/cli_support.h"
#include "support/run_support.h"

namespace zoint_test {
namespace {

const std::string kModels = ZOINT_SHARED_DIR "/models/";
const std::string kInstances = ZOINT_SHARED_DIR "/instances/";
const std::string kExamples = ZOINT_EXAMPLES_DIR "/models/";

bool HaveCoinUtils() { return ZOINT_HAVE_COINUTILS != 0; }

// "status: S", "objective: V", then one "name value" line each.
struct Result {
  std::string status;
  std::string objective;
  std::vector<std::string> names;
  std::string values;  // comma-separated, as in ZOIntOut.dat
};

Result Parse(const std::string& out) {
  Result r;
  size_t start = 0;
  int line = 0;
  while (start < out.size()) {
    const size_t stop = out.find('\n', start);
    const std::string text = out.substr(start, stop - start);
    start = stop == std::string::npos ? out.size() : stop + 1;
    if (line == 0 && text.compare(0, 8, "status: ") == 0) r.status = text.substr(8);
    if (line == 1 && text.compare(0, 11, "objective: ") == 0) r.objective = text.substr(11);
    if (line >= 2) {
      const size_t blank = text.find(' ');
      r.names.push_back(text.substr(0, blank));
      r.values += (r.values.empty() ? "" : ",") + text.substr(blank + 1);
    }
    ++line;
  }
  return r;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

TEST(Solve, TheSharedModelsGiveTheirOptima) {
  if (!FileExists(kModels + "tiny.opb")) GTEST_SKIP() << "no " << kModels << " (the shared folder is absent)";
  ScratchDir scratch;
  struct Case {
    const char* file;
    const char* optimum;
    bool coin;
  };
  const Case cases[] = {{"tiny.opb", "3", false},
                        {"weish01.opb", "-4554", false},
                        {"tiny.lp", "3", true},
                        {"p0033.mps", "3089", true}};
  for (const Case& c : cases) {
    if (c.coin && !HaveCoinUtils()) continue;
    const Command run = RunCli("solve --quiet '" + kModels + c.file + "'");
    EXPECT_EQ(run.status, 0) << c.file << ": " << run.err;
    const Result r = Parse(run.out);
    EXPECT_EQ(r.status, "optimal") << c.file;
    EXPECT_EQ(r.objective, c.optimum) << c.file;
  }
  if (!HaveCoinUtils()) return;
  const Command tiny = RunCli("solve '" + kModels + "tiny.lp'");
  EXPECT_EQ(tiny.out, "status: optimal\nobjective: 3\nx0 0\nx1 1\nx2 0\n");
  EXPECT_EQ(tiny.err, "");
}

TEST(Solve, EachInstanceLpGivesItsExpectedAnswer) {
  if (!HaveCoinUtils()) GTEST_SKIP() << "built without CoinUtils";
  std::vector<std::string> names;
  if (DIR* dir = opendir(kInstances.c_str())) {
    while (dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name[0] != '.' && FileExists(kInstances + name + "/" + name + ".lp")) names.push_back(name);
    }
    closedir(dir);
  }
  if (names.empty()) GTEST_SKIP() << "no instances under " << kInstances << " (the shared folder is absent)";
  std::sort(names.begin(), names.end());
  ScratchDir scratch;
  for (const std::string& name : names) {
    const std::string folder = kInstances + name + "/";
    const std::string expected = ReadFile(folder + "ZOIntOut.dat");
    const Command run = RunCli("solve --quiet '" + folder + name + ".lp'");
    const Result r = Parse(run.out);
    EXPECT_EQ(run.status, 0) << name;
    EXPECT_EQ(r.objective, FirstLine(expected)) << name;
    EXPECT_EQ(r.values, FirstLine(expected.substr(expected.find('\n') + 1))) << name;
    for (size_t i = 0; i < r.names.size(); ++i) EXPECT_EQ(r.names[i], "y" + std::to_string(i)) << name;
  }
}

// A maximisation with a constant, decimals, a >= row and an = row; its
// hand conversion: minimise minus the value times 4 (1.5 dropped), the
// budget times 2, the >= row negated, the = row as two rows. Two optima
// tie at 14.25; the lexicographically smaller in the model's order wins.
const char kScaledLp[] =
    "Maximize\n"
    " value: 4.5 roads + 3 bridge_a + 3 bridge_b + 2.25 school + 6 clinic + 2 park + 1.5\n"
    "Subject To\n"
    " budget: 2 roads + 1.5 bridge_a + 1.5 bridge_b + school + 3 clinic + 0.5 park <= 6\n"
    " safety: roads + clinic >= 1\n"
    " bridge: bridge_a - bridge_b = 0\n"
    "Binary\n"
    " roads bridge_a bridge_b school clinic park\n"
    "End\n";

const char kScaledByHand[] =
    "6,4\n"
    "-18,-12,-12,-9,-24,-8,\n"
    "4,3,3,2,6,1,12\n"
    "-1,0,0,0,-1,0,-1\n"
    "0,1,-1,0,0,0,0\n"
    "0,-1,1,0,0,0,0\n";

const char kProjectsAnswer[] =
    "status: optimal\nobjective: 51\nroads 1\nbridge_a 0\nbridge_b 0\nschool 1\nclinic 1\npark 0\n";

TEST(Solve, AMaximisationWithGreaterAndEqualRowsAnswersAsItsHandConversion) {
  ScratchDir scratch;
  WriteFile("ZOIntIn.dat", kScaledByHand);
  ASSERT_EQ(RunCli(".").status, 0);
  EXPECT_EQ(ReadFile("ZOIntOut.dat"), "-51\n1,0,0,1,1,0\n");  // 1.5 + 51/4 = 14.25
  if (!HaveCoinUtils()) return;
  WriteFile("scaled.lp", kScaledLp);
  const Command run = RunCli("solve scaled.lp");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(
      run.out,
      "status: optimal\nobjective: 14.25\nroads 1\nbridge_a 0\nbridge_b 0\nschool 1\nclinic 1\npark 0\n");
}

// The bundled example in its three formats is one model, with one answer:
// the OPB file names its variables x1 ... x6.
TEST(Solve, TheBundledExampleGivesOneAnswerInEachFormat) {
  ScratchDir scratch;
  for (const char* file : {"projects.lp", "projects.mps"}) {
    if (!HaveCoinUtils()) break;
    const Command run = RunCli("solve '" + kExamples + file + "'");
    EXPECT_EQ(run.status, 0) << file << ": " << run.err;
    EXPECT_EQ(run.out, kProjectsAnswer) << file;
  }
  const Command opb = RunCli("solve '" + kExamples + "projects.opb'");
  EXPECT_EQ(opb.status, 0) << opb.err;
  EXPECT_EQ(opb.out, "status: optimal\nobjective: 51\nx1 1\nx2 0\nx3 0\nx4 1\nx5 1\nx6 0\n");
}

TEST(Solve, ConvertWritesTheProblemAHostSolves) {
  if (!HaveCoinUtils()) GTEST_SKIP() << "built without CoinUtils";
  ScratchDir scratch;
  WriteFile("scaled.lp", kScaledLp);
  const Command convert = RunCli("convert scaled.lp out");
  EXPECT_EQ(convert.status, 0) << convert.err;
  EXPECT_EQ(convert.out,
            "wrote out/ZOIntIn.dat (n = 6, m = 4) and out/names.txt\n"
            "sense: maximise (ZOIntIn.dat minimises its negation)\n"
            "scale: 4\n"
            "constant: 1.5\n"
            "model objective = 1.5 - (value on line 1 of ZOIntOut.dat) / 4\n"
            "(9223372036854775807 on line 1: no assignment meets every row)\n");
  EXPECT_EQ(ReadFile("out/ZOIntIn.dat"), kScaledByHand);
  EXPECT_EQ(ReadFile("out/names.txt"), "roads\nbridge_a\nbridge_b\nschool\nclinic\npark\n");
  ASSERT_EQ(RunCli("out").status, 0);
  EXPECT_EQ(ReadFile("out/ZOIntOut.dat"), "-51\n1,0,0,1,1,0\n");
}

TEST(Solve, InfeasibleAndSolutionFile) {
  ScratchDir scratch;
  WriteFile("none.opb", "* #variable= 2 #constraint= 2\n+1 x1 +1 x2 >= 2 ;\n+1 x1 <= 0 ;\n");
  const Command none = RunCli("solve --solution result.txt none.opb");
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out, "status: infeasible\nobjective: none\n");
  EXPECT_EQ(ReadFile("result.txt"), none.out);

  WriteFile("fixed.opb", "* #variable= 2 #constraint= 1\nmin: -1 x1 +2 ~x2 ;\n+1 x1 >= 1 ;\n");
  const Command fixed = RunCli("solve --solution=r2.txt fixed.opb");
  EXPECT_EQ(fixed.out, "status: optimal\nobjective: -1\nx1 1\nx2 1\n");
  EXPECT_EQ(ReadFile("r2.txt"), fixed.out);
  EXPECT_EQ(RunCli("solve --solution no/such/dir/r.txt fixed.opb").status, 1);
}

// Costs may sum to 2^63 - 1, the library's one limit, as through the C API.
// An assignment worth exactly that is what the library reports as "none",
// so the command finds it by a second search.
TEST(Solve, CostsSummingToTheLimitAreSolvedExactly) {
  ScratchDir scratch;
  struct Case {
    const char* text;
    const char* out;
  };
  const Case cases[] = {
      {"min: +9223372036854775806 x1 +1 x2 ;\n+1 x1 >= 1 ;\n",
       "status: optimal\nobjective: 9223372036854775806\nx1 1\nx2 0\n"},
      // Only the assignment worth 2^63 - 1 meets the rows; x3 costs nothing.
      {"min: +9223372036854775806 x1 +1 x2 ;\n+1 x1 +1 x2 >= 2 ;\n+1 x3 >= 0 ;\n",
       "status: optimal\nobjective: 9223372036854775807\nx1 1\nx2 1\nx3 0\n"},
      {"min: +9223372036854775806 x1 +1 x2 ;\n+1 x1 +1 x2 >= 2 ;\n+1 x1 +1 x3 <= 0 ;\n",
       "status: infeasible\nobjective: none\n"},
      {"max: -9223372036854775807 x1 ;\n+1 x1 >= 1 ;\n",
       "status: optimal\nobjective: -9223372036854775807\nx1 1\n"},
  };
  for (const Case& c : cases) {
    WriteFile("limit.opb", c.text);
    const Command run = RunCli("solve limit.opb");
    EXPECT_EQ(run.status, 0) << c.text << run.err;
    EXPECT_EQ(run.out, c.out) << c.text;
  }
  // Through the exchange file, the library's rule holds: convert says so.
  const Command convert = RunCli("convert limit.opb out");
  EXPECT_EQ(convert.status, 0) << convert.err;
  EXPECT_NE(convert.out.find("note: the costs sum to exactly 9223372036854775807"), std::string::npos)
      << convert.out;
}

TEST(Solve, TimeLimitStopsWithTheBestSoFar) {
  ScratchDir scratch;
  WriteFile("hard.opb", HardModelOpb());
  const Command run = RunCli("solve --quiet --time-limit 0.3 hard.opb");
  EXPECT_EQ(run.status, 3) << run.err;
  EXPECT_EQ(run.err, "");  // --quiet
  ASSERT_EQ(Parse(run.out).status, "stopped") << run.out;
  if (Parse(run.out).objective != "none") {
    EXPECT_EQ(CheckHardAnswer(run.out), "");
  }
}

TEST(Solve, CtrlCStopsTheSearchAfterProgressLines) {
  ScratchDir scratch;
  WriteFile("hard.opb", HardModelOpb());
  RunningCli cli({"solve", "hard.opb"});
  ASSERT_TRUE(cli.WaitForError("progress: ", 30)) << "no progress line; " << ReadFile("running.out");
  cli.Signal(SIGINT);
  const Command c = cli.Wait();
  EXPECT_EQ(c.status, 3);
  EXPECT_EQ(Parse(c.out).status, "stopped");
  EXPECT_EQ(CheckHardAnswer(c.out), "") << c.out;
  // "progress: 1.0 s, N nodes, best V, bound B, gap G%"
  const std::string progress = FirstLine(c.err);
  EXPECT_EQ(progress.compare(0, 15, "progress: 1.0 s"), 0) << progress;
  for (const char* part : {" nodes, best ", ", bound ", ", gap "}) {
    EXPECT_NE(progress.find(part), std::string::npos) << progress;
  }
}

TEST(Solve, RejectedModelsExitOneWithOneLine) {
  ScratchDir scratch;
  WriteFile("cut.opb", "* #variable= 2 #constraint= 1\nmin: +1 x1 ;\n+1 x1 +1 x2 >");
  WriteFile("wide.opb", "+1 x1 >= 123456789012345678901234567890 ;\n");
  WriteFile("empty.opb", "");
  WriteFile("over.opb", "min: +9223372036854775807 x1 +1 x2 ;\n");
  WriteFile("continuous.lp", "Minimize\n obj: x + y\nSubject To\n c1: x + y >= 1\nBinary\n x\nEnd\n");
  WriteFile("twice.mps",
            "NAME D\nROWS\n N obj\n L c1\n L c1\nCOLUMNS\n    x obj 1 c1 1\nRHS\n    rhs c1 1\nENDATA\n");
  struct Case {
    const char* file;
    const char* line;  // what standard error holds
  };
  std::vector<Case> cases = {
      {"cut.opb", "cut.opb:3: expected >=, <= or = at '>'\n"},
      {"wide.opb",
       "wide.opb:1: number beyond the 64-bit range (magnitude at most 2^63 - 1) at "
       "'123456789012345678901234567890'\n"},
      {"empty.opb", "empty.opb: the file is empty\n"},
      {"over.opb",
       "over.opb:1: objective: the sum of the coefficients' magnitudes exceeds 2^63 - 1, so sums could "
       "wrap\n"},
      {"missing.opb", "missing.opb: cannot open: No such file or directory\n"},
  };
  if (HaveCoinUtils()) {
    cases.push_back(
        {"continuous.lp",
         "continuous.lp:2: variable y is continuous (bounds [0, inf]); every variable must be binary "
         "(integer, bounds within [0, 1])\n"});
    // CoinMpsIO prints about the repeated name itself; none of it may reach
    // standard output.
    cases.push_back({"twice.mps", "twice.mps:5: row c1 is declared twice\n"});
  } else {
    cases.push_back({"continuous.lp",
                     "continuous.lp: this build of zoint reads no LP files (it was built without CoinUtils); "
                     "OPB files work\n"});
  }
  for (const Case& c : cases) {
    const Command run = RunCli(std::string("solve ") + c.file);
    EXPECT_EQ(run.status, 1) << c.file;
    EXPECT_EQ(run.err, c.line) << c.file;
    EXPECT_EQ(run.out, "") << c.file;
  }
}

TEST(Solve, UsageErrorsExitTwo) {
  ScratchDir scratch;
  WriteFile("m.opb", "* #variable= 1 #constraint= 0\n");
  for (const char* arguments :
       {"solve", "solve model.txt", "solve --time-limit 0 m.opb", "solve --time-limit x m.opb",
        "solve --time-limit", "solve --bogus m.opb", "solve m.opb m.opb", "solve --solution", "convert",
        "convert m.opb", "convert m.opb a b", "convert --x m.opb a", "convert model.txt out",
        "solve --solutions 0 m.opb", "solve --solutions x m.opb", "solve --solutions 2 --all-optimal m.opb",
        "solve --all-optimal --gap 1 m.opb", "solve --gap -1 m.opb", "solve --gap x m.opb",
        "solve --max-solutions 5 m.opb", "solve --solutions 3 --max-solutions 5 m.opb",
        "solve --all-optimal --max-solutions 0 m.opb"}) {
    const Command c = RunCli(arguments);
    EXPECT_EQ(c.status, 2) << arguments;
    EXPECT_NE(c.err.find("usage: zoint"), std::string::npos) << arguments << ": " << c.err;
    EXPECT_EQ(c.out, "") << arguments;
  }
  const Command help = RunCli("--help");
  EXPECT_EQ(help.status, 0);
  for (const char* part : {"zoint solve [--time-limit SECONDS] [--quiet] [--solution FILE]",
                           "[--solutions K | --all-optimal | --gap G] [--max-solutions N] MODEL",
                           "zoint convert MODEL DIR", "Exit status:", "  3  stopped"}) {
    EXPECT_NE(help.out.find(part), std::string::npos) << part;
  }
}

// Lists: a block per assignment in the order by objective, then
// lexicographically, with how many and whether that is all of them; the
// gap is in the model's own objective (here a maximisation scaled by 2).
TEST(Solve, ListsOfAssignments) {
  ScratchDir scratch;
  // Maximise x1 + x2 + x3 / 2 with at most two of them: 2 once, 1.5 twice.
  WriteFile("pick.opb", "* #variable= 3 #constraint= 1\nmax: +2 x1 +2 x2 +1 x3 ;\n-1 x1 -1 x2 -1 x3 >= -2 ;\n");
  const Command best = RunCli("solve --quiet --solutions 3 --solution list.txt pick.opb");
  EXPECT_EQ(best.status, 0) << best.err;
  EXPECT_EQ(best.out,
            "status: optimal\nsolutions: 3\ncomplete: no\n"
            "solution: 1\nobjective: 4\nx1 1\nx2 1\nx3 0\n"
            "solution: 2\nobjective: 3\nx1 0\nx2 1\nx3 1\n"
            "solution: 3\nobjective: 3\nx1 1\nx2 0\nx3 1\n");
  EXPECT_EQ(ReadFile("list.txt"), best.out);
  const Command optimal = RunCli("solve --quiet --all-optimal pick.opb");
  EXPECT_EQ(optimal.out, "status: optimal\nsolutions: 1\ncomplete: yes\nsolution: 1\nobjective: 4\nx1 1\nx2 1\nx3 0\n");
  // Within 1 of the optimum: the three above; capped at 2, not complete.
  const Command gap = RunCli("solve --quiet --gap 1 pick.opb");
  EXPECT_NE(gap.out.find("solutions: 3\ncomplete: yes\n"), std::string::npos) << gap.out;
  const Command capped = RunCli("solve --quiet --gap 1 --max-solutions 2 pick.opb");
  EXPECT_NE(capped.out.find("solutions: 2\ncomplete: no\n"), std::string::npos) << capped.out;
  WriteFile("none.opb", "* #variable= 2 #constraint= 2\n+1 x1 +1 x2 >= 2 ;\n+1 x1 <= 0 ;\n");
  EXPECT_EQ(RunCli("solve --quiet --solutions 5 none.opb").out, "status: infeasible\nsolutions: 0\ncomplete: yes\n");
}

// The answer never replaces the model, whatever path names it: refused as a
// usage error before anything is read or written.
TEST(Solve, TheSolutionFileIsNeverTheModel) {
  ScratchDir scratch;
  const std::string model = "min: +1 x1 ;\n";
  WriteFile("m.opb", model);
  ASSERT_EQ(std::system("mkdir sub && ln -s m.opb link.opb && ln m.opb hard.opb"), 0);
  const std::string absolute = scratch.path() + "/m.opb";
  for (const std::string& solution :
       {std::string("m.opb"), std::string("./m.opb"), std::string("sub/../m.opb"), std::string("link.opb"),
        std::string("hard.opb"), absolute}) {
    for (const std::string& form : {"--solution " + solution, "--solution=" + solution}) {
      const Command c = RunCli("solve " + form + " m.opb");
      EXPECT_EQ(c.status, 2) << form;
      EXPECT_EQ(c.err.rfind("zoint: --solution names the model file itself: " + solution + "\n", 0), 0)
          << form << ": " << c.err;
      EXPECT_EQ(c.out, "") << form;
      EXPECT_EQ(ReadFile("m.opb"), model) << form;
    }
  }
  // The model through a link, the solution by its own name: the same.
  EXPECT_EQ(RunCli("solve --solution m.opb link.opb").status, 2);
  EXPECT_EQ(ReadFile("m.opb"), model);
  // zoint convert writes ZOIntIn.dat and names.txt: never over the model.
  ASSERT_EQ(std::system("mkdir out && ln m.opb out/names.txt"), 0);
  const Command convert = RunCli("convert m.opb out");
  EXPECT_EQ(convert.status, 2) << convert.err;
  EXPECT_EQ(ReadFile("m.opb"), model);

  // Another file is written as asked.
  EXPECT_EQ(RunCli("solve --solution answer.txt m.opb").status, 0);
  EXPECT_EQ(ReadFile("answer.txt"), "status: optimal\nobjective: 0\nx1 0\n");
}

TEST(Solve, CompressedModels) {
  ScratchDir scratch;
  ASSERT_EQ(std::system(("cp '" + kExamples + "projects.opb' '" + kExamples +
                         "projects.lp' . && gzip projects.opb projects.lp")
                            .c_str()),
            0);
  const Result opb = Parse(RunCli("solve projects.opb.gz").out);
  EXPECT_EQ(opb.objective, "51");
  if (!HaveCoinUtils()) return;
  EXPECT_EQ(RunCli("solve projects.lp.gz").out, kProjectsAnswer);
}

}  // namespace
}  // namespace zoint_test
