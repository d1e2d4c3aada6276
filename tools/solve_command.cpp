// zoint solve [--time-limit SECONDS] [--quiet] [--solution FILE]
//             [--solutions K | --all-optimal | --gap G] [--max-solutions N] MODEL:
// reads a model file, maps it to a problem and solves it in this process
// through the C API, with no exchange file; with a list option it lists
// assignments in the order by objective, then lexicographically.
#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cli.h"
#include "model_loading.h"
#include "models/exact_number.h"
#include "models/model_file.h"
#include "problem/checked_arithmetic.h"
#include "same_file.h"
#include "stop_signal.h"
#include "zoint/zoint_api.h"

namespace zoint_cli {

namespace {

// Which list, if any, the command prints instead of the one answer.
enum class Listing { None, Best, AllOptimal, WithinGap };

struct SolveArguments {
  double timeLimit = 0;  // 0: none
  bool quiet = false;
  const char* solutionPath = nullptr;
  const char* modelPath = nullptr;
  Listing listing = Listing::None;
  int32_t solutions = 0;       // --solutions K
  int32_t maxSolutions = 0;    // --max-solutions N; 0: the default
  zoint::ExactNumber gap{0, 1};  // --gap G, in the model's own objective
};

// Lists of every optimal assignment, or every one within a gap, stop at this
// many unless --max-solutions says otherwise.
constexpr int32_t kDefaultMaxSolutions = 1000;

// A count given on the command line: 1 … 2^31 − 1.
bool ParseCount(const char* text, int32_t& count) {
  const char* end = text + std::strlen(text);
  const zoint::DigitRun run = zoint::ScanDigits(text, end, INT32_MAX);
  if (run.stop == text || run.stop != end || !run.fits || run.value < 1) return false;
  count = static_cast<int32_t>(run.value);
  return true;
}

// The value of an option written "--name VALUE" or "--name=VALUE"; null and
// k unchanged when arg is another option.
const char* OptionValue(const char* name, int argc, char** argv, int& k) {
  const size_t length = std::strlen(name);
  if (std::strncmp(argv[k], name, length) != 0) return nullptr;
  if (argv[k][length] == '=') return argv[k] + length + 1;
  if (argv[k][length] != '\0') return nullptr;
  if (k + 1 >= argc) return "";
  return argv[++k];
}

// Returns -1 when the arguments are good, else the exit status.
int ParseArguments(int argc, char** argv, SolveArguments& arguments) {
  for (int k = 1; k < argc; ++k) {
    const char* arg = argv[k];
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      std::fputs(kHelpText, stdout);
      return kExitSolved;
    }
    if (const char* value = OptionValue("--time-limit", argc, argv, k)) {
      char* end = nullptr;
      const double seconds = std::strtod(value, &end);
      if (*value == '\0' || *end != '\0' || !std::isfinite(seconds) || seconds <= 0) {
        return UsageError("--time-limit needs a positive number of seconds", value);
      }
      arguments.timeLimit = seconds;
    } else if (const char* path = OptionValue("--solution", argc, argv, k)) {
      if (*path == '\0') return UsageError("--solution needs a file name", arg);
      arguments.solutionPath = path;
    } else if (const char* count = OptionValue("--solutions", argc, argv, k)) {
      if (!ParseCount(count, arguments.solutions)) return UsageError("--solutions needs a whole number of at least 1", count);
      if (arguments.listing != Listing::None) return UsageError("one list at a time", arg);
      arguments.listing = Listing::Best;
    } else if (const char* most = OptionValue("--max-solutions", argc, argv, k)) {
      if (!ParseCount(most, arguments.maxSolutions)) {
        return UsageError("--max-solutions needs a whole number of at least 1", most);
      }
    } else if (const char* gap = OptionValue("--gap", argc, argv, k)) {
      if (zoint::ParseExactNumber(gap, gap + std::strlen(gap), arguments.gap) != zoint::NumberParse::Ok ||
          arguments.gap.numerator < 0) {
        return UsageError("--gap needs a number of at least 0, in the model's objective", gap);
      }
      if (arguments.listing != Listing::None) return UsageError("one list at a time", arg);
      arguments.listing = Listing::WithinGap;
    } else if (std::strcmp(arg, "--all-optimal") == 0) {
      if (arguments.listing != Listing::None) return UsageError("one list at a time", arg);
      arguments.listing = Listing::AllOptimal;
    } else if (std::strcmp(arg, "--quiet") == 0) {
      arguments.quiet = true;
    } else if (arg[0] == '-' && arg[1] != '\0') {
      return UsageError("unknown option", arg);
    } else if (arguments.modelPath != nullptr) {
      return UsageError("more than one model", arg);
    } else {
      arguments.modelPath = arg;
    }
  }
  if (arguments.modelPath == nullptr) return UsageError("missing", "MODEL");
  if (arguments.maxSolutions != 0 && arguments.listing != Listing::AllOptimal &&
      arguments.listing != Listing::WithinGap) {
    return UsageError("--max-solutions caps --all-optimal or --gap", "--max-solutions");
  }
  zoint::ModelFormat format;
  bool compressed = false;
  if (!zoint::FormatOfPath(arguments.modelPath, format, compressed)) {
    return UsageError("not a model file name (.lp, .mps, .opb, or those with .gz)", arguments.modelPath);
  }
  // Checked before anything is read or written: the answer must not
  // replace the model, by this name or any other.
  if (arguments.solutionPath != nullptr && SameFile(arguments.solutionPath, arguments.modelPath)) {
    return UsageError("--solution names the model file itself", arguments.solutionPath);
  }
  return -1;
}

std::string ValueText(const zoint::MappedModel& mapped, int64_t value) {
  return zoint::DecimalText(zoint::ModelValue(mapped, value));
}

// One line a second on standard error, in the model's own terms.
void PrintProgress(const zoint_progress* progress, void* data) {
  const zoint::MappedModel& mapped = *static_cast<const zoint::MappedModel*>(data);
  const zoint::Decimal bound = zoint::ModelValue(mapped, progress->bound);
  std::string best = "none";
  std::string gap = "-";
  if (progress->has_solution != 0) {
    const zoint::Decimal value = zoint::ModelValue(mapped, progress->best_value);
    best = zoint::DecimalText(value);
    const double difference = std::fabs(zoint::ApproximateValue(value) - zoint::ApproximateValue(bound));
    const double size = std::fmax(std::fabs(zoint::ApproximateValue(value)), 1.0);
    char text[32];
    std::snprintf(text, sizeof text, "%.2f%%", 100.0 * difference / size);
    gap = text;
  }
  std::fprintf(stderr, "progress: %.1f s, %" PRIu64 " nodes, best %s, bound %s, gap %s\n", progress->seconds,
               progress->nodes, best.c_str(), zoint::DecimalText(bound).c_str(), gap.c_str());
  std::fflush(stderr);
}

// What a solve found: the status, and the assignment when there is one.
struct Answer {
  zoint_status status;
  bool found;
  int64_t value;
  int32_t x[ZOINT_MAX_VARIABLES];
};

std::string ResultText(const char* status, const zoint::MappedModel& mapped, const Answer& answer) {
  std::string text = std::string("status: ") + status + "\n";
  if (!answer.found) return text + "objective: none\n";
  text += "objective: " + ValueText(mapped, answer.value) + "\n";
  for (size_t i = 0; i < mapped.names.size(); ++i) {
    text += mapped.names[i] + " " + std::to_string(answer.x[i]) + "\n";
  }
  return text;
}

// Prints the result, and writes it to the solution file when asked.
int Finish(const SolveArguments& arguments, const std::string& text, int status) {
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
  if (arguments.solutionPath == nullptr) return status;
  std::FILE* file = std::fopen(arguments.solutionPath, "wb");
  bool written = file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (file != nullptr && std::fclose(file) != 0) written = false;
  if (!written) {
    std::fprintf(stderr, "zoint: %s: cannot write the solution: %s\n", arguments.solutionPath,
                 std::strerror(errno));
    return kExitBadInput;
  }
  return status;
}

// The problem's rows as zoint_solve takes them: row after row, and the sides.
struct FlatRows {
  std::vector<int64_t> rows;
  std::vector<int64_t> rhs;
};

FlatRows Flattened(const zoint::Problem& problem) {
  const size_t n = static_cast<size_t>(problem.n);
  FlatRows flat{std::vector<int64_t>(static_cast<size_t>(problem.m) * n),
                std::vector<int64_t>(static_cast<size_t>(problem.m))};
  for (size_t j = 0; j < flat.rhs.size(); ++j) {
    for (size_t i = 0; i < n; ++i) flat.rows[j * n + i] = problem.rows[j].entries[i];
    flat.rhs[j] = problem.rows[j].entries[zoint::RhsColumn];
  }
  return flat;
}

Answer Call(const zoint::Problem& problem, const int64_t* costs, const FlatRows& flat,
            const zoint_options& options) {
  Answer answer{};
  answer.value = ZOINT_NO_SOLUTION;
  answer.status = zoint_solve(problem.n, problem.m, costs, flat.rows.data(), flat.rhs.data(), &options,
                              &answer.value, answer.x);
  answer.found = answer.value != ZOINT_NO_SOLUTION;
  return answer;
}

// The library reports an objective of exactly 2^63 − 1 as "no assignment".
// Where the costs sum to exactly that (all ≥ 0), only assignments taking
// every positive cost reach it: after an "infeasible", this finds the
// smallest of them that meets every row, if one does, by minimising minus
// the number of positive costs taken.
Answer SolveAtTheLimit(const zoint::Problem& problem, const FlatRows& flat, const zoint_options& limits) {
  int64_t costs[ZOINT_MAX_VARIABLES] = {};
  int64_t positive = 0;
  for (int32_t i = 0; i < problem.n; ++i) {
    if (problem.coefficients[i] > 0) {
      costs[i] = -1;
      ++positive;
    }
  }
  zoint_options options = limits;
  // Its progress would be in other terms than the model's.
  options.progress = nullptr;
  Answer answer = Call(problem, costs, flat, options);
  answer.found = answer.found && answer.value == -positive;
  if (answer.found) {
    answer.value = ZOINT_NO_SOLUTION;
  } else if (answer.status == ZOINT_OPTIMAL) {
    answer.status = ZOINT_INFEASIBLE;
  }
  return answer;
}

// The gap in the problem's own units: the model's gap times the scale,
// rounded down, as every value there is whole; beyond 64 bits, every value.
int64_t ProblemGap(const zoint::MappedModel& mapped, const zoint::ExactNumber& gap) {
  uint64_t product = 0;
  if (!zoint::ProductAtMost(static_cast<uint64_t>(gap.numerator), static_cast<uint64_t>(mapped.scale),
                            zoint::kLargestMagnitude, product)) {
    return INT64_MAX;
  }
  return static_cast<int64_t>(product / static_cast<uint64_t>(gap.denominator));
}

// The list: the status, how many, whether that is all of them, then each
// assignment as a numbered block of the one answer's form.
// The output and exit status for a call's status: the text made by
// `text` from the status's word where there is an answer, else a message.
template <typename Text>
int Conclude(const SolveArguments& arguments, zoint_status status, Text text) {
  switch (status) {
    case ZOINT_OPTIMAL:
      return Finish(arguments, text("optimal"), kExitSolved);
    case ZOINT_INFEASIBLE:
      return Finish(arguments, text("infeasible"), kExitSolved);
    case ZOINT_STOPPED:
      return Finish(arguments, text("stopped"), kExitStopped);
    case ZOINT_OUT_OF_MEMORY:
      std::fprintf(stderr, "zoint: %s: out of memory\n", arguments.modelPath);
      return kExitBadInput;
    case ZOINT_BAD_SIZE:
    case ZOINT_OUT_OF_RANGE:
    case ZOINT_BAD_ARGUMENT:
      break;
  }
  // The mapping guarantees sizes and sums; reaching here is a fault of ours.
  std::fprintf(stderr, "zoint: %s: the mapped problem was refused (status %d)\n", arguments.modelPath,
               static_cast<int>(status));
  return kExitBadInput;
}

std::string ListText(const char* status, const zoint::MappedModel& mapped, const std::vector<int64_t>& values,
                     const std::vector<int32_t>& xs, int32_t count, bool complete) {
  std::string text = std::string("status: ") + status + "\nsolutions: " + std::to_string(count) +
                     "\ncomplete: " + (complete ? "yes" : "no") + "\n";
  const size_t n = mapped.names.size();
  for (int32_t k = 0; k < count; ++k) {
    text += "solution: " + std::to_string(k + 1) + "\nobjective: " +
            ValueText(mapped, values[static_cast<size_t>(k)]) + "\n";
    for (size_t i = 0; i < n; ++i) {
      text += mapped.names[i] + " " + std::to_string(xs[static_cast<size_t>(k) * n + i]) + "\n";
    }
  }
  return text;
}

int SolveList(const SolveArguments& arguments, const zoint::MappedModel& mapped, const zoint_options& options) {
  const zoint::Problem& problem = mapped.problem;
  const FlatRows flat = Flattened(problem);
  zoint_list_kind kind = ZOINT_LIST_BEST;
  int32_t capacity = arguments.solutions;
  int64_t gap = 0;
  if (arguments.listing != Listing::Best) {
    kind = arguments.listing == Listing::AllOptimal ? ZOINT_LIST_OPTIMAL : ZOINT_LIST_WITHIN_GAP;
    capacity = arguments.maxSolutions != 0 ? arguments.maxSolutions : kDefaultMaxSolutions;
    if (arguments.listing == Listing::WithinGap) gap = ProblemGap(mapped, arguments.gap);
  }
  std::vector<int64_t> values(static_cast<size_t>(capacity));
  std::vector<int32_t> xs(static_cast<size_t>(capacity) * std::max<size_t>(mapped.names.size(), 1));
  int32_t count = 0, complete = 0;
  const zoint_status status = zoint_solve_list(problem.n, problem.m, problem.coefficients, flat.rows.data(),
                                               flat.rhs.data(), &options, kind, gap, capacity, values.data(),
                                               xs.data(), &count, &complete);
  return Conclude(arguments, status, [&](const char* word) {
    return ListText(word, mapped, values, xs, count, complete != 0);
  });
}

int Solve(const SolveArguments& arguments, const zoint::MappedModel& mapped) {
  const zoint::Problem& problem = mapped.problem;
  const FlatRows flat = Flattened(problem);
  zoint_options options{};
  options.time_limit = arguments.timeLimit;
  options.cancel = &g_stopRequested;
  if (!arguments.quiet) {
    options.progress = PrintProgress;
    options.user_data = const_cast<zoint::MappedModel*>(&mapped);
    options.progress_interval = 1.0;
  }
  if (arguments.listing != Listing::None) return SolveList(arguments, mapped, options);
  const auto start = std::chrono::steady_clock::now();
  Answer answer = Call(problem, problem.coefficients, flat, options);
  if (answer.status == ZOINT_INFEASIBLE && zoint::ValueCanBeNoSolutionValue(problem)) {
    if (options.time_limit > 0) {
      const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
      // Some time, however little, so that 0 does not mean "no limit".
      options.time_limit = std::fmax(options.time_limit - spent.count(), 1e-3);
    }
    answer = SolveAtTheLimit(problem, flat, options);
  }
  return Conclude(arguments, answer.status, [&](const char* word) { return ResultText(word, mapped, answer); });
}

}  // namespace

int RunSolveCommand(int argc, char** argv) {
  SolveArguments arguments;
  const int parsed = ParseArguments(argc, argv, arguments);
  if (parsed >= 0) return parsed;

  StopSearchOnSignal();
  // The problem record is about 40 kB.
  const std::unique_ptr<zoint::MappedModel> mapped(new zoint::MappedModel());
  switch (LoadModel(arguments.modelPath, *mapped, &g_stopRequested)) {
    case Loading::Loaded:
      return Solve(arguments, *mapped);
    case Loading::Rejected:
      return kExitBadInput;
    case Loading::Stopped:
      break;
  }
  return Finish(arguments, "status: stopped\nobjective: none\n", kExitStopped);
}

}  // namespace zoint_cli
