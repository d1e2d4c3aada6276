// libFuzzer target: arbitrary bytes become ZOIntIn.dat, then one whole call of
// ZOInterProgram runs in a private scratch directory (load, search, report,
// save, reset), and what the call left is checked against properties every
// run must have. A violated property aborts, so libFuzzer keeps the input.
//
// Seams, all made by the linker's --wrap in CMakeLists.txt and so present in
// this binary only; the library is the one hosts get:
//  - Search: the search is skipped above kSearchLimit variables, so that one
//    input runs in milliseconds. The reader and the writer see every input.
//    The wrapper also records the problem as loaded, to check the answer.
//  - WriteConsole and ShowWarning: the report and the warning are recorded
//    instead of printed, so libFuzzer's own output stays readable.
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdint>
#include <string>
#include <vector>

#include "exchange/messages.h"
#include "run/solver_state.h"
#include "run/stages.h"
#include "zoint/ZOInt.h"

namespace {

constexpr int32_t kSearchLimit = 14;
// Brute force confirms optimality up to this many variables.
constexpr int32_t kBruteForceLimit = 8;

struct Seen {
  int searchCalls;
  bool searched;
  int32_t n, m;
  zoint::Problem problem;  // as loaded, when the search ran
  int consoleCalls;
  std::string console;
  int warningCalls;
  std::string warning;
};

Seen g_seen;
std::string g_scratch;

[[noreturn]] void Fail(const char* what, const std::string& detail = "") {
  fprintf(stderr, "\nzoint_fuzz: property violated: %s\n%s\n", what, detail.c_str());
  abort();
}

void Expect(bool holds, const char* what, const std::string& detail = "") {
  if (!holds) Fail(what, detail);
}

}  // namespace

extern "C" {

void __real__ZN5zoint6SearchERNS_11SolverStateENS_9SolveModeE(zoint::SolverState& state, zoint::SolveMode mode);

// zoint::Search(SolverState&, SolveMode), as called by the run sequence; it
// runs whichever search the problem gets.
void __wrap__ZN5zoint6SearchERNS_11SolverStateENS_9SolveModeE(zoint::SolverState& state, zoint::SolveMode mode) {
  ++g_seen.searchCalls;
  const zoint::SolverState& s = state;
  if (!s.inputValid || s.problem.n > kSearchLimit) return;
  g_seen.searched = true;
  g_seen.n = s.problem.n;
  g_seen.m = s.problem.m;
  g_seen.problem = s.problem;
  __real__ZN5zoint6SearchERNS_11SolverStateENS_9SolveModeE(state, mode);
}

// zoint::platform::WriteConsole(const std::string&)
void __wrap__ZN5zoint8platform12WriteConsoleERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE(
    const std::string& text) {
  ++g_seen.consoleCalls;
  g_seen.console = text;
}

// zoint::platform::ShowWarning(const char*)
void __wrap__ZN5zoint8platform11ShowWarningEPKc(const char* message) {
  ++g_seen.warningCalls;
  g_seen.warning = message;
}

}  // extern "C"

namespace {

const char kStale[] = "stale answer of an earlier run\n1,1,1\n";
const std::string kNoSolution = "9223372036854775807";

void WriteBytes(const char* path, const uint8_t* data, size_t size) {
  int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) Fail("cannot write in the scratch directory", path);
  while (size > 0) {
    ssize_t done = write(fd, data, size);
    if (done <= 0) Fail("cannot write in the scratch directory", path);
    data += done;
    size -= static_cast<size_t>(done);
  }
  close(fd);
}

bool ReadBytes(const char* path, std::string& bytes) {
  FILE* f = fopen(path, "rb");
  if (f == nullptr) return false;
  bytes.clear();
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, got);
  fclose(f);
  return true;
}

// Parses ZOIntOut.dat as written for n variables: the value line, then (n >= 1)
// exactly n comma-separated 0/1 entries. Returns false on any other shape.
bool ParseAnswer(const std::string& text, int32_t n, int64_t& value, std::vector<int64_t>& x) {
  const size_t lineEnd = text.find('\n');
  if (lineEnd == std::string::npos || lineEnd == 0) return false;
  const std::string first = text.substr(0, lineEnd);
  char* end = nullptr;
  errno = 0;
  value = strtoll(first.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || std::to_string(value) != first) return false;
  const std::string rest = text.substr(lineEnd + 1);
  x.assign(static_cast<size_t>(n), 0);
  if (n == 0) return rest.empty();
  if (rest.size() != 2 * static_cast<size_t>(n) || rest.back() != '\n') return false;
  for (int32_t i = 0; i < n; ++i) {
    const char v = rest[2 * static_cast<size_t>(i)];
    const char sep = rest[2 * static_cast<size_t>(i) + 1];
    if ((v != '0' && v != '1') || sep != (i + 1 < n ? ',' : '\n')) return false;
    x[static_cast<size_t>(i)] = v - '0';
  }
  return true;
}

std::string Console(int64_t value, const std::vector<int64_t>& x) {
  std::string text = "OutPut: \n";
  for (size_t i = 0; i < x.size(); ++i) {
    text += "X[" + std::to_string(i) + "]: " + std::to_string(x[i]) + " \t";
  }
  return text + "\nFinal: " + std::to_string(value);
}

// Wrapping sums, as the search computes them.
int64_t Dot(const int64_t* a, const std::vector<int64_t>& x) {
  uint64_t sum = 0;
  for (size_t i = 0; i < x.size(); ++i) sum += static_cast<uint64_t>(a[i]) * static_cast<uint64_t>(x[i]);
  return static_cast<int64_t>(sum);
}

bool Feasible(const Seen& seen, const std::vector<int64_t>& x) {
  for (int32_t j = 0; j < seen.m; ++j) {
    const zoint::ConstraintRow& row = seen.problem.rows[j];
    if (Dot(row.entries, x) > row.entries[zoint::RhsColumn]) return false;
  }
  return true;
}

// True when no partial sum of any row or of the objective can leave the
// signed 64-bit range, so the search's tests are exact.
bool NoSumWraps(const Seen& seen) {
  // Σ|a_i| ≤ 2^63 − 1: then no partial sum wraps, whatever the signs.
  auto fits = [&](const int64_t* a) {
    __int128 magnitude = 0;
    for (int32_t i = 0; i < seen.n; ++i) magnitude += a[i] < 0 ? -static_cast<__int128>(a[i]) : a[i];
    return magnitude <= INT64_MAX;
  };
  if (!fits(seen.problem.coefficients)) return false;
  for (int32_t j = 0; j < seen.m; ++j) {
    if (!fits(seen.problem.rows[j].entries)) return false;
  }
  return true;
}

// Where no sum can wrap the answer is the optimum, whatever the signs, and
// the lexicographically smallest optimal assignment (x_0 most significant).
void CheckOptimal(const Seen& seen, int64_t value, const std::vector<int64_t>& x) {
  if (!NoSumWraps(seen)) return;
  int64_t best = zoint::NoSolutionValue;
  std::vector<int64_t> bestX(static_cast<size_t>(seen.n), 0);
  std::vector<int64_t> trial(static_cast<size_t>(seen.n), 0);
  for (uint32_t bits = 0; bits < (1u << seen.n); ++bits) {
    // Counting with x_0 as the most significant bit visits assignments in
    // lexicographic order, so the first optimum met is the smallest.
    for (int32_t i = 0; i < seen.n; ++i) trial[static_cast<size_t>(i)] = (bits >> (seen.n - 1 - i)) & 1u;
    if (!Feasible(seen, trial)) continue;
    const int64_t z = Dot(seen.problem.coefficients, trial);
    if (z < best) {
      best = z;
      bestX = trial;
    }
  }
  Expect(value == best && x == bestX, "not the smallest optimal assignment",
         "got " + Console(value, x) + "\nexpected " + Console(best, bestX));
}

bool IsInputWarning(const std::string& w) {
  for (const char* m :
       {zoint::MessageOf(zoint::Failure::EmptyInput), zoint::MessageOf(zoint::Failure::BadProblemSize),
        zoint::MessageOf(zoint::Failure::IncompleteInput), zoint::MessageOf(zoint::Failure::NumberOutOfRange),
        zoint::MessageOf(zoint::Failure::InputNotReadable)}) {
    if (w == m) return true;
  }
  return false;
}

void CheckCall() {
  std::string answer;
  Expect(ReadBytes("ZOIntOut.dat", answer), "no ZOIntOut.dat after the call");
  Expect(g_seen.searchCalls == 1, "the search stage did not run exactly once");
  Expect(g_seen.consoleCalls == 1, "the console report was not printed exactly once");
  Expect(g_seen.warningCalls <= 1, "more than one warning");

  if (g_seen.warningCalls == 1) {
    // The file exists and is written, so only the reader may complain.
    Expect(IsInputWarning(g_seen.warning), "unexpected warning", g_seen.warning);
    Expect(!g_seen.searched, "searched after a warning");
    Expect(answer == kNoSolution + "\n", "ZOIntOut.dat after bad input", answer);
    Expect(g_seen.console == Console(zoint::NoSolutionValue, {}), "console after bad input", g_seen.console);
    return;
  }

  // A loaded problem: the answer has the loaded n and matches the report.
  // Each entry of the second line takes two bytes ("0," ... "1\n").
  const size_t firstLine = answer.find('\n');
  const int32_t n =
      firstLine == std::string::npos ? 0 : static_cast<int32_t>((answer.size() - firstLine - 1) / 2);
  int64_t value = 0;
  std::vector<int64_t> x;
  Expect(n <= zoint::MaxVariables && ParseAnswer(answer, n, value, x), "ZOIntOut.dat is not an answer",
         answer);
  Expect(g_seen.console == Console(value, x), "console and ZOIntOut.dat disagree",
         g_seen.console + "\n---\n" + answer);

  if (!g_seen.searched) {
    Expect(n > kSearchLimit, "search skipped for a small problem");
    Expect(value == zoint::NoSolutionValue, "a value without a search", answer);
    return;
  }
  Expect(n == g_seen.n, "ZOIntOut.dat has another n than the problem", answer);
  if (value == zoint::NoSolutionValue) {
    Expect(x == std::vector<int64_t>(x.size(), 0), "no solution but a non-zero vector", answer);
  } else {
    Expect(Feasible(g_seen, x), "reported assignment is infeasible", answer);
    Expect(Dot(g_seen.problem.coefficients, x) == value, "value is not c.x", answer);
  }
  // The first evaluation tests x = 0: when it is feasible it becomes the
  // incumbent with value 0, and only smaller values replace it.
  if (Feasible(g_seen, std::vector<int64_t>(static_cast<size_t>(g_seen.n), 0))) {
    Expect(value <= 0, "x = 0 is feasible but the value is above 0", answer);
  }
  if (g_seen.n <= kBruteForceLimit) CheckOptimal(g_seen, value, x);
}

struct Cwd {
  std::string previous;
  Cwd() {
    char buffer[4096];
    if (getcwd(buffer, sizeof buffer) == nullptr) Fail("getcwd");
    previous = buffer;
    if (chdir(g_scratch.c_str()) != 0) Fail("cannot enter the scratch directory", g_scratch);
  }
  ~Cwd() {
    if (chdir(previous.c_str()) != 0) Fail("cannot leave the scratch directory", previous);
  }
};

}  // namespace

// The call runs inside the scratch directory, but libFuzzer works with paths
// relative to where it was started: crash files go there unless the command
// line names another place.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  const char* base = getenv("TMPDIR") != nullptr ? getenv("TMPDIR") : "/tmp";
  std::string pattern = std::string(base) + "/zoint_fuzz.XXXXXX";
  if (mkdtemp(&pattern[0]) == nullptr) Fail("cannot make a scratch directory", pattern);
  g_scratch = pattern;
  atexit([] {
    unlink((g_scratch + "/ZOIntIn.dat").c_str());
    unlink((g_scratch + "/ZOIntOut.dat").c_str());
    rmdir(g_scratch.c_str());
  });

  bool hasPrefix = false;
  for (int k = 1; k < *argc; ++k) {
    if (strncmp((*argv)[k], "-artifact_prefix=", 17) == 0 ||
        strncmp((*argv)[k], "-exact_artifact_path=", 21) == 0) {
      hasPrefix = true;
    }
  }
  if (!hasPrefix) {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) == nullptr) Fail("getcwd");
    static std::string prefix = std::string("-artifact_prefix=") + cwd + "/";
    static std::vector<char*> args;
    args.assign(*argv, *argv + *argc);
    args.insert(args.begin() + 1, &prefix[0]);
    args.push_back(nullptr);
    *argv = args.data();
    *argc += 1;
  }
  fprintf(stderr, "zoint_fuzz: scratch directory %s, search skipped above n = %d\n", g_scratch.c_str(),
          kSearchLimit);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Cwd inScratch;
  WriteBytes("ZOIntIn.dat", data, size);
  WriteBytes("ZOIntOut.dat", reinterpret_cast<const uint8_t*>(kStale), sizeof kStale - 1);
  g_seen = Seen{};
  const double result = ZOInterProgram(static_cast<int32_t>(size));
  Expect(result == 0.0, "ZOInterProgram did not return 0.0");
  CheckCall();
  return 0;
}
