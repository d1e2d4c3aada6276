// Lists of answers against the loop users write today: solve, forbid the
// assignment found with a no-good cut (Σ_{x*_i = 0} x_i + Σ_{x*_i = 1} (1 − x_i) ≥ 1),
// solve again, k times, one `cbc` process per solution, on the instance's LP
// file. For each instance folder: the library's single answer, its first 10
// and first 100 (median of the runs, in this process), how many optimal
// assignments there are (every one listed), and the CBC loop for k = 10 and
// k = 100 (once; its time is the sum of its runs), with the ratios.
//
// usage: zoint_solution_lists_bench [--runs N] [--no-cbc-above K] FOLDER...
//   Each FOLDER holds ZOIntIn.dat and NAME.lp (NAME the folder's name).
//   --no-cbc-above K skips the CBC loop for k above K (it takes k runs).
#include <limits.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "exact_search/exact_search.h"
#include "exchange/exchange.h"
#include "support/run_support.h"

namespace {

using Clock = std::chrono::steady_clock;
using zoint_test::ReadFile;
using zoint_test::WriteFile;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The LP text with the cuts added as rows before its first section after
// the rows (Bounds, Binary, General or End).
std::string WithCuts(const std::string& lp, const std::vector<std::string>& cuts) {
  std::istringstream in(lp);
  std::string line, out;
  bool inserted = false;
  while (std::getline(in, line)) {
    std::string lower = line;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const bool section = lower.rfind("bounds", 0) == 0 || lower.rfind("bin", 0) == 0 ||
                         lower.rfind("gen", 0) == 0 || lower.rfind("end", 0) == 0;
    if (section && !inserted) {
      for (const std::string& cut : cuts) out += cut;
      inserted = true;
    }
    out += line + "\n";
  }
  return out;
}

// Σ_{x*_i = 0} y_i − Σ_{x*_i = 1} y_i ≥ 1 − |{x*_i = 1}|: y differs from x* somewhere.
std::string NoGoodCut(const std::vector<int>& x, size_t index) {
  std::string cut = " nogood" + std::to_string(index) + ":";
  int ones = 0;
  for (size_t i = 0; i < x.size(); ++i) {
    cut += (x[i] ? " - y" : " + y") + std::to_string(i);
    ones += x[i];
  }
  return cut + " >= " + std::to_string(1 - ones) + "\n";
}

struct CbcLoop {
  double seconds;  // all runs
  int found;       // solutions before CBC found no more (or k)
};

// k runs of CBC, each forbidding the solutions before it.
CbcLoop RunCbcLoop(const std::string& lpText, int n, int k, const std::string& dir) {
  CbcLoop loop{0, 0};
  std::vector<std::string> cuts;
  const std::string lp = dir + "/loop.lp", solution = dir + "/loop.sol";
  for (int t = 0; t < k; ++t) {
    WriteFile(lp, WithCuts(lpText, cuts));
    std::remove(solution.c_str());
    const auto start = Clock::now();
    const std::string command = "cbc '" + lp + "' solve solution '" + solution + "' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    loop.seconds += Since(start);
    const std::string text = ReadFile(solution);
    if (status != 0 || text.rfind("Optimal", 0) != 0) break;
    std::vector<int> x(static_cast<size_t>(n), 0);
    std::istringstream rows(text);
    std::string line;
    std::getline(rows, line);
    while (std::getline(rows, line)) {
      int index = 0;
      char name[64];
      double value = 0;
      if (std::sscanf(line.c_str(), "%d %63s %lf", &index, name, &value) == 3 && name[0] == 'y') {
        const int i = std::atoi(name + 1);
        if (i >= 0 && i < n) x[static_cast<size_t>(i)] = value > 0.5 ? 1 : 0;
      }
    }
    cuts.push_back(NoGoodCut(x, cuts.size()));
    ++loop.found;
  }
  return loop;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 3;
  int cbcAbove = 1 << 30;
  std::vector<std::string> folders;
  for (int a = 1; a < argc; ++a) {
    if (std::strcmp(argv[a], "--runs") == 0 && a + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++a]));
    } else if (std::strcmp(argv[a], "--no-cbc-above") == 0 && a + 1 < argc) {
      cbcAbove = std::atoi(argv[++a]);
    } else {
      // Absolute: the work below happens in a scratch directory.
      char resolved[4096];
      folders.push_back(realpath(argv[a], resolved) != nullptr ? resolved : argv[a]);
    }
  }
  if (folders.empty()) {
    std::fprintf(stderr, "usage: zoint_solution_lists_bench [--runs N] [--no-cbc-above K] FOLDER...\n");
    return 2;
  }
  const bool haveCbc = zoint_bench::HaveCbc();
  zoint_test::ScratchDir scratch;
  std::printf("%-10s %4s %3s %9s %9s %6s %9s %6s %8s %10s %7s %10s %7s\n", "instance", "n", "m", "single s",
              "10 s", "x1", "100 s", "x1", "optima", "cbc 10 s", "ratio", "cbc 100 s", "ratio");
  double logRatio10 = 0, logRatio100 = 0;
  int ratios10 = 0, ratios100 = 0;
  for (std::string folder : folders) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    const std::string name = folder.substr(folder.find_last_of('/') + 1);
    const std::string dat = ReadFile(folder + "/ZOIntIn.dat");
    const std::string lp = ReadFile(folder + "/" + name + ".lp");
    if (dat.empty()) {
      std::fprintf(stderr, "%s: no ZOIntIn.dat\n", folder.c_str());
      continue;
    }
    WriteFile("ZOIntIn.dat", dat);
    zoint::Problem problem{};
    if (zoint::ReadProblemFile(problem) != zoint::Failure::None || !zoint::NoSumCanWrap(problem)) {
      std::fprintf(stderr, "%s: not a problem the lists take\n", folder.c_str());
      continue;
    }
    std::vector<double> single, ten, hundred;
    size_t optima = 0;
    bool optimaComplete = false;
    for (int r = 0; r < runs; ++r) {
      auto start = Clock::now();
      zoint::SolveExact(problem, zoint::ExactOptions{});
      single.push_back(Since(start));
      start = Clock::now();
      zoint::ListSolutions(problem, zoint::ExactOptions{}, {zoint::ListKind::Best, 10, 0});
      ten.push_back(Since(start));
      start = Clock::now();
      zoint::ListSolutions(problem, zoint::ExactOptions{}, {zoint::ListKind::Best, 100, 0});
      hundred.push_back(Since(start));
    }
    const zoint::ListResult all =
        zoint::ListSolutions(problem, zoint::ExactOptions{}, {zoint::ListKind::Optimal, 1000000, 0});
    optima = all.answers.size();
    optimaComplete = all.complete;
    const double s1 = Median(single), s10 = Median(ten), s100 = Median(hundred);
    std::string cbc10 = "-", cbc100 = "-", ratio10 = "-", ratio100 = "-";
    char text[48];
    if (haveCbc && !lp.empty()) {
      for (const int k : {10, 100}) {
        if (k > cbcAbove) continue;
        const CbcLoop loop = RunCbcLoop(lp, problem.n, k, scratch.path());
        const double library = k == 10 ? s10 : s100;
        std::snprintf(text, sizeof text, "%.3f%s", loop.seconds, loop.found < k ? "*" : "");
        (k == 10 ? cbc10 : cbc100) = text;
        std::snprintf(text, sizeof text, "%.1f", loop.seconds / library);
        (k == 10 ? ratio10 : ratio100) = text;
        (k == 10 ? logRatio10 : logRatio100) += std::log(loop.seconds / library);
        ++(k == 10 ? ratios10 : ratios100);
      }
    }
    std::snprintf(text, sizeof text, "%zu%s", optima, optimaComplete ? "" : "+");
    std::printf("%-10s %4d %3d %9.4f %9.4f %6.1f %9.4f %6.1f %8s %10s %7s %10s %7s\n", name.c_str(), problem.n,
                problem.m, s1, s10, s10 / s1, s100, s100 / s1, text, cbc10.c_str(), ratio10.c_str(),
                cbc100.c_str(), ratio100.c_str());
    std::fflush(stdout);
  }
  std::printf("\nlibrary: median of %d runs, in this process; CBC: one loop of one process per solution "
              "(* fewer solutions than asked exist)\n",
              runs);
  if (ratios10 > 0) std::printf("geometric mean of the CBC loop's time over the library's, k = 10: %.1f\n",
                                std::exp(logRatio10 / ratios10));
  if (ratios100 > 0) std::printf("geometric mean of the CBC loop's time over the library's, k = 100: %.1f\n",
                                 std::exp(logRatio100 / ratios100));
  return 0;
}
