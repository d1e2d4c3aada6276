// A model file, by its name: .lp (CPLEX LP), .mps (fixed or free MPS) or
// .opb (linear pseudo-Boolean), each also as .gz.
#ifndef ZOINT_MODELS_MODEL_FILE_H
#define ZOINT_MODELS_MODEL_FILE_H

#include <cstdint>
#include <string>

#include "models/raw_model.h"

namespace zoint {

enum class ModelFormat { Lp, Mps, Opb };

// The format a file name ends in, in any letter case; false for any other
// ending.
bool FormatOfPath(const std::string& path, ModelFormat& format, bool& compressed);

// Reads the model at path, whose name FormatOfPath accepts. cancel may be
// null; while CoinUtils reads, raising it stops the reading.
ReadOutcome ReadModelFile(const std::string& path, RawModel& model, ModelError& error,
                          const volatile int32_t* cancel);

}  // namespace zoint

#endif  // ZOINT_MODELS_MODEL_FILE_H
