// Where LoadProblem puts what it reads, and the state a failed load leaves.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "run/solver_state.h"
#include "run/stages.h"
#include "support/run_support.h"

namespace zoint {
namespace {

using zoint_test::ScratchDir;
using zoint_test::WriteFile;

struct Loaded {
  bool valid;
  int32_t n, m;
  std::vector<int64_t> c;                  // all 100 coefficients
  std::vector<std::vector<int64_t>> rows;  // all 50 rows, 101 entries each
  std::string warnings;
};

Loaded Load(const std::string& text) {
  ScratchDir scratch;
  WriteFile("ZOIntIn.dat", text);
  const std::unique_ptr<SolverState> state(new SolverState());
  ResetSolver(*state);
  GetRoot(*state);
  testing::internal::CaptureStderr();
  LoadProblem(*state);
  const Problem& problem = state->problem;
  Loaded out{state->inputValid, problem.n, problem.m, {}, {}, testing::internal::GetCapturedStderr()};
  out.c.assign(problem.coefficients, problem.coefficients + MaxVariables);
  for (const ConstraintRow& row : problem.rows) out.rows.emplace_back(row.entries, row.entries + MaxVariables + 1);
  return out;
}

std::vector<int64_t> Prefix(const std::vector<int64_t>& v, size_t count) {
  return {v.begin(), v.begin() + count};
}

TEST(LoadProblem, PutsEachNumberInItsPlace) {
  Loaded p = Load("3,2\n5,3,4,\n-1,-1,0,-1\n0,-1,-1,-7\n");
  ASSERT_TRUE(p.valid) << p.warnings;
  EXPECT_EQ(p.n, 3);
  EXPECT_EQ(p.m, 2);
  EXPECT_EQ(Prefix(p.c, 3), (std::vector<int64_t>{5, 3, 4}));
  EXPECT_EQ(p.rows[0][0], -1);
  EXPECT_EQ(p.rows[0][1], -1);
  EXPECT_EQ(p.rows[0][2], 0);
  EXPECT_EQ(p.rows[0][RhsColumn], -1);  // the right-hand side sits at entry 100
  EXPECT_EQ(p.rows[0][3], 0);           // not at entry n
  EXPECT_EQ(p.rows[1][RhsColumn], -7);
  for (int i = 3; i < MaxVariables; ++i) EXPECT_EQ(p.c[i], 0) << i;
  for (int j = 2; j < MaxConstraints; ++j)
    EXPECT_EQ(p.rows[j], std::vector<int64_t>(MaxVariables + 1, 0)) << j;
}

TEST(LoadProblem, HeaderConversion) {
  const struct {
    const char* text;
    int32_t n, m;
  } cases[] = {
      {"3, 2\n0,0,0,\n0,0,0,0\n0,0,0,0\n", 3, 2},  // blank after the comma is skipped
      {"3 ,2\n0,0,0,\n", 3, 0},                    // the comma must follow n directly
      {" +3,\t2\n0,0,0,\n0,0,0,0\n0,0,0,0\n", 3, 2},
      {"x,2\n", 0, 0},  // nothing read: both stay 0
      {"0,0", 0, 0},
      {"\n", 0, 0},
      {"\xEF\xBB\xBF"
       "1,0\n4,\n",
       1, 0},  // a UTF-8 byte order mark is ignored
  };
  for (const auto& c : cases) {
    Loaded p = Load(c.text);
    EXPECT_TRUE(p.valid) << c.text << p.warnings;
    EXPECT_EQ(p.n, c.n) << c.text;
    EXPECT_EQ(p.m, c.m) << c.text;
  }
}

TEST(LoadProblem, FieldCursorRule) {
  const struct {
    const char* objective;
    std::vector<int64_t> c;
  } cases[] = {
      {"5,3,4,", {5, 3, 4}},          {"5, 3, 4,", {5, 3, 4}},  {"5,3,4", {5, 3, 4}},  {"5,,4,", {5, 0, 4}},
      {"1.5,2,3", {1, 2, 3}},         {"5,abc,4", {5, 0, 4}},   {"5,3x,4", {5, 3, 4}}, {",,,", {0, 0, 0}},
      {"-5,+3,-0,9,9,9", {-5, 3, 0}}, {"5 ,3 ,4 ,", {5, 3, 4}},
  };
  for (const auto& c : cases) {
    Loaded p = Load(std::string("3,0\n") + c.objective + "\n");
    EXPECT_TRUE(p.valid) << c.objective << p.warnings;
    EXPECT_EQ(Prefix(p.c, 3), c.c) << c.objective;
  }
}

TEST(LoadProblem, ConstraintLineEndings) {
  // With or without a comma after the right-hand side; LF or CR LF.
  for (const char* text :
       {"2,1\n1,1,\n7,8,9\n", "2,1\n1,1,\n7,8,9,\n", "2,1\r\n1,1,\r\n7,8,9\r\n", "2,1\n1,1,\n7,8,9"}) {
    Loaded p = Load(text);
    ASSERT_TRUE(p.valid) << p.warnings;
    EXPECT_EQ(p.rows[0][0], 7);
    EXPECT_EQ(p.rows[0][1], 8);
    EXPECT_EQ(p.rows[0][RhsColumn], 9);
  }
}

TEST(LoadProblem, FailedLoadLeavesEmptyProblem) {
  // Each failure is detected after some numbers were already stored.
  for (const char* text :
       {"3,2\n5,3,4,\n-1,-1,0,-1\n", "2,1\n7,8,\n1,99999999999999999999,2\n", "2,1\n7,8,\n1\n"}) {
    Loaded p = Load(text);
    EXPECT_FALSE(p.valid) << text;
    EXPECT_FALSE(p.warnings.empty()) << text;
    EXPECT_EQ(p.n, 0);
    EXPECT_EQ(p.m, 0);
    EXPECT_EQ(p.c, std::vector<int64_t>(MaxVariables, 0)) << text;
    EXPECT_EQ(p.rows[0], std::vector<int64_t>(MaxVariables + 1, 0)) << text;
  }
}

TEST(LoadProblem, SizeLimitsAreInclusive) {
  std::string objective(99, ',');
  std::string text = "100,50\n" + objective + "\n";
  for (int j = 0; j < 50; ++j) text += objective + ",\n";
  Loaded p = Load(text);
  EXPECT_TRUE(p.valid) << p.warnings;
  EXPECT_EQ(p.n, 100);
  EXPECT_EQ(p.m, 50);
}

}  // namespace
}  // namespace zoint
