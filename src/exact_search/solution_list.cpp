#include "exact_search/solution_list.h"

#include <algorithm>

namespace zoint {

bool Precedes(const ListedSolution& a, const ListedSolution& b) {
  if (a.value != b.value) return a.value < b.value;
  return a.key < b.key;
}

void StartSolutionList(SolutionList& list, size_t capacity, int64_t ceilingInY) {
  list.capacity = capacity < 1 ? 1 : capacity;
  list.ceiling = ceilingInY;
  list.entries.clear();
}

void InsertSolution(SolutionList& list, const OrientedProblem& problem, const int8_t* y, int64_t valueInY) {
  if (valueInY > list.ceiling) return;
  ListedSolution solution;
  solution.value = problem.offset + valueInY;
  for (int32_t i = 0; i < problem.n; ++i) solution.x[i] = OrientedValue(problem, i, y[i]);
  solution.key = KeyOf(solution.x, problem.n);
  const auto at = std::lower_bound(list.entries.begin(), list.entries.end(), solution, Precedes);
  // Equal value and key is the same assignment: listed once.
  if (at != list.entries.end() && at->value == solution.value && !(solution.key < at->key)) return;
  if (list.entries.size() == list.capacity) {
    if (at == list.entries.end()) return;
    list.entries.pop_back();
  }
  list.entries.insert(at, solution);
}

int64_t ListCutoff(const SolutionList& list, const OrientedProblem& problem) {
  if (list.entries.size() < list.capacity) return list.ceiling;
  return std::min(list.ceiling, list.entries.back().value - problem.offset);
}

}  // namespace zoint
