// zoint_solve: the direct C API over the exact search. Everything a call
// uses lives on its own stack or heap, so calls may overlap freely.
#include "zoint/zoint_api.h"

#include <cmath>
#include <memory>
#include <new>

#include "exact_search/exact_search.h"
#include "platform/float_environment.h"
#include "problem/problem.h"

#if defined(__GNUC__) && !defined(_WIN32)
#define ZOINT_API_EXPORT __attribute__((visibility("default")))
#else
// The Windows DLL exports ZOInterProgram alone, through its .def file.
#define ZOINT_API_EXPORT
#endif

namespace zoint {
namespace {

static_assert(ZOINT_MAX_VARIABLES == MaxVariables && ZOINT_MAX_CONSTRAINTS == MaxConstraints,
              "the header's limits are the library's");

struct ProgressBridge {
  zoint_progress_callback callback;
  void* userData;
};

void ReportProgress(const ExactProgress& progress, void* data) {
  const ProgressBridge* bridge = static_cast<const ProgressBridge*>(data);
  const zoint_progress report{progress.seconds, progress.nodes, progress.hasSolution ? 1 : 0,
                              progress.bestValue, progress.bound};
  bridge->callback(&report, bridge->userData);
}

// A negative or NaN number of seconds is a caller's mistake, not "no limit".
bool ValidSeconds(double seconds) { return !std::isnan(seconds) && seconds >= 0; }

bool ValidArguments(int32_t n, int32_t m, const int64_t* costs, const int64_t* rows, const int64_t* rhs,
                    const zoint_options* options, const int64_t* value, const int32_t* x) {
  if (value == nullptr) return false;
  if (n > 0 && (costs == nullptr || x == nullptr)) return false;
  if (n > 0 && m > 0 && rows == nullptr) return false;
  if (m > 0 && rhs == nullptr) return false;
  if (options != nullptr && (!ValidSeconds(options->time_limit) || !ValidSeconds(options->progress_interval)))
    return false;
  return true;
}

void Load(int32_t n, int32_t m, const int64_t* costs, const int64_t* rows, const int64_t* rhs,
          Problem& problem) {
  problem.n = n;
  problem.m = m;
  for (int32_t i = 0; i < n; ++i) problem.coefficients[i] = costs[i];
  for (int32_t j = 0; j < m; ++j) {
    for (int32_t i = 0; i < n; ++i) problem.rows[j].entries[i] = rows[static_cast<int64_t>(j) * n + i];
    problem.rows[j].entries[RhsColumn] = rhs[j];
  }
}

ExactOptions EngineOptions(const zoint_options* options, ProgressBridge& bridge) {
  ExactOptions engine;
  if (options == nullptr) return engine;
  engine.timeLimitSeconds = options->time_limit;
  engine.nodeLimit = options->node_limit;
  engine.cancel = options->cancel;
  if (options->progress != nullptr) {
    bridge = {options->progress, options->user_data};
    engine.progress = ReportProgress;
    engine.progressData = &bridge;
  }
  if (options->progress_interval > 0) engine.progressInterval = options->progress_interval;
  return engine;
}

zoint_status Solve(int32_t n, int32_t m, const int64_t* costs, const int64_t* rows, const int64_t* rhs,
                   const zoint_options* options, int64_t* value, int32_t* x) {
  if (n < 0 || n > MaxVariables || m < 0 || m > MaxConstraints) return ZOINT_BAD_SIZE;
  if (!ValidArguments(n, m, costs, rows, rhs, options, value, x)) return ZOINT_BAD_ARGUMENT;
  // About 40 kB, zeroed: on the heap, so that hosts' threads with small
  // stacks are safe.
  const std::unique_ptr<Problem> problem(new Problem());
  Load(n, m, costs, rows, rhs, *problem);
  if (!NoSumCanWrap(*problem)) return ZOINT_OUT_OF_RANGE;

  ProgressBridge bridge{nullptr, nullptr};
  const ExactResult result = SolveExact(*problem, EngineOptions(options, bridge));
  *value = result.value;
  for (int32_t i = 0; i < n; ++i) x[i] = result.x[i];
  switch (result.status) {
    case ExactStatus::Optimal:
      return ZOINT_OPTIMAL;
    case ExactStatus::Infeasible:
      return ZOINT_INFEASIBLE;
    case ExactStatus::Stopped:
      break;
  }
  return ZOINT_STOPPED;
}

}  // namespace
}  // namespace zoint

extern "C" ZOINT_API_EXPORT zoint_status zoint_solve(int32_t n, int32_t m, const int64_t* costs,
                                                     const int64_t* rows, const int64_t* rhs,
                                                     const zoint_options* options, int64_t* value,
                                                     int32_t* x) {
  // The caller's floating-point settings are set aside for the call and put
  // back on every way out, as for ZOInterProgram (see float_environment.cpp).
  const zoint::platform::LibraryFloatEnvironment floatEnvironment;
  try {
    return zoint::Solve(n, m, costs, rows, rhs, options, value, x);
  } catch (const std::bad_alloc&) {
    // The engine throws nothing else.
    return ZOINT_OUT_OF_MEMORY;
  }
}
