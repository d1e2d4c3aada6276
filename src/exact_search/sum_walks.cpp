#include "exact_search/sum_walks.h"

#include "exact_search/parameters.h"

namespace zoint {

namespace {

// Pairs checked between two looks at the limits.
constexpr uint64_t kChecksBetweenLooks = 4096;

// A half's pair sums, one group of equal key sums at a time.
struct GroupCursor {
  PairStream stream;
  size_t begin;  // the group is window[begin, end)
  size_t end;
};

enum class Step { Ready, Finished, Stopped, TooDense };

void StartCursor(GroupCursor& cursor, const QuarterList& a, const QuarterList& b, int32_t firstTieRow,
                 bool mergeTies) {
  StartPairStream(cursor.stream, a, b, firstTieRow, mergeTies);
  cursor.begin = 0;
  cursor.end = 0;
}

// Equal key sums share their order number, so a group never straddles two
// windows.
Step NextGroup(GroupCursor& cursor, SumSearch& search) {
  PairStream& stream = cursor.stream;
  cursor.begin = cursor.end;
  if (cursor.begin == stream.windowSize) {
    if (LimitReached(*search.limits)) return Step::Stopped;
    const uint64_t before = stream.produced;
    const WindowOutcome outcome = NextWindow(stream);
    search.sumsVisited += stream.produced - before;
    if (outcome == WindowOutcome::Finished) return Step::Finished;
    if (outcome == WindowOutcome::TooDense) return Step::TooDense;
    cursor.begin = 0;
  }
  cursor.end = cursor.begin + 1;
  while (cursor.end < stream.windowSize &&
         SameKeySums(stream, stream.window[cursor.begin], stream.window[cursor.end])) {
    ++cursor.end;
  }
  return Step::Ready;
}

const PairEntry& Leader(const GroupCursor& cursor) { return cursor.stream.window[cursor.begin]; }

int64_t PairCost(const PairStream& stream, const PairEntry& e) {
  return stream.runs->cost[e.run] + stream.items->cost[e.item];
}

LexKey Union(const LexKey& a, const LexKey& b) {
  LexKey bits;
  for (int k = 0; k < kBitWords; ++k) bits.word[k] = a.word[k] | b.word[k];
  return bits;
}

LexKey PairBits(const PairStream& stream, const PairEntry& e) {
  return Union(stream.runs->bits[e.run], stream.items->bits[e.item]);
}

bool Better(int64_t cost, const LexKey& bits, const SumCandidate& than) {
  return !than.found || cost < than.cost || (cost == than.cost && bits < than.bits);
}

// The best member of a group: least cost, then smallest. With no checked
// rows the objective is a sum of the two halves' parts and the left
// variables come first in the order, so the best pair of two groups is the
// best of each.
SumCandidate BestOfGroup(const GroupCursor& cursor) {
  SumCandidate best = {};
  for (size_t at = cursor.begin; at < cursor.end; ++at) {
    const PairEntry& e = cursor.stream.window[at];
    const int64_t cost = PairCost(cursor.stream, e);
    const LexKey bits = PairBits(cursor.stream, e);
    if (Better(cost, bits, best)) best = SumCandidate{true, cost, bits};
  }
  return best;
}

// Keeps an assignment that meets every row if it is better than the best.
// An objective of NoSolutionValue is no answer.
void Offer(SumSearch& search, int64_t cost, const LexKey& bits) {
  const int64_t value = search.sums->fixedCost + cost;
  if (value == NoSolutionValue || !Better(cost, bits, search.best)) return;
  search.best = SumCandidate{true, cost, bits};
  search.limits->hasSolution = true;
  search.limits->bestValue = value;
}

// The checked rows on the union of a left and a right pair; each partial
// sum is a subset sum, within 2^63 − 1.
bool CheckedRowsHold(const SumSearch& search, const PairStream& left, const PairEntry& l,
                     const PairStream& right, const PairEntry& r) {
  const SumProblem& sums = *search.sums;
  const int32_t count = sums.checkedCount;
  const int64_t* a = &left.runs->checkedSums[static_cast<size_t>(l.run) * count];
  const int64_t* b = &left.items->checkedSums[static_cast<size_t>(l.item) * count];
  const int64_t* c = &right.runs->checkedSums[static_cast<size_t>(r.run) * count];
  const int64_t* d = &right.items->checkedSums[static_cast<size_t>(r.item) * count];
  for (int32_t t = 0; t < count; ++t) {
    if (a[t] + b[t] + c[t] + d[t] > search.problem->rows[sums.checked[t]].entries[RhsColumn]) return false;
  }
  return true;
}

// Every pair of the two groups, one by one, against the checked rows.
WalkOutcome CheckEveryPair(SumSearch& search, const GroupCursor& left, const GroupCursor& right) {
  for (size_t i = left.begin; i < left.end; ++i) {
    const PairEntry& l = left.stream.window[i];
    const int64_t leftCost = PairCost(left.stream, l);
    const LexKey leftBits = PairBits(left.stream, l);
    for (size_t k = right.begin; k < right.end; ++k) {
      if (++search.pairsChecked > parameters::kMaxCheckedPairs) return WalkOutcome::GaveUp;
      if (search.pairsChecked % kChecksBetweenLooks == 0 && LimitReached(*search.limits))
        return WalkOutcome::Stopped;
      const PairEntry& r = right.stream.window[k];
      const int64_t cost = leftCost + PairCost(right.stream, r);
      const LexKey bits = Union(leftBits, PairBits(right.stream, r));
      if (Better(cost, bits, search.best) && CheckedRowsHold(search, left.stream, l, right.stream, r)) {
        Offer(search, cost, bits);
      }
    }
  }
  return WalkOutcome::Finished;
}

// The left group's sums plus the right group's (stored negated), against
// the target, in the order the streams follow: order numbers, then the
// rows that break ties. Each difference is a sum over all the variables,
// within 2^63 − 1.
int CompareWithTarget(const GroupCursor& left, const GroupCursor& right, const int64_t* target,
                      int64_t targetOrder) {
  const PairEntry& l = Leader(left);
  const PairEntry& r = Leader(right);
  const int64_t order = l.order - r.order;
  if (order != targetOrder) return order < targetOrder ? -1 : 1;
  const PairStream& stream = left.stream;
  for (int32_t j = stream.firstTieRow; j < stream.runs->keyRows; ++j) {
    const int64_t sum = PairKeySum(stream, l, j) - PairKeySum(right.stream, r, j);
    if (sum != target[j]) return sum < target[j] ? -1 : 1;
  }
  return 0;
}

WalkOutcome OutcomeOf(Step step) {
  switch (step) {
    case Step::Stopped:
      return WalkOutcome::Stopped;
    case Step::TooDense:
      return WalkOutcome::GaveUp;
    case Step::Ready:
    case Step::Finished:
      break;
  }
  return WalkOutcome::Finished;
}

}  // namespace

bool PrepareSumSearch(SumSearch& search, const Problem& problem, const SumProblem& sums,
                      SearchLimits& limits) {
  search.problem = &problem;
  search.sums = &sums;
  search.limits = &limits;
  search.sumsVisited = 0;
  search.pairsChecked = 0;
  search.best = SumCandidate{};
  // The left half takes the larger share when n is odd; each half splits
  // the same way into its two lists.
  const int32_t n = sums.enumeratedCount;
  const int32_t left = n - n / 2;
  const int32_t sizes[4] = {left - left / 2, left / 2, (n - left) - (n - left) / 2, (n - left) / 2};
  int32_t first = 0;
  for (int q = 0; q < 4; ++q) {
    BuildQuarterList(problem, sums, first, sizes[q], q >= 2, search.quarters[q]);
    first += sizes[q];
  }
  // So many pairs sharing one vector of sums that no window holds them: the
  // key rows leave most variables free (an equation over a few of them).
  // That matters only where such pairs cannot be merged into their best:
  // with rows to check on each, or with several key rows.
  if (sums.checkedCount == 0 && sums.keyRows == 1) return true;
  const uint64_t capacity = parameters::kSumWindowEntries;
  const QuarterList* q = search.quarters;
  return uint64_t{KeyMultiplicity(q[0])} * KeyMultiplicity(q[1]) <= capacity &&
         uint64_t{KeyMultiplicity(q[2])} * KeyMultiplicity(q[3]) <= capacity;
}

WalkOutcome MatchTarget(SumSearch& search, const int64_t* target) {
  const SumProblem& sums = *search.sums;
  int64_t targetOrder = 0;
  for (int32_t j = 0; j < sums.keyRows; ++j) targetOrder += sums.orderWeight[j] * target[j];
  GroupCursor left;
  GroupCursor right;
  // Checked one by one, the pairs of a group are all wanted.
  const bool mergeTies = sums.checkedCount == 0;
  StartCursor(left, search.quarters[0], search.quarters[1], sums.firstTieRow, mergeTies);
  StartCursor(right, search.quarters[2], search.quarters[3], sums.firstTieRow, mergeTies);
  Step leftStep = NextGroup(left, search);
  Step rightStep = leftStep == Step::Ready ? NextGroup(right, search) : Step::Finished;
  while (leftStep == Step::Ready && rightStep == Step::Ready) {
    const int comparison = CompareWithTarget(left, right, target, targetOrder);
    if (comparison < 0) {
      leftStep = NextGroup(left, search);
    } else if (comparison > 0) {
      rightStep = NextGroup(right, search);
    } else {
      if (sums.checkedCount == 0) {
        const SumCandidate l = BestOfGroup(left);
        const SumCandidate r = BestOfGroup(right);
        Offer(search, l.cost + r.cost, Union(l.bits, r.bits));
      } else {
        const WalkOutcome outcome = CheckEveryPair(search, left, right);
        if (outcome != WalkOutcome::Finished) return outcome;
      }
      leftStep = NextGroup(left, search);
      if (leftStep == Step::Ready) rightStep = NextGroup(right, search);
    }
  }
  const WalkOutcome outcome = OutcomeOf(leftStep);
  return outcome != WalkOutcome::Finished ? outcome : OutcomeOf(rightStep);
}

WalkOutcome FindBestSum(SumSearch& search, int64_t upper, int64_t lower, bool withAnswer, int64_t* bestSum,
                        bool* reached) {
  const SumProblem& sums = *search.sums;
  *reached = false;
  *bestSum = 0;
  GroupCursor left;
  GroupCursor right;
  // Only sums are wanted, or the best of each group.
  StartCursor(left, search.quarters[0], search.quarters[1], sums.firstTieRow, true);
  StartCursor(right, search.quarters[2], search.quarters[3], sums.firstTieRow, true);
  Step leftStep = NextGroup(left, search);
  Step rightStep = leftStep == Step::Ready ? NextGroup(right, search) : Step::Finished;
  SumCandidate rightBest = {};  // of the right group, once needed
  while (leftStep == Step::Ready) {
    // One key row, weight 1: the order numbers are the sums. The right
    // stream holds −s, so left − right is the sum, falling as it goes on.
    const int64_t leftSum = Leader(left).order;
    while (rightStep == Step::Ready && leftSum - Leader(right).order > upper) {
      rightStep = NextGroup(right, search);
      rightBest.found = false;
    }
    // Without a right sum small enough here, none is for any larger left one.
    if (rightStep != Step::Ready) break;
    const int64_t sum = leftSum - Leader(right).order;
    if (sum >= lower && (!*reached || sum >= *bestSum)) {
      *reached = true;
      *bestSum = sum;
      if (withAnswer) {
        if (!rightBest.found) rightBest = BestOfGroup(right);
        const SumCandidate l = BestOfGroup(left);
        Offer(search, l.cost + rightBest.cost, Union(l.bits, rightBest.bits));
      }
    }
    leftStep = NextGroup(left, search);
  }
  const WalkOutcome outcome = OutcomeOf(leftStep);
  return outcome != WalkOutcome::Finished ? outcome : OutcomeOf(rightStep);
}

}  // namespace zoint
