// Model files as glpsol and CBC write them (Debian's glpk-utils and
// coinor-cbc), made here from small pure 0-1 models: zoint solve must give
// the optimum that the tool which wrote a file reports for that same file.
// Each writer drops something on the way (glpsol's MPS the sense and the
// constant, its LP the constant), so each file is its own model.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/cli_support.h"
#include "support/run_support.h"

namespace zoint_test {
namespace {

bool HaveCoinUtils() { return ZOINT_HAVE_COINUTILS != 0; }

bool Have(const char* tool) {
  return std::system(("command -v " + std::string(tool) + " >/dev/null").c_str()) == 0;
}

// Runs a shell command in the current directory; its output, or "" when it fails.
std::string Output(const std::string& command) {
  if (std::system((command + " >tool.out 2>&1").c_str()) != 0) return "";
  return ReadFile("tool.out");
}

// An optimum as a tool or zoint reports it.
struct Optimum {
  bool known;       // the report could be read
  bool infeasible;  // no assignment meets every row
  double value;
};

// The rest of the line after `label`, or "".
std::string After(const std::string& text, const std::string& label) {
  const size_t at = text.find(label);
  if (at == std::string::npos) return "";
  const size_t start = at + label.size();
  return text.substr(start, text.find('\n', start) - start);
}

// glpsol -o: "Status:     INTEGER OPTIMAL" and "Objective:  value = 70 (MAXimum)".
Optimum GlpsolOptimum(const std::string& option, const std::string& file) {
  std::remove("glpsol.sol");
  Output("glpsol " + option + " " + file + " -o glpsol.sol");
  const std::string report = ReadFile("glpsol.sol");
  if (After(report, "Status:").find("EMPTY") != std::string::npos) return {true, true, 0};
  if (After(report, "Status:").find("INTEGER OPTIMAL") == std::string::npos) return {false, false, 0};
  const std::string objective = After(report, "Objective:");
  const size_t equals = objective.find('=');
  if (equals == std::string::npos) return {false, false, 0};
  return {true, false, std::strtod(objective.c_str() + equals + 1, nullptr)};
}

// cbc FILE -solve: "Objective value:  70.00000000", or an infeasibility.
Optimum CbcOptimum(const std::string& file) {
  const std::string report = Output("cbc " + file + " -solve");
  if (report.find("infeasible") != std::string::npos) return {true, true, 0};
  const std::string value = After(report, "Objective value:");
  if (value.empty()) return {false, false, 0};
  return {true, false, std::strtod(value.c_str(), nullptr)};
}

Optimum ZointOptimum(const std::string& file, std::string& out) {
  const Command run = RunCli("solve --quiet " + file);
  out = run.out + run.err;
  if (run.status != 0) return {false, false, 0};
  if (run.out.rfind("status: infeasible\n", 0) == 0) return {true, true, 0};
  const std::string value = After(run.out, "objective: ");
  if (run.out.rfind("status: optimal\n", 0) != 0 || value.empty()) return {false, false, 0};
  return {true, false, std::strtod(value.c_str(), nullptr)};
}

bool SameOptimum(const Optimum& a, const Optimum& b) {
  if (!a.known || !b.known || a.infeasible != b.infeasible) return false;
  return a.infeasible || std::fabs(a.value - b.value) <= 1e-6 * std::fmax(1.0, std::fabs(b.value));
}

struct Model {
  const char* name;
  const char* gmpl;
};

// A maximisation with decimals, a constant, a ranged row, an = row, a >=
// row and a variable its bounds fix; a covering minimisation with negative
// coefficients and a ranged row below zero; an assignment of = rows; an
// infeasible one.
const Model kModels[] = {
    {"knapsack",
     "set I := 1..12;\n"
     "param v{i in I} := 3 + (i * 7) mod 11 + 0.25 * (i mod 3);\n"
     "param w{i in I} := 2 + (i * 5) mod 9;\n"
     "var x{I} binary;\n"
     "var fixed binary >= 1;\n"
     "maximize value: sum{i in I} v[i] * x[i] - 2 * fixed + 10;\n"
     "s.t. cap: sum{i in I} w[i] * x[i] <= 30;\n"
     "s.t. pair: -1 <= x[1] - x[2] + x[3] <= 1;\n"
     "s.t. some: x[4] + x[5] + x[6] >= 1;\n"
     "s.t. same: x[7] - x[8] = 0;\n"
     "end;\n"},
    {"cover",
     "set S := 1..10;\n"
     "param c{s in S} := (s * 13) mod 7 - 2;\n"
     "var y{S} binary;\n"
     "minimize cost: sum{s in S} c[s] * y[s] + 1.5;\n"
     "s.t. cover{k in 1..8}: sum{s in S: (s + k) mod 3 <> 0} y[s] >= 2;\n"
     "s.t. spread: -2 <= y[1] - y[2] - y[3] <= -1;\n"
     "s.t. limit: -3 * y[4] + 2 * y[5] - y[6] >= -2;\n"
     "end;\n"},
    {"assignment",
     "set W := 1..4; set J := 1..4;\n"
     "param t{w in W, j in J} := (w * 3 + j * 5) mod 7 + 1;\n"
     "var a{W, J} binary;\n"
     "minimize time: sum{w in W, j in J} t[w, j] * a[w, j];\n"
     "s.t. each_worker{w in W}: sum{j in J} a[w, j] = 1;\n"
     "s.t. each_job{j in J}: sum{w in W} a[w, j] = 1;\n"
     "end;\n"},
    {"infeasible",
     "var a binary; var b binary; var c binary;\n"
     "minimize cost: a + b + c;\n"
     "s.t. need: a + b + c >= 2;\n"
     "s.t. cap: a + b <= 0;\n"
     "end;\n"},
};

TEST(OtherTools, FilesWrittenByGlpsolAndCbcSolveToTheirOptimum) {
  if (!HaveCoinUtils()) GTEST_SKIP() << "built without CoinUtils: no LP or MPS files";
  if (!Have("glpsol") || !Have("cbc"))
    GTEST_SKIP() << "glpsol or cbc missing (apt-get install glpk-utils coinor-cbc)";
  ScratchDir scratch;
  for (const Model& model : kModels) {
    const std::string name = model.name;
    WriteFile(name + ".mod", model.gmpl);
    ASSERT_NE(Output("glpsol --check --math " + name + ".mod --wlp " + name + "_glpsol.lp --wmps " + name +
                     "_glpsol.mps --wfreemps " + name + "_glpsol_free.mps"),
              "")
        << name;
    // -presolve off: CBC then writes the model it read, not a reduced one.
    for (const char* ending : {".lp", ".mps"}) {
      ASSERT_NE(Output("cbc " + name + "_glpsol.lp -presolve off -export " + name + "_cbc" + ending), "")
          << name;
    }
    // CBC compresses the MPS files it writes where it can.
    const std::string cbcMps = FileExists(name + "_cbc.mps") ? name + "_cbc.mps" : name + "_cbc.mps.gz";
    struct File {
      std::string path;
      Optimum reported;
    };
    const std::vector<File> files = {
        {name + "_glpsol.lp", GlpsolOptimum("--lp", name + "_glpsol.lp")},
        {name + "_glpsol.mps", GlpsolOptimum("--mps", name + "_glpsol.mps")},
        {name + "_glpsol_free.mps", GlpsolOptimum("--freemps", name + "_glpsol_free.mps")},
        {name + "_cbc.lp", CbcOptimum(name + "_cbc.lp")},
        {cbcMps, CbcOptimum(cbcMps)},
    };
    for (const File& file : files) {
      SCOPED_TRACE(file.path + ":\n" + ReadFile(file.path));
      ASSERT_TRUE(file.reported.known) << "the writer's own report could not be read";
      std::string out;
      const Optimum solved = ZointOptimum(file.path, out);
      EXPECT_TRUE(SameOptimum(solved, file.reported))
          << "zoint: " << out << "writer: " << (file.reported.infeasible ? "infeasible" : "")
          << file.reported.value;
    }
  }
}

}  // namespace
}  // namespace zoint_test
