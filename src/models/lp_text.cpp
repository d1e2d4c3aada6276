#include "models/lp_text.h"

#include <algorithm>
#include <unordered_map>

#include "models/text_scan.h"

namespace zoint {

namespace {

// Characters that end a name in an LP file.
const char kDelimiters[] = "+-<>=:[]^*";

bool IsObjectiveKeyword(const std::string& word) {
  for (const char* keyword :
       {"min", "minimize", "minimise", "minimum", "max", "maximize", "maximise", "maximum"}) {
    if (word == keyword) return true;
  }
  return false;
}

// Where the first byte outside ASCII is; npos when there is none.
size_t NonAsciiAt(std::string_view token) {
  for (size_t k = 0; k < token.size(); ++k) {
    if (static_cast<unsigned char>(token[k]) >= 0x80) return k;
  }
  return std::string_view::npos;
}

}  // namespace

std::string_view LpWithoutComment(std::string_view line) {
  for (size_t k = 0; k < line.size(); ++k) {
    if ((line[k] == '\\' || line[k] == '/') && (k == 0 || line[k - 1] == ' ' || line[k - 1] == '\t')) {
      return line.substr(0, k);
    }
  }
  return line;
}

bool CheckLpText(const std::string& text, ModelError& error) {
  bool failed = false;
  std::string lastToken;
  LineNumber lastLine = 0;
  ForEachLine(text, [&](LineNumber number, std::string_view line) {
    lastLine = number;
    const std::string_view content = LpWithoutComment(line);
    if (content.find('[') != std::string_view::npos || content.find('^') != std::string_view::npos) {
      error = {number, "a quadratic term; only linear models can be solved"};
      failed = true;
      return false;
    }
    const std::vector<std::string_view> tokens = Tokens(content, kDelimiters);
    for (std::string_view token : tokens) {
      // CoinLpIO would name one byte of the character; here it shows whole.
      const size_t at = NonAsciiAt(token);
      if (at == std::string_view::npos) continue;
      error = {number, "the name " + Printable(token) + " holds '" +
                           Printable(token.substr(at, std::max<size_t>(Utf8CharacterLength(token, at), 1))) +
                           "'; LP names can hold only ASCII letters, digits and !\"#$%&(),.;?@_`'{}~"};
      failed = true;
      return false;
    }
    if (tokens.size() == 1) {
      const std::string word = Lowercase(tokens[0]);
      if (word == "sos" || word == "sos1" || word == "sos2") {
        error = {number, "an SOS section; only rows and bounds can be solved"};
        failed = true;
        return false;
      }
      if (word == "semi" || word == "semis" || word == "semi-continuous") {
        error = {number, "semi-continuous variables; every variable must be binary"};
        failed = true;
        return false;
      }
    }
    if (!tokens.empty()) lastToken = Lowercase(tokens.back());
    return true;
  });
  if (failed) return false;
  if (lastToken != "end") {
    error = {lastLine, "the file does not end with End (truncated?)"};
    return false;
  }
  return true;
}

std::vector<LineNumber> LpLinesOf(const std::string& text, const std::vector<std::string>& names) {
  std::vector<LineNumber> lines(names.size(), 0);
  std::unordered_map<std::string_view, std::vector<size_t>> wanted;
  for (size_t k = 0; k < names.size(); ++k) wanted[names[k]].push_back(k);
  size_t left = wanted.size();
  ForEachLine(text, [&](LineNumber number, std::string_view line) {
    for (std::string_view token : Tokens(LpWithoutComment(line), kDelimiters)) {
      const auto found = wanted.find(token);
      if (found == wanted.end() || lines[found->second.front()] != 0) continue;
      for (size_t k : found->second) lines[k] = number;
      --left;
    }
    return left > 0;
  });
  return lines;
}

LineNumber LpObjectiveLine(const std::string& text) {
  LineNumber found = 0;
  bool keywordSeen = false;
  ForEachLine(text, [&](LineNumber number, std::string_view line) {
    const std::vector<std::string_view> tokens = Tokens(LpWithoutComment(line), kDelimiters);
    if (tokens.empty()) return true;
    // The objective is on its keyword's line, or on the next one.
    if (keywordSeen || (IsObjectiveKeyword(Lowercase(tokens[0])) && tokens.size() > 1)) {
      found = number;
      return false;
    }
    keywordSeen = IsObjectiveKeyword(Lowercase(tokens[0]));
    return true;
  });
  return found;
}

}  // namespace zoint
