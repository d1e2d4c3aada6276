#include "support/case_input.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/run_support.h"

namespace zoint_test {

namespace {

bool Unescape(const std::string& text, std::string& bytes) {
  bytes.clear();
  for (size_t k = 0; k < text.size(); ++k) {
    if (text[k] != '\\') {
      bytes += text[k];
      continue;
    }
    if (++k == text.size()) return false;
    switch (text[k]) {
      case 'n':
        bytes += '\n';
        break;
      case 'r':
        bytes += '\r';
        break;
      case 't':
        bytes += '\t';
        break;
      case '0':
        bytes += '\0';
        break;
      case '\\':
        bytes += '\\';
        break;
      default:
        return false;
    }
  }
  return true;
}

}  // namespace

bool CaseInput(const std::string& caseDir, std::string& bytes, std::string& error) {
  error.clear();
  bytes.clear();
  if (FileExists(caseDir + "/ZOIntIn.dat")) {
    bytes = ReadFile(caseDir + "/ZOIntIn.dat");
    return true;
  }
  if (!FileExists(caseDir + "/ZOIntIn.recipe")) return false;
  std::istringstream recipe(ReadFile(caseDir + "/ZOIntIn.recipe"));
  std::string line;
  for (int number = 1; std::getline(recipe, line); ++number) {
    const size_t blank = line.find(' ');
    char* end = nullptr;
    const long count = std::strtol(line.c_str(), &end, 10);
    std::string piece;
    if (blank == std::string::npos || end != line.c_str() + blank || count < 0 ||
        !Unescape(line.substr(blank + 1), piece)) {
      error = caseDir + "/ZOIntIn.recipe line " + std::to_string(number) + ": expected COUNT TEXT";
      bytes.clear();
      return false;
    }
    bytes.reserve(bytes.size() + piece.size() * static_cast<size_t>(count));
    for (long k = 0; k < count; ++k) bytes += piece;
  }
  return true;
}

}  // namespace zoint_test
