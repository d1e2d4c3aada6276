// The two exchange files: the problem the host wrote and the answer it reads.
// They know the problem record and the file layer, nothing of a run.
#ifndef ZOINT_EXCHANGE_H
#define ZOINT_EXCHANGE_H

#include <cstdint>

#include "exchange/messages.h"
#include "problem/problem.h"

namespace zoint {

// Reads ./ZOIntIn.dat into problem. Returns Failure::None when it was read
// whole; otherwise the input failure to tell the user, with problem in
// whatever state the reading reached.
Failure ReadProblemFile(Problem& problem);

// Writes ./ZOIntOut.dat: the value, then (n ≥ 1) vector[0 … n−1] separated by
// commas. Returns Failure::OutputNotWritable when the file could not be
// opened, written or closed, after removing what was written.
Failure WriteSolutionFile(int64_t value, const int64_t* vector, int32_t n);

}  // namespace zoint

#endif  // ZOINT_EXCHANGE_H
