// Lines and tokens of a model file's text: the checks made before CoinUtils
// reads a file, and the line numbers that messages name.
#ifndef ZOINT_MODELS_TEXT_SCAN_H
#define ZOINT_MODELS_TEXT_SCAN_H

#include <string>
#include <string_view>
#include <vector>

#include "models/raw_model.h"

namespace zoint {

// Calls visit(lineNumber, line) for each line, without its line end (LF or
// CR LF), until visit returns false.
template <typename Visit>
void ForEachLine(const std::string& text, Visit visit) {
  size_t start = 0;
  LineNumber number = 1;
  while (start < text.size()) {
    size_t stop = text.find('\n', start);
    if (stop == std::string::npos) stop = text.size();
    std::string_view line(text.data() + start, stop - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!visit(number, line)) return;
    start = stop + 1;
    ++number;
  }
}

// The tokens of a line, split at white space and at any of `delimiters`
// (which are dropped).
std::vector<std::string_view> Tokens(std::string_view line, const char* delimiters);

// ASCII lower case, for keywords.
std::string Lowercase(std::string_view text);

// A short printable excerpt for messages: control bytes escaped, cut at 40.
std::string Printable(std::string_view text);

}  // namespace zoint

#endif  // ZOINT_MODELS_TEXT_SCAN_H
