// Writes the answer file: the value, then the assignment as comma-separated
// values (that line only when there are variables).
#include <cinttypes>
#include <cstdio>
#include <string>

#include "exchange/exchange.h"
#include "platform/platform.h"

namespace zoint {

namespace {

std::string SolutionText(int64_t value, const int64_t* vector, int32_t n) {
  char number[32];
  std::snprintf(number, sizeof number, "%" PRId64 "\n", value);
  std::string text = number;
  for (int32_t i = 0; i < n; ++i) {
    std::snprintf(number, sizeof number, "%" PRId64 ",", vector[i]);
    text += number;
  }
  // The comma after the last entry becomes the line end.
  if (n > 0) text.back() = '\n';
  return text;
}

}  // namespace

Failure WriteSolutionFile(int64_t value, const int64_t* vector, int32_t n) {
  const std::string text = SolutionText(value, vector, n);
  platform::File* file = platform::OpenSolutionFile();
  bool ok = file != nullptr;
  if (ok) {
    ok = platform::WriteText(file, text);
    if (!platform::CloseFile(file)) ok = false;
  }
  if (ok) return Failure::None;
  // A partial or stale file must not pass for this run's answer.
  platform::RemoveSolutionFile();
  return Failure::OutputNotWritable;
}

}  // namespace zoint
