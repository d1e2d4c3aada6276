// zoint: command-line host. Makes one call of ZOInterProgram in a directory,
// exactly as a host application would.
#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <direct.h>
#define chdir _chdir
#else
#include <unistd.h>
#endif

#include "enumeration/search.h"
#include "run/solver_state.h"
#include "zoint/ZOInt.h"

namespace {

const char kUsage[] = "usage: zoint [--stats] [--enumerate] [DIR]\n       zoint --help\n";

const char kHelp[] =
    "zoint: solves the 0-1 program in DIR/ZOIntIn.dat (default: the current\n"
    "directory) and writes the answer to DIR/ZOIntOut.dat.\n"
    "\n"
    "  minimise c.x  subject to  a_j.x <= b_j for every row j,  x in {0,1}^n\n"
    "\n"
    "ZOIntIn.dat, decimal integers separated by commas:\n"
    "  line 1      n,m              (n <= 100 variables, m <= 50 rows)\n"
    "  line 2      c_0,...,c_n-1,\n"
    "  lines 3...  a_j0,...,a_jn-1,b_j   one line per row\n"
    "ZOIntOut.dat:\n"
    "  line 1      the best objective value (9223372036854775807: none)\n"
    "  line 2      x_0,...,x_n-1    (only when n >= 1)\n"
    "\n"
    "Options:\n"
    "  --stats     also print the search that ran, its counters and the seconds\n"
    "              taken, on standard error\n"
    "  --enumerate always run the plain enumeration, even where the exact search\n"
    "              would run (for testing and comparison; with negative costs its\n"
    "              answer may not be the optimum)\n"
    "  --help      print this text\n"
    "  --version   print the version\n";

int UsageError(const char* what, const char* argument) {
  std::fprintf(stderr, "zoint: %s: %s\n%s", what, argument, kUsage);
  return 2;
}

// The counters that fit the search that ran.
void PrintStats(double seconds) {
  const zoint::Stats& stats = zoint::g_stats;
  switch (stats.search) {
    case zoint::SearchKind::None:
      std::fprintf(stderr, "\nsearch: none\n");
      break;
    case zoint::SearchKind::Enumeration:
      std::fprintf(stderr, "\nsearch: enumeration\nnodes: %" PRIu64 "\nevaluations: %" PRIu64 "\n",
                   stats.nodes, stats.evaluations);
      break;
    case zoint::SearchKind::Exact:
      std::fprintf(stderr,
                   "\nsearch: exact\nnodes: %" PRIu64 "\nlp solves: %" PRIu64
                   "\nsecond pass searches: %" PRIu64
                   "\nfirst pass seconds: %.6f\nsecond pass seconds: %.6f\n",
                   stats.exact.nodes, stats.exact.lpSolves, stats.exact.secondPassSearches,
                   stats.exact.firstPassSeconds, stats.exact.secondPassSeconds);
      break;
  }
  std::fprintf(stderr, "seconds: %.6f\n", seconds);
}

}  // namespace

int main(int argc, char** argv) {
  bool stats = false;
  const char* dir = nullptr;
  for (int k = 1; k < argc; ++k) {
    const char* arg = argv[k];
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      std::fputs(kHelp, stdout);
      return 0;
    }
    if (std::strcmp(arg, "--version") == 0) {
      std::puts("zoint " ZOINT_VERSION);
      return 0;
    }
    if (std::strcmp(arg, "--stats") == 0) {
      stats = true;
    } else if (std::strcmp(arg, "--enumerate") == 0) {
      zoint::g_searchMode = zoint::SearchMode::EnumerationOnly;
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
  ZOInterProgram(0);
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;

  if (stats) {
    std::fflush(stdout);
    PrintStats(seconds.count());
  }
  return 0;
}
