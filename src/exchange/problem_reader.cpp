// Reads the problem file: "n,m", the objective line, then one line per
// constraint with its n coefficients and right-hand side, comma separated.
#include <cstring>
#include <string>

#include "exchange/exchange.h"
#include "exchange/messages.h"
#include "exchange/number_scan.h"
#include "platform/platform.h"
#include "run/solver_state.h"

namespace zoint {

namespace {

const char kByteOrderMark[] = "\xEF\xBB\xBF";

// A line is scanned as the C string it would be in a line buffer: its text
// ends at the first NUL byte.
struct Text {
  const char* begin;
  const char* end;
};

Text VisibleText(const std::string& line) {
  const char* begin = line.data();
  const void* nul = std::memchr(begin, '\0', line.size());
  return {begin, nul != nullptr ? static_cast<const char*>(nul) : begin + line.size()};
}

// Reads "n,m": the comma must follow the first number directly, and a field
// that is not reached or not a number keeps its value of 0.
const char* ScanHeader(const std::string& line, int64_t& n, int64_t& m) {
  Text text = VisibleText(line);
  if (text.end - text.begin >= 3 && std::memcmp(text.begin, kByteOrderMark, 3) == 0) text.begin += 3;
  const char* stop = nullptr;
  ScanResult first = ScanInteger(text.begin, text.end, INT32_MIN, INT32_MAX, n, &stop);
  if (first == ScanResult::OutOfRange) return kNumberOutOfRange;
  if (first == ScanResult::Number && stop < text.end && *stop == ',') {
    if (ScanInteger(stop + 1, text.end, INT32_MIN, INT32_MAX, m, nullptr) == ScanResult::OutOfRange) {
      return kNumberOutOfRange;
    }
  }
  return nullptr;
}

// Scans `count` comma-separated fields into `destinations`. A field is the
// text before a comma; the last needs no comma after it. The next field
// always starts past the next comma, so an empty or non-numeric field keeps
// its destination's 0 and does not shift the ones after it.
const char* ScanFields(const std::string& line, int32_t count, int64_t* const* destinations) {
  Text text = VisibleText(line);
  const char* cursor = text.begin;
  for (int32_t k = 0; k < count; ++k) {
    if (k > 0) {
      const void* comma = std::memchr(cursor, ',', static_cast<size_t>(text.end - cursor));
      if (comma == nullptr) return kIncompleteInput;
      cursor = static_cast<const char*>(comma) + 1;
    }
    if (ScanInteger(cursor, text.end, INT64_MIN, INT64_MAX, *destinations[k], nullptr) ==
        ScanResult::OutOfRange) {
      return kNumberOutOfRange;
    }
  }
  return nullptr;
}

// Reads the next line; a line that must be there and is not makes the file
// incomplete.
const char* NextLine(platform::File* file, std::string& line) {
  switch (platform::ReadLine(file, line)) {
    case platform::ReadResult::Line:
      return nullptr;
    case platform::ReadResult::EndOfFile:
      return kIncompleteInput;
    case platform::ReadResult::Error:
      break;
  }
  return kInputNotReadable;
}

const char* ParseProblem(platform::File* file) {
  std::string line;
  // The file is not empty, so a first line exists; should it vanish under
  // us, an empty header reads as the empty problem, like a blank first line.
  if (platform::ReadLine(file, line) == platform::ReadResult::Error) return kInputNotReadable;
  int64_t n = 0;
  int64_t m = 0;
  if (const char* failure = ScanHeader(line, n, m)) return failure;
  if (n < 0 || n > MaxVariables || m < 0 || m > MaxConstraints) return kBadProblemSize;
  g_state.n = static_cast<int32_t>(n);
  g_state.m = static_cast<int32_t>(m);

  Problem& problem = g_state.problem;
  int64_t* fields[MaxVariables + 1];

  // The objective line is needed only when it has something to give.
  const char* missing = NextLine(file, line);
  if (missing == kInputNotReadable || (missing != nullptr && n > 0)) return missing;
  for (int32_t i = 0; i < n; ++i) fields[i] = &problem.coefficients[i];
  if (const char* failure = ScanFields(line, g_state.n, fields)) return failure;

  for (int32_t j = 0; j < m; ++j) {
    if (const char* failure = NextLine(file, line)) return failure;
    int64_t* entries = problem.rows[j].entries;
    for (int32_t i = 0; i < n; ++i) fields[i] = &entries[i];
    fields[n] = &entries[RhsColumn];
    if (const char* failure = ScanFields(line, g_state.n + 1, fields)) return failure;
  }
  return nullptr;
}

// Returns the warning to show, or nullptr when the problem was loaded.
const char* ReadProblemFile() {
  platform::File* file = platform::OpenProblemFile();
  if (file == nullptr) return kInputNotFound;
  const int64_t length = platform::FileLength(file);
  const char* failure = nullptr;
  try {
    failure = length < 0 ? kInputNotReadable : length == 0 ? kEmptyInput : ParseProblem(file);
  } catch (...) {
    // Out of memory part way: the file is still closed before the run ends.
    platform::CloseFile(file);
    throw;
  }
  if (!platform::CloseFile(file) && failure == nullptr) failure = kInputNotReadable;
  return failure;
}

}  // namespace

void LoadProblem(SearchNode* root) {
  (void)root;  // the problem is held once, in the solver state
  g_state.inputValid = true;
  if (const char* failure = ReadProblemFile()) {
    g_state.inputValid = false;
    g_state.n = 0;
    g_state.m = 0;
    std::memset(&g_state.problem, 0, sizeof g_state.problem);
    platform::ShowWarning(failure);
    return;
  }
  PrepareProblem(g_state.problem, g_state.n, g_state.m);
}

}  // namespace zoint
