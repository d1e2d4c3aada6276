// Reading a model file and mapping it to a problem, for solve and convert.
#ifndef ZOINT_TOOLS_MODEL_LOADING_H
#define ZOINT_TOOLS_MODEL_LOADING_H

#include <cstdint>

#include "models/model_mapping.h"

namespace zoint_cli {

enum class Loading { Loaded, Rejected, Stopped };

// On Rejected, the reason has been printed on standard error in one line:
// "MODEL:LINE: reason" (or "MODEL: reason" where no line applies).
Loading LoadModel(const char* path, zoint::MappedModel& mapped, const volatile int32_t* cancel);

}  // namespace zoint_cli

#endif  // ZOINT_TOOLS_MODEL_LOADING_H
