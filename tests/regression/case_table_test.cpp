// Every case directory under tests/cases is one call of ZOInterProgram: its
// ZOIntIn.dat (absent for the missing-file case; built from ZOIntIn.recipe
// for inputs too big to keep, see support/case_input.h) must give exactly the
// expected console report, warning and ZOIntOut.dat, and the next call must
// start clean. The same call with the enumeration forced must give the same
// bytes, or, where its answer differs (negative costs), the bytes of
// enumerated_stdout and enumerated_ZOIntOut.dat, with the counters of
// expected_counts.
#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

#include "support/case_input.h"
#include "support/run_support.h"
#include "support/search_support.h"

namespace zoint_test {
namespace {

std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  if (DIR* dir = opendir(ZOINT_CASES_DIR)) {
    while (dirent* entry = readdir(dir)) {
      if (entry->d_name[0] != '.' &&
          FileExists(std::string(ZOINT_CASES_DIR) + "/" + entry->d_name + "/expected_stdout")) {
        names.push_back(entry->d_name);
      }
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

class CaseTable : public testing::TestWithParam<std::string> {};

TEST_P(CaseTable, GivesExactBytesAndCleanNextCall) {
  const std::string dir = std::string(ZOINT_CASES_DIR) + "/" + GetParam() + "/";
  ScratchDir scratch;
  std::string input, error;
  if (CaseInput(dir, input, error)) WriteFile("ZOIntIn.dat", input);
  ASSERT_EQ(error, "");

  const RunOutput chosen = RunInCurrentDir();
  EXPECT_EQ(chosen.result, 0.0);
  EXPECT_EQ(chosen.console, ReadFile(dir + "expected_stdout"));
  EXPECT_EQ(chosen.warnings, ReadFile(dir + "expected_message"));
  ASSERT_TRUE(chosen.hasSolution);
  EXPECT_EQ(chosen.solution, ReadFile(dir + "expected_ZOIntOut.dat"));

  const RunOutput run = RunCounted(zoint::SolveRequest::EnumerationOnly);
  const bool differs = FileExists(dir + "enumerated_stdout");
  EXPECT_EQ(run.result, 0.0);
  EXPECT_EQ(run.console, ReadFile(dir + (differs ? "enumerated_stdout" : "expected_stdout")));
  EXPECT_EQ(run.warnings, ReadFile(dir + "expected_message"));
  ASSERT_TRUE(run.hasSolution);
  EXPECT_EQ(run.solution, ReadFile(dir + (differs ? "enumerated_ZOIntOut.dat" : "expected_ZOIntOut.dat")));
  if (FileExists(dir + "expected_counts")) {
    uint64_t nodes = 0, evaluations = 0;
    ASSERT_EQ(
        std::sscanf(ReadFile(dir + "expected_counts").c_str(), "%" SCNu64 " %" SCNu64, &nodes, &evaluations),
        2);
    EXPECT_EQ(run.report.enumeration.nodes, nodes);
    EXPECT_EQ(run.report.enumeration.evaluations, evaluations);
  }

  // Whatever this case did, the next call solves a good problem from scratch.
  const RunOutput next = Solve("3,2\n5,3,4,\n-1,-1,0,-1\n0,-1,-1,-1\n");
  EXPECT_EQ(next.console, ExpectedConsole(3, "0,1,0"));
  EXPECT_EQ(next.solution, ExpectedSolution(3, "0,1,0"));
  EXPECT_EQ(next.warnings, "");
}

INSTANTIATE_TEST_SUITE_P(Cases, CaseTable, testing::ValuesIn(CaseNames()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(CaseTableContents, IsNotEmpty) {
  EXPECT_FALSE(CaseNames().empty()) << "no cases under " ZOINT_CASES_DIR;
}

}  // namespace
}  // namespace zoint_test
