/* Lists the three cheapest ways to pick two of three items, and then every
 * optimal one, through the C API:
 *   minimise x0 + x1 + 2 x2  subject to  x0 + x1 + x2 >= 2,
 * the row written as -x0 - x1 - x2 <= -2.
 *
 *   cc examples/c_api/list.c -Iinclude -Lbuild/linux -lzoint -Wl,-rpath,build/linux
 */
#include <inttypes.h>
#include <stdio.h>

#include "zoint/zoint_api.h"

int main(void) {
  const int64_t costs[3] = {1, 1, 2};
  const int64_t rows[3] = {-1, -1, -1};
  const int64_t rhs[1] = {-2};
  int64_t values[3];
  int32_t xs[3 * 3];
  int32_t count = 0;
  int32_t complete = 0;
  zoint_status status = zoint_solve_list(3, 1, costs, rows, rhs, NULL, ZOINT_LIST_BEST, 0, 3, values, xs,
                                         &count, &complete);
  if (status != ZOINT_OPTIMAL) {
    fprintf(stderr, "zoint_solve_list: status %d\n", (int)status);
    return 1;
  }
  for (int32_t k = 0; k < count; ++k) {
    printf("%" PRId64 " at x = %d,%d,%d\n", values[k], (int)xs[3 * k], (int)xs[3 * k + 1], (int)xs[3 * k + 2]);
  }
  status = zoint_solve_list(3, 1, costs, rows, rhs, NULL, ZOINT_LIST_OPTIMAL, 0, 3, values, xs, &count,
                            &complete);
  printf("%d optimal, %s\n", (int)count, complete ? "all of them" : "and more");
  return status == ZOINT_OPTIMAL ? 0 : 1;
}
