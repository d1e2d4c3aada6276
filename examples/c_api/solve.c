/* Solves the worked example through the C API, with no file:
 *   minimise 5 x0 + 3 x1 + 4 x2  subject to  x0 + x1 >= 1,  x1 + x2 >= 1,
 * the rows written as -x0 - x1 <= -1 and -x1 - x2 <= -1.
 *
 *   cc examples/c_api/solve.c -Iinclude -Lbuild/linux -lzoint -Wl,-rpath,build/linux
 */
#include <inttypes.h>
#include <stdio.h>

#include "zoint/zoint_api.h"

int main(void) {
  const int64_t costs[3] = {5, 3, 4};
  const int64_t rows[2 * 3] = {-1, -1, 0,   /* row 0 */
                               0,  -1, -1}; /* row 1 */
  const int64_t rhs[2] = {-1, -1};
  zoint_options options = {0}; /* zeros: no limit, no hook */
  options.time_limit = 10.0;   /* seconds */
  int64_t value = 0;
  int32_t x[3];

  zoint_status status = zoint_solve(3, 2, costs, rows, rhs, &options, &value, x);
  switch (status) {
    case ZOINT_OPTIMAL:
      printf("optimal %" PRId64 " at x = %d,%d,%d\n", value, (int)x[0], (int)x[1], (int)x[2]);
      return 0;
    case ZOINT_INFEASIBLE:
      printf("infeasible\n");
      return 0;
    case ZOINT_STOPPED: /* the best found, if value != ZOINT_NO_SOLUTION */
      printf("stopped\n");
      return 3;
    default: /* ZOINT_BAD_SIZE, ZOINT_OUT_OF_RANGE, ZOINT_OUT_OF_MEMORY, ZOINT_BAD_ARGUMENT */
      fprintf(stderr, "zoint_solve: status %d\n", (int)status);
      return 1;
  }
}
