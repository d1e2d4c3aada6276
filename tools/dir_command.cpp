// zoint [--stats] [--enumerate] [DIR]: one call of ZOInterProgram with DIR
// as the working directory, exactly as a host application makes it.
#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <direct.h>
#define chdir _chdir
#else
#include <unistd.h>
#endif

#include "cli.h"
#include "run/entry.h"
#include "stop_signal.h"

namespace zoint_cli {

namespace {

// The counters that fit the search that ran.
void PrintStats(const zoint::RunReport& stats, double seconds) {
  if (!stats.searched) {
    std::fprintf(stderr, "\nsearch: none\n");
  } else if (stats.mode == zoint::SolveMode::Enumeration) {
    std::fprintf(stderr, "\nsearch: enumeration\nnodes: %" PRIu64 "\nevaluations: %" PRIu64 "\n",
                 stats.enumeration.nodes, stats.enumeration.evaluations);
  } else {
    const zoint::ExactStats& exact = stats.exact;
    static const char* const kMethods[] = {"branch and bound", "one-row table", "sum enumeration"};
    std::fprintf(stderr, "\nsearch: exact\nmethod: %s\ntable cells: %" PRIu64 "\nsums visited: %" PRIu64,
                 kMethods[static_cast<int>(exact.method)], exact.tableCells, exact.sumsVisited);
    std::fprintf(stderr,
                 "\nnodes: %" PRIu64 "\nlp solves: %" PRIu64 "\nlp pivots: %" PRIu64
                 "\nbranch trials: %" PRIu64 "\nset aside: %" PRIu64 "\ntie boxes: %" PRIu64
                 "\nsecond pass searches: %" PRIu64 "\nfirst pass seconds: %.6f\nsecond pass seconds: %.6f\n",
                 exact.nodes, exact.lpSolves, exact.lpPivots, exact.branchTrials, exact.setAside, exact.tieBoxes,
                 exact.secondPassSearches, exact.firstPassSeconds, exact.secondPassSeconds);
  }
  std::fprintf(stderr, "seconds: %.6f\n", seconds);
}

}  // namespace

int RunDirCommand(int argc, char** argv) {
  bool stats = false;
  zoint::SolveRequest request = zoint::SolveRequest::Automatic;
  const char* dir = nullptr;
  for (int k = 1; k < argc; ++k) {
    const char* arg = argv[k];
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      std::fputs(kHelpText, stdout);
      return kExitSolved;
    }
    if (std::strcmp(arg, "--version") == 0) {
      std::puts("zoint " ZOINT_VERSION);
      return kExitSolved;
    }
    if (std::strcmp(arg, "--stats") == 0) {
      stats = true;
    } else if (std::strcmp(arg, "--enumerate") == 0) {
      request = zoint::SolveRequest::EnumerationOnly;
    } else if (arg[0] == '-' && arg[1] != '\0') {
      return UsageError("unknown option", arg);
    } else if (dir != nullptr) {
      return UsageError("more than one directory", arg);
    } else {
      dir = arg;
    }
  }
  if (dir != nullptr && chdir(dir) != 0) {
    return UsageError(std::strerror(errno), dir);
  }

  RemoveAnswerOnSignal();
  const auto start = std::chrono::steady_clock::now();
  // What ZOInterProgram does, with the search asked for and the counters kept.
  const zoint::RunReport report = zoint::CallAsHost(request);
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  // The answer is complete: a signal from now on need not remove it.
  DefaultActionOnSignal();

  if (stats) {
    std::fflush(stdout);
    PrintStats(report, seconds.count());
  }
  // The call returns 0.0 whatever happened; the warning it showed tells.
  return report.warning == zoint::Failure::None ? kExitSolved : kExitBadInput;
}

}  // namespace zoint_cli
