#include "models/mps_text.h"

#include <unordered_map>
#include <vector>

#include "models/text_scan.h"

namespace zoint {

namespace {

bool IsComment(std::string_view line) { return !line.empty() && line[0] == '*'; }

// A section header starts in the first column; data lines are indented.
bool IsHeader(std::string_view line) { return !line.empty() && line[0] != ' ' && line[0] != '\t'; }

std::string Uppercase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

// Calls visit(lineNumber, section, tokens) for each data line, until it
// returns false. Comment and blank lines are skipped.
template <typename Visit>
void ForEachDataLine(const std::string& text, Visit visit) {
  std::string section;
  ForEachLine(text, [&](LineNumber number, std::string_view line) {
    if (IsComment(line)) return true;
    const std::vector<std::string_view> tokens = Tokens(line, "");
    if (tokens.empty()) return true;
    if (IsHeader(line)) {
      section = Uppercase(tokens[0]);
      return true;
    }
    return visit(number, section, tokens);
  });
}

bool IsMarker(const std::vector<std::string_view>& tokens) {
  return tokens.size() >= 2 && Uppercase(tokens[1]) == "'MARKER'";
}

// For each name, the first data line of `section` whose token at
// `position` is that name.
std::vector<LineNumber> FirstLines(const std::string& text, const std::vector<std::string>& names,
                                   const char* wantedSection, size_t position) {
  std::vector<LineNumber> lines(names.size(), 0);
  std::unordered_map<std::string_view, std::vector<size_t>> wanted;
  for (size_t k = 0; k < names.size(); ++k) wanted[names[k]].push_back(k);
  size_t left = wanted.size();
  ForEachDataLine(
      text, [&](LineNumber number, const std::string& section, const std::vector<std::string_view>& tokens) {
        if (section != wantedSection || tokens.size() <= position || IsMarker(tokens)) return true;
        const auto found = wanted.find(tokens[position]);
        if (found != wanted.end() && lines[found->second.front()] == 0) {
          for (size_t k : found->second) lines[k] = number;
          --left;
        }
        return left > 0;
      });
  return lines;
}

}  // namespace

bool CheckMpsText(const std::string& text, bool& maximise, ModelError& error) {
  maximise = false;
  bool failed = false;
  bool ended = false;
  bool senseNext = false;  // OBJSENSE stood alone: its value is on the next line
  LineNumber lastLine = 0;
  auto fail = [&](LineNumber line, const std::string& reason) {
    error = {line, reason};
    failed = true;
    return false;
  };
  auto readSense = [&](LineNumber line, std::string_view word) {
    const std::string sense = Uppercase(word);
    if (sense == "MAX" || sense == "MAXIMIZE" || sense == "MAXIMISE") {
      maximise = true;
    } else if (sense != "MIN" && sense != "MINIMIZE" && sense != "MINIMISE") {
      return fail(line, "OBJSENSE must be MIN or MAX, not '" + Printable(word) + "'");
    }
    return true;
  };
  ForEachLine(text, [&](LineNumber number, std::string_view line) {
    lastLine = number;
    if (IsComment(line)) return true;
    const std::vector<std::string_view> tokens = Tokens(line, "");
    if (tokens.empty()) return true;
    if (senseNext) {
      senseNext = false;
      return readSense(number, tokens[0]);
    }
    if (!IsHeader(line)) return true;
    const std::string section = Uppercase(tokens[0]);
    if (section == "ENDATA") {
      ended = true;
      return false;
    }
    if (section == "QUADOBJ" || section == "QMATRIX" || section == "QSECTION" || section == "QCMATRIX") {
      return fail(number, "a quadratic section (" + section + "); only linear models can be solved");
    }
    if (section == "CSECTION") return fail(number, "a conic section; only linear models can be solved");
    if (section == "SOS") return fail(number, "an SOS section; only rows and bounds can be solved");
    if (section == "OBJSENSE") {
      if (tokens.size() >= 2) return readSense(number, tokens[1]);
      senseNext = true;
    }
    return true;
  });
  if (failed) return false;
  if (!ended) {
    error = {lastLine, "no ENDATA line (truncated?)"};
    return false;
  }
  return true;
}

std::vector<LineNumber> MpsColumnLines(const std::string& text, const std::vector<std::string>& names) {
  return FirstLines(text, names, "COLUMNS", 0);
}

std::vector<LineNumber> MpsRowLines(const std::string& text, const std::vector<std::string>& names) {
  return FirstLines(text, names, "ROWS", 1);
}

LineNumber MpsRepeatedRowLine(const std::string& text, const std::string& name) {
  LineNumber found = 0;
  int seen = 0;
  ForEachDataLine(
      text, [&](LineNumber number, const std::string& section, const std::vector<std::string_view>& tokens) {
        if (section == "ROWS" && tokens.size() >= 2 && tokens[1] == name && ++seen == 2) {
          found = number;
          return false;
        }
        return true;
      });
  return found;
}

LineNumber MpsRepeatedColumnLine(const std::string& text, const std::string& name) {
  LineNumber found = 0;
  bool seen = false;
  std::string previous;
  ForEachDataLine(
      text, [&](LineNumber number, const std::string& section, const std::vector<std::string_view>& tokens) {
        if (section != "COLUMNS" || IsMarker(tokens)) return true;
        if (tokens[0] == name && previous != name) {
          if (seen) {
            found = number;
            return false;
          }
          seen = true;
        }
        previous = std::string(tokens[0]);
        return true;
      });
  return found;
}

}  // namespace zoint
