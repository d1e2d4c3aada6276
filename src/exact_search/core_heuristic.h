// A first good assignment before the proof starts. The root's relaxation
// leaves most variables at 0 or 1, and the optimum seldom differs from it in
// many of them: mostly in those whose reduced cost is small. So the search is
// first run, with a node budget each, on growing cores of the variables with
// the smallest reduced costs, every other variable held at its relaxed value.
// What it finds is recorded as any find; the proof then starts with that
// cutoff. Fixing variables only restricts where it looks, so nothing found
// can be wrong, and nothing is concluded from what it does not find.
#ifndef ZOINT_CORE_HEURISTIC_H
#define ZOINT_CORE_HEURISTIC_H

#include "exact_search/branch_and_bound.h"

namespace zoint {

// Requires dive.useLp and the first pass's start: level 0 with every
// variable free, no ties collected. Leaves level 0's fixing and basis as the
// root's, and slot scratchLevel used.
void SearchCores(Dive& dive, int32_t scratchLevel);

}  // namespace zoint

#endif  // ZOINT_CORE_HEURISTIC_H
