#include "models/text_scan.h"

#include <cstdio>
#include <cstring>

namespace zoint {

std::vector<std::string_view> Tokens(std::string_view line, const char* delimiters) {
  std::vector<std::string_view> tokens;
  size_t start = 0;
  auto separates = [&](char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' ||
           std::strchr(delimiters, c) != nullptr;
  };
  for (size_t k = 0; k <= line.size(); ++k) {
    // strchr finds the terminating NUL too: a NUL byte separates.
    if (k == line.size() || separates(line[k])) {
      if (k > start) tokens.push_back(line.substr(start, k - start));
      start = k + 1;
    }
  }
  return tokens;
}

std::string Lowercase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

std::string Printable(std::string_view text) {
  std::string shown;
  for (size_t k = 0; k < text.size() && k < 40; ++k) {
    const unsigned char c = static_cast<unsigned char>(text[k]);
    if (c >= 0x20 && c < 0x7f) {
      shown += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
      shown += escaped;
    }
  }
  if (text.size() > 40) shown += "...";
  return shown;
}

}  // namespace zoint
