// Ranged rows of CPLEX LP files, "r1: -2 <= x - y - z <= -1", which CoinLpIO
// does not read. Each is rewritten in place as "r1: x - y - z <= -1", on the
// same lines, and the side taken out is set on the row once CoinLpIO has
// read it.
#ifndef ZOINT_MODELS_LP_RANGES_H
#define ZOINT_MODELS_LP_RANGES_H

#include <cstddef>
#include <string>
#include <vector>

#include "models/raw_model.h"

namespace zoint {

// The side a rewritten row lost: its lower side for "L <= ... <= U", its
// upper side for "U >= ... >= L".
struct RangedSide {
  size_t constraint;  // the row's place among the constraints, from 0, in file order
  std::string label;  // its name as written; "" when it has none
  bool lower;         // which side `value` is
  std::string value;  // the number as written, sign included
  LineNumber line;
};

// Rewrites every ranged row of the Subject To section, blanking its left
// side and first relation, and lists the sides taken out. Also counts the
// constraints, so that the reader can check its rows are the ones counted.
// False, with error at its line, for a row whose two relations do not point
// the same way.
bool SplitRangedRows(std::string& text, std::vector<RangedSide>& sides, size_t& constraints,
                     ModelError& error);

}  // namespace zoint

#endif  // ZOINT_MODELS_LP_RANGES_H
