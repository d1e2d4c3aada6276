// The CoinUtils side of reading an LP or MPS file; runs in the child process
// of coin_reader.cpp.
#ifndef ZOINT_MODELS_COIN_CHILD_H
#define ZOINT_MODELS_COIN_CHILD_H

#include <string>

#include "models/coin_data.h"

namespace zoint {

// Reads the file with CoinLpIO (lp) or CoinMpsIO, which decompress .gz files
// themselves. Stops copying after MaxVariables + 1 columns or MaxConstraints
// + 1 rows with a finite side, with failure set: no such model can be solved.
CoinData ReadWithCoinUtils(const std::string& path, bool lp);

}  // namespace zoint

#endif  // ZOINT_MODELS_COIN_CHILD_H
