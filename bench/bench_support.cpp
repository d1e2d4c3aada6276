#include "bench_support.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "run/entry.h"
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

namespace {

double Seconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

// ru_maxrss is in KiB on Linux.
double PeakMiB(const rusage& usage) { return static_cast<double>(usage.ru_maxrss) / 1024.0; }

// The search a report names, as a number for run.txt and back.
int SearchCode(const zoint::RunReport& report) {
  if (!report.searched) return 0;
  return report.mode == zoint::SolveMode::Exact ? 2 : 1;
}

const char* SearchName(int code) {
  static const char* const kNames[] = {"none", "enumeration", "exact"};
  return code >= 0 && code <= 2 ? kNames[code] : "none";
}

// In the child: the call, timed, then its figures as one line of run.txt.
[[noreturn]] void CallInChild(const std::string& dir, zoint::SolveRequest request) {
  if (chdir(dir.c_str()) != 0) _exit(2);
  const int console = open("console.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (console < 0 || dup2(console, 1) < 0) _exit(2);
  close(console);
  const double cpuStart = ProcessCpuSeconds();
  const auto start = Clock::now();
  // What ZOInterProgram does, with the search asked for and the counters kept.
  const zoint::RunReport stats = zoint::CallAsHost(request);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const double cpuSeconds = ProcessCpuSeconds() - cpuStart;
  std::fflush(stdout);
  const uint64_t nodes = stats.mode == zoint::SolveMode::Exact ? stats.exact.nodes : stats.enumeration.nodes;
  FILE* report = std::fopen("run.txt", "w");
  if (report == nullptr) _exit(2);
  std::fprintf(report, "%.9f %.9f %llu %d\n", seconds, cpuSeconds, static_cast<unsigned long long>(nodes),
               SearchCode(stats));
  _exit(std::fclose(report) == 0 ? 0 : 2);
}

}  // namespace

LibraryRun CallLibrary(const std::string& dir, zoint::SolveRequest request, double timeLimit) {
  LibraryRun run{};
  std::fflush(stdout);
  std::fflush(stderr);
  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid < 0) std::abort();
  if (pid == 0) CallInChild(dir, request);
  int status = 0;
  rusage usage{};
  // Polled, so that a call beyond the time limit can be ended.
  pid_t done = 0;
  while ((done = wait4(pid, &status, WNOHANG, &usage)) == 0) {
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (timeLimit > 0 && seconds >= timeLimit) {
      kill(pid, SIGKILL);
      wait4(pid, &status, 0, &usage);
      run.seconds = seconds;
      run.peakMiB = PeakMiB(usage);
      run.search = "stopped";
      return run;
    }
    usleep(seconds < 1 ? 200 : 5000);
  }
  if (done != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "the call in %s did not complete\n", dir.c_str());
    std::abort();
  }
  run.finished = true;
  run.peakMiB = PeakMiB(usage);
  unsigned long long nodes = 0;
  int search = 0;
  const std::string report = ReadFile(dir + "/run.txt");
  if (std::sscanf(report.c_str(), "%lf %lf %llu %d", &run.seconds, &run.cpuSeconds, &nodes, &search) != 4) {
    std::abort();
  }
  run.nodes = nodes;
  run.search = SearchName(search);
  run.console = ReadFile(dir + "/console.txt");
  run.solution = ReadFile(dir + "/ZOIntOut.dat");
  return run;
}

CbcRun CallCbc(const std::string& lp, const std::string& dir, double timeLimit) {
  CbcRun run{false, 0, 0, 0, false, 0, false};
  const std::string log = dir + "/cbc.log";
  // Started directly, without a shell, so only CBC's own start-up is timed.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  std::string program = "cbc", file = lp, limitOption = "-sec", limit = std::to_string(timeLimit), verb = "solve";
  char* withLimit[] = {&program[0], &file[0], &limitOption[0], &limit[0], &verb[0], nullptr};
  char* withoutLimit[] = {&program[0], &file[0], &verb[0], nullptr};
  char** arguments = timeLimit > 0 ? withLimit : withoutLimit;
  const auto start = Clock::now();
  pid_t pid = 0;
  int status = -1;
  rusage usage{};
  if (posix_spawnp(&pid, "cbc", &actions, nullptr, arguments, environ) == 0) wait4(pid, &status, 0, &usage);
  run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  run.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  run.peakMiB = PeakMiB(usage);
  posix_spawn_file_actions_destroy(&actions);
  if (status != 0) return run;
  const std::string text = ReadFile(log);
  run.finished = text.find("Stopped on time") == std::string::npos;
  run.infeasible = text.find("Problem proven infeasible") != std::string::npos;
  const size_t at = text.find("Objective value:");
  if (text.find("Optimal solution found") == std::string::npos || at == std::string::npos) return run;
  run.found = std::sscanf(text.c_str() + at, "Objective value: %lf", &run.objective) == 1;
  return run;
}

bool HaveCbc() { return std::system("command -v cbc >/dev/null 2>&1") == 0; }

}  // namespace zoint_bench
