#include "models/model_text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef ZOINT_HAVE_ZLIB
#include <zlib.h>
#endif

namespace zoint {

namespace {

constexpr size_t kChunk = 1 << 16;

const char kTooLarge[] = "larger than 1 GiB; no model of at most 100 variables and 50 rows is";

bool LoadPlain(const std::string& path, std::string& text, std::string& reason) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    reason = std::string("cannot open: ") + std::strerror(errno);
    return false;
  }
  char buffer[kChunk];
  size_t got = 0;
  bool ok = true;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    if (text.size() + got > kMaxModelBytes) {
      reason = kTooLarge;
      ok = false;
      break;
    }
    text.append(buffer, got);
  }
  if (ok && std::ferror(file)) {
    reason = std::string("cannot read: ") + std::strerror(errno);
    ok = false;
  }
  std::fclose(file);
  return ok;
}

#ifdef ZOINT_HAVE_ZLIB
bool LoadCompressed(const std::string& path, std::string& text, std::string& reason) {
  // Opened first with fopen, so that a missing file is told as such.
  std::FILE* probe = std::fopen(path.c_str(), "rb");
  if (probe == nullptr) {
    reason = std::string("cannot open: ") + std::strerror(errno);
    return false;
  }
  std::fclose(probe);
  gzFile file = gzopen(path.c_str(), "rb");
  if (file == nullptr) {
    reason = "cannot open the compressed file";
    return false;
  }
  char buffer[kChunk];
  bool ok = true;
  for (;;) {
    const int got = gzread(file, buffer, sizeof buffer);
    if (got < 0) {
      int code = 0;
      reason = std::string("corrupt or truncated compressed data: ") + gzerror(file, &code);
      ok = false;
      break;
    }
    if (got == 0) break;
    if (text.size() + static_cast<size_t>(got) > kMaxModelBytes) {
      reason = kTooLarge;
      ok = false;
      break;
    }
    text.append(buffer, static_cast<size_t>(got));
  }
  // A stream cut short reads as a short file; zlib tells it apart here.
  if (ok) {
    int code = 0;
    gzerror(file, &code);
    if (code != Z_OK && code != Z_STREAM_END) {
      reason = "corrupt or truncated compressed data";
      ok = false;
    }
  }
  gzclose(file);
  return ok;
}
#endif

}  // namespace

bool LoadModelText(const std::string& path, bool compressed, std::string& text, std::string& reason) {
  text.clear();
  bool ok = false;
  if (compressed) {
#ifdef ZOINT_HAVE_ZLIB
    ok = LoadCompressed(path, text, reason);
#else
    reason = "this build of zoint reads no .gz files (built without zlib); decompress it first";
#endif
  } else {
    ok = LoadPlain(path, text, reason);
  }
  if (ok && text.empty()) {
    reason = "the file is empty";
    ok = false;
  }
  return ok;
}

}  // namespace zoint
