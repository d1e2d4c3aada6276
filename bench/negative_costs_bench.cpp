// Negative costs against their complemented forms, and against CBC, in the
// same run. Each instance is a problem written as users write maximisations
// ("minimise minus the value", so costs are negative), and the same problem
// with every negative-cost variable complemented (y = 1 − x, costs ≥ 0). The
// library should take no longer on the first than on the second, and be no
// slower than CBC on the LP file of the first.
//
// Instances: seeded random ones (multidimensional knapsacks, covering with
// some negative costs) for n = 40 … 100, and, when the shared instances are
// beside the project, the first 5-row OR-Library knapsacks in their original
// maximisation form.
//
// usage: zoint_negative_costs_bench [--runs N] [--quick] [SHARED_HARD_DIR]
// Exits 1 when the two forms or CBC disagree on the optimum.
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench_support.h"
#include "support/random_problems.h"
#include "support/run_support.h"
#include "support/search_support.h"

namespace {

using zoint_bench::CallCbc;
using zoint_bench::CallLibrary;
using zoint_bench::Median;
using zoint_test::TestProblem;

struct Instance {
  std::string name;
  TestProblem problem;  // with its negative costs
};

std::string LpText(const TestProblem& p) {
  auto term = [](int64_t a, int32_t i, bool first) {
    std::string text = a < 0 ? " - " : (first ? " " : " + ");
    return text + std::to_string(a < 0 ? -a : a) + " x" + std::to_string(i);
  };
  std::string text = "Minimize\n obj:";
  bool first = true;
  for (int32_t i = 0; i < p.n; ++i) {
    if (p.c[i] == 0) continue;
    text += term(p.c[i], i, first);
    first = false;
  }
  if (first) text += " 0 x0";
  text += "\nSubject To\n";
  for (size_t j = 0; j < p.rows.size(); ++j) {
    text += " r" + std::to_string(j) + ":";
    first = true;
    for (int32_t i = 0; i < p.n; ++i) {
      if (p.rows[j][i] == 0) continue;
      text += term(p.rows[j][i], i, first);
      first = false;
    }
    if (first) text += " 0 x0";
    text += " <= " + std::to_string(p.rows[j][p.n]) + "\n";
  }
  text += "Binaries\n";
  for (int32_t i = 0; i < p.n; ++i) text += " x" + std::to_string(i) + "\n";
  return text + "End\n";
}

Instance Knapsack(uint64_t seed, int32_t n, int32_t m, bool correlated) {
  char name[64];
  std::snprintf(name, sizeof name, "knapsack%s n=%d m=%d", correlated ? " corr" : "", n, m);
  return {name, zoint_test::RandomKnapsack(seed, n, m, correlated)};
}

// Cover every row with columns of costs −5 … 20: the negative ones are
// taken for free, the rest chosen to cover what they leave.
Instance Cover(uint64_t seed, int32_t n, int32_t m) {
  std::mt19937_64 rng(seed);
  char name[64];
  std::snprintf(name, sizeof name, "cover n=%d m=%d", n, m);
  return {name, zoint_test::RandomProblem(rng, zoint_test::families::kSignedSetCovering, n, m)};
}

// A shared instance stored with every variable complemented, taken back to
// its maximisation form.
bool SharedKnapsack(const std::string& dir, const std::string& name, Instance& instance) {
  const std::string text = zoint_test::ReadFile(dir + "/" + name + "/ZOIntIn.dat");
  if (text.empty()) return false;
  std::vector<int64_t> numbers;
  const char* cursor = text.c_str();
  char* end = nullptr;
  for (;;) {
    while (*cursor != '\0' && *cursor != '-' && (*cursor < '0' || *cursor > '9')) ++cursor;
    if (*cursor == '\0') break;
    numbers.push_back(std::strtoll(cursor, &end, 10));
    cursor = end;
  }
  const int32_t n = static_cast<int32_t>(numbers[0]);
  const int32_t m = static_cast<int32_t>(numbers[1]);
  TestProblem stored{n, std::vector<int64_t>(numbers.begin() + 2, numbers.begin() + 2 + n), {}};
  for (int32_t j = 0; j < m; ++j) {
    const auto first = numbers.begin() + 2 + n + j * (n + 1);
    stored.rows.emplace_back(first, first + n + 1);
  }
  int64_t offset = 0;
  instance = {name + " (max form)",
              zoint_test::Complemented(stored, zoint_test::AllVariables(stored), &offset)};
  return true;
}

struct Timed {
  double seconds;
  int64_t value;
  std::string solution;
};

Timed TimeLibrary(const std::string& dir, const TestProblem& p, int runs) {
  zoint_test::WriteFile(dir + "/ZOIntIn.dat", zoint_test::ProblemText(p));
  std::vector<double> seconds;
  std::string solution;
  for (int r = 0; r < runs; ++r) {
    const zoint_bench::LibraryRun run = CallLibrary(dir);
    seconds.push_back(run.seconds);
    solution = run.solution;
  }
  return {Median(seconds), std::strtoll(solution.c_str(), nullptr, 10), solution};
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 3;
  bool quick = false;
  std::string shared = "../shared/instances/hard";
  for (int k = 1; k < argc; ++k) {
    if (std::strcmp(argv[k], "--runs") == 0 && k + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++k]));
    } else if (std::strcmp(argv[k], "--quick") == 0) {
      quick = true;
    } else {
      shared = argv[k];
    }
  }
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd) == nullptr) return 2;
  if (shared[0] != '/') shared = std::string(cwd) + "/" + shared;

  std::vector<Instance> instances = {Knapsack(1, 40, 5, true), Knapsack(2, 60, 5, false), Cover(3, 60, 30),
                                     Cover(4, 100, 50)};
  if (!quick) {
    instances.push_back(Knapsack(5, 60, 10, true));
    instances.push_back(Knapsack(6, 80, 5, false));
    instances.push_back(Knapsack(7, 100, 5, false));
    for (const char* name : {"cb5_00", "cb5_01", "cb5_02"}) {
      Instance instance;
      if (SharedKnapsack(shared, name, instance)) instances.push_back(instance);
    }
  }

  char scratch[] = "/tmp/zoint-negative.XXXXXX";
  if (mkdtemp(scratch) == nullptr) return 2;
  const bool haveCbc = zoint_bench::HaveCbc();
  std::printf("%-26s %4s %3s %12s %15s %7s %10s %12s  %s\n", "instance", "n", "m", "negative ms",
              "complemented ms", "ratio", "cbc ms", "optimum", "agree");
  int failures = 0;
  double logRatioCbc = 0;
  int timedAgainstCbc = 0;
  for (const Instance& instance : instances) {
    const TestProblem& negative = instance.problem;
    int64_t offset = 0;
    const TestProblem complemented = zoint_test::Complemented(negative, zoint_test::NegativeCosts(negative), &offset);
    const std::string dir = std::string(scratch) + "/" + std::to_string(&instance - instances.data());
    if (std::system(("mkdir -p '" + dir + "'").c_str()) != 0) return 2;

    const Timed asWritten = TimeLibrary(dir, negative, runs);
    const Timed asComplemented = TimeLibrary(dir, complemented, runs);
    if (chdir(cwd) != 0) return 2;
    // The same optimum, seen through the offset of the complemented costs.
    bool agree = asWritten.value == asComplemented.value + offset;

    std::string cbcMs = "-";
    if (haveCbc) {
      zoint_test::WriteFile(dir + "/problem.lp", LpText(negative));
      std::vector<double> seconds;
      bool cbcAgrees = true;
      for (int r = 0; r < runs; ++r) {
        const zoint_bench::CbcRun run = CallCbc(dir + "/problem.lp", dir);
        seconds.push_back(run.seconds);
        cbcAgrees = cbcAgrees && run.found && std::llround(run.objective) == asWritten.value;
      }
      agree = agree && cbcAgrees;
      char text[32];
      std::snprintf(text, sizeof text, "%.1f", Median(seconds) * 1e3);
      cbcMs = text;
      logRatioCbc += std::log(Median(seconds) / asWritten.seconds);
      ++timedAgainstCbc;
    }
    if (!agree) ++failures;
    std::printf("%-26s %4d %3zu %12.1f %15.1f %7.2f %10s %12lld  %s\n", instance.name.c_str(), negative.n,
                negative.rows.size(), asWritten.seconds * 1e3, asComplemented.seconds * 1e3,
                asWritten.seconds / asComplemented.seconds, cbcMs.c_str(),
                static_cast<long long>(asWritten.value), agree ? "yes" : "NO");
    std::fflush(stdout);
  }
  std::printf("\nratio: negative form time / complemented form time; median of %d runs each", runs);
  if (timedAgainstCbc > 0) {
    std::printf("; geometric mean of CBC time / library time: %.1f", std::exp(logRatioCbc / timedAgainstCbc));
  }
  std::printf("; failures %d\n", failures);
  std::system(("rm -rf '" + std::string(scratch) + "'").c_str());
  return failures == 0 ? 0 : 1;
}
