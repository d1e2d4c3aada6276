// zoint [--stats] [--enumerate] [DIR]: one call of ZOInterProgram with DIR
// as the working directory, exactly as a host application makes it.
#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#define chdir _chdir
#define write _write
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

// What --stats tells when a signal stops the call: the search that was
// running, the counters that are known while it runs (the enumeration's;
// the exact search hands its counters over when it ends) and the seconds
// so far. It runs in the signal handler: no allocation, no stdio.
std::chrono::steady_clock::time_point g_callStart;
zoint::RunWatch g_watch;

struct StopReport {
  char text[256];
  size_t length;

  void Add(const char* part) {
    while (*part != '\0' && length < sizeof text) text[length++] = *part++;
  }

  void Add(uint64_t number, int minimumDigits = 1) {
    char digits[24];
    int count = 0;
    do {
      digits[count++] = static_cast<char>('0' + number % 10);
      number /= 10;
    } while (number != 0 || count < minimumDigits);
    while (count > 0 && length < sizeof text) text[length++] = digits[--count];
  }
};

void ReportStoppedRun() {
  const auto elapsed = std::chrono::steady_clock::now() - g_callStart;
  const uint64_t microseconds =
      static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count());
  StopReport report{{}, 0};
  const zoint::EnumerationCounters* counters = g_watch.enumeration;
  if (!g_watch.searching) {
    report.Add("\nsearch: none\n");
  } else if (g_watch.mode == zoint::SolveMode::Enumeration && counters != nullptr) {
    report.Add("\nsearch: enumeration, stopped before its end\nnodes: ");
    report.Add(counters->nodes);
    report.Add("\nevaluations: ");
    report.Add(counters->evaluations);
    report.Add("\n");
  } else {
    report.Add("\nsearch: exact, stopped before its end (its counters are known only when it ends)\n");
  }
  report.Add("seconds: ");
  report.Add(microseconds / 1000000);
  report.Add(".");
  report.Add(microseconds % 1000000, 6);
  report.Add("\n");
  if (write(2, report.text, static_cast<unsigned>(report.length)) < 0) {
    // Nothing left to tell it to.
  }
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

  const auto start = std::chrono::steady_clock::now();
  g_callStart = start;
  RemoveAnswerOnSignal(stats ? ReportStoppedRun : nullptr);
  // What ZOInterProgram does, with the search asked for, watched, and the
  // counters kept.
  const zoint::RunReport report = zoint::CallAsHost(request, &g_watch);
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
