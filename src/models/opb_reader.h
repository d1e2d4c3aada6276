// The linear pseudo-Boolean format of the Pseudo-Boolean Competitions (OPB):
//   * #variable= 3 #constraint= 2        (optional first comment)
//   min: +5 x1 +3 x2 +4 x3 ;              (optional; "max:" maximises)
//   +1 x1 +1 x2 >= 1 ;                    (>=, <= or =; ~x2 stands for 1 − x2)
// No packaged library reads it, hence this small reader of our own.
#ifndef ZOINT_MODELS_OPB_READER_H
#define ZOINT_MODELS_OPB_READER_H

#include <string>

#include "models/raw_model.h"

namespace zoint {

// Variables are named as the format defines them, x followed by a number
// from 1, and are the model's in index order: x1 … xN with N from the header
// when it has one (every variable used must then be declared), otherwise the
// variables used. Coefficients are integers of at most 2^63 − 1 in
// magnitude; beyond the format, one left out is 1 ("x1 + x2 >= 1"). Stops at
// the first fault: false, with error naming the line and what was expected
// there (a missing ';' at the line it belongs on).
bool ReadOpb(const std::string& text, RawModel& model, ModelError& error);

}  // namespace zoint

#endif  // ZOINT_MODELS_OPB_READER_H
