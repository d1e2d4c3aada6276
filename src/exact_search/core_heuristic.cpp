#include "exact_search/core_heuristic.h"

#include <algorithm>
#include <cmath>

#include "exact_search/node_relaxation.h"
#include "exact_search/parameters.h"

namespace zoint {

void SearchCores(Dive& dive, int32_t scratchLevel) {
  const OrientedProblem& problem = dive.problem;
  const int32_t n = problem.n;
  if (n < parameters::kFewestVariablesForCores) return;
  Fixing& fixing = dive.fixings[0];
  LpResult& root = dive.relaxations[0];
  const Look look = LookAtNode(dive, 0, SearchPass::Cores, fixing, root, dive.bound);
  // Level 0 is still the whole problem: its bound holds for every assignment.
  if (look.solvedLp) NoteLowerBound(dive, dive.bound.lower);
  if (look.verdict != Verdict::Branch) return;
  const Fixing rootFixing = fixing;
  double x[MaxVariables];
  for (int32_t i = 0; i < n; ++i) x[i] = root.x[i];
  CopyLpLevel(dive.lp, 0, scratchLevel);

  int32_t order[MaxVariables];
  int32_t count = 0;
  double reducedCost[MaxVariables];
  for (int32_t i = 0; i < n; ++i) {
    if (rootFixing.value[i] != kFree) continue;
    order[count++] = i;
    reducedCost[i] = std::fabs(dive.bound.g[i]);
  }
  std::stable_sort(order, order + count,
                   [&](int32_t a, int32_t b) { return reducedCost[a] < reducedCost[b]; });

  for (const parameters::CoreSize& core : parameters::kCores) {
    const int32_t size = std::max<int32_t>(1, n * core.tenths / 10);
    if (size >= count) break;
    fixing = rootFixing;
    for (int32_t k = size; k < count; ++k) {
      const int32_t i = order[k];
      if (!IsFractional(x[i])) FixVariable(fixing, problem, i, x[i] > 0.5 ? 1 : 0);
    }
    CopyLpLevel(dive.lp, scratchLevel, 0);
    dive.nodeBudget = dive.limits.nodes + core.budget + core.budgetPerRow * static_cast<uint64_t>(problem.m);
    Explore(dive, 0, SearchPass::Cores);
    dive.nodeBudget = 0;
    if (dive.limits.stopped) break;
  }

  StartFixing(fixing, problem);
  CopyLpLevel(dive.lp, scratchLevel, 0);
  RefreshLpLevel(dive.lp, 0);
}

}  // namespace zoint
