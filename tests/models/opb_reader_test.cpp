// The OPB reader: what it makes of the format's features, and the one line
// and reason it gives for each kind of fault.
#include "models/opb_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace zoint_test {
namespace {

using zoint::RawModel;

RawModel Read(const std::string& text) {
  RawModel model;
  zoint::ModelError error{0, ""};
  EXPECT_TRUE(zoint::ReadOpb(text, model, error)) << text << "\n" << error.line << ": " << error.reason;
  return model;
}

std::string RowText(const RawModel& model, size_t r) {
  const zoint::RawRow& row = model.rows[r];
  std::string text;
  for (const zoint::RawTerm& term : row.terms) {
    text += std::to_string(term.coefficient.numerator) + "*" +
            model.variables[static_cast<size_t>(term.variable)].name + " ";
  }
  if (row.hasLower) text += ">=" + std::to_string(row.lower.numerator) + " ";
  if (row.hasUpper) text += "<=" + std::to_string(row.upper.numerator);
  return text;
}

TEST(OpbReader, ReadsTheFormat) {
  const RawModel tiny = Read(
      "* #variable= 3 #constraint= 2\n"
      "min: +5 x1 +3 x2 +4 x3 ;\n"
      "+1 x1 +1 x2 >= 1 ;\n"
      "+1 x2 +1 x3 >= 1 ;\n");
  ASSERT_EQ(tiny.variables.size(), 3u);
  EXPECT_FALSE(tiny.maximise);
  EXPECT_EQ(tiny.objectiveLine, 2);
  EXPECT_EQ(tiny.variables[1].name, "x2");
  EXPECT_EQ(tiny.variables[1].cost.numerator, 3);
  EXPECT_EQ(tiny.variables[2].line, 2);
  ASSERT_EQ(tiny.rows.size(), 2u);
  EXPECT_EQ(RowText(tiny, 1), "1*x2 1*x3 >=1 ");
  EXPECT_EQ(tiny.rows[1].line, 4);

  // max:, negated literals (a·~x = a − a·x), = and <=, comments and CR LF
  // anywhere, a sign apart from its number, ';' against the last token.
  const RawModel rich = Read(
      "* a comment before the header\r\n"
      "max: +2 x1 +3 ~x2 ;\r\n"
      "* between statements\n"
      "-1 x1 + 4 ~x2 = 2;\n"
      "+1 x1 +1 x2\n  <= 1 ;\n");
  EXPECT_TRUE(rich.maximise);
  EXPECT_EQ(rich.variables[0].cost.numerator, 2);
  EXPECT_EQ(rich.variables[1].cost.numerator, -3);
  EXPECT_EQ(rich.constant.numerator, 3);
  EXPECT_EQ(RowText(rich, 0), "-1*x1 -4*x2 >=-2 <=-2");
  EXPECT_EQ(RowText(rich, 1), "1*x1 1*x2 <=1");
  EXPECT_EQ(rich.rows[1].line, 5);

  // Without a header the variables are those used, in index order; with
  // one, every declared variable is the model's, used or not.
  const RawModel used = Read("+1 x7 +1 x3 >= 1 ;\n");
  ASSERT_EQ(used.variables.size(), 2u);
  EXPECT_EQ(used.variables[0].name, "x3");
  EXPECT_EQ(used.variables[1].name, "x7");
  EXPECT_EQ(RowText(used, 0), "1*x7 1*x3 >=1 ");
  EXPECT_EQ(Read("* #variable= 4 #constraint= 0\nmin: +1 x2 ;\n").variables.size(), 4u);
  EXPECT_TRUE(Read("* #variable= 0 #constraint= 0\n").variables.empty());

  // A coefficient left out is 1, a sign alone ±1.
  const RawModel bare = Read("min: x1 - x2 + ~x3 ;\nx1 + x2 >= 1 ;\n- ~x1 +x3 <= 0 ;\n");
  EXPECT_EQ(bare.variables[0].cost.numerator, 1);
  EXPECT_EQ(bare.variables[1].cost.numerator, -1);
  EXPECT_EQ(bare.variables[2].cost.numerator, -1);
  EXPECT_EQ(bare.constant.numerator, 1);
  EXPECT_EQ(RowText(bare, 0), "1*x1 1*x2 >=1 ");
  EXPECT_EQ(RowText(bare, 1), "1*x1 1*x3 <=1");
}

TEST(OpbReader, EachFaultIsOneLineWithItsPlace) {
  std::string manyVariables;
  for (int k = 1; k <= 101; ++k) manyVariables += "+1 x" + std::to_string(k) + (k % 10 == 0 ? "\n" : " ");
  manyVariables += ">= 1 ;\n";
  std::string manyConstraints;
  for (int k = 1; k <= 51; ++k) manyConstraints += "+1 x1 >= 0 ;\n";
  struct Case {
    std::string text;
    int64_t line;
    std::string reason;  // a part of it
  };
  const Case cases[] = {
      {"min: +1 x1 ;\n+1 x1 >= 1", 2, "expected ';' after the right-hand side 1 (truncated?)"},
      // A missing ';' is told as such, at the line it belongs on.
      {"+1 x1 >= 1\n+1 x2 >= 1 ;\n", 1, "expected ';' after the right-hand side 1, to end the constraint"},
      {"min: +5 x1 +3 x2 +4 x3\n+1 x1 +1 x2 >= 1 ;\n", 1,
       "expected ';' at the end of this line, to end the objective"},
      {"min: +5 x1 +3 x2\n +4 x3\n+1 x3 +1 x2\n +1 x1 >= 1 ;\n", 2,
       "expected ';' at the end of this line, to end the objective"},
      {"min: +5 x1\n+1 x2 +1 x3 >= 1 ;\n", 1, "expected ';' at the end of this line, to end the objective"},
      {"min: +1 x1 +1 x2 >= 1 ;\n", 1,
       "expected ';' to end the objective before >=: an objective has no relation"},
      {"min: +1 x1", 1, "expected ';' at the end of the objective (truncated?)"},
      {"min: +1 x1 +1 x2\n+1 x1 ;\n", 2, "x1 appears twice in the objective"},
      {"min: +1 x1 ;\n+1 x1 >", 2, "expected >=, <= or ="},
      {"min: +1 x1 +2", 1, "expected a variable"},
      {"* #variable= 2 #constraint= 2\n+1 x1 >= 1 ;\n", 2, "announces 2 constraints, the file has 1"},
      {"* #variable= 2 #constraint= 1\nmin: +1 x1 ;\n+1 x3 >= 1 ;\n", 3, "x3 is not declared"},
      {"* #variable= 1000000 #constraint= 1\n+1 x1 >= 1 ;\n", 1, "declares 1000000 variables"},
      {manyVariables, 11, "more than 100 variables (x101"},
      {manyConstraints, 51, "more than 50 constraints"},
      {"+1 x1 +2 ~x1 >= 1 ;\n", 1, "x1 appears twice"},
      {"+1 x1 x2 >= 1 ;\n", 1, "product of variables"},
      {"+1.5 x1 >= 1 ;\n", 1, "coefficients are integers"},
      {"+1 x1 >= 99999999999999999999 ;\n", 1, "beyond the 64-bit range"},
      {"+1 ~x1 >= -9223372036854775807 ;\n", 1, "leaves the 64-bit range"},
      {"+1 y1 >= 1 ;\n", 1, "expected a variable named x followed by a number (x1, x2, ...) at 'y1'"},
      {"+1 x1a >= 1 ;\n", 1, "expected a variable named x followed by a number (x1, x2, ...) at 'x1a'"},
      {"+1 x1 >= x2 ;\n", 1, "expected an integer after >="},
      {"+1 x1 >= -x2 ;\n", 1, "expected an integer after >="},
      {"soft: 3 ;\n", 1, "a soft constraint, of the weighted format (WBO), not OPB"},
      {"\n\n+1 x1 >= \x01\xff ;\n", 3, "expected a term (such as +3 x1), >=, <=, = or ';' at '\\x01\\xff'"},
      // Names as the file has them: whole characters, or a stray byte escaped.
      {"+1 café >= 1 ;\n", 1, "at 'café'"},
      {"+1 caf\xc3 >= 1 ;\n", 1, "at 'caf\\xc3'"},
      {"+1 " + std::string(41, 'y') + "é >= 1 ;\n", 1, "at '" + std::string(40, 'y') + "...'"},
      {"+1 " + std::string(39, 'y') + "éé >= 1 ;\n", 1, "at '" + std::string(39, 'y') + "é...'"},
      {"+1 x0 >= 1 ;\n", 1, "numbered from x1"},
      {"* a comment, and no header\n", 1, "nothing to solve"},
      {"* #variable= 4\n+1 x1 >= 1 ;\n", 1, "must give both #variable= N and #constraint= M"},
      {"x1 x2 >= 1 ;\n", 1, "product of variables"},
      {"+1 x1 >= 1 ;\nmin: +1 x1 ;\n", 2, "the objective must come first"},
  };
  for (const Case& c : cases) {
    RawModel model;
    zoint::ModelError error{0, ""};
    EXPECT_FALSE(zoint::ReadOpb(c.text, model, error)) << c.text;
    EXPECT_EQ(error.line, c.line) << c.text << "\n" << error.reason;
    EXPECT_NE(error.reason.find(c.reason), std::string::npos) << c.text << "\n" << error.reason;
    EXPECT_EQ(error.reason.find('\n'), std::string::npos) << error.reason;
  }
}

}  // namespace
}  // namespace zoint_test
