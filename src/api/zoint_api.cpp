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

zoint_status StatusOf(ExactStatus status) {
  switch (status) {
    case ExactStatus::Optimal:
      return ZOINT_OPTIMAL;
    case ExactStatus::Infeasible:
      return ZOINT_INFEASIBLE;
    case ExactStatus::Stopped:
      break;
  }
  return ZOINT_STOPPED;
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
  return StatusOf(result.status);
}

bool ValidListRequest(int32_t n, zoint_list_kind kind, int64_t gap, int32_t capacity, const int64_t* values,
                      const int32_t* xs, const int32_t* count, const int32_t* complete) {
  if (kind != ZOINT_LIST_BEST && kind != ZOINT_LIST_OPTIMAL && kind != ZOINT_LIST_WITHIN_GAP) return false;
  if (capacity < 1 || (kind == ZOINT_LIST_WITHIN_GAP && gap < 0)) return false;
  return values != nullptr && (n == 0 || xs != nullptr) && count != nullptr && complete != nullptr;
}

zoint_status SolveList(int32_t n, int32_t m, const int64_t* costs, const int64_t* rows, const int64_t* rhs,
                       const zoint_options* options, zoint_list_kind kind, int64_t gap, int32_t capacity,
                       int64_t* values, int32_t* xs, int32_t* count, int32_t* complete) {
  if (n < 0 || n > MaxVariables || m < 0 || m > MaxConstraints) return ZOINT_BAD_SIZE;
  int64_t unusedValue = 0;
  if (!ValidArguments(n, m, costs, rows, rhs, options, &unusedValue, xs) ||
      !ValidListRequest(n, kind, gap, capacity, values, xs, count, complete)) {
    return ZOINT_BAD_ARGUMENT;
  }
  const std::unique_ptr<Problem> problem(new Problem());
  Load(n, m, costs, rows, rhs, *problem);
  if (!NoSumCanWrap(*problem)) return ZOINT_OUT_OF_RANGE;

  ProgressBridge bridge{nullptr, nullptr};
  const ListKind kinds[] = {ListKind::Best, ListKind::Optimal, ListKind::WithinGap};
  const ListRequest request{kinds[kind], static_cast<uint64_t>(capacity), kind == ZOINT_LIST_WITHIN_GAP ? gap : 0};
  const ListResult result = ListSolutions(*problem, EngineOptions(options, bridge), request);
  const size_t listed = result.answers.size();
  for (size_t k = 0; k < listed; ++k) {
    values[k] = result.answers[k].value;
    for (int32_t i = 0; i < n; ++i) xs[k * static_cast<size_t>(n) + static_cast<size_t>(i)] = result.answers[k].x[i];
  }
  *count = static_cast<int32_t>(listed);
  *complete = result.complete ? 1 : 0;
  return StatusOf(result.status);
}

}  // namespace
}  // namespace zoint

extern "C" ZOINT_API_EXPORT zoint_status zoint_solve_list(int32_t n, int32_t m, const int64_t* costs,
                                                          const int64_t* rows, const int64_t* rhs,
                                                          const zoint_options* options, zoint_list_kind kind,
                                                          int64_t gap, int32_t capacity, int64_t* values,
                                                          int32_t* xs, int32_t* count, int32_t* complete) {
  const zoint::platform::LibraryFloatEnvironment floatEnvironment;
  try {
    return zoint::SolveList(n, m, costs, rows, rhs, options, kind, gap, capacity, values, xs, count, complete);
  } catch (const std::bad_alloc&) {
    return ZOINT_OUT_OF_MEMORY;
  }
}

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
