// The stages of one run between its start and its reset: read the problem,
// solve it by the mode chosen, report the answer on the console, write the
// answer file. Each works on the run's own state.
#ifndef ZOINT_STAGES_H
#define ZOINT_STAGES_H

#include <string>

#include "problem/problem.h"
#include "run/run_report.h"
#include "run/solver_state.h"

namespace zoint {

// Reads ./ZOIntIn.dat into state.problem and sets InputValid. On bad input
// shows the warning, clears InputValid and leaves an all-zero problem.
void LoadProblem(SolverState& state);

// The mode a problem is solved by. Where no sum can wrap the answer is the
// least objective below NoSolutionValue and, among the assignments reaching
// it, the lexicographically smallest, whatever the signs of the costs: the
// exact search computes exactly that. With every cost ≥ 0 it is also what
// the enumeration finds: its tests are then exact, it visits assignments in
// lexicographic order and replaces the incumbent only on a strict
// improvement. With a negative cost the enumeration can close subtrees that
// hold better assignments, so it runs only where sums can wrap, its wrapping
// arithmetic being the only definition of the answer there, or when asked.
SolveMode ChooseSolveMode(const Problem& problem, SolveRequest request);

// Solves the loaded problem by mode and leaves the answer in the incumbent,
// the counters in the report. Does nothing when the load failed.
void Search(SolverState& state, SolveMode mode);

// The console report of the incumbent: "OutPut: ", one "X[i]: v \t" item per
// variable, then "Final: " and the value, with no line feed after it.
std::string ConsoleReport(const SolverState& state);

// Writes ./ZOIntOut.dat from the incumbent. If the file cannot be opened,
// written or closed, shows a warning and removes what was written.
void SaveSolution(SolverState& state);

}  // namespace zoint

#endif  // ZOINT_STAGES_H
