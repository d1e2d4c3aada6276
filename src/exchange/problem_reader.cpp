// Reads the problem file: "n,m", the objective line, then one line per
// constraint with its n coefficients and right-hand side, comma separated.
#include <cstring>
#include <string>

#include "exchange/exchange.h"
#include "exchange/messages.h"
#include "exchange/number_scan.h"
#include "platform/platform.h"

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
Failure ScanHeader(const std::string& line, int64_t& n, int64_t& m) {
  Text text = VisibleText(line);
  if (text.end - text.begin >= 3 && std::memcmp(text.begin, kByteOrderMark, 3) == 0) text.begin += 3;
  const char* stop = nullptr;
  ScanResult first = ScanInteger(text.begin, text.end, INT32_MIN, INT32_MAX, n, &stop);
  if (first == ScanResult::OutOfRange) return Failure::NumberOutOfRange;
  if (first == ScanResult::Number && stop < text.end && *stop == ',') {
    if (ScanInteger(stop + 1, text.end, INT32_MIN, INT32_MAX, m, nullptr) == ScanResult::OutOfRange) {
      return Failure::NumberOutOfRange;
    }
  }
  return Failure::None;
}

// Scans `count` comma-separated fields into `destinations`. A field is the
// text before a comma; the last needs no comma after it. The next field
// always starts past the next comma, so an empty or non-numeric field keeps
// its destination's 0 and does not shift the ones after it.
Failure ScanFields(const std::string& line, int32_t count, int64_t* const* destinations) {
  Text text = VisibleText(line);
  const char* cursor = text.begin;
  for (int32_t k = 0; k < count; ++k) {
    if (k > 0) {
      const void* comma = std::memchr(cursor, ',', static_cast<size_t>(text.end - cursor));
      if (comma == nullptr) return Failure::IncompleteInput;
      cursor = static_cast<const char*>(comma) + 1;
    }
    if (ScanInteger(cursor, text.end, INT64_MIN, INT64_MAX, *destinations[k], nullptr) ==
        ScanResult::OutOfRange) {
      return Failure::NumberOutOfRange;
    }
  }
  return Failure::None;
}

// Reads the next line; a line that must be there and is not makes the file
// incomplete.
Failure NextLine(platform::File* file, std::string& line) {
  switch (platform::ReadLine(file, line)) {
    case platform::ReadResult::Line:
      return Failure::None;
    case platform::ReadResult::EndOfFile:
      return Failure::IncompleteInput;
    case platform::ReadResult::Error:
      break;
  }
  return Failure::InputNotReadable;
}

Failure ParseProblem(platform::File* file, Problem& problem) {
  std::string line;
  // The file is not empty, so a first line exists; should it vanish under
  // us, an empty header reads as the empty problem, like a blank first line.
  if (platform::ReadLine(file, line) == platform::ReadResult::Error) return Failure::InputNotReadable;
  int64_t n = 0;
  int64_t m = 0;
  if (const Failure failure = ScanHeader(line, n, m); failure != Failure::None) return failure;
  if (n < 0 || n > MaxVariables || m < 0 || m > MaxConstraints) return Failure::BadProblemSize;
  problem.n = static_cast<int32_t>(n);
  problem.m = static_cast<int32_t>(m);

  int64_t* fields[MaxVariables + 1];

  // The objective line is needed only when it has something to give.
  const Failure missing = NextLine(file, line);
  if (missing == Failure::InputNotReadable || (missing != Failure::None && n > 0)) return missing;
  for (int32_t i = 0; i < n; ++i) fields[i] = &problem.coefficients[i];
  if (const Failure failure = ScanFields(line, problem.n, fields); failure != Failure::None) return failure;

  for (int32_t j = 0; j < m; ++j) {
    if (const Failure failure = NextLine(file, line); failure != Failure::None) return failure;
    int64_t* entries = problem.rows[j].entries;
    for (int32_t i = 0; i < n; ++i) fields[i] = &entries[i];
    fields[n] = &entries[RhsColumn];
    if (const Failure failure = ScanFields(line, problem.n + 1, fields); failure != Failure::None)
      return failure;
  }
  return Failure::None;
}

}  // namespace

Failure ReadProblemFile(Problem& problem) {
  // A field that is empty or not a number keeps the 0 it starts with.
  std::memset(&problem, 0, sizeof problem);
  platform::File* file = platform::OpenProblemFile();
  if (file == nullptr) return Failure::InputNotFound;
  const int64_t length = platform::FileLength(file);
  Failure failure = Failure::None;
  try {
    failure = length < 0    ? Failure::InputNotReadable
              : length == 0 ? Failure::EmptyInput
                            : ParseProblem(file, problem);
  } catch (...) {
    // Out of memory part way: the file is still closed before the run ends.
    platform::CloseFile(file);
    throw;
  }
  if (!platform::CloseFile(file) && failure == Failure::None) failure = Failure::InputNotReadable;
  return failure;
}

}  // namespace zoint
