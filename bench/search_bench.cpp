// Node rate of the library's search against the word-for-word one, on a
// fixed seeded instance set. Each search runs in a child process, so its
// peak resident memory is its own.
//
//   search_bench            the full set (several minutes: the word-for-word
//                           search takes 5–60 s an instance)
//   search_bench --quick    small instances, a smoke run of a few seconds
//   search_bench --library-only [--quick]   skip the word-for-word search
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>

#include "instance_families.h"
#include "oracle/literal_search.h"
#include "support/search_support.h"

namespace {

using zoint_bench::Instance;
using zoint_test::SearchResult;

struct Measured {
  SearchResult result;
  double seconds;
  long peakKb;
};

// What the child sends back: the result without its vector, plus a digest of it.
struct Report {
  int64_t value;
  uint64_t nodes, evaluations;
  uint64_t vectorBits[2];
  double seconds;
};

template <typename Search>
Measured RunInChild(const Instance& instance, Search search) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) std::perror("pipe");
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid == 0) {
    close(pipeFds[0]);
    const auto start = std::chrono::steady_clock::now();
    const SearchResult r = search(instance.problem);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    Report report{r.value, r.nodes, r.evaluations, {0, 0}, took.count()};
    for (size_t i = 0; i < r.vector.size(); ++i) {
      if (r.vector[i] != 0) report.vectorBits[i / 64] |= uint64_t{1} << (i % 64);
    }
    if (write(pipeFds[1], &report, sizeof report) != static_cast<ssize_t>(sizeof report)) _exit(1);
    _exit(0);
  }
  close(pipeFds[1]);
  Report report{};
  const bool got = read(pipeFds[0], &report, sizeof report) == static_cast<ssize_t>(sizeof report);
  close(pipeFds[0]);
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  if (!got || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "search of %s failed in its child process\n", instance.name.c_str());
  }
  Measured m{{report.value, {}, report.nodes, report.evaluations}, report.seconds, usage.ru_maxrss};
  for (int32_t i = 0; i < instance.problem.n; ++i) {
    m.result.vector.push_back((report.vectorBits[i / 64] >> (i % 64)) & 1);
  }
  return m;
}

// Sizes and seeds chosen so that the word-for-word search takes 5–60 s on
// each instance here.
std::vector<Instance> FullSet() {
  using namespace zoint_bench;
  return {
      SetCovering(40, 40, 6, 2), SetCovering(45, 45, 6, 3),  SetCovering(50, 50, 6, 10),
      Knapsack(32, 5, 2),        Knapsack(33, 5, 1),         Knapsack(34, 10, 1),
      Knapsack(35, 8, 2),        SetCovering(92, 46, 70, 2),
  };
}

std::vector<Instance> QuickSet() {
  using namespace zoint_bench;
  return {SetCovering(30, 30, 6, 1), Knapsack(24, 5, 2), SetCovering(90, 40, 90, 4)};
}

}  // namespace

int main(int argc, char** argv) {
  bool quick = false;
  bool libraryOnly = false;
  for (int k = 1; k < argc; ++k) {
    if (std::strcmp(argv[k], "--quick") == 0) {
      quick = true;
    } else if (std::strcmp(argv[k], "--library-only") == 0) {
      libraryOnly = true;
    } else {
      std::fprintf(stderr, "usage: search_bench [--quick] [--library-only]\n");
      return 2;
    }
  }
  const std::vector<Instance> instances = quick ? QuickSet() : FullSet();

  std::printf("%-22s %12s %12s | %9s %12s %9s | %9s %12s %9s | %7s %s\n", "instance", "nodes", "evaluations",
              "lib s", "lib nodes/s", "lib KB", "literal s", "lit nodes/s", "lit KB", "ratio", "same");
  bool allSame = true;
  for (const Instance& instance : instances) {
    const Measured lib = RunInChild(instance, zoint_test::SpecifiedSearch);
    if (libraryOnly) {
      std::printf("%-22s %12" PRIu64 " %12" PRIu64 " | %9.3f %12.0f %9ld |\n", instance.name.c_str(),
                  lib.result.nodes, lib.result.evaluations, lib.seconds,
                  lib.result.nodes / (lib.seconds > 0 ? lib.seconds : 1e-9), lib.peakKb);
      continue;
    }
    const Measured lit = RunInChild(instance, zoint_test::LiteralSearch);
    const bool same = lib.result == lit.result;
    allSame = allSame && same;
    const double libRate = lib.result.nodes / (lib.seconds > 0 ? lib.seconds : 1e-9);
    const double litRate = lit.result.nodes / (lit.seconds > 0 ? lit.seconds : 1e-9);
    std::printf("%-22s %12" PRIu64 " %12" PRIu64 " | %9.3f %12.0f %9ld | %9.3f %12.0f %9ld | %6.1fx %s\n",
                instance.name.c_str(), lib.result.nodes, lib.result.evaluations, lib.seconds, libRate,
                lib.peakKb, lit.seconds, litRate, lit.peakKb, libRate / litRate, same ? "yes" : "NO");
    std::fflush(stdout);
  }
  std::printf(
      "ratio: library node rate / word-for-word node rate; same: value, vector, nodes and evaluations\n");
  return allSame ? 0 : 1;
}
