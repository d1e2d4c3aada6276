// The CPLEX LP text around CoinLpIO: what is checked before it reads a file,
// and where names sit for messages. CoinLpIO crashes or loops on a file cut
// short, and silently drops what it does not model, so these checks come
// first.
#ifndef ZOINT_MODELS_LP_TEXT_H
#define ZOINT_MODELS_LP_TEXT_H

#include <string>
#include <string_view>
#include <vector>

#include "models/raw_model.h"

namespace zoint {

// False, with error, when the text does not end with "End", or holds a
// quadratic term, an SOS section or semi-continuous variables.
bool CheckLpText(const std::string& text, ModelError& error);

// For each name, the line where it first appears as a token outside
// comments; 0 where it appears nowhere. One pass over the text.
std::vector<LineNumber> LpLinesOf(const std::string& text, const std::vector<std::string>& names);

// The line without its comment, which starts at '\' or '/' that opens the
// line or follows a blank, as CoinLpIO reads it.
std::string_view LpWithoutComment(std::string_view line);

// The line where the objective starts: its keyword's (Minimize, Maximize,
// ...) when more follows it there, else the next line with anything on it;
// 0 without a keyword.
LineNumber LpObjectiveLine(const std::string& text);

}  // namespace zoint

#endif  // ZOINT_MODELS_LP_TEXT_H
