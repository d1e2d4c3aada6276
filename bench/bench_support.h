// What the benchmarks against CBC share: one timed call of the library in a
// folder, as a host makes it, and one timed run of CBC on an LP file.
#ifndef ZOINT_BENCH_SUPPORT_H
#define ZOINT_BENCH_SUPPORT_H

#include <cstdint>
#include <string>
#include <vector>

#include "run/run_report.h"

namespace zoint_bench {

double Median(std::vector<double> values);

// CPU seconds of this process so far.
double ProcessCpuSeconds();

struct LibraryRun {
  bool finished;      // false when the time limit ended it; then only seconds is meaningful
  double seconds;     // wall time of the call, files included
  double cpuSeconds;  // CPU time of the call
  uint64_t nodes;     // search nodes, of whichever search ran
  double peakMiB;     // peak resident memory of the process that made the call
  std::string console;
  std::string solution;
  const char* search;  // "exact", "enumeration" or "none"
};

// One call as ZOInterProgram makes it, with the search chosen by request, in
// dir, made in a child process of its own (so that its peak memory is its
// own), with standard output sent to a file there. The working directory of
// the caller is unchanged.
// With a positive timeLimit the child is killed after that many seconds.
LibraryRun CallLibrary(const std::string& dir,
                       zoint::SolveRequest request = zoint::SolveRequest::Automatic, double timeLimit = 0);

struct CbcRun {
  bool finished;      // false when its time limit stopped it
  double seconds;     // wall time of the whole process
  double cpuSeconds;  // its CPU time
  double peakMiB;     // its peak resident memory
  bool found;         // CBC reported an optimal solution
  double objective;   // and this objective value
  bool infeasible;    // CBC reported the problem infeasible
};

// `cbc FILE solve` (with `-sec LIMIT` first when timeLimit > 0), whole
// process, its log kept in dir/cbc.log; the optimum read from "Objective
// value:" when CBC reports it optimal.
CbcRun CallCbc(const std::string& lp, const std::string& dir, double timeLimit = 0);

// Whether cbc can be started.
bool HaveCbc();

}  // namespace zoint_bench

#endif  // ZOINT_BENCH_SUPPORT_H
