// What the libFuzzer targets share: a violated property aborts with its
// description, so that libFuzzer keeps the input; input bytes are read in
// turn, zeros once they run out.
#ifndef ZOINT_FUZZ_SUPPORT_H
#define ZOINT_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace zoint_fuzz {

[[noreturn]] inline void Fail(const char* target, const std::string& what) {
  std::fprintf(stderr, "\n%s: property violated: %s\n", target, what.c_str());
  std::abort();
}

struct Bytes {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  uint8_t Next() { return at < size ? data[at++] : 0; }
};

}  // namespace zoint_fuzz

#endif  // ZOINT_FUZZ_SUPPORT_H
