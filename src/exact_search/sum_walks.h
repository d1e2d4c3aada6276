// The two walks of the enumeration of sums, each over the pair sums of the
// left half in increasing order and those of the right half in decreasing
// order: one meets a target exactly (equations), the other finds the
// largest sum at or below a bound (a subset sum). The left half holds the
// lower-numbered variables, so an assignment's place in the lexicographic
// order is its left part's, then its right part's.
#ifndef ZOINT_SUM_WALKS_H
#define ZOINT_SUM_WALKS_H

#include <cstdint>

#include "exact_search/search_limits.h"
#include "exact_search/sum_lists.h"
#include "exact_search/sum_problem.h"
#include "exact_search/tie_boxes.h"

namespace zoint {

// The best assignment found: least objective, then lexicographically
// smallest, over the enumerated variables.
struct SumCandidate {
  bool found;
  int64_t cost;
  LexKey bits;
};

struct SumSearch {
  const Problem* problem;
  const SumProblem* sums;
  SearchLimits* limits;
  QuarterList quarters[4];  // the left half's two, then the right half's two (negated)
  uint64_t sumsVisited;
  uint64_t pairsChecked;  // against the checked rows, one by one
  SumCandidate best;
};

enum class WalkOutcome {
  Finished,  // walked to the end
  Stopped,   // a limit or the cancel flag
  GaveUp,    // too many pairs share their sums; the enumeration declines
};

// Builds the four lists. False when some vector of a half's key sums is
// certainly shared by more pairs than a window holds: the walks would give
// up, so the enumeration declines at once.
bool PrepareSumSearch(SumSearch& search, const Problem& problem, const SumProblem& sums,
                      SearchLimits& limits);

// Every assignment whose key sums equal target, checked against the
// checked rows; the best of them, and the best held before, in search.best.
WalkOutcome MatchTarget(SumSearch& search, const int64_t* target);

// The largest key sum s with lower ≤ s ≤ upper that an assignment reaches
// (one key row), in *bestSum, *reached false where none does. With
// withAnswer (no checked rows), the best assignment reaching it in
// search.best.
WalkOutcome FindBestSum(SumSearch& search, int64_t upper, int64_t lower, bool withAnswer, int64_t* bestSum,
                        bool* reached);

}  // namespace zoint

#endif  // ZOINT_SUM_WALKS_H
