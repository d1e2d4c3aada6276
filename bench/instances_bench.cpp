// The shared instances, library against CBC. For every folder of the
// instances directory: the time of one call of ZOInterProgram on its
// ZOIntIn.dat (median of several runs, file reading and writing included, as
// a host sees it, each call in a process of its own), its search nodes and
// peak memory, whether the answer file and the console report are
// byte-identical to the folder's ZOIntOut.dat and stdout.txt, and the time
// and peak memory of `cbc NAME.lp solve` in the same run (whole process,
// median of several) with a check that CBC's optimum is the library's value.
// Where a folder has no ZOIntOut.dat, that check is all there is. It ends
// with the geometric mean of CBC's time over the library's.
//
// usage: zoint_instances_bench [--runs N] [--enumerate] [DIR]
//   DIR defaults to ../shared/instances (its hard/ folder is a second set).
//   --enumerate times the plain enumeration instead (it may not finish on the
//   larger instances).
// Exits 1 when an answer differs or CBC disagrees with the library's value.
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_support.h"
#include "support/run_support.h"

namespace {

using zoint_bench::CallCbc;
using zoint_bench::CallLibrary;
using zoint_bench::CbcRun;
using zoint_bench::LibraryRun;
using zoint_bench::Median;
using zoint_test::ReadFile;
using zoint_test::WriteFile;

std::vector<std::string> Instances(const std::string& root) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(root.c_str())) {
    while (dirent* entry = readdir(dir)) {
      if (entry->d_name[0] != '.' && !ReadFile(root + "/" + entry->d_name + "/ZOIntIn.dat").empty()) {
        names.push_back(entry->d_name);
      }
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

int main(int argc, char** argv) {
  std::string root = "../shared/instances";
  int runs = 5;
  zoint::SolveRequest request = zoint::SolveRequest::Automatic;
  for (int k = 1; k < argc; ++k) {
    if (std::strcmp(argv[k], "--runs") == 0 && k + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++k]));
    } else if (std::strcmp(argv[k], "--enumerate") == 0) {
      request = zoint::SolveRequest::EnumerationOnly;
    } else {
      root = argv[k];
    }
  }
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd) == nullptr) return 2;
  if (root[0] != '/') root = std::string(cwd) + "/" + root;
  const std::vector<std::string> names = Instances(root);
  if (names.empty()) {
    std::fprintf(stderr, "no instances under %s\n", root.c_str());
    return 2;
  }
  char scratch[] = "/tmp/zoint-bench.XXXXXX";
  if (mkdtemp(scratch) == nullptr) return 2;
  const bool haveCbc = zoint_bench::HaveCbc();

  std::printf("%-10s %4s %3s %-6s %10s %10s %7s %10s %8s %8s  %-9s %s\n", "instance", "n", "m", "search",
              "library s", "cbc s", "ratio", "nodes", "lib MiB", "cbc MiB", "identical", "cbc optimum");
  int failures = 0, slower = 0, valueOnly = 0;
  double worst = 0, logRatios = 0;
  int ratios = 0;
  for (const std::string& name : names) {
    const std::string folder = root + "/" + name;
    const std::string problem = ReadFile(folder + "/ZOIntIn.dat");
    const std::string expectedSolution = ReadFile(folder + "/ZOIntOut.dat");
    const std::string expectedConsole = ReadFile(folder + "/stdout.txt");
    // Without an expected answer file only the value can be checked: against
    // CBC's optimum.
    const bool haveExpected = !expectedSolution.empty();
    int n = 0, m = 0;
    std::sscanf(problem.c_str(), "%d,%d", &n, &m);
    const std::string dir = std::string(scratch) + "/" + name;
    if (std::system(("mkdir -p '" + dir + "'").c_str()) != 0) return 2;
    WriteFile(dir + "/ZOIntIn.dat", problem);

    std::vector<double> library;
    bool identical = true;
    const char* search = "";
    uint64_t nodes = 0;
    double peak = 0;
    std::string solution;
    for (int r = 0; r < runs; ++r) {
      const LibraryRun run = CallLibrary(dir, request);
      library.push_back(run.seconds);
      if (haveExpected) {
        identical = identical && run.solution == expectedSolution &&
                    (expectedConsole.empty() || run.console == expectedConsole);
      }
      search = run.search;
      nodes = run.nodes;
      peak = std::max(peak, run.peakMiB);
      solution = run.solution;
    }
    const double value = std::atof(solution.c_str());

    std::string cbcSeconds = "-", ratio = "-", cbcPeak = "-", cbcVerdict = "cbc not installed";
    const double librarySeconds = Median(library);
    if (haveCbc) {
      std::vector<double> cbc;
      double cbcMiB = 0;
      bool agrees = true;
      for (int r = 0; r < runs; ++r) {
        const CbcRun run = CallCbc(folder + "/" + name + ".lp", dir);
        cbc.push_back(run.seconds);
        cbcMiB = std::max(cbcMiB, run.peakMiB);
        agrees = agrees && run.found && run.objective == value;
      }
      const double seconds = Median(cbc);
      char text[32];
      std::snprintf(text, sizeof text, "%.4f", seconds);
      cbcSeconds = text;
      std::snprintf(text, sizeof text, "%.1f", seconds / librarySeconds);
      ratio = text;
      std::snprintf(text, sizeof text, "%.1f", cbcMiB);
      cbcPeak = text;
      logRatios += std::log(seconds / librarySeconds);
      ++ratios;
      cbcVerdict = agrees ? "matches" : "DIFFERS";
      if (!agrees) ++failures;
      if (librarySeconds > seconds) ++slower;
      if (!haveExpected) identical = agrees;
    } else if (!haveExpected) {
      identical = false;
    }
    worst = std::max(worst, librarySeconds);
    if (!identical) ++failures;
    if (!haveExpected) ++valueOnly;
    std::printf("%-10s %4d %3d %-6s %10.4f %10s %7s %10llu %8.1f %8s  %-9s %s\n", name.c_str(), n, m, search,
                librarySeconds, cbcSeconds.c_str(), ratio.c_str(), static_cast<unsigned long long>(nodes),
                peak, cbcPeak.c_str(), identical ? (haveExpected ? "yes" : "yes*") : "NO",
                cbcVerdict.c_str());
    std::fflush(stdout);
  }
  std::printf(
      "\n%zu instances, median of %d runs each (wall seconds); slowest library time %.3f s; slower than CBC "
      "on "
      "%d; failures %d\n",
      names.size(), runs, worst, slower, failures);
  if (ratios > 0)
    std::printf("geometric mean of CBC's time over the library's: %.2f\n", std::exp(logRatios / ratios));
  if (valueOnly > 0) std::printf("* no expected answer file: the value is checked against CBC's optimum\n");
  std::system(("rm -rf '" + std::string(scratch) + "'").c_str());
  return failures == 0 ? 0 : 1;
}
