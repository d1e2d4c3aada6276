// The search run inside the exact domain: the same answer as the
// enumeration, found with far stronger pruning.
#ifndef ZOINT_ACCELERATED_SEARCH_H
#define ZOINT_ACCELERATED_SEARCH_H

namespace zoint {

// Solves the problem in the solver state, which must lie in the exact domain,
// and leaves in the incumbent the least objective below NoSolutionValue with
// the lexicographically smallest assignment that reaches it (x_0 first, 0
// before 1), or NoSolutionValue with the zero vector when there is none.
void AcceleratedSearch();

}  // namespace zoint

#endif  // ZOINT_ACCELERATED_SEARCH_H
