// The limits of one search and its progress reports: elapsed time, nodes,
// the caller's cancel flag. The search asks once per node whether to stop,
// so it stops within one node's work of a limit being reached.
#ifndef ZOINT_SEARCH_LIMITS_H
#define ZOINT_SEARCH_LIMITS_H

#include <chrono>
#include <cstdint>

#include "exact_search/exact_search.h"

namespace zoint {

struct SearchLimits {
  ExactOptions options;
  std::chrono::steady_clock::time_point start;
  double nextProgress;  // seconds since start at which progress is next reported
  uint64_t nodes;       // nodes explored so far
  bool stopped;         // a limit was reached; once set it stays set
  // What progress reports, in the caller's objective (x, not y).
  bool hasSolution;
  int64_t bestValue;
  int64_t bound;  // only ever rises
  // Called just before a report, so that the search can raise bound to the
  // least bound of the nodes it still has open; may be null.
  void (*refreshBound)(void* data);
  void* refreshData;
  bool reported;  // a progress report was made
};

void StartLimits(SearchLimits& limits, const ExactOptions& options, int64_t trivialBound);

double ElapsedSeconds(const SearchLimits& limits);

// Returns true when the search must stop now, reporting progress first when
// it is due. For methods without nodes, between steps of their work.
bool LimitReached(SearchLimits& limits);

// Returns true when the search must stop before the next node; otherwise
// counts that node, reporting progress first when it is due.
bool CountNodeAndCheck(SearchLimits& limits);

// Raises the reported bound to value (in the caller's objective) when that
// is higher: the bound never falls.
void RaiseBound(SearchLimits& limits, int64_t value);

// The last report, made when a search that has reported ends with a proven
// optimum or is stopped: its best and bound are the optimum, or the best
// found and the best proven when stopped. None for a search that ended
// before its first report, nor for a proven infeasible problem.
void ReportEnd(SearchLimits& limits, const ExactResult& result);

}  // namespace zoint

#endif  // ZOINT_SEARCH_LIMITS_H
