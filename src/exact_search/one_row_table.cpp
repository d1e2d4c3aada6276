// One row that matters, solved by a table over its capacity: the row read
// as a knapsack over literals, items fixed where the greedy packing and the
// relaxation's bound together settle them, the weights divided by their
// common divisor, then the table over what is left.
#include <algorithm>
#include <memory>
#include <new>

#include "exact_search/one_row_bounds.h"
#include "exact_search/one_row_knapsack.h"
#include "exact_search/one_row_table_fill.h"
#include "exact_search/special_methods.h"

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

// The table's two arrays, or none when memory is short.
struct TableMemory {
  std::unique_ptr<int64_t[]> values;  // int32_t or int64_t cells, as the shape says
  std::unique_ptr<uint64_t[]> bits;
};

bool Allocate(const TableShape& shape, TableMemory& memory) {
  // Within the budgets both sizes fit in size_t on every target.
  const size_t valueWords = static_cast<size_t>((ValueBytes(shape) + 7) / 8);
  memory.values.reset(new (std::nothrow) int64_t[valueWords]);
  memory.bits.reset(new (std::nothrow) uint64_t[static_cast<size_t>(shape.words)]);
  return memory.values != nullptr && memory.bits != nullptr;
}

}  // namespace

MethodOutcome SolveOneRowByTable(const Problem& problem, SearchLimits& limits, ExactResult& result) {
  OneRowKnapsack knapsack;
  const OneRowKind kind = ReadOneRow(problem, knapsack);
  if (kind == OneRowKind::NotOneRow) return MethodOutcome::NotApplicable;
  result.stats = ExactStats{};
  result.stats.method = ExactMethod::OneRowTable;
  if (kind == OneRowKind::Infeasible) {
    result.status = ExactStatus::Infeasible;
    result.hasSolution = false;
    result.value = NoSolutionValue;
    for (int32_t i = 0; i < problem.n; ++i) result.x[i] = 0;
    limits.bound = NoSolutionValue;
    return MethodOutcome::Answered;
  }

  RatioOrder order;
  OrderByRatio(knapsack, order);
  int8_t taken[MaxVariables];
  GreedyPacking(knapsack, order, taken);
  int8_t incumbent[MaxVariables];
  AssignmentOf(knapsack, taken, incumbent);
  // No assignment gains more than the relaxation: an objective bound. Both
  // ends are objectives of assignments, so the difference fits.
  const int64_t lowerBound =
      static_cast<int64_t>(static_cast<uint64_t>(knapsack.baseObjective) - RelaxationBound(knapsack, order));

  FixByRelaxationBound(knapsack, taken);
  DivideWeights(knapsack);
  uint64_t sumWeight = 0;
  for (int32_t k = 0; k < knapsack.itemCount; ++k) sumWeight += knapsack.items[k].weight;
  const bool everyItemFits = sumWeight <= knapsack.capacity;
  TableShape shape;
  TableMemory memory;
  if (!everyItemFits && (!PlanTable(knapsack, shape) || !Allocate(shape, memory))) {
    // Left to the branch and bound, with the limits as they were.
    return MethodOutcome::NotApplicable;
  }

  limits.hasSolution = ObjectiveOf(problem, incumbent) < NoSolutionValue;
  limits.bestValue = limits.hasSolution ? ObjectiveOf(problem, incumbent) : NoSolutionValue;
  limits.bound = std::max(limits.bound, lowerBound);
  int8_t best[MaxVariables];
  if (everyItemFits) {
    // Each gains or, taken ⇔ x = 0, is the smaller choice.
    std::fill(taken, taken + knapsack.itemCount, 1);
  } else {
    result.stats.tableCells = shape.cells;
    if (!FillTable(knapsack, shape, memory.values.get(), memory.bits.get(), limits)) {
      SetAnswer(problem, ExactStatus::Stopped, incumbent, result);
      result.stats.firstPassSeconds = ElapsedSeconds(limits);
      return MethodOutcome::Answered;
    }
    ReadSmallestOptimum(knapsack, shape, memory.bits.get(), taken);
  }
  AssignmentOf(knapsack, taken, best);
  SetAnswer(problem, ExactStatus::Optimal, best, result);
  limits.bound = result.value;
  if (result.hasSolution) {
    limits.hasSolution = true;
    limits.bestValue = result.value;
  }
  result.stats.firstPassSeconds = ElapsedSeconds(limits);
  return MethodOutcome::Answered;
}

}  // namespace zoint
