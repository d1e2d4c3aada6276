// Improves an assignment that meets every row by exchanges that keep it so:
// a variable at 1 set to 0, or one at 1 and one at 0 swapped, whenever that
// lowers the objective, until no such move is left. Everything is checked in
// exact integer arithmetic, so the result meets the rows as surely as the
// input did. The search uses it on each new best assignment, which the
// relaxation's guidance finds slowly near the optimum.
#ifndef ZOINT_LOCAL_SEARCH_H
#define ZOINT_LOCAL_SEARCH_H

#include <cstdint>

#include "exact_search/oriented_problem.h"

namespace zoint {

// y meets every row and is worth value (cost·y). Returns the improved value;
// y is changed in place.
int64_t ImproveByExchanges(const OrientedProblem& problem, int8_t* y, int64_t value);

}  // namespace zoint

#endif  // ZOINT_LOCAL_SEARCH_H
