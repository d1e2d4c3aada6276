#include "exact_search/search_limits.h"

#include <cmath>

#include "exact_search/parameters.h"

namespace zoint {

void StartLimits(SearchLimits& limits, const ExactOptions& options, int64_t trivialBound) {
  limits.options = options;
  limits.start = std::chrono::steady_clock::now();
  const double interval = options.progressInterval;
  // A NaN, negative or zero interval would report at every node.
  limits.options.progressInterval =
      interval > parameters::kLeastProgressInterval ? interval : parameters::kLeastProgressInterval;
  limits.nextProgress = limits.options.progressInterval;
  limits.nodes = 0;
  limits.stopped = false;
  limits.hasSolution = false;
  limits.bestValue = NoSolutionValue;
  limits.bound = trivialBound;
  limits.refreshBound = nullptr;
  limits.refreshData = nullptr;
  limits.reported = false;
}

void RaiseBound(SearchLimits& limits, int64_t value) {
  if (value > limits.bound) limits.bound = value;
}

namespace {

void Report(SearchLimits& limits, double seconds) {
  const ExactProgress progress{seconds, limits.nodes, limits.hasSolution, limits.bestValue, limits.bound};
  limits.reported = true;
  limits.options.progress(progress, limits.options.progressData);
}

}  // namespace

void ReportEnd(SearchLimits& limits, const ExactResult& result) {
  if (limits.options.progress == nullptr || !limits.reported || result.status == ExactStatus::Infeasible) return;
  if (result.hasSolution) {
    limits.hasSolution = true;
    limits.bestValue = result.value;
  }
  if (result.status == ExactStatus::Optimal) RaiseBound(limits, result.value);
  Report(limits, ElapsedSeconds(limits));
}

double ElapsedSeconds(const SearchLimits& limits) {
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - limits.start;
  return elapsed.count();
}

bool LimitReached(SearchLimits& limits) {
  if (limits.stopped) return true;
  const ExactOptions& options = limits.options;
  // The clock is read only where someone is waiting on it.
  const bool timed = options.timeLimitSeconds > 0;
  if (timed || options.progress != nullptr) {
    const double seconds = ElapsedSeconds(limits);
    if (timed && seconds >= options.timeLimitSeconds) limits.stopped = true;
    if (options.progress != nullptr && seconds >= limits.nextProgress) {
      limits.nextProgress = seconds + options.progressInterval;
      if (limits.refreshBound != nullptr) limits.refreshBound(limits.refreshData);
      Report(limits, seconds);
    }
  }
  // After the report, so that a flag the callback raises takes effect at once.
  if (options.cancel != nullptr && *options.cancel != 0) limits.stopped = true;
  if (options.nodeLimit != 0 && limits.nodes >= options.nodeLimit) limits.stopped = true;
  return limits.stopped;
}

bool CountNodeAndCheck(SearchLimits& limits) {
  if (LimitReached(limits)) return true;
  ++limits.nodes;
  return false;
}

}  // namespace zoint
