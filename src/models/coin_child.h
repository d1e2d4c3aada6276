// The CoinUtils side of reading an LP or MPS file; runs in the child process
// of coin_reader.cpp.
#ifndef ZOINT_MODELS_COIN_CHILD_H
#define ZOINT_MODELS_COIN_CHILD_H

#include <cstddef>
#include <string>
#include <vector>

#include "models/coin_data.h"
#include "models/lp_ranges.h"

namespace zoint {

// Reads LP text with CoinLpIO, from memory: the file's name, its letter case
// and its compression play no part. `sides` are the ranged rows' sides that
// lp_ranges.h took out of the text, set back here on the rows counted there
// (`constraints` of them).
CoinData ReadLpWithCoinUtils(const std::string& text, const std::vector<RangedSide>& sides,
                             size_t constraints);

// Reads MPS text with CoinMpsIO, from memory, in the fixed layout (names by
// column) or the free one (names by blanks). A NAME line ending in FREE
// makes CoinMpsIO read the free layout either way.
CoinData ReadMpsWithCoinUtils(const std::string& text, bool freeLayout);

// Both stop copying after MaxVariables + 1 columns or MaxConstraints + 1 rows
// with a finite side, with failure set: no such model can be solved.

}  // namespace zoint

#endif  // ZOINT_MODELS_COIN_CHILD_H
