// The bytes of a model file, decompressed when it is a .gz file.
#ifndef ZOINT_MODELS_MODEL_TEXT_H
#define ZOINT_MODELS_MODEL_TEXT_H

#include <string>

namespace zoint {

// A model of at most 100 variables and 50 rows is never this large; the
// limit keeps a compressed bomb from filling memory.
constexpr size_t kMaxModelBytes = size_t{1} << 30;

// Reads the whole file (gunzipped when `compressed`). False, with a reason,
// when it cannot be opened or read, is empty, is corrupt or exceeds
// kMaxModelBytes, or is compressed and this build has no zlib.
bool LoadModelText(const std::string& path, bool compressed, std::string& text, std::string& reason);

}  // namespace zoint

#endif  // ZOINT_MODELS_MODEL_TEXT_H
