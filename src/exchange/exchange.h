// The two exchange files: the problem the host wrote and the answer it reads.
#ifndef ZOINT_EXCHANGE_H
#define ZOINT_EXCHANGE_H

#include "enumeration/search_node.h"
#include "exchange/messages.h"
#include "problem/problem.h"

namespace zoint {

// Reads ./ZOIntIn.dat into problem. Returns Failure::None when it was read
// whole; otherwise the input failure to tell the user, with problem in
// whatever state the reading reached.
Failure ReadProblemFile(Problem& problem);

// Reads ./ZOIntIn.dat into the solver state. On bad input shows a warning,
// clears InputValid and leaves n = m = 0 and an all-zero problem.
void LoadProblem(SearchNode* root);

// Writes ./ZOIntOut.dat from the incumbent. If the file cannot be opened,
// written or closed, shows a warning and removes what was written.
void SaveSolution();

}  // namespace zoint

#endif  // ZOINT_EXCHANGE_H
