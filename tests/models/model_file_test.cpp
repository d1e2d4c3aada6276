// Model files as the CLI reads them: LP and MPS through CoinUtils, OPB through
// our reader, .gz versions, and hostile files, each of which must end in one
// clear line: never a crash, a hang or a model read wrongly.
#include "models/model_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "models/model_mapping.h"
#include "support/run_support.h"

namespace zoint_test {
namespace {

using zoint::RawModel;
using zoint::ReadOutcome;

struct Outcome {
  ReadOutcome read;
  bool mapped;
  zoint::ModelError error;
  RawModel model;
};

// Reads and maps the file, as zoint solve does.
Outcome ReadAndMap(const std::string& path) {
  Outcome outcome{ReadOutcome::Rejected, false, {0, ""}, {}};
  outcome.read = zoint::ReadModelFile(path, outcome.model, outcome.error, nullptr);
  if (outcome.read == ReadOutcome::Read) {
    static zoint::MappedModel mapped;
    outcome.mapped = zoint::MapModel(outcome.model, mapped, outcome.error);
  }
  return outcome;
}

// Whole UTF-8 characters only: no stray byte of a character cut in two.
bool WholeUtf8(const std::string& text) {
  for (size_t k = 0; k < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[k]);
    const size_t length = lead < 0x80                   ? 1
                          : lead >= 0xC2 && lead < 0xE0 ? 2
                          : lead >= 0xE0 && lead < 0xF0 ? 3
                          : lead >= 0xF0 && lead < 0xF5 ? 4
                                                        : 0;
    if (length == 0 || k + length > text.size()) return false;
    for (size_t c = 1; c < length; ++c) {
      if ((static_cast<unsigned char>(text[k + c]) & 0xC0) != 0x80) return false;
    }
    k += length;
  }
  return true;
}

// The file is refused with one line of whole characters; where line is not
// −1, at that line, and with the reason containing `reason`.
void ExpectRefused(const std::string& path, int64_t line, const std::string& reason) {
  SCOPED_TRACE(path + ": " + ReadFile(path).substr(0, 300));
  const Outcome outcome = ReadAndMap(path);
  EXPECT_FALSE(outcome.read == ReadOutcome::Read && outcome.mapped) << path;
  EXPECT_NE(outcome.read, ReadOutcome::Stopped) << path;
  EXPECT_FALSE(outcome.error.reason.empty()) << path;
  EXPECT_EQ(outcome.error.reason.find('\n'), std::string::npos) << path << ": " << outcome.error.reason;
  EXPECT_TRUE(WholeUtf8(outcome.error.reason)) << path << ": " << outcome.error.reason;
  if (line >= 0) {
    EXPECT_EQ(outcome.error.line, line) << path << ": " << outcome.error.reason;
  }
  EXPECT_NE(outcome.error.reason.find(reason), std::string::npos) << path << ": " << outcome.error.reason;
}

RawModel ReadGood(const std::string& path) {
  const Outcome outcome = ReadAndMap(path);
  EXPECT_EQ(outcome.read, ReadOutcome::Read)
      << path << ":" << outcome.error.line << ": " << outcome.error.reason;
  EXPECT_TRUE(outcome.mapped) << path << ":" << outcome.error.line << ": " << outcome.error.reason;
  return outcome.model;
}

const char kMaxLp[] =
    "\\ maximise with a constant, >= and = rows\n"
    "Maximize\n"
    " value: 4.5 a + 3 b + 2.25 c + 6 d + 1.5\n"
    "Subject To\n"
    " budget: 2 a + 1.5 b + c + 3 d <= 4.5\n"
    " pick: a + c >= 1\n"
    " pair: b - d = 0\n"
    "Binary\n"
    " a b c d\n"
    "End\n";

const char kMaxMps[] =
    "NAME          MAXIMISE\n"
    "OBJSENSE\n"
    "    MAX\n"
    "ROWS\n"
    " N  value\n"
    " L  budget\n"
    " G  pick\n"
    " E  pair\n"
    "COLUMNS\n"
    "    MARKER                 'MARKER'                 'INTORG'\n"
    "    a         value     4.5          budget    2\n"
    "    a         pick      1\n"
    "    b         value     3            budget    1.5\n"
    "    b         pair      1\n"
    "    c         value     2.25         budget    1\n"
    "    c         pick      1\n"
    "    d         value     6            budget    3\n"
    "    d         pair      -1\n"
    "    MARKER                 'MARKER'                 'INTEND'\n"
    "RHS\n"
    "    rhs       value     -1.5         budget    4.5\n"
    "    rhs       pick      1\n"
    "ENDATA\n";

// The row of the model as read: "name: terms [lower, upper]".
std::string RowText(const RawModel& model, size_t r) {
  const zoint::RawRow& row = model.rows[r];
  std::string text = row.name + ":";
  for (const zoint::RawTerm& term : row.terms) {
    text += " " + zoint::DecimalText(zoint::DecimalOf(term.coefficient)) + " " +
            model.variables[static_cast<size_t>(term.variable)].name;
  }
  text += " [" + (row.hasLower ? zoint::DecimalText(zoint::DecimalOf(row.lower)) : std::string("-inf")) +
          ", " + (row.hasUpper ? zoint::DecimalText(zoint::DecimalOf(row.upper)) : std::string("inf")) + "]";
  return text;
}

void ExpectTheMaximisation(const RawModel& model) {
  EXPECT_TRUE(model.maximise);
  EXPECT_EQ(zoint::DecimalText(zoint::DecimalOf(model.constant)), "1.5");
  ASSERT_EQ(model.variables.size(), 4u);
  EXPECT_EQ(model.variables[2].name, "c");
  EXPECT_EQ(zoint::DecimalText(zoint::DecimalOf(model.variables[2].cost)), "2.25");
  ASSERT_EQ(model.rows.size(), 3u);
  EXPECT_EQ(RowText(model, 0), "row budget: 2 a 1.5 b 1 c 3 d [-inf, 4.5]");
  EXPECT_EQ(RowText(model, 1), "row pick: 1 a 1 c [1, inf]");
  EXPECT_EQ(RowText(model, 2), "row pair: 1 b -1 d [0, 0]");
}

bool HaveCoinUtils() { return ZOINT_HAVE_COINUTILS != 0; }

TEST(ModelFile, LpAndMpsThroughCoinUtils) {
  ScratchDir scratch;
  WriteFile("max.lp", kMaxLp);
  WriteFile("max.mps", kMaxMps);
  if (!HaveCoinUtils()) {
    ExpectRefused("max.lp", 0, "built without CoinUtils");
    ExpectRefused("max.mps", 0, "built without CoinUtils");
    return;
  }
  const RawModel lp = ReadGood("max.lp");
  ExpectTheMaximisation(lp);
  EXPECT_EQ(lp.objectiveLine, 3);
  EXPECT_EQ(lp.rows[1].line, 6);
  EXPECT_EQ(lp.variables[3].line, 3);
  const RawModel mps = ReadGood("max.mps");
  ExpectTheMaximisation(mps);
  EXPECT_EQ(mps.rows[2].line, 8);
  EXPECT_EQ(mps.variables[1].line, 13);

  // RANGES: on an L row [rhs − |R|, rhs], on a G row [rhs, rhs + |R|], on
  // an E row with R < 0 [rhs + R, rhs]; a free row constrains nothing;
  // integer columns without bounds are binary, BV makes one binary.
  WriteFile("ranges.mps",
            "NAME RANGES\nROWS\n N obj\n L le\n G ge\n E eq\n N spare\nCOLUMNS\n"
            "    MARKER 'MARKER' 'INTORG'\n    x obj 1 le 1\n    x ge 1 eq 1\n    x spare 1\n"
            "    MARKER 'MARKER' 'INTEND'\n    y obj 1 le 1\nRHS\n    rhs le 4 ge 1\n    rhs eq 3\n"
            "RANGES\n    rng le 2 ge 2\n    rng eq -1\nBOUNDS\n BV bnd y\nENDATA\n");
  const RawModel ranges = ReadGood("ranges.mps");
  ASSERT_EQ(ranges.rows.size(), 3u);
  EXPECT_EQ(RowText(ranges, 0), "row le: 1 x 1 y [2, 4]");
  EXPECT_EQ(RowText(ranges, 1), "row ge: 1 x [1, 3]");
  EXPECT_EQ(RowText(ranges, 2), "row eq: 1 x [2, 3]");
  EXPECT_TRUE(ranges.variables[0].integer && ranges.variables[1].integer);
  EXPECT_EQ(ranges.variables[0].upper, 1.0);

  // LP: a minimisation's constant, a bound that fixes a variable, a row
  // without a name beside one with a name.
  WriteFile("plain.lp",
            "Minimize\n obj: 2 x + 3 y - 7\nSubject To\n x + y >= 1\n c2: x - y <= 0.25\nBounds\n y = 1\n"
            "Binary\n x y\nEnd\n");
  const RawModel plain = ReadGood("plain.lp");
  EXPECT_FALSE(plain.maximise);
  EXPECT_EQ(plain.constant.numerator, -7);
  EXPECT_EQ(RowText(plain, 1), "row c2: 1 x -1 y [-inf, 0.25]");
  EXPECT_EQ(plain.variables[1].lower, 1.0);
}

// What glpsol, CBC and hand writers put in LP and MPS files beyond the
// plainest form: ranged rows, free MPS without its FREE mark, slack columns.
TEST(ModelFile, ConstructsOtherToolsWrite) {
  if (!HaveCoinUtils()) GTEST_SKIP() << "built without CoinUtils";
  ScratchDir scratch;
  // Ranged rows both ways, named or not, a sign apart, an infinite side, a
  // comment and a line break inside; the rows after them keep their sides.
  WriteFile("ranged.lp",
            "Minimize\n obj: 3 x + 2 y + 4 z\nSubject To\n r1: -2 <= x - y - z <= -1\n 3 >= y + z >= 1\n"
            " r3: - 1.5 <= x \\ the lower side\n  + y <= 2.5\n r4: -inf <= x + z <= 1\n r5: x + y + z >= 1\n"
            "Binary\n x y z\nEnd\n");
  const RawModel ranged = ReadGood("ranged.lp");
  ASSERT_EQ(ranged.rows.size(), 5u);
  EXPECT_EQ(RowText(ranged, 0), "row r1: 1 x -1 y -1 z [-2, -1]");
  EXPECT_EQ(RowText(ranged, 1).substr(RowText(ranged, 1).find(':')), ": 1 y 1 z [1, 3]");
  EXPECT_EQ(RowText(ranged, 2), "row r3: 1 x 1 y [-1.5, 2.5]");
  EXPECT_EQ(RowText(ranged, 3), "row r4: 1 x 1 z [-inf, 1]");
  EXPECT_EQ(RowText(ranged, 4), "row r5: 1 x 1 y 1 z [1, inf]");
  EXPECT_EQ(ranged.rows[2].line, 6);

  // Free MPS as glpsol --wfreemps writes it: no FREE on the NAME line, names
  // off the fixed columns, a bound set named, RANGES and negative numbers.
  WriteFile(
      "free.mps",
      "* Format:     Free MPS\nNAME r\nROWS\n N obj\n E r1\n G c2\nCOLUMNS\n M0000001 'MARKER' 'INTORG'\n"
      " x00 obj 3 r1 1\n x00 c2 1\n y obj 2 r1 -1\n z obj 4 r1 -1\n w obj 0.5 c2 1\n"
      " M0000002 'MARKER' 'INTEND'\nRHS\n RHS1 r1 -2 c2 1\nRANGES\n RNG1 r1 1\nBOUNDS\n UP BND1 x00 1\n"
      " UP BND1 y 1\n UP BND1 z 1\n UP BND1 w 1\nENDATA\n");
  const RawModel free = ReadGood("free.mps");
  ASSERT_EQ(free.variables.size(), 4u);
  EXPECT_EQ(free.variables[0].name, "x00");
  EXPECT_EQ(free.variables[0].upper, 1.0);
  EXPECT_EQ(RowText(free, 0), "row r1: 1 x00 -1 y -1 z [-2, -1]");
  EXPECT_EQ(RowText(free, 1), "row c2: 1 x00 1 w [1, inf]");

  // A fixed MPS file whose names hold blanks reads only in the fixed layout
  // (where CoinMpsIO drops the blanks).
  WriteFile("blanks.mps",
            "NAME          BLANKS\nROWS\n N  obj\n G  c 1\nCOLUMNS\n    MARKER                 'MARKER'"
            "                 'INTORG'\n    x 1       obj       1\n    x 1       c 1       1\n"
            "    MARKER                 'MARKER'                 'INTEND'\nRHS\n    rhs       c 1       1\n"
            "BOUNDS\n UP bnd       x 1       1\nENDATA\n");
  const RawModel blanks = ReadGood("blanks.mps");
  ASSERT_EQ(blanks.variables.size(), 1u);
  ASSERT_EQ(blanks.rows.size(), 1u);
  EXPECT_EQ(RowText(blanks, 0).substr(RowText(blanks, 0).find(':')), ": 1 x1 [1, inf]");

  // glpsol --wlp writes a ranged row as an equality with a slack column:
  // the slack folds into the row and leaves the answer.
  WriteFile(
      "slack.lp",
      "\\* Problem: r *\\\n\nMinimize\n obj: + 3 x + 2 y + 4 z\n\\* constant term = 1.5 *\\\n\nSubject To\n"
      " r1: + x - y - z - ~r_1 = -2\n\nBounds\n 0 <= ~r_1 <= 1\n 0 <= x <= 1\n 0 <= y <= 1\n 0 <= z <= 1\n\n"
      "Generals\n x\n y\n z\n\nEnd\n");
  const Outcome slack = ReadAndMap("slack.lp");
  ASSERT_EQ(slack.read, ReadOutcome::Read) << slack.error.reason;
  EXPECT_TRUE(slack.mapped) << slack.error.line << ": " << slack.error.reason;
  EXPECT_EQ(slack.model.variables.size(), 4u);
}

// The endings in any letter case, compressed or not.
TEST(ModelFile, AnyLetterCaseOfTheEndings) {
  ScratchDir scratch;
  WriteFile("max.lp", kMaxLp);
  WriteFile("max.mps", kMaxMps);
  WriteFile("tiny.opb", "min: +5 x1 +3 x2 ;\n+1 x1 +1 x2 >= 1 ;\n");
  ASSERT_EQ(
      std::system(
          "cp max.lp KNAP.LP && cp max.lp Knap.Lp && cp max.mps KNAP.MPS && cp tiny.opb TINY.OPB && "
          "gzip -c max.lp > KNAP.LP.GZ && gzip -c max.mps > Knap.Mps.Gz && gzip -c tiny.opb > TINY.OPB.GZ"),
      0);
  for (const char* name : {"TINY.OPB", "TINY.OPB.GZ"}) EXPECT_EQ(ReadGood(name).variables.size(), 2u) << name;
  if (!HaveCoinUtils()) return;
  for (const char* name : {"KNAP.LP", "Knap.Lp", "KNAP.LP.GZ", "KNAP.MPS", "Knap.Mps.Gz"}) {
    SCOPED_TRACE(name);
    ExpectTheMaximisation(ReadGood(name));
  }
}

TEST(ModelFile, CompressedFilesReadAsPlainOnes) {
  ScratchDir scratch;
  WriteFile("max.lp", kMaxLp);
  WriteFile("max.mps", kMaxMps);
  WriteFile(
      "tiny.opb",
      "* #variable= 3 #constraint= 2\nmin: +5 x1 +3 x2 +4 x3 ;\n+1 x1 +1 x2 >= 1 ;\n+1 x2 +1 x3 >= 1 ;\n");
  ASSERT_EQ(std::system("gzip -k max.lp max.mps tiny.opb && head -c 40 tiny.opb.gz > cut.opb.gz"), 0);
  const RawModel opb = ReadGood("tiny.opb.gz");
  EXPECT_EQ(opb.rows.size(), 2u);
  ExpectRefused("cut.opb.gz", 0, "truncated");
  if (!HaveCoinUtils()) return;
  ExpectTheMaximisation(ReadGood("max.lp.gz"));
  ExpectTheMaximisation(ReadGood("max.mps.gz"));
}

TEST(ModelFile, WhatCannotBeSolvedIsRefusedAtItsLine) {
  ScratchDir scratch;
  WriteFile("empty.opb", "");
  ExpectRefused("empty.opb", 0, "the file is empty");
  ExpectRefused("missing.opb", 0, "cannot open");
  ExpectRefused("model.txt", 0, "not a model file name");
  if (!HaveCoinUtils()) return;
  struct Case {
    const char* name;
    const char* text;
    int64_t line;
    const char* reason;
  };
  const Case cases[] = {
      {"continuous.lp",
       "Minimize\n obj: x + y\nSubject To\n c1: x + y >= 1\n c2: x + w <= 1\nBinary\n x y\nEnd\n", 5,
       "variable w is continuous"},
      {"general.lp", "Minimize\n obj: x\nSubject To\n c1: x >= 1\nGeneral\n x\nEnd\n", 2,
       "variable x is a general integer"},
      {"quadratic.lp", "Minimize\n obj: x + [ x ^ 2 ] / 2\nSubject To\n c1: x >= 1\nBinary\n x\nEnd\n", 2,
       "quadratic"},
      {"sos.lp",
       "Minimize\n obj: x + y\nSubject To\n c1: x + y >= 1\nSOS\n s1: S1:: x:1 y:2\nBinary\n x y\nEnd\n", 5,
       "SOS"},
      {"semi.lp", "Minimize\n obj: x + y\nSubject To\n c1: x + y >= 1\nSemis\n y\nBinary\n x\nEnd\n", 5,
       "semi-continuous"},
      {"noend.lp", "Minimize\n obj: x\nSubject To\n c1: x >= 1\nBinary\n x\n", 6, "does not end with End"},
      {"leftside.lp", "Minimize\n obj: x\nSubject To\n c1: 2 >= x\n c2: x + y >= 1\nBinary\n x y\nEnd\n", 4,
       "a row with a side on its left needs a second relation"},
      {"utf8.lp", "Minimize\n obj: x + café\nSubject To\n c1: x + café >= 1\nBinary\n x café\nEnd\n", 2,
       "the name café holds 'é'; LP names can hold only ASCII letters, digits and !\"#$%&(),.;?@_`'{}~"},
      {"byte.lp", "Minimize\n obj: x\nSubject To\n c1: x + y\xe9z >= 1\nBinary\n x\nEnd\n", 4,
       "the name y\\xe9z holds '\\xe9'"},
      {"utf8.mps",
       "\xEF\xBB\xBFNAME U\nROWS\n N obj\n L c1\nCOLUMNS\n    caf\xC3\xA9 obj 1 c1 1\nRHS\n    rhs c1 "
       "1\nENDATA\n",
       6, "variable café is continuous"},
      {"latin1.mps",
       "NAME L\nROWS\n N obj\n L c1\nCOLUMNS\n    caf\xe9 obj 1 c1 1\nRHS\n    rhs c1 1\nENDATA\n", 6,
       "variable caf\\xe9 is continuous"},
      {"twice.lp", "Minimize\n obj: x\nSubject To\n c1: 3 x + 2 y - x >= 1\nBinary\n x y\nEnd\n", -1,
       "duplicates"},
      {"digits.lp", "Minimize\n obj: 0.1234567890123456 x\nSubject To\n c1: x >= 0\nBinary\n x\nEnd\n", 2,
       "0.1234567890123456, cannot be read exactly"},
      {"huge.lp", "Minimize\n obj: 1e400 x + y\nSubject To\n c1: x + y >= 1\nBinary\n x y\nEnd\n", 2,
       "inf, cannot be read exactly"},
      {"ranged.lp",
       "Minimize\n obj: x + y\nSubject To\n c0: x >= 0\n c1: -2 <= x + y >= 2\nBinary\n x y\nEnd\n", 5,
       "a ranged row needs both relations the same way: L <= expression <= U, or U >= expression >= L; found "
       "<= and >="},
      {"rows.mps",
       "NAME D\nROWS\n N obj\n L c1\n L c1\nCOLUMNS\n    x obj 1 c1 1\nRHS\n    rhs c1 1\nENDATA\n", 5,
       "row c1 is declared twice"},
      {"columns.mps",
       "NAME D\nROWS\n N obj\n L c1\nCOLUMNS\n    x obj 1 c1 1\n    y obj 1 c1 1\n    x obj 1\nRHS\n    rhs "
       "c1 1\n"
       "ENDATA\n",
       8, "column x is declared twice"},
      {"quadratic.mps",
       "NAME Q\nROWS\n N obj\n L c1\nCOLUMNS\n    x obj 1 c1 1\nRHS\n    rhs c1 1\nQUADOBJ\n    x x "
       "1\nENDATA\n",
       9, "quadratic section (QUADOBJ)"},
      {"sense.mps", "NAME S\nOBJSENSE\n    SIDEWAYS\nROWS\n N obj\nCOLUMNS\n    x obj 1\nENDATA\n", 3,
       "OBJSENSE must be MIN or MAX"},
      {"noend.mps", "NAME X\nROWS\n N obj\n L c1\nCOLUMNS\n    x obj 1 c1 1\nRHS\n    rhs c1 1\n", 8,
       "no ENDATA"},
      {"badnumber.mps",
       "NAME X\nROWS\n N obj\n L c1\nCOLUMNS\n    x obj 1 c1 abc\nRHS\n    rhs c1 1\nENDATA\n", 6,
       "CoinMpsIO cannot read the file"},
      {"continuous.mps",
       "NAME X\nROWS\n N obj\n L c1\nCOLUMNS\n    x obj 1 c1 1\nRHS\n    rhs c1 1\nENDATA\n", 6,
       "variable x is continuous (bounds [0, inf])"},
  };
  for (const Case& c : cases) {
    WriteFile(c.name, c.text);
    ExpectRefused(c.name, c.line, c.reason);
  }
}

// The hostile files of every kind, in every format.
TEST(ModelFile, HostileFilesEndInOneLine) {
  ScratchDir scratch;
  std::mt19937_64 random(11);
  const char* formats[] = {"lp", "mps", "opb"};
  const std::string good[] = {kMaxLp, kMaxMps,
                              "* #variable= 4 #constraint= 3\nmax: +18 x1 +12 x2 +9 x3 +24 x4 ;\n"
                              "-4 x1 -3 x2 -2 x3 -6 x4 >= -9 ;\n+1 x1 +1 x3 >= 1 ;\n+1 x2 -1 x4 = 0 ;\n"};
  for (int f = 0; f < 3; ++f) {
    const std::string format = formats[f];
    if (format != "opb" && !HaveCoinUtils()) continue;
    const std::string& text = good[f];
    WriteFile("good." + format, text);
    ReadGood("good." + format);

    // Cut short at every byte but the last line feed, without which the
    // file is still whole.
    for (size_t cut = 0; cut + 1 < text.size(); ++cut) {
      const std::string name = "cut" + std::to_string(cut) + "." + format;
      WriteFile(name, text.substr(0, cut));
      ExpectRefused(name, -1, "");
    }
    // Binary noise, and noise written into the good file.
    for (int k = 0; k < 20; ++k) {
      std::string noise(200 + random() % 3000, '\0');
      for (char& c : noise) c = static_cast<char>(random());
      WriteFile("noise." + format, noise);
      ExpectRefused("noise." + format, -1, "");
      std::string damaged = text;
      for (int hits = 0; hits < 4; ++hits) damaged[random() % damaged.size()] = static_cast<char>(random());
      WriteFile("damaged." + format, damaged);
      const Outcome outcome = ReadAndMap("damaged." + format);
      // Some damage leaves a good file (a changed digit); what is refused is
      // refused in one line.
      EXPECT_EQ(outcome.error.reason.find('\n'), std::string::npos) << outcome.error.reason;
    }
  }
}

// Too many columns: 200 meet the same refusal as a million would.
TEST(ModelFile, HugeNumbersAndTooManyColumns) {
  ScratchDir scratch;
  WriteFile("huge.opb", "min: +1 x1 ;\n+99999999999999999999999999999 x1 >= 1 ;\n");
  ExpectRefused("huge.opb", 2, "beyond the 64-bit range");
  std::string opb;
  for (int k = 1; k <= 200; ++k) opb += "+1 x" + std::to_string(k) + " ";
  WriteFile("wide.opb", opb + ">= 1 ;\n");
  ExpectRefused("wide.opb", 1, "more than 100 variables (x101");
  if (!HaveCoinUtils()) return;
  WriteFile("huge.mps",
            "NAME H\nROWS\n N obj\n L c1\nCOLUMNS\n    MARKER 'MARKER' 'INTORG'\n    x obj 1e300 c1 1\n"
            "    MARKER 'MARKER' 'INTEND'\nRHS\n    rhs c1 1\nENDATA\n");
  // CoinMpsIO turns numbers past 1e30 into its own infinity; refused either way.
  ExpectRefused("huge.mps", 7, "cannot be read exactly");
  std::string names;
  std::string sum;
  for (int k = 0; k < 200; ++k) {
    const std::string name = "x" + std::to_string(k);
    sum += (k > 0 ? " + " : "") + name;
    names += name + (k % 10 == 9 ? "\n" : " ");
  }
  WriteFile("wide.lp",
            "Minimize\n obj: " + sum + "\nSubject To\n c1: " + sum + " >= 1\nBinary\n" + names + "\nEnd\n");
  ExpectRefused("wide.lp", 2, "more than 100 variables (x100 is one too many)");
}

}  // namespace
}  // namespace zoint_test
