// The MPS text around CoinMpsIO: what is checked before it reads a file, the
// objective sense it does not read, and where names sit for messages.
// CoinMpsIO skips sections it does not model (QUADOBJ, for one) and ignores
// OBJSENSE, so these come from the text.
#ifndef ZOINT_MODELS_MPS_TEXT_H
#define ZOINT_MODELS_MPS_TEXT_H

#include <string>
#include <vector>

#include "models/raw_model.h"

namespace zoint {

// False, with error, when there is no ENDATA line, or a quadratic, conic or
// SOS section, or an OBJSENSE that is neither MIN nor MAX. Otherwise sets
// maximise from OBJSENSE (minimise without one).
bool CheckMpsText(const std::string& text, bool& maximise, ModelError& error);

// For each name, the first line of that column in COLUMNS, or the line
// declaring that row in ROWS; 0 where there is none. One pass over the text.
std::vector<LineNumber> MpsColumnLines(const std::string& text, const std::vector<std::string>& names);
std::vector<LineNumber> MpsRowLines(const std::string& text, const std::vector<std::string>& names);

// Where a name is declared a second time: the second ROWS line of a row, or
// the line where a column's entries start again after another column's.
LineNumber MpsRepeatedRowLine(const std::string& text, const std::string& name);
LineNumber MpsRepeatedColumnLine(const std::string& text, const std::string& name);

}  // namespace zoint

#endif  // ZOINT_MODELS_MPS_TEXT_H
