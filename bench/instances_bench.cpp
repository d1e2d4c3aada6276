// The shared instances, library against CBC. For every folder of the
// instances directory: the time of one call of ZOInterProgram on its
// ZOIntIn.dat (median of several runs, file reading and writing included, as
// a host sees it, each call in a process of its own), its search nodes and
// peak memory, and whether its answer is right: byte for byte against the
// folder's ZOIntOut.dat and stdout.txt where it has them, else its value
// against optimum.txt. In the same run, `cbc NAME.lp solve` (whole process,
// median of several) with its time, peak memory and whether its optimum is
// the reference value (or, without one, the library's). Then the geometric
// mean of CBC's time over the library's, for all instances and per family
// (a family is the name up to its first "_<digit>" or "_<letter><digit>"
// part: pi_sc_r4 is pi_sc, ms5_40_s151 is ms5).
//
// A run beyond the time limit counts as the limit; a ratio with either side
// stopped is a lower or upper bound, marked > or <.
//
// usage: zoint_instances_bench [--runs N] [--time-limit SECONDS] [--enumerate] [DIR]
//   DIR defaults to ../shared/instances (its hard/ and structure/ folders are
//   further sets). The time limit (default 300) holds for the library and CBC.
//   --enumerate times the plain enumeration instead (it may not finish on the
//   larger instances).
// Exits 1 when an answer of the library is wrong or missing, or CBC's
// optimum differs from the library's where there is no reference.
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
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

const char kNoSolution[] = "9223372036854775807";

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

std::string Family(const std::string& name) {
  for (size_t k = 0; k + 1 < name.size(); ++k) {
    if (name[k] != '_') continue;
    const char a = name[k + 1];
    const char b = k + 2 < name.size() ? name[k + 2] : '\0';
    if (std::isdigit(static_cast<unsigned char>(a)) ||
        (std::isalpha(static_cast<unsigned char>(a)) && std::isdigit(static_cast<unsigned char>(b)))) {
      return name.substr(0, k);
    }
  }
  return name;
}

std::string FirstLine(const std::string& text) {
  std::string line = text.substr(0, text.find('\n'));
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
  return line;
}

struct Ratios {
  double logSum = 0;
  int count = 0;
  int bounded = 0;  // ratios with a side stopped by the time limit
};

}  // namespace

int main(int argc, char** argv) {
  std::string root = "../shared/instances";
  int runs = 5;
  double timeLimit = 300;
  zoint::SolveRequest request = zoint::SolveRequest::Automatic;
  for (int k = 1; k < argc; ++k) {
    if (std::strcmp(argv[k], "--runs") == 0 && k + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++k]));
    } else if (std::strcmp(argv[k], "--time-limit") == 0 && k + 1 < argc) {
      timeLimit = std::atof(argv[++k]);
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

  std::printf("%-22s %4s %3s %10s %10s %8s %10s %8s %8s  %-9s %s\n", "instance", "n", "m", "library s", "cbc s",
              "ratio", "nodes", "lib MiB", "cbc MiB", "right", "cbc");
  int failures = 0, slower = 0;
  double worst = 0;
  Ratios all;
  std::map<std::string, Ratios> families;
  for (const std::string& name : names) {
    const std::string folder = root + "/" + name;
    const std::string problem = ReadFile(folder + "/ZOIntIn.dat");
    const std::string expectedSolution = ReadFile(folder + "/ZOIntOut.dat");
    const std::string expectedConsole = ReadFile(folder + "/stdout.txt");
    // The reference value: the answer file's first line, or optimum.txt.
    const std::string reference =
        !expectedSolution.empty() ? FirstLine(expectedSolution) : FirstLine(ReadFile(folder + "/optimum.txt"));
    int n = 0, m = 0;
    std::sscanf(problem.c_str(), "%d,%d", &n, &m);
    const std::string dir = std::string(scratch) + "/" + name;
    if (std::system(("mkdir -p '" + dir + "'").c_str()) != 0) return 2;
    WriteFile(dir + "/ZOIntIn.dat", problem);

    std::vector<double> library;
    bool right = true, libraryFinished = true;
    uint64_t nodes = 0;
    double peak = 0;
    std::string value;
    for (int r = 0; r < runs; ++r) {
      const LibraryRun run = CallLibrary(dir, request, timeLimit);
      library.push_back(run.seconds);
      peak = std::max(peak, run.peakMiB);
      if (!run.finished) {
        libraryFinished = false;
        break;  // a second run would stop there too
      }
      if (!expectedSolution.empty()) {
        right = right && run.solution == expectedSolution &&
                (expectedConsole.empty() || run.console == expectedConsole);
      }
      nodes = run.nodes;
      value = FirstLine(run.solution);
    }
    if (libraryFinished && expectedSolution.empty()) right = reference.empty() || value == reference;
    if (!libraryFinished) right = false;
    const double librarySeconds = Median(library);

    std::string cbcSeconds = "-", ratio = "-", cbcPeak = "-", cbcVerdict = "cbc not installed";
    if (haveCbc) {
      std::vector<double> cbc;
      double cbcMiB = 0;
      bool cbcFinished = true, cbcRight = true;
      for (int r = 0; r < runs; ++r) {
        const CbcRun run = CallCbc(folder + "/" + name + ".lp", dir, timeLimit);
        cbc.push_back(run.seconds);
        cbcMiB = std::max(cbcMiB, run.peakMiB);
        if (!run.finished) {
          cbcFinished = false;
          break;
        }
        // Against the reference, or the library's value without one.
        const std::string expected = !reference.empty() ? reference : value;
        if (expected == kNoSolution) {
          cbcRight = cbcRight && run.infeasible;
        } else {
          cbcRight = cbcRight && run.found && std::fabs(run.objective - std::atof(expected.c_str())) < 0.5;
        }
      }
      const double seconds = Median(cbc);
      const double quotient = seconds / librarySeconds;
      char text[32];
      std::snprintf(text, sizeof text, "%.4f", seconds);
      cbcSeconds = text;
      // A stopped side makes the ratio a bound: CBC stopped, at least; the
      // library stopped, at most.
      const char* mark = !cbcFinished && libraryFinished ? ">" : !libraryFinished && cbcFinished ? "<" : "";
      std::snprintf(text, sizeof text, "%s%.1f", mark, quotient);
      ratio = (!cbcFinished && !libraryFinished) ? "-" : text;
      std::snprintf(text, sizeof text, "%.1f", cbcMiB);
      cbcPeak = text;
      if (cbcFinished || libraryFinished) {
        for (Ratios* ratios : {&all, &families[Family(name)]}) {
          ratios->logSum += std::log(quotient);
          ++ratios->count;
          if (!cbcFinished || !libraryFinished) ++ratios->bounded;
        }
      }
      cbcVerdict = !cbcFinished ? "stopped at the time limit" : cbcRight ? "matches" : "WRONG";
      // Without a reference CBC is the only other witness of the value.
      if (reference.empty() && cbcFinished && !cbcRight) ++failures;
      if (librarySeconds > seconds) ++slower;
    }
    worst = std::max(worst, librarySeconds);
    if (!right) ++failures;
    std::printf("%-22s %4d %3d %10.4f %10s %8s %10llu %8.1f %8s  %-9s %s\n", name.c_str(), n, m, librarySeconds,
                cbcSeconds.c_str(), ratio.c_str(), static_cast<unsigned long long>(nodes), peak, cbcPeak.c_str(),
                !libraryFinished ? "stopped" : right ? "yes" : "NO", cbcVerdict.c_str());
    std::fflush(stdout);
  }
  std::printf("\n%zu instances, median of up to %d runs each (wall seconds, time limit %.0f s); slowest library "
              "time %.3f s; slower than CBC on %d; failures %d\n",
              names.size(), runs, timeLimit, worst, slower, failures);
  if (all.count > 0) {
    std::printf("geometric mean of CBC's time over the library's: %.2f", std::exp(all.logSum / all.count));
    std::printf(all.bounded > 0 ? " (%d ratios bounded by a time limit)\n" : "\n", all.bounded);
    if (families.size() > 1) {
      for (const auto& [family, ratios] : families) {
        std::printf("  %-12s %2d instances: %8.2f%s\n", family.c_str(), ratios.count,
                    std::exp(ratios.logSum / ratios.count), ratios.bounded > 0 ? " (bounded)" : "");
      }
    }
  }
  std::system(("rm -rf '" + std::string(scratch) + "'").c_str());
  return failures == 0 ? 0 : 1;
}
