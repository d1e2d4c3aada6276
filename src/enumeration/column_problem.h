// The loaded problem as the accelerated search reads it: by columns, so the
// tests that fix one variable touch one contiguous column.
#ifndef ZOINT_COLUMN_PROBLEM_H
#define ZOINT_COLUMN_PROBLEM_H

#include <cstdint>

#include "enumeration/search_node.h"

namespace zoint {

struct ColumnProblem {
  int32_t n;
  int32_t m;
  int64_t cost[MaxVariables];
  int64_t column[MaxVariables][MaxConstraints];  // column[i][j] = a_ji
  int64_t rhs[MaxConstraints];
};

void LoadColumns(ColumnProblem& columns, const Problem& problem, int32_t n, int32_t m);

}  // namespace zoint

#endif  // ZOINT_COLUMN_PROBLEM_H
