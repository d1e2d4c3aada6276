#include "exact_search/solution_list.h"

#include <algorithm>
#include <vector>

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

namespace {

// y with x_a and x_b (b < 0: none) flipped, if it meets every row: its
// activities are the given ones moved by the two columns, each a sum over a
// subset of one row's coefficients, so none overflows.
void InsertFlipped(SolutionList& list, const OrientedProblem& problem, int8_t* y, const int64_t* activity,
                   int64_t value, int32_t a, int32_t b) {
  for (int32_t j = 0; j < problem.m; ++j) {
    int64_t moved = activity[j] + (y[a] ? -problem.column[a][j] : problem.column[a][j]);
    if (b >= 0) moved += y[b] ? -problem.column[b][j] : problem.column[b][j];
    if (moved > problem.rhs[j]) return;
  }
  int64_t flipped = value + (y[a] ? -problem.cost[a] : problem.cost[a]);
  if (b >= 0) flipped += y[b] ? -problem.cost[b] : problem.cost[b];
  y[a] = static_cast<int8_t>(1 - y[a]);
  if (b >= 0) y[b] = static_cast<int8_t>(1 - y[b]);
  InsertSolution(list, problem, y, flipped);
  y[a] = static_cast<int8_t>(1 - y[a]);
  if (b >= 0) y[b] = static_cast<int8_t>(1 - y[b]);
}

}  // namespace

void InsertNeighbours(SolutionList& list, const OrientedProblem& problem, const int8_t* y) {
  int8_t copy[MaxVariables];
  int64_t activity[MaxConstraints];
  int64_t value = 0;
  for (int32_t i = 0; i < problem.n; ++i) {
    copy[i] = y[i];
    if (y[i]) value += problem.cost[i];
  }
  for (int32_t j = 0; j < problem.m; ++j) {
    activity[j] = 0;
    for (int32_t i = 0; i < problem.n; ++i) {
      if (y[i]) activity[j] += problem.column[i][j];
    }
  }
  InsertSolution(list, problem, copy, value);
  for (int32_t a = 0; a < problem.n; ++a) {
    InsertFlipped(list, problem, copy, activity, value, a, -1);
    for (int32_t b = a + 1; b < problem.n; ++b) InsertFlipped(list, problem, copy, activity, value, a, b);
  }
}

void InsertNeighbourhoods(SolutionList& list, const OrientedProblem& problem, const int8_t* y,
                          int32_t expansions) {
  if (expansions < 1) return;
  InsertNeighbours(list, problem, y);
  // The keys (of x) of the assignments taken, kept sorted.
  std::vector<LexKey> taken;
  int8_t x[MaxVariables];
  for (int32_t i = 0; i < problem.n; ++i) x[i] = OrientedValue(problem, i, y[i]);
  taken.push_back(KeyOf(x, problem.n));
  int8_t next[MaxVariables];
  while (static_cast<int32_t>(taken.size()) < expansions) {
    const ListedSolution* entry = nullptr;
    for (const ListedSolution& listed : list.entries) {
      if (!std::binary_search(taken.begin(), taken.end(), listed.key)) {
        entry = &listed;
        break;
      }
    }
    if (entry == nullptr) return;
    taken.insert(std::upper_bound(taken.begin(), taken.end(), entry->key), entry->key);
    // Copied out: inserting moves the entries.
    for (int32_t i = 0; i < problem.n; ++i) next[i] = OrientedValue(problem, i, entry->x[i]);
    InsertNeighbours(list, problem, next);
  }
}

int64_t ListCutoff(const SolutionList& list, const OrientedProblem& problem) {
  if (list.entries.size() < list.capacity) return list.ceiling;
  return std::min(list.ceiling, list.entries.back().value - problem.offset);
}

}  // namespace zoint
