// Slack columns, as glpsol and CBC write a ranged row:
//   r1: x - y - z - ~r_1 = -2   with   0 <= ~r_1 <= 1
// which is -2 <= x - y - z <= -1. A continuous variable with no cost, two
// finite bounds apart and a single row is such a slack: folded into that
// row's sides, it leaves the same 0-1 model without it.
#ifndef ZOINT_MODELS_SLACK_FOLDING_H
#define ZOINT_MODELS_SLACK_FOLDING_H

#include "models/raw_model.h"

namespace zoint {

// The model with every slack folded into its row and taken out of the
// variables (the others keep their order). False, with error, when a side
// it makes cannot be held exactly.
bool FoldSlacks(const RawModel& model, RawModel& folded, ModelError& error);

}  // namespace zoint

#endif  // ZOINT_MODELS_SLACK_FOLDING_H
