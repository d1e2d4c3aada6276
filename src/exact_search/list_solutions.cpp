// Lists of answers: one search in the collecting pass, which lists every
// feasible assignment it meets and closes a node only when nothing in it can
// enter the list. The list's cutoff is the ceiling asked for, or, once the
// list is full, the value of its last entry: a node whose proven bound is
// above that holds nothing the list would keep, and a node whose bound
// equals it may still hold ties smaller in x, so it is searched. Every
// assignment is thus either listed or proven to come after the list's last.
#include <algorithm>
#include <cassert>
#include <memory>

#include "exact_search/branch_and_bound.h"
#include "exact_search/exact_search.h"
#include "exact_search/node_relaxation.h"
#include "exact_search/parameters.h"
#include "exact_search/solve_under_limits.h"
#include "problem/checked_arithmetic.h"

namespace zoint {

namespace {

// In y every assignment is worth at most Σ c_i ≤ 2^63 − 1 (costs ≥ 0 there);
// the answer rule leaves out an assignment worth NoSolutionValue in x.
int64_t CeilingInY(const OrientedProblem& problem, bool bounded, int64_t ceilingInX) {
  const int64_t everything = problem.offset == 0 ? NoSolutionValue - 1 : NoSolutionValue;
  if (!bounded) return everything;
  int64_t inY = 0;
  if (!CheckedSubtract(ceilingInX, problem.offset, inY)) return everything;
  return std::min(inY, everything);
}

// For progress reports while listing: the least bound of the regions still
// open, or the first entry, whichever is lower.
void RefreshListBound(void* data) {
  Dive& dive = *static_cast<Dive*>(data);
  if (dive.level > 0) NoteLowerBound(dive, LeastOpenBound(dive));
}

// Assignments whose neighbours seed a list of `capacity` entries: about as
// many as it holds, within the budget, and fewer where the single answer's
// search was short (the list's will be too, and the seeding would cost more
// than it saves).
int32_t ListExpansions(size_t capacity, uint64_t singleNodes) {
  const uint64_t worth = std::max<uint64_t>(1, singleNodes / parameters::kNodesPerSeedExpansion);
  return static_cast<int32_t>(
      std::min<uint64_t>({capacity, static_cast<uint64_t>(parameters::kMaxSeedExpansions), worth}));
}

ListedAnswer AnswerOf(const ListedSolution& solution, int32_t n) {
  ListedAnswer answer{solution.value, {}};
  std::copy(solution.x, solution.x + n, answer.x);
  return answer;
}

// The collecting search: up to capacity entries worth at most the ceiling
// (in x when bounded). Fills result's answers, complete and status.
// seed (in x; may be null), its neighbours and theirs are listed before the
// search; singleNodes, the single answer's nodes, says how many are expanded.
void Collect(const Problem& problem, SearchLimits& limits, uint64_t count, bool bounded, int64_t ceiling,
             const int8_t* seed, uint64_t singleNodes, ListResult& result) {
  const std::unique_ptr<Dive> dive = MakeDive(problem, limits);
  // One more than asked for: whether more exist is what complete says.
  const size_t capacity = static_cast<size_t>(std::min<uint64_t>(count, uint64_t{1} << 40)) + 1;
  SolutionList list;
  StartSolutionList(list, capacity, CeilingInY(dive->problem, bounded, ceiling));
  if (seed != nullptr) {
    int8_t y[MaxVariables];
    for (int32_t i = 0; i < problem.n; ++i) y[i] = OrientedValue(dive->problem, i, seed[i]);
    InsertNeighbourhoods(list, dive->problem, y, ListExpansions(capacity, singleNodes));
  }
  dive->list = &list;
  dive->cutoff = ListCutoff(list, dive->problem);
  StartFixing(dive->fixings[0], dive->problem);
  dive->limits.refreshBound = RefreshListBound;
  dive->limits.refreshData = dive.get();
  Explore(*dive, 0, SearchPass::Collect);
  dive->limits.refreshBound = nullptr;

  const int32_t n = problem.n;
  if (dive->limits.stopped) {
    // Proven first: worth less than every region still open, so that every
    // assignment of that value is listed, in order.
    const double open = LeastOpenBound(*dive).value();
    for (const ListedSolution& solution : list.entries) {
      if (result.answers.size() == count) break;
      if (!(static_cast<double>(solution.value - dive->problem.offset) < open)) break;
      result.answers.push_back(AnswerOf(solution, n));
    }
    result.status = ExactStatus::Stopped;
    result.complete = false;
  } else {
    for (size_t k = 0; k < list.entries.size() && k < count; ++k) {
      result.answers.push_back(AnswerOf(list.entries[k], n));
    }
    result.status = result.answers.empty() ? ExactStatus::Infeasible : ExactStatus::Optimal;
    result.complete = list.entries.size() <= count;
  }
  result.stats = dive->stats;
  limits = dive->limits;
  result.stats.nodes = limits.nodes;
}

}  // namespace

ListResult ListSolutions(const Problem& problem, const ExactOptions& options, const ListRequest& request) {
  assert(problem.n >= 0 && problem.n <= MaxVariables && problem.m >= 0 && problem.m <= MaxConstraints);
  assert(NoSumCanWrap(problem) && request.count >= 1 && request.gap >= 0);
  SearchLimits limits;
  StartLimits(limits, options, LeastConceivableValue(problem));
  ListResult result{ExactStatus::Infeasible, {}, false, ExactStats{}};

  // The single answer first: the list itself (Best, one entry), or the least
  // objective the others measure from.
  const ExactResult single = SolveUnderLimits(problem, limits);
  result.stats = single.stats;
  result.status = single.status;
  if (single.status == ExactStatus::Infeasible) {
    result.complete = true;
    return result;
  }
  // Stopped, its answer is not proven first in the order.
  if (single.status == ExactStatus::Stopped) return result;
  if (request.kind == ListKind::Best && request.count == 1) {
    ListedAnswer answer{single.value, {}};
    std::copy(single.x, single.x + problem.n, answer.x);
    result.answers.push_back(answer);
    return result;  // whether it is the only one is not known: not complete
  }
  // The single answer's neighbours fill the list before the search starts:
  // its cutoff is near the last entry's value from the first node on.
  if (request.kind == ListKind::Best) {
    Collect(problem, limits, request.count, false, 0, single.x, single.stats.nodes, result);
    return result;
  }
  int64_t ceiling = single.value;
  if (request.kind == ListKind::WithinGap && !CheckedAdd(single.value, request.gap, ceiling)) {
    ceiling = NoSolutionValue;  // beyond every value an assignment can have
  }
  Collect(problem, limits, request.count, true, ceiling, single.x, single.stats.nodes, result);
  return result;
}

}  // namespace zoint
