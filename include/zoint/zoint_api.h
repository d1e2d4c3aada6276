/* ZOInt's direct C API: solves a 0-1 program held in memory.
 *
 *   minimise  costs[0]·x_0 + … + costs[n−1]·x_{n−1}
 *   subject to rows[j·n + 0]·x_0 + … + rows[j·n + n−1]·x_{n−1} ≤ rhs[j]  for j = 0 … m−1
 *              x_i ∈ {0, 1}
 *
 * Unlike ZOInterProgram (zoint/ZOInt.h) it reads and writes no file, never
 * looks at the working directory, prints nothing and keeps no state: any
 * number of calls may run at once on different threads.
 *
 * Exported by libzoint.so (link with -lzoint). The Windows DLL exports
 * ZOInterProgram alone.
 */
#ifndef ZOINT_ZOINT_API_H
#define ZOINT_ZOINT_API_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define ZOINT_MAX_VARIABLES 100
#define ZOINT_MAX_CONSTRAINTS 50
/* The value reported when there is no assignment: the largest int64_t. */
#define ZOINT_NO_SOLUTION INT64_MAX

typedef enum zoint_status {
  ZOINT_OPTIMAL = 0,       /* *value is the least objective, x the lexicographically smallest
                              assignment reaching it (x_0 most significant, 0 before 1) */
  ZOINT_INFEASIBLE = 1,    /* proven: no assignment meets every row; *value is ZOINT_NO_SOLUTION,
                              x all 0 */
  ZOINT_STOPPED = 2,       /* the time limit, the node limit or the cancel flag stopped the search;
                              *value and x are the best assignment found (ZOINT_NO_SOLUTION and all
                              0 when none was found), not proven optimal */
  ZOINT_BAD_SIZE = 3,      /* n outside 0 … 100 or m outside 0 … 50 */
  ZOINT_OUT_OF_RANGE = 4,  /* for the costs or for some row, the sum of the coefficients' magnitudes
                              (Σ|costs[i]|, Σ_i |rows[j·n + i]|) exceeds 2^63 - 1, so sums could
                              wrap and the answer would not be exact; exactly 2^63 - 1 is allowed */
  ZOINT_OUT_OF_MEMORY = 5, /* memory ran out */
  ZOINT_BAD_ARGUMENT = 6   /* a required pointer is NULL, or an option is negative or NaN */
} zoint_status;

/* What a running search reports to the progress callback. */
typedef struct zoint_progress {
  double seconds;       /* since the search started */
  uint64_t nodes;       /* search nodes explored so far */
  int32_t has_solution; /* 1 when best_value is the objective of a feasible assignment */
  int64_t best_value;   /* least objective found so far; ZOINT_NO_SOLUTION without one */
  int64_t bound;        /* no assignment has a smaller objective (exact) */
} zoint_progress;

/* Called on the solving thread. It must return normally (no longjmp, no C++
 * exception) and must not call zoint_solve on the same thread. It runs with
 * the library's floating-point settings (round to nearest, exceptions
 * masked), not the caller's. */
typedef void (*zoint_progress_callback)(const zoint_progress* progress, void* user_data);

/* Limits and hooks of one call. A structure filled with zeros has none. */
typedef struct zoint_options {
  double time_limit;                /* seconds; 0: no limit */
  uint64_t node_limit;              /* search nodes; 0: no limit */
  const volatile int32_t* cancel;   /* the search stops soon after *cancel becomes nonzero; it may
                                       be set from another thread or a signal handler; may be NULL */
  zoint_progress_callback progress; /* may be NULL */
  void* user_data;                  /* passed to progress as it is */
  double progress_interval;         /* seconds between progress calls; 0: one second */
} zoint_options;

/* Solves the problem above.
 *
 * Arguments:
 *  - n variables (0 … 100) and m rows (0 … 50);
 *  - costs: n numbers; rows: m·n numbers, row after row; rhs: m numbers. An
 *    array of length 0 may be NULL (costs when n = 0, rows when n·m = 0, rhs
 *    when m = 0). They are only read;
 *  - options: may be NULL for no limit and no hook;
 *  - value: receives the objective; never NULL;
 *  - x: receives the assignment, n entries of 0 or 1; NULL allowed when n = 0.
 *
 * Returns one zoint_status. The checks are made in this order, and the first
 * that fails gives the status: sizes (ZOINT_BAD_SIZE), pointers and options
 * (ZOINT_BAD_ARGUMENT), sums (ZOINT_OUT_OF_RANGE). *value and x are written
 * for ZOINT_OPTIMAL, ZOINT_INFEASIBLE and ZOINT_STOPPED only; after any other
 * status they are as they were.
 *
 * "Infeasible" means that no assignment meets every row with an objective
 * below ZOINT_NO_SOLUTION, the same rule as ZOInterProgram's.
 *
 * The caller's floating-point settings (rounding, exception masks, x87
 * precision) do not change the answer, and are as they were on return.
 */
zoint_status zoint_solve(int32_t n, int32_t m, const int64_t* costs, const int64_t* rows, const int64_t* rhs,
                         const zoint_options* options, int64_t* value, int32_t* x);

/* Which assignments zoint_solve_list lists. All of them follow one order:
 * by objective, then lexicographically (x_0 most significant, 0 before 1);
 * zoint_solve's answer is the first assignment in it. */
typedef enum zoint_list_kind {
  ZOINT_LIST_BEST = 0,      /* the first `capacity` assignments (fewer when fewer exist) */
  ZOINT_LIST_OPTIMAL = 1,   /* every assignment of the least objective, up to `capacity` */
  ZOINT_LIST_WITHIN_GAP = 2 /* every assignment worth at most the least objective plus `gap`,
                               up to `capacity` */
} zoint_list_kind;

/* Lists assignments of the problem zoint_solve takes, in the order above,
 * exact and each once.
 *
 * Arguments: those of zoint_solve (n, m, costs, rows, rhs, options), then:
 *  - kind: which assignments; gap: for ZOINT_LIST_WITHIN_GAP, at least 0
 *    (ignored otherwise);
 *  - capacity: how many at most, at least 1;
 *  - values: receives up to capacity objectives; xs: up to capacity·n
 *    numbers of 0 or 1, assignment k at xs[k·n] (NULL allowed when n = 0);
 *  - count: receives how many were listed;
 *  - complete: receives 1 when every assignment of the kind asked for is
 *    listed (no more than capacity of them exist), else 0. With capacity 1 and ZOINT_LIST_BEST it is 0
 *    unless there is no assignment: the one answer is not proven the only one.
 *
 * Returns ZOINT_OPTIMAL (the list as asked), ZOINT_INFEASIBLE (no
 * assignment; *count 0, *complete 1), ZOINT_STOPPED (a limit or the cancel
 * flag stopped it: the list holds the assignments proven to be the first
 * ones in the order, possibly none, and *complete is 0), or a refusal as
 * zoint_solve gives it, checked in the same order (ZOINT_BAD_ARGUMENT also
 * for a kind outside the three, a capacity below 1, a negative gap, or a
 * NULL values, xs, count or complete). Outputs are written for the first
 * three statuses only. With ZOINT_LIST_BEST and capacity 1 the list is
 * zoint_solve's answer.
 *
 * Memory: the search keeps capacity + 1 assignments of about 130 bytes each
 * beside its own. Floating-point settings as for zoint_solve. */
zoint_status zoint_solve_list(int32_t n, int32_t m, const int64_t* costs, const int64_t* rows,
                              const int64_t* rhs, const zoint_options* options, zoint_list_kind kind,
                              int64_t gap, int32_t capacity, int64_t* values, int32_t* xs, int32_t* count,
                              int32_t* complete);

#ifdef __cplusplus
}
#endif

#endif /* ZOINT_ZOINT_API_H */
