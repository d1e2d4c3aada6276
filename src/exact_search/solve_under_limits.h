// The single answer under limits a caller already started, for searches
// that need it as their first step (the lists of answers).
#ifndef ZOINT_SOLVE_UNDER_LIMITS_H
#define ZOINT_SOLVE_UNDER_LIMITS_H

#include "exact_search/exact_search.h"
#include "exact_search/search_limits.h"

namespace zoint {

// Σ of the negative costs: no assignment is worth less.
int64_t LeastConceivableValue(const Problem& problem);

// SolveExact's answer, with the time spent and nodes counted in limits.
ExactResult SolveUnderLimits(const Problem& problem, SearchLimits& limits);

}  // namespace zoint

#endif  // ZOINT_SOLVE_UNDER_LIMITS_H
