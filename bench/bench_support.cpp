#include "bench_support.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "run/solver_state.h"
#include "support/run_support.h"
#include "zoint/ZOInt.h"

namespace zoint_bench {

using zoint_test::ReadFile;
using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

LibraryRun CallLibrary(const std::string& dir) {
  LibraryRun run{};
  if (chdir(dir.c_str()) != 0) std::abort();
  std::fflush(stdout);
  const int saved = dup(1);
  const int console = open("console.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  dup2(console, 1);
  close(console);
  const double cpuStart = ProcessCpuSeconds();
  const auto start = Clock::now();
  ZOInterProgram(0);
  run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  run.cpuSeconds = ProcessCpuSeconds() - cpuStart;
  std::fflush(stdout);
  dup2(saved, 1);
  close(saved);
  run.console = ReadFile("console.txt");
  run.solution = ReadFile("ZOIntOut.dat");
  switch (zoint::g_stats.search) {
    case zoint::SearchKind::Exact:
      run.search = "exact";
      break;
    case zoint::SearchKind::Enumeration:
      run.search = "enumeration";
      break;
    case zoint::SearchKind::None:
      run.search = "none";
      break;
  }
  return run;
}

CbcRun CallCbc(const std::string& lp, const std::string& dir) {
  CbcRun run{0, 0, false, 0};
  const std::string log = dir + "/cbc.log";
  // Started directly, without a shell, so only CBC's own start-up is timed.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  std::string program = "cbc", file = lp, verb = "solve";
  char* arguments[] = {&program[0], &file[0], &verb[0], nullptr};
  const auto start = Clock::now();
  pid_t pid = 0;
  int status = -1;
  rusage usage{};
  if (posix_spawnp(&pid, "cbc", &actions, nullptr, arguments, environ) == 0) wait4(pid, &status, 0, &usage);
  run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
  posix_spawn_file_actions_destroy(&actions);
  if (status != 0) return run;
  const std::string text = ReadFile(log);
  const size_t at = text.find("Objective value:");
  if (text.find("Optimal solution found") == std::string::npos || at == std::string::npos) return run;
  run.found = std::sscanf(text.c_str() + at, "Objective value: %lf", &run.objective) == 1;
  return run;
}

bool HaveCbc() { return std::system("command -v cbc >/dev/null 2>&1") == 0; }

}  // namespace zoint_bench
