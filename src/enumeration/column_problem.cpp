#include "enumeration/column_problem.h"

namespace zoint {

void LoadColumns(ColumnProblem& columns, const Problem& problem, int32_t n, int32_t m) {
  columns.n = n;
  columns.m = m;
  for (int32_t i = 0; i < n; ++i) {
    columns.cost[i] = problem.coefficients[i];
    for (int32_t j = 0; j < m; ++j) columns.column[i][j] = problem.rows[j].entries[i];
  }
  for (int32_t j = 0; j < m; ++j) columns.rhs[j] = problem.rows[j].entries[RhsColumn];
}

}  // namespace zoint
