// The linear relaxation of a node: minimise c·x with free x_i in [0, 1], fixed
// x_i at their values, subject to the rows. Solved in double by a small dense
// bounded dual simplex that keeps one tableau per search level, so a child
// starts from its parent's optimal basis. The answer is only a guide: the
// search prunes only on what certified_bound proves from the multipliers.
#ifndef ZOINT_LP_RELAXATION_H
#define ZOINT_LP_RELAXATION_H

#include <cstdint>
#include <memory>

#include "exact_search/fixing.h"
#include "exact_search/oriented_problem.h"

namespace zoint {

struct LpWorkspace {
  int32_t n;                      // structural columns, then one slack per LP row
  int32_t rows;                   // LP rows: the problem rows it keeps
  int32_t cols;                   // n + rows
  int32_t rowOf[MaxConstraints];  // problem row of each LP row
  double scale[MaxConstraints];   // LP row = problem row / scale
  double rhs[MaxConstraints];     // scaled right-hand sides
  double cost[MaxVariables + MaxConstraints];
  double dualTolerance;
  std::unique_ptr<double[]> tableaus;  // per level: B⁻¹[A | I], rows × cols
  std::unique_ptr<int32_t[]> heads;    // per level: basic column of each row
  std::unique_ptr<uint8_t[]> states;   // per level: each column basic, at lower or at upper
};

struct LpResult {
  enum Status { Optimal, Infeasible, Failed } status;
  double x[MaxVariables];             // Optimal: the relaxation's x
  double multiplier[MaxConstraints];  // Optimal: y_j ≥ 0 per problem row (0 off the LP)
  double ray[MaxConstraints];         // Infeasible: a row of B⁻¹ per problem row, either sign
};

// Sets up the relaxation with levels tableau slots, each at the all-slack
// basis. Returns false when the costs are too large for double to be of use;
// rows too large, or always met, are left out (fewer rows: still a relaxation).
bool PrepareLp(LpWorkspace& lp, const OrientedProblem& problem, int32_t levels);

void CopyLpLevel(LpWorkspace& lp, int32_t from, int32_t to);

// Solves the relaxation of the node fixed as in fixing, starting from the
// level's basis and leaving the final basis there.
void SolveLp(LpWorkspace& lp, int32_t level, const OrientedProblem& problem, const Fixing& fixing,
             LpResult& result);

}  // namespace zoint

#endif  // ZOINT_LP_RELAXATION_H
