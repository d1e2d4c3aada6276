// Two passes over one branch and bound, run in y (every cost ≥ 0). The first
// finds the least objective z*, branching wherever the relaxation suggests.
// Of the assignments worth as much as the best found it keeps the
// lexicographically smallest, and it sets aside, without searching them, the
// nodes that can hold nothing better than the best, only ties. The second
// looks for a smaller optimum in those alone: in each, it fixes x_0, x_1, …
// in turn to the smallest value that still admits a completion of objective
// z*: x_d = 0 exactly when some optimal assignment in the region extends the
// prefix with 0. That is the definition of the lexicographically smallest
// optimum, so no tie can be resolved any other way. An optimal assignment
// found along the way (the witness) answers every position where it has a 0
// without a search. When too many regions were set aside, the second pass
// runs the same way from the root instead.
#include "exact_search/exact_search.h"

#include <algorithm>
#include <cassert>
#include <memory>
#include <vector>

#include "exact_search/branch_and_bound.h"
#include "exact_search/core_heuristic.h"
#include "exact_search/node_relaxation.h"
#include "exact_search/parameters.h"
#include "exact_search/solve_under_limits.h"
#include "exact_search/structure_methods.h"
#include "exact_search/tie_boxes.h"

namespace zoint {

namespace {

// Level n + 1 keeps the root's final basis for the second pass to start from.
int32_t RootBasisLevel(const Dive& dive) { return dive.problem.n + 1; }

// The least objective below NoSolutionValue: the answer rule leaves out an
// assignment worth exactly that, which the outputs could not tell from "none".
// In y that is cost·y ≤ NoSolutionValue − 1 − offset; with a negative offset
// every assignment qualifies, as cost·y ≤ Σ|c_i| ≤ NoSolutionValue.
int64_t FirstCutoff(const OrientedProblem& problem) {
  return problem.offset == 0 ? NoSolutionValue - 1 : NoSolutionValue;
}

// For progress reports during the proof: the least bound of the regions
// still open. Those are the node being entered (its parent's bound holds for
// it), the second children still to come on the current path, and the
// nodes set aside in the pool; what is closed holds nothing below the best
// found, which NoteLowerBound counts as well. A pass's first node is noted
// when it is relaxed or taken from the pool.
void RefreshOpenBound(void* data) {
  Dive& dive = *static_cast<Dive*>(data);
  if (dive.level == 0) return;
  ProvenBound least = LeastOpenBound(dive);
  if (!dive.pool->heap.empty()) least = ProvenBound::Least(least, dive.pool->heap.front().bound);
  NoteLowerBound(dive, least);
}

void FindLeastObjective(Dive& dive, TieBoxes& ties) {
  StartFixing(dive.fixings[0], dive.problem);
  dive.cutoff = FirstCutoff(dive.problem);
  dive.found = false;
  if (!dive.useLp) {
    // No bound tells ties apart; the branching order settles them instead
    // (see ChooseSmallestOptimum).
    Explore(dive, 0, SearchPass::LeastObjectiveBlind);
    return;
  }
  SearchCores(dive, RootBasisLevel(dive));
  // From here on assignments as good as the best are weighed too.
  dive.ties = &ties;
  if (dive.found) dive.cutoff = dive.foundValue;
  NodePool pool;
  pool.capacity = parameters::kMaxPooledNodes;
  dive.pool = &pool;
  dive.limits.refreshBound = RefreshOpenBound;
  dive.limits.refreshData = &dive;
  Explore(dive, 0, SearchPass::ProofFromRoot);
  while (!pool.heap.empty() && !dive.limits.stopped) {
    const PooledNode node = PopLowestNode(pool);
    // Every node not yet searched is in the pool: none holds an assignment
    // below this bound.
    NoteLowerBound(dive, node.bound);
    if (node.bound.Exceeds(dive.cutoff)) continue;
    LoadTieBox(node.box, dive.problem, dive.fixings[0]);
    LoadLpBasis(dive.lp, 0, node.basis);
    Explore(dive, 0, SearchPass::ProofFromPool);
  }
  dive.limits.refreshBound = nullptr;
  dive.pool = nullptr;
  dive.ties = nullptr;
  CopyLpLevel(dive.lp, 0, RootBasisLevel(dive));
}

// Whether some completion of the box with prefix x_0 … x_{d−1}, x_d = 0
// reaches objective best (in y); if so dive.foundVector holds one. Positions
// the box fixes keep its values; d = −1 asks about the box alone.
bool OptimumExtends(Dive& dive, const TieBox& box, const int8_t* prefix, int32_t d, int64_t best) {
  const OrientedProblem& problem = dive.problem;
  Fixing& fixing = dive.fixings[0];
  LoadTieBox(box, problem, fixing);
  for (int32_t i = 0; i <= d; ++i) {
    const int8_t y = OrientedValue(problem, i, i < d ? prefix[i] : 0);
    if (fixing.value[i] == kFree) {
      FixVariable(fixing, problem, i, y);
    } else if (fixing.value[i] != y) {
      return false;
    }
  }
  if (dive.useLp) {
    // Columns fixed in the first pass's root may be free here.
    CopyLpLevel(dive.lp, RootBasisLevel(dive), 0);
    RefreshLpLevel(dive.lp, 0);
  }
  // best, not best − 1: a node whose bound equals z* may still hold the
  // smallest optimum, so only bounds strictly above z* close a node here.
  dive.cutoff = best;
  dive.found = false;
  ++dive.stats.secondPassSearches;
  Explore(dive, 0, SearchPass::Witness);
  return dive.found;
}

void TakeFoundInX(const Dive& dive, int8_t* x) {
  for (int32_t i = 0; i < dive.problem.n; ++i) x[i] = OrientedValue(dive.problem, i, dive.foundVector[i]);
}

// The answer as found in y, or the best found so far when a limit stopped
// the search.
void SetAnswer(ExactResult& result, const Dive& dive, ExactStatus status, int64_t valueInY, const int8_t* x) {
  result.status = status;
  result.hasSolution = true;
  result.value = dive.problem.offset + valueInY;
  for (int32_t i = 0; i < dive.problem.n; ++i) result.x[i] = x[i];
}

// The lexicographically smallest optimum in the box, given one there (the
// witness, in x), when it is smaller than bar. Returns false when it is not,
// or when a limit stopped the search.
bool SmallestInBox(Dive& dive, const TieBox& box, int64_t best, int8_t* witness, const int8_t* bar,
                   int8_t* answer) {
  const int32_t n = dive.problem.n;
  int8_t boxMinimum[MaxVariables];
  BoxMinimumInX(box, dive.problem, boxMinimum);
  bool equalToBar = true;  // answer[0 … d−1] = bar[0 … d−1]
  // The witness always extends the answer's prefix, so where it holds a 0
  // that 0 is the answer; elsewhere a search decides.
  for (int32_t d = 0; d < n; ++d) {
    if (witness[d] == 0 || boxMinimum[d] == 1) {
      answer[d] = witness[d];
    } else if (OptimumExtends(dive, box, answer, d, best)) {
      answer[d] = 0;
      TakeFoundInX(dive, witness);
    } else if (dive.limits.stopped) {
      return false;
    } else {
      answer[d] = 1;
    }
    if (equalToBar && answer[d] != bar[d]) {
      if (answer[d] > bar[d]) return false;
      equalToBar = false;
    }
  }
  return !equalToBar;
}

// Lexicographically smallest optimum, given a witness of value best (in y)
// and the regions set aside. Returns false when a limit stopped it.
bool ChooseSmallestOptimum(Dive& dive, int64_t best, const TieBoxes& ties, int8_t* witness, int8_t* answer) {
  const int32_t n = dive.problem.n;
  for (int32_t i = 0; i < n; ++i) answer[i] = witness[i];
  if (!dive.useLp) {
    // Without the relaxation the first pass branched as the enumeration
    // does, on the first free variable with x = 0 first, and recorded only
    // strict improvements. Every earlier find is lexicographically smaller
    // than the smallest optimum, so it cost more and left the cutoff at or
    // above z*; that optimum was therefore reached and is the last find.
    return true;
  }
  const TieBox everything = {};
  if (ties.overflow) {
    int8_t smallest[MaxVariables];
    const bool smaller = SmallestInBox(dive, everything, best, witness, answer, smallest);
    if (smaller) std::copy(smallest, smallest + n, answer);
    return !dive.limits.stopped;
  }
  // Each region in the order of its smallest assignment; once that is no
  // smaller than the best answer yet, no region left can hold a smaller one.
  std::vector<std::pair<LexKey, size_t>> order;
  order.reserve(ties.boxes.size());
  for (size_t k = 0; k < ties.boxes.size(); ++k) {
    int8_t minimum[MaxVariables];
    BoxMinimumInX(ties.boxes[k], dive.problem, minimum);
    order.emplace_back(KeyOf(minimum, n), k);
  }
  std::sort(order.begin(), order.end());
  for (const auto& entry : order) {
    if (!(entry.first < KeyOf(answer, n))) break;
    const TieBox& box = ties.boxes[entry.second];
    if (!OptimumExtends(dive, box, answer, -1, best)) {
      if (dive.limits.stopped) return false;
      continue;
    }
    int8_t boxWitness[MaxVariables];
    int8_t smallest[MaxVariables];
    TakeFoundInX(dive, boxWitness);
    if (SmallestInBox(dive, box, best, boxWitness, answer, smallest))
      std::copy(smallest, smallest + n, answer);
    if (dive.limits.stopped) return false;
  }
  return true;
}

// The branch and bound, with the limits as the call started them.
ExactResult SolveByBranchAndBound(const Problem& problem, SearchLimits& limits) {
  const ExactOptions& options = limits.options;
  ExactResult result = {};
  result.status = ExactStatus::Infeasible;
  result.value = NoSolutionValue;

  const std::unique_ptr<Dive> dive = MakeDive(problem, limits);

  TieBoxes ties;
  ties.capacity = options.tieBoxLimit == 0 || options.tieBoxLimit > parameters::kMaxTieBoxes
                      ? parameters::kMaxTieBoxes
                      : static_cast<size_t>(options.tieBoxLimit);
  ClearTieBoxes(ties);
  FindLeastObjective(*dive, ties);
  dive->stats.tieBoxes = ties.saved;
  dive->stats.secondPassFromRoot = ties.overflow;
  dive->stats.firstPassSeconds = ElapsedSeconds(dive->limits);
  int8_t witness[MaxVariables] = {};
  if (dive->found) TakeFoundInX(*dive, witness);
  if (dive->limits.stopped) {
    if (dive->found) SetAnswer(result, *dive, ExactStatus::Stopped, dive->foundValue, witness);
    result.status = ExactStatus::Stopped;
  } else if (dive->found) {
    const int64_t best = dive->foundValue;
    RaiseBound(dive->limits, dive->problem.offset + best);  // proven
    int8_t answer[MaxVariables];
    const bool chosen = ChooseSmallestOptimum(*dive, best, ties, witness, answer);
    // Stopped, answer is still an optimum: the smallest found so far.
    SetAnswer(result, *dive, chosen ? ExactStatus::Optimal : ExactStatus::Stopped, best, answer);
    dive->stats.secondPassSeconds = ElapsedSeconds(dive->limits) - dive->stats.firstPassSeconds;
  }
  dive->stats.nodes = dive->limits.nodes;
  result.stats = dive->stats;
  ReportEnd(dive->limits, result);
  limits = dive->limits;  // the time and nodes spent, for a caller that goes on
  return result;
}

}  // namespace

int64_t LeastConceivableValue(const Problem& problem) {
  int64_t least = 0;
  for (int32_t i = 0; i < problem.n; ++i) least += problem.coefficients[i] < 0 ? problem.coefficients[i] : 0;
  return least;
}

ExactResult SolveExact(const Problem& problem, const ExactOptions& options) {
  assert(problem.n >= 0 && problem.n <= MaxVariables && problem.m >= 0 && problem.m <= MaxConstraints);
  assert(NoSumCanWrap(problem));
  SearchLimits limits;
  StartLimits(limits, options, LeastConceivableValue(problem));
  return SolveUnderLimits(problem, limits);
}

ExactResult SolveUnderLimits(const Problem& problem, SearchLimits& limits) {
  // The methods for structure the branch and bound meets badly, in turn;
  // the first that recognises the problem answers it.
  using Method = MethodOutcome (*)(const Problem&, SearchLimits&, ExactResult&);
  for (const Method method : {SolveOneRowByTable, SolveByEnumeratingSums}) {
    ExactResult result = {};
    result.status = ExactStatus::Infeasible;
    result.value = NoSolutionValue;
    if (method(problem, limits, result) == MethodOutcome::Answered) {
      result.stats.nodes = limits.nodes;
      ReportEnd(limits, result);
      return result;
    }
  }
  return SolveByBranchAndBound(problem, limits);
}

}  // namespace zoint
