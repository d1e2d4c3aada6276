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

// The length of the UTF-8 character that starts at text[at]: 1 for ASCII,
// 2 to 4 for a whole, well-formed sequence; 0 when the bytes there are not
// one (a stray continuation byte, a sequence cut short, an overlong form).
size_t Utf8CharacterLength(std::string_view text, size_t at);

// Text for a message, as the file has it: whole UTF-8 characters as they
// are; control bytes, and bytes that are no whole character, escaped as
// \xNN, so that no message shows half a character. Cut after
// `maxCharacters` characters, with "..." added.
std::string Printable(std::string_view text, size_t maxCharacters = 40);

}  // namespace zoint

#endif  // ZOINT_MODELS_TEXT_SCAN_H
