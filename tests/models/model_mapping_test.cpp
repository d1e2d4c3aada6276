// The mapping from a model as written to the library's problem: senses,
// sides, fixed variables, decimal scaling, values reported back, and the
// place and reason of every refusal.
#include "models/model_mapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace zoint_test {
namespace {

using zoint::ExactNumber;
using zoint::MappedModel;
using zoint::RawModel;
using zoint::RawRow;
using zoint::RawVariable;

RawVariable Binary(const std::string& name, ExactNumber cost, int64_t line = 1) {
  return {name, cost, true, 0.0, 1.0, line};
}

RawRow Row(const std::string& name, std::vector<zoint::RawTerm> terms, const ExactNumber* lower,
           const ExactNumber* upper, int64_t line = 2) {
  return {name,
          terms,
          lower != nullptr,
          lower != nullptr ? *lower : zoint::kZero,
          upper != nullptr,
          upper != nullptr ? *upper : zoint::kZero,
          line};
}

// Row j of the problem as "a0 a1 ... | b".
std::string ProblemRow(const zoint::Problem& p, int32_t j) {
  std::string text;
  for (int32_t i = 0; i < p.n; ++i) text += std::to_string(p.rows[j].entries[i]) + " ";
  return text + "| " + std::to_string(p.rows[j].entries[zoint::RhsColumn]);
}

std::string Costs(const zoint::Problem& p) {
  std::string text;
  for (int32_t i = 0; i < p.n; ++i) text += std::to_string(p.coefficients[i]) + (i + 1 < p.n ? " " : "");
  return text;
}

MappedModel Map(const RawModel& model) {
  MappedModel mapped;
  zoint::ModelError error{0, ""};
  EXPECT_TRUE(zoint::MapModel(model, mapped, error)) << error.line << ": " << error.reason;
  EXPECT_TRUE(zoint::NoSumCanWrap(mapped.problem));
  return mapped;
}

TEST(ModelMapping, SensesSidesAndScales) {
  const ExactNumber one{1, 1};
  const ExactNumber half{1, 2};
  const ExactNumber five{5, 1};
  const ExactNumber twoAndAHalf{5, 2};
  // maximise x/4 + y/10 + 3 subject to x/2 + 3y/2 <= 5/2, x + y >= 1,
  // x − y = 1/2, 1/2 <= x + y <= 5 (ranged).
  RawModel model{{Binary("x", {1, 4}), Binary("y", {1, 10})}, {}, true, {3, 1}, 1};
  model.rows.push_back(Row("r1", {{0, half}, {1, {3, 2}}}, nullptr, &twoAndAHalf));
  model.rows.push_back(Row("r2", {{0, one}, {1, one}}, &one, nullptr));
  model.rows.push_back(Row("r3", {{0, one}, {1, {-1, 1}}}, &half, &half));
  model.rows.push_back(Row("r4", {{0, one}, {1, one}}, &half, &five));
  const MappedModel mapped = Map(model);
  const zoint::Problem& p = mapped.problem;
  EXPECT_EQ(mapped.names, (std::vector<std::string>{"x", "y"}));
  EXPECT_TRUE(mapped.maximise);
  EXPECT_EQ(mapped.scale, 20);
  EXPECT_EQ(Costs(p), "-5 -2");  // maximise: minimise minus the objective, times 20
  ASSERT_EQ(p.m, 6);
  EXPECT_EQ(ProblemRow(p, 0), "1 3 | 5");     // times 2
  EXPECT_EQ(ProblemRow(p, 1), "-1 -1 | -1");  // >= negated
  EXPECT_EQ(ProblemRow(p, 2), "2 -2 | 1");    // = becomes two rows
  EXPECT_EQ(ProblemRow(p, 3), "-2 2 | -1");
  EXPECT_EQ(ProblemRow(p, 4), "1 1 | 5");  // so does a ranged row
  EXPECT_EQ(ProblemRow(p, 5), "-2 -2 | -1");
  // The problem's value -7 (x = 1, y = 1) is 3 + 7/20 in the model's terms.
  EXPECT_EQ(zoint::DecimalText(zoint::ModelValue(mapped, -7)), "3.35");
  EXPECT_EQ(zoint::DecimalText(zoint::ModelValue(mapped, 0)), "3");
}

TEST(ModelMapping, BoundsThatFixVariablesBecomeTwoRowsAtMost) {
  RawModel model{{}, {}, false, zoint::kZero, 1};
  model.variables.push_back({"free", {1, 1}, true, 0.0, 1.0, 1});
  model.variables.push_back({"one", {1, 1}, true, 1.0, 1.0, 2});
  model.variables.push_back({"zero", {1, 1}, true, 0.0, 0.0, 3});
  model.variables.push_back({"constantZero", {1, 1}, false, 0.0, 0.0, 4});  // continuous, but fixed
  model.variables.push_back({"constantOne", {1, 1}, false, 1.0, 1.0, 5});
  model.variables.push_back({"roundsToOne", {1, 1}, true, 0.5, 1.0, 6});
  const MappedModel mapped = Map(model);
  ASSERT_EQ(mapped.problem.m, 2);
  EXPECT_EQ(ProblemRow(mapped.problem, 0), "0 0 1 1 0 0 | 0");
  EXPECT_EQ(ProblemRow(mapped.problem, 1), "0 -1 0 0 -1 -1 | -3");

  // No integer within [0.2, 0.8]: the variable lands in both rows, which no
  // assignment meets, as no assignment meets the model.
  // So do bounds that cross.
  const double inf = std::numeric_limits<double>::infinity();
  for (const auto& bounds : {std::make_pair(0.2, 0.8), std::make_pair(0.0, -inf), std::make_pair(1.0, 0.0)}) {
    RawModel empty{{{"x", zoint::kZero, true, bounds.first, bounds.second, 1}}, {}, false, zoint::kZero, 1};
    const MappedModel impossible = Map(empty);
    ASSERT_EQ(impossible.problem.m, 2) << bounds.first << " " << bounds.second;
    EXPECT_EQ(ProblemRow(impossible.problem, 0), "1 | 0");
    EXPECT_EQ(ProblemRow(impossible.problem, 1), "-1 | -1");
  }
}

// A continuous variable with no cost, two finite bounds apart and a single
// row is that row's slack, as glpsol and CBC write ranged rows: folded into
// the row's sides, it leaves the model and the answer.
TEST(ModelMapping, SlackColumnsFoldIntoTheirRows) {
  const ExactNumber one{1, 1};
  const ExactNumber minusTwo{-2, 1};
  const ExactNumber three{3, 1};
  // x - y - s = -2, s in [0, 1]: -2 <= x - y <= -1. 2t + x + y <= 3 with t
  // in [-0.25, 0.5]: x + y <= 3.5. u has a cost and v is in two rows: both
  // stay variables, and, being continuous, are refused below.
  RawModel model{{Binary("x", one),
                  {"s", zoint::kZero, false, 0.0, 1.0, 3},
                  Binary("y", {2, 1}),
                  {"t", zoint::kZero, false, -0.25, 0.5, 4}},
                 {},
                 false,
                 zoint::kZero,
                 1};
  model.rows.push_back(Row("r1", {{0, one}, {2, {-1, 1}}, {1, {-1, 1}}}, &minusTwo, &minusTwo));
  model.rows.push_back(Row("r2", {{3, {2, 1}}, {0, one}, {2, one}}, nullptr, &three));
  const MappedModel mapped = Map(model);
  EXPECT_EQ(mapped.names, (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(Costs(mapped.problem), "1 2");
  ASSERT_EQ(mapped.problem.m, 3);
  EXPECT_EQ(ProblemRow(mapped.problem, 0), "1 -1 | -1");
  EXPECT_EQ(ProblemRow(mapped.problem, 1), "-1 1 | 2");
  EXPECT_EQ(ProblemRow(mapped.problem, 2), "2 2 | 7");  // x + y <= 3.5, times 2

  for (const char* what : {"cost", "two rows", "one bound"}) {
    RawModel kept{{Binary("x", one), {"s", zoint::kZero, false, 0.0, 1.0, 3}}, {}, false, zoint::kZero, 1};
    if (std::string(what) == "cost") kept.variables[1].cost = one;
    if (std::string(what) == "one bound") kept.variables[1].upper = std::numeric_limits<double>::infinity();
    kept.rows.push_back(Row("r1", {{0, one}, {1, one}}, nullptr, &one));
    if (std::string(what) == "two rows") kept.rows.push_back(Row("r2", {{1, one}}, nullptr, &one));
    MappedModel refused;
    zoint::ModelError error{0, ""};
    EXPECT_FALSE(zoint::MapModel(kept, refused, error)) << what;
    EXPECT_NE(error.reason.find("variable s is continuous"), std::string::npos)
        << what << ": " << error.reason;
  }
}

TEST(ModelMapping, EachRefusalNamesItsLineAndReason) {
  const double inf = std::numeric_limits<double>::infinity();
  const ExactNumber one{1, 1};
  struct Case {
    const char* what;
    RawModel model;
    int64_t line;
    const char* reason;
  };
  std::vector<Case> cases;
  cases.push_back({"continuous",
                   {{{"c", one, false, 0.0, 1.0, 7}}, {}, false, zoint::kZero, 1},
                   7,
                   "variable c is continuous (bounds [0, 1])"});
  cases.push_back({"continuous fixed elsewhere",
                   {{{"c", one, false, 2.0, 2.0, 7}}, {}, false, zoint::kZero, 1},
                   7,
                   "variable c is continuous"});
  cases.push_back({"general integer",
                   {{{"g", one, true, 0.0, 2.0, 8}}, {}, false, zoint::kZero, 1},
                   8,
                   "variable g is a general integer (bounds [0, 2])"});
  cases.push_back({"unbounded integer",
                   {{{"g", one, true, -inf, inf, 8}}, {}, false, zoint::kZero, 1},
                   8,
                   "(bounds [-inf, inf])"});
  cases.push_back({"NaN bound",
                   {{{"g", one, true, std::nan(""), 1.0, 8}}, {}, false, zoint::kZero, 1},
                   8,
                   "general integer"});
  {
    RawModel many{{}, {}, false, zoint::kZero, 1};
    for (int k = 0; k < 101; ++k) many.variables.push_back(Binary("v" + std::to_string(k), one, 10 + k));
    cases.push_back({"101 variables", many, 110, "more than 100 variables (v100 is one too many)"});
  }
  {
    // 26 equalities are 52 rows.
    RawModel rows{{Binary("x", one)}, {}, false, zoint::kZero, 1};
    for (int k = 0; k < 26; ++k)
      rows.rows.push_back(Row("row e" + std::to_string(k), {{0, one}}, &one, &one, 20 + k));
    cases.push_back({"52 rows", rows, 45,
                     "more than 50 rows after the mapping (an = or ranged row counts twice) at row e25"});
  }
  {
    // Fixing rows count too: 50 rows, then one fixed variable.
    RawModel rows{{Binary("x", one), {"f", one, true, 1.0, 1.0, 3}}, {}, false, zoint::kZero, 1};
    for (int k = 0; k < 50; ++k)
      rows.rows.push_back(Row("row l" + std::to_string(k), {{0, one}}, nullptr, &one));
    cases.push_back({"fixing row past 50", rows, 3, "more than 50 rows"});
  }
  cases.push_back(
      {"scaled coefficient too wide",
       {{Binary("x", one), Binary("y", one)},
        {Row("row r", {{0, {INT64_MAX, 1}}, {1, {1, 2}}}, nullptr, &one, 5)},
        false,
        zoint::kZero,
        1},
       5,
       "row r: the coefficient of x, 9223372036854775807, times the row's scale 2 is not a 64-bit integer"});
  cases.push_back({"row sum wraps",
                   {{Binary("x", one), Binary("y", one)},
                    {Row("row r", {{0, {INT64_MAX, 1}}, {1, one}}, nullptr, &one, 5)},
                    false,
                    zoint::kZero,
                    1},
                   5,
                   "row r: the sum of the coefficients' magnitudes exceeds 2^63 - 1, so sums could wrap"});
  cases.push_back(
      {"scaled row sum wraps",
       {{Binary("x", one), Binary("y", one)},
        {Row("row r", {{0, {INT64_MAX / 2, 1}}, {1, {3, 2}}}, nullptr, &one, 5)},
        false,
        zoint::kZero,
        1},
       5,
       "row r: the sum of the coefficients' magnitudes (scaled by 2) exceeds 2^63 - 1, so sums could "
       "wrap"});
  cases.push_back(
      {"objective sum wraps",
       {{Binary("x", {INT64_MAX, 1}), Binary("y", one)}, {}, false, zoint::kZero, 4},
       4,
       "objective: the sum of the coefficients' magnitudes exceeds 2^63 - 1, so sums could wrap"});
  cases.push_back(
      {"objective denominators too wide",
       {{Binary("x", {1, int64_t{1} << 62}), Binary("y", {1, 5})}, {}, false, zoint::kZero, 4},
       4,
       "objective: the least common multiple of the coefficients' denominators exceeds 2^63 - 1"});
  cases.push_back(
      {"a variable twice in a row",
       {{Binary("x", one)}, {Row("row r", {{0, one}, {0, one}}, nullptr, &one, 6)}, false, zoint::kZero, 1},
       6,
       "row r: x appears twice"});
  for (const Case& c : cases) {
    MappedModel mapped;
    zoint::ModelError error{0, ""};
    EXPECT_FALSE(zoint::MapModel(c.model, mapped, error)) << c.what;
    EXPECT_EQ(error.line, c.line) << c.what << ": " << error.reason;
    EXPECT_NE(error.reason.find(c.reason), std::string::npos) << c.what << ": " << error.reason;
  }

  // At the library's limit itself, 2^63 - 1 for the objective and for each
  // row, the mapping goes through.
  RawModel edge{{Binary("x", {INT64_MAX - 1, 1}), Binary("y", one)},
                {Row("row r", {{0, {INT64_MAX - 1, 1}}, {1, one}}, nullptr, &one)},
                false,
                zoint::kZero,
                1};
  const MappedModel mapped = Map(edge);
  EXPECT_EQ(mapped.problem.m, 1);
  EXPECT_TRUE(zoint::ValueCanBeNoSolutionValue(mapped.problem));
  edge.maximise = true;  // costs negated: no value reaches the limit
  EXPECT_FALSE(zoint::ValueCanBeNoSolutionValue(Map(edge).problem));
}

}  // namespace
}  // namespace zoint_test
