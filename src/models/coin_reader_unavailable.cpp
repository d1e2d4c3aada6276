// Builds without CoinUtils (the Windows ones): LP and MPS files are refused
// with one clear line; OPB files are still read.
#include "models/coin_reader.h"

namespace zoint {

ReadOutcome ReadCoinModel(bool lp, const std::string& text, RawModel& model, ModelError& error,
                          const volatile int32_t* cancel) {
  (void)text;
  (void)model;
  (void)cancel;
  error = {0, std::string("this build of zoint reads no ") + (lp ? "LP" : "MPS") +
                  " files (it was built without CoinUtils); OPB files work"};
  return ReadOutcome::Rejected;
}

}  // namespace zoint
