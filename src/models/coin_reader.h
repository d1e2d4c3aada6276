// LP and MPS files, read through CoinUtils (CoinLpIO, CoinMpsIO).
//
// CoinLpIO crashes or loops forever on some files cut short, and both readers
// print to standard output. So the text is checked first (lp_text.h,
// mps_text.h), and CoinUtils then reads the file in a child process: a crash
// or a loop there becomes a one-line error, never the caller's.
//
// Numbers pass through CoinUtils as doubles. One is taken exactly when it is
// an integer below 2^53 in magnitude or has at most 15 significant digits
// (then the double prints back as the decimal written); anything else is
// rejected rather than rounded.
#ifndef ZOINT_MODELS_COIN_READER_H
#define ZOINT_MODELS_COIN_READER_H

#include <cstdint>
#include <string>

#include "models/raw_model.h"

namespace zoint {

// Reads a model from its file's text (decompressed). Builds without
// CoinUtils reject every such file, saying so.
ReadOutcome ReadCoinModel(bool lp, const std::string& text, RawModel& model, ModelError& error,
                          const volatile int32_t* cancel);

}  // namespace zoint

#endif  // ZOINT_MODELS_COIN_READER_H
