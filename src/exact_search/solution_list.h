// The first assignments in the order every list of answers uses: by
// objective, then lexicographically (x_0 most significant, 0 before 1). A
// search that collects them inserts every feasible assignment it meets;
// the list keeps the first `capacity` of them, each once.
#ifndef ZOINT_SOLUTION_LIST_H
#define ZOINT_SOLUTION_LIST_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "exact_search/oriented_problem.h"
#include "exact_search/tie_boxes.h"

namespace zoint {

struct ListedSolution {
  int64_t value;           // in the caller's objective (x)
  LexKey key;              // x, as a number in lexicographic order
  int8_t x[MaxVariables];  // entries 0 … n−1
};

// (value, x) before (value', x') in the list's order.
bool Precedes(const ListedSolution& a, const ListedSolution& b);

struct SolutionList {
  size_t capacity;                      // at least 1
  int64_t ceiling;                      // in y: nothing above it is wanted
  std::vector<ListedSolution> entries;  // in order, at most capacity
};

void StartSolutionList(SolutionList& list, size_t capacity, int64_t ceilingInY);

// Inserts y (worth valueInY) unless it is already listed or comes after the
// last of a full list.
void InsertSolution(SolutionList& list, const OrientedProblem& problem, const int8_t* y, int64_t valueInY);

// Inserts every assignment that meets the rows within two flips of y (which
// meets them): near the best, they fill a list long before a search would,
// and so give it a near cutoff from its start.
void InsertNeighbours(SolutionList& list, const OrientedProblem& problem, const int8_t* y);

// InsertNeighbours for y, then for the first listed entry not yet taken,
// and so on, for at most `expansions` assignments in all: the best
// assignments of a knapsack lie a few flips from one another, so the list
// fills with near its final entries, and the search that follows starts
// with a cutoff near its last one.
void InsertNeighbourhoods(SolutionList& list, const OrientedProblem& problem, const int8_t* y,
                          int32_t expansions);

// Completions worth more than this (in y) cannot enter the list: the
// ceiling, or the value of the last entry once the list is full (ties with
// it still can, if smaller in x).
int64_t ListCutoff(const SolutionList& list, const OrientedProblem& problem);

}  // namespace zoint

#endif  // ZOINT_SOLUTION_LIST_H
