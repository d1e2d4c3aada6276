#include "models/text_scan.h"

#include <cstdint>
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

size_t Utf8CharacterLength(std::string_view text, size_t at) {
  const unsigned char lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return 1;
  // The lead byte gives the length and the least value the sequence may
  // encode, so that overlong forms and surrogates are refused.
  size_t length = 0;
  uint32_t value = 0;
  uint32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1Fu;
    least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0Fu;
    least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07u;
    least = 0x10000;
  } else {
    return 0;
  }
  if (text.size() - at < length) return 0;
  for (size_t k = 1; k < length; ++k) {
    const unsigned char next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0u) != 0x80u) return 0;
    value = (value << 6) | (next & 0x3Fu);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  return length;
}

std::string Printable(std::string_view text, size_t maxCharacters) {
  std::string shown;
  size_t characters = 0;
  size_t at = 0;
  for (; at < text.size() && characters < maxCharacters; ++characters) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    const size_t length = Utf8CharacterLength(text, at);
    if (length > 1 || (c >= 0x20 && c < 0x7f)) {
      shown.append(text.data() + at, length);
      at += length;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
      shown += escaped;
      ++at;
    }
  }
  if (at < text.size()) shown += "...";
  return shown;
}

}  // namespace zoint
