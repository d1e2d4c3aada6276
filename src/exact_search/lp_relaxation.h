// The linear relaxation of a node: minimise c·x with free x_i in [0, 1], fixed
// x_i at their values, subject to the rows. Solved in double by a bounded dual
// simplex over an explicit basis inverse (the rows are few, the columns many),
// which keeps one basis per search level, so a child, or a trial branch,
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
  int32_t n;                          // structural columns; slack n + r belongs to LP row r
  int32_t rows;                       // LP rows: the problem rows it keeps
  int32_t cols;                       // n + rows
  int32_t rowOf[MaxConstraints];            // problem row of each LP row
  double scale[MaxConstraints];             // LP row = problem row / scale
  double rhs[MaxConstraints];               // scaled right-hand sides
  double cost[MaxVariables];          // structural costs; slacks cost 0
  double dualTolerance;               // reduced costs this close to 0 count as 0
  std::unique_ptr<double[]> columns;  // the scaled rows by columns: columns[i·rows + r]
  // Per level: the basis inverse (rows × rows, row-major), the reduced costs
  // of that basis (cols), the basic column of each row, the state of each
  // column, and the pivots made since the inverse was last formed afresh.
  std::unique_ptr<double[]> inverses;
  std::unique_ptr<double[]> reduced;
  std::unique_ptr<int32_t[]> heads;
  std::unique_ptr<uint8_t[]> states;
  std::unique_ptr<int32_t[]> ages;
};

struct LpResult {
  enum Status { Optimal, Infeasible, Failed } status;
  int32_t iterations;           // dual simplex pivots of this solve
  double x[MaxVariables];       // Optimal: the relaxation's x
  double multiplier[MaxConstraints];  // Optimal: y_j ≥ 0 per problem row (0 off the LP)
  double ray[MaxConstraints];         // Infeasible: a row of B⁻¹ per problem row, either sign
};

// Sets up the relaxation with levels basis slots, each at the all-slack
// basis. Returns false when the costs are too large for double to be of use;
// rows too large, or always met, are left out (fewer rows: still a relaxation).
bool PrepareLp(LpWorkspace& lp, const OrientedProblem& problem, int32_t levels);

void CopyLpLevel(LpWorkspace& lp, int32_t from, int32_t to);

// Forms the level's inverse and reduced costs afresh from its basis.
void RefreshLpLevel(LpWorkspace& lp, int32_t level);

// A level's basis in a few bytes: the basic column of each row. The bound
// each other column sits at follows from its reduced cost when it is solved.
struct CompactBasis {
  uint8_t head[MaxConstraints];
};
static_assert(MaxVariables + MaxConstraints <= 256, "a basic column index must fit in a byte");

void SaveLpBasis(LpWorkspace& lp, int32_t level, CompactBasis& basis);

// Makes the saved basis the level's, with its inverse and reduced costs
// formed afresh.
void LoadLpBasis(LpWorkspace& lp, int32_t level, const CompactBasis& basis);

// Solves the relaxation of the node fixed as in fixing, starting from the
// level's basis and leaving the final basis there. The reduced costs of
// columns fixed at the node are not kept up to date, as no node below needs
// them; a basis taken to a node where they are free again must be refreshed.
void SolveLp(LpWorkspace& lp, int32_t level, const OrientedProblem& problem, const Fixing& fixing,
             LpResult& result);

}  // namespace zoint

#endif  // ZOINT_LP_RELAXATION_H
