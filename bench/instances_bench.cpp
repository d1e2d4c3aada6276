// The shared instances, library against CBC. For every folder of the
// instances directory: the time of one call of ZOInterProgram on its
// ZOIntIn.dat (median of several runs, file reading and writing included, as
// a host sees it; CPU time beside), whether the answer file and the console
// report are byte-identical to the folder's ZOIntOut.dat and stdout.txt, and
// the time of `cbc NAME.lp solve` in the same run (whole process, median of
// several, CPU time beside) with a check that CBC's optimum is the expected
// value.
//
// usage: zoint_instances_bench [--runs N] [--enumerate] [DIR]
//   DIR defaults to ../shared/instances. --enumerate times the plain
//   enumeration instead (it may not finish on the larger instances).
// Exits 1 when an answer differs or CBC disagrees with an expected optimum.
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_support.h"
#include "enumeration/search.h"
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
  for (int k = 1; k < argc; ++k) {
    if (std::strcmp(argv[k], "--runs") == 0 && k + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++k]));
    } else if (std::strcmp(argv[k], "--enumerate") == 0) {
      zoint::g_searchMode = zoint::SearchMode::EnumerationOnly;
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

  std::printf("%-10s %4s %3s  %-11s %10s %10s %10s %10s  %-9s %s\n", "instance", "n", "m", "search",
              "library ms", "(cpu ms)", "cbc ms", "(cpu ms)", "identical", "cbc optimum");
  int failures = 0, slower = 0;
  double worst = 0;
  for (const std::string& name : names) {
    const std::string folder = root + "/" + name;
    const std::string problem = ReadFile(folder + "/ZOIntIn.dat");
    const std::string expectedSolution = ReadFile(folder + "/ZOIntOut.dat");
    const std::string expectedConsole = ReadFile(folder + "/stdout.txt");
    int n = 0, m = 0;
    std::sscanf(problem.c_str(), "%d,%d", &n, &m);
    const std::string dir = std::string(scratch) + "/" + name;
    if (std::system(("mkdir -p '" + dir + "'").c_str()) != 0) return 2;
    WriteFile(dir + "/ZOIntIn.dat", problem);

    std::vector<double> library, libraryCpu;
    bool identical = true;
    const char* search = "";
    for (int r = 0; r < runs; ++r) {
      const LibraryRun run = CallLibrary(dir);
      library.push_back(run.seconds);
      libraryCpu.push_back(run.cpuSeconds);
      identical = identical && run.solution == expectedSolution && run.console == expectedConsole;
      search = run.search;
    }
    if (chdir(cwd) != 0) return 2;

    std::string cbcMs = "-", cbcCpuMs = "-", cbcVerdict = "cbc not installed";
    double cbcSeconds = 0;
    if (haveCbc) {
      std::vector<double> cbc, cbcCpu;
      bool agrees = true;
      for (int r = 0; r < runs; ++r) {
        const CbcRun run = CallCbc(folder + "/" + name + ".lp", dir);
        cbc.push_back(run.seconds);
        cbcCpu.push_back(run.cpuSeconds);
        agrees = agrees && run.found && run.objective == std::atof(expectedSolution.c_str());
      }
      cbcSeconds = Median(cbc);
      char text[32];
      std::snprintf(text, sizeof text, "%.1f", cbcSeconds * 1e3);
      cbcMs = text;
      std::snprintf(text, sizeof text, "%.1f", Median(cbcCpu) * 1e3);
      cbcCpuMs = text;
      cbcVerdict = agrees ? "matches" : "DIFFERS";
      if (!agrees) ++failures;
    }
    const double librarySeconds = Median(library);
    worst = std::max(worst, librarySeconds);
    if (haveCbc && librarySeconds > cbcSeconds) ++slower;
    if (!identical) ++failures;
    std::printf("%-10s %4d %3d  %-11s %10.1f %10.1f %10s %10s  %-9s %s\n", name.c_str(), n, m, search,
                librarySeconds * 1e3, Median(libraryCpu) * 1e3, cbcMs.c_str(), cbcCpuMs.c_str(),
                identical ? "yes" : "NO", cbcVerdict.c_str());
    std::fflush(stdout);
  }
  std::printf(
      "\n%zu instances, median of %d runs each; slowest library time %.1f ms; slower than CBC on %d; "
      "failures %d\n",
      names.size(), runs, worst * 1e3, slower, failures);
  std::system(("rm -rf '" + std::string(scratch) + "'").c_str());
  return failures == 0 ? 0 : 1;
}
