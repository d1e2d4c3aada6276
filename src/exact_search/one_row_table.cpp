// One row that matters, solved by a table over its capacity: the row read
// as a knapsack over literals, a first assignment from the greedy packing,
// the core around the break item and a coarse table, items fixed where
// that assignment and the relaxation's bound together settle them, the
// weights divided by their common divisor, then the table over what is
// left, its cells narrowed to those an assignment as good as the first can
// pass through by the relaxation and, on large tables, by coarse bounds;
// or, where every item gains the same per unit of weight, the sets of sums
// the items reach.
#include <algorithm>
#include <memory>
#include <new>

#include "exact_search/one_row_bounds.h"
#include "exact_search/one_row_coarse.h"
#include "exact_search/one_row_coarse_bounds.h"
#include "exact_search/one_row_core.h"
#include "exact_search/one_row_knapsack.h"
#include "exact_search/one_row_sums.h"
#include "exact_search/one_row_table_fill.h"
#include "exact_search/structure_methods.h"

namespace zoint {

namespace {

// c·x; no sum can wrap.
int64_t ObjectiveOf(const Problem& problem, const int8_t* x) {
  int64_t value = 0;
  for (int32_t i = 0; i < problem.n; ++i) value += x[i] != 0 ? problem.coefficients[i] : 0;
  return value;
}

void SetAnswer(const Problem& problem, ExactStatus status, const int8_t* x, ExactResult& result) {
  const int64_t value = ObjectiveOf(problem, x);
  result.status = status;
  // An assignment worth NoSolutionValue does not count: the least objective
  // is below it or there is none.
  result.hasSolution = value < NoSolutionValue;
  if (!result.hasSolution && status == ExactStatus::Optimal) result.status = ExactStatus::Infeasible;
  result.value = result.hasSolution ? value : NoSolutionValue;
  for (int32_t i = 0; i < problem.n; ++i) result.x[i] = result.hasSolution ? x[i] : 0;
}

enum class Way {
  EveryItemFits,  // nothing left to choose
  Sums,           // every item gains the same per unit of weight
  Table,
};

// How the knapsack left after the reductions is solved, with its memory.
struct Plan {
  Way way;
  SumsShape sums;
  TableShape table;
  CoarseBounds bounds;
  std::unique_ptr<int64_t[]> values;  // the table's int32_t or int64_t cells
  std::unique_ptr<uint64_t[]> bits;   // its decision bits, or the sets of sums
};

uint64_t WeightOf(const OneRowKnapsack& knapsack, const int8_t* taken) {
  uint64_t weight = 0;
  for (int32_t k = 0; k < knapsack.itemCount; ++k) weight += taken[k] != 0 ? knapsack.items[k].weight : 0;
  return weight;
}

// False when the knapsack is beyond the budgets or memory is short; taken
// is a feasible assignment.
bool MakePlan(const OneRowKnapsack& knapsack, const int8_t* taken, Plan& plan) {
  uint64_t sumWeight = 0;
  for (int32_t k = 0; k < knapsack.itemCount; ++k) sumWeight += knapsack.items[k].weight;
  uint64_t bitWords = 0;
  if (sumWeight <= knapsack.capacity) {
    plan.way = Way::EveryItemFits;
    return true;
  }
  if (ProfitsFollowWeights(knapsack)) {
    plan.way = Way::Sums;
    if (!PlanSums(knapsack, WeightOf(knapsack, taken), plan.sums)) return false;
    bitWords = plan.sums.words;
  } else {
    plan.way = Way::Table;
    if (!PlanTable(knapsack, ProfitOf(knapsack, taken), plan.table)) return false;
    // Within the budgets both sizes fit in size_t on every target.
    bitWords = plan.table.words;
    MakeCoarseBounds(knapsack, plan.table.cells, plan.bounds);
    plan.values.reset(new (std::nothrow) int64_t[static_cast<size_t>((ValueBytes(plan.table) + 7) / 8)]);
    if (plan.values == nullptr) return false;
  }
  plan.bits.reset(new (std::nothrow) uint64_t[static_cast<size_t>(bitWords)]);
  return plan.bits != nullptr;
}

// Runs the plan: taken[k] for every item, the lexicographically smallest
// optimum. False when the limits stopped it.
bool RunPlan(const OneRowKnapsack& knapsack, Plan& plan, SearchLimits& limits, int8_t* taken,
             ExactStats& stats) {
  switch (plan.way) {
    case Way::EveryItemFits:
      // Each item gains, or, taken where x = 0, is the smaller choice.
      std::fill(taken, taken + knapsack.itemCount, 1);
      return true;
    case Way::Sums:
      stats.tableCells = plan.sums.cells;
      if (!FillSums(knapsack, plan.sums, plan.bits.get(), limits)) return false;
      ReadSmallestHeaviest(knapsack, plan.sums, plan.bits.get(), taken);
      return true;
    case Way::Table:
      if (!FillTable(knapsack, plan.table, plan.bounds, plan.values.get(), plan.bits.get(), limits,
                     stats.tableCells)) {
        return false;
      }
      ReadSmallestOptimum(knapsack, plan.table, plan.bits.get(), taken);
      return true;
  }
  return false;
}

}  // namespace

MethodOutcome SolveOneRowByTable(const Problem& problem, SearchLimits& limits, ExactResult& result) {
  OneRowKnapsack knapsack;
  const OneRowKind kind = ReadOneRow(problem, knapsack);
  if (kind == OneRowKind::NotOneRow) return MethodOutcome::NotApplicable;
  if (kind == OneRowKind::Infeasible) {
    result.stats = ExactStats{};
    result.stats.method = ExactMethod::OneRowTable;
    result.status = ExactStatus::Infeasible;
    result.hasSolution = false;
    result.value = NoSolutionValue;
    for (int32_t i = 0; i < problem.n; ++i) result.x[i] = 0;
    limits.bound = NoSolutionValue;
    return MethodOutcome::Answered;
  }

  // A first assignment, and the relaxation's bound: no assignment gains
  // more, so none is worth less than the objective with that gain (both
  // ends are objectives of assignments, so the difference fits).
  RatioOrder order;
  OrderByRatio(knapsack, order);
  int8_t taken[MaxVariables];
  GreedyPacking(knapsack, order, taken);
  ImproveByCore(knapsack, order, taken);
  ImproveByCoarseTable(knapsack, taken);
  int8_t incumbent[MaxVariables];
  AssignmentOf(knapsack, taken, incumbent);
  const int64_t lowerBound =
      static_cast<int64_t>(static_cast<uint64_t>(knapsack.baseObjective) - RelaxationBound(knapsack, order));

  FixByRelaxationBound(knapsack, taken);
  DivideWeights(knapsack);
  Plan plan;
  // Beyond the budgets: left to the next method, the result and the limits
  // as they were.
  if (!MakePlan(knapsack, taken, plan)) return MethodOutcome::NotApplicable;

  result.stats = ExactStats{};
  result.stats.method = ExactMethod::OneRowTable;
  const int64_t incumbentValue = ObjectiveOf(problem, incumbent);
  limits.hasSolution = incumbentValue < NoSolutionValue;
  limits.bestValue = limits.hasSolution ? incumbentValue : NoSolutionValue;
  limits.bound = std::max(limits.bound, lowerBound);
  if (!RunPlan(knapsack, plan, limits, taken, result.stats)) {
    SetAnswer(problem, ExactStatus::Stopped, incumbent, result);
  } else {
    int8_t best[MaxVariables];
    AssignmentOf(knapsack, taken, best);
    SetAnswer(problem, ExactStatus::Optimal, best, result);
    limits.bound = result.value;
    if (result.hasSolution) limits.bestValue = result.value;
  }
  result.stats.firstPassSeconds = ElapsedSeconds(limits);
  return MethodOutcome::Answered;
}

}  // namespace zoint
