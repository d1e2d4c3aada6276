#include "models/coin_reader.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unordered_set>

#include "models/coin_child.h"
#include "models/coin_data.h"
#include "models/isolated_run.h"
#include "models/lp_ranges.h"
#include "models/lp_text.h"
#include "models/mps_text.h"
#include "models/text_scan.h"

namespace zoint {

namespace {

// Far beyond what a file of a solvable size takes; only a reader that loops
// gets near it.
constexpr double kReadSeconds = 60;

const char kInexact[] =
    "cannot be read exactly (through CoinUtils, numbers are exact with at most 15 significant digits, or "
    "as integers below 2^53)";

// The shortest decimal that reads back as the same double.
std::string DoubleText(double value) {
  char text[40];
  for (int digits = 15; digits <= 17; ++digits) {
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    if (std::strtod(text, nullptr) == value) break;
  }
  return text;
}

// "Coin3007W ### CoinLpIO::readLp(): Invalid column names\n..." → "Invalid
// column names; ...".
std::string CleanMessage(std::string message) {
  if (message.compare(0, 4, "Coin") == 0 && message.size() > 10 && message[9] == ' ') message.erase(0, 10);
  for (const char* prefix : {"### ", "ERROR: "}) {
    if (message.compare(0, std::char_traits<char>::length(prefix), prefix) == 0) {
      message.erase(0, std::char_traits<char>::length(prefix));
    }
  }
  const size_t call = message.find("(): ");
  if (call != std::string::npos && message.compare(0, 4, "Coin") == 0) message.erase(0, call + 4);
  for (char& c : message) {
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  }
  while (!message.empty() && message.back() == ' ') message.pop_back();
  // CoinUtils may quote one byte of a name: no half character reaches a
  // message.
  return Printable(message, message.size());
}

// The line number in a CoinMpsIO message ("Bad image at line 6 < ... >").
LineNumber LineInMessage(const std::string& message) {
  const size_t at = message.find(" line ");
  if (at == std::string::npos) return 0;
  LineNumber line = 0;
  for (size_t k = at + 6; k < message.size() && message[k] >= '0' && message[k] <= '9'; ++k) {
    line = line * 10 + (message[k] - '0');
    if (line > 1000000000000) return 0;
  }
  return line;
}

enum class ChildOutcome { Read, Broken, Stopped };

// One reading by CoinUtils in a child process. Read: data holds the model,
// or its failure says why CoinUtils refused it. Broken: the reader crashed
// or looped, and `broken` says so.
ChildOutcome ReadInChild(const std::function<CoinData()>& read, const char* reader,
                         const volatile int32_t* cancel, CoinData& data, std::string& broken) {
  const IsolatedResult run = RunIsolated([&] { return Serialized(read()); }, kReadSeconds, cancel);
  // A Ctrl-C reaches the reading process too, which then ends by the signal.
  if (run.outcome == IsolatedOutcome::Cancelled || (cancel != nullptr && *cancel != 0)) {
    return ChildOutcome::Stopped;
  }
  if (run.outcome == IsolatedOutcome::TimedOut) {
    broken = std::string(reader) + " did not finish reading the file within 60 s; it is probably malformed";
    return ChildOutcome::Broken;
  }
  if (run.outcome != IsolatedOutcome::Finished || !Deserialize(run.output, data)) {
    broken = std::string(reader) + " failed on the file (" +
             (run.detail.empty() ? std::string("no complete answer") : run.detail) +
             "); it is malformed or truncated";
    return ChildOutcome::Broken;
  }
  return ChildOutcome::Read;
}

class Converter {
 public:
  Converter(bool lp, const std::string& text, const CoinData& data, RawModel& model, ModelError& error)
      : lp_(lp), text_(text), data_(data), model_(model), error_(error) {}

  bool Convert(bool mpsMaximise) {
    if (!data_.failure.empty()) return ReportFailure();
    if (lp_ && !AcceptLpWarnings()) return false;
    if (data_.setCount > 0) return Refuse(error_, 0, "SOS sets; only rows and bounds can be solved");
    if (!lp_ && (!Unique(data_.columnNames, true) || !Unique(data_.rowNames, false))) return false;
    columnLines_ = lp_ ? LpLinesOf(text_, data_.columnNames) : MpsColumnLines(text_, data_.columnNames);
    rowLines_ = lp_ ? LpLinesOf(text_, data_.rowNames) : MpsRowLines(text_, data_.rowNames);
    model_ = RawModel{{}, {}, lp_ ? data_.wasMaximization : mpsMaximise, kZero, 0};
    // In an MPS file the objective has no line of its own: its coefficients
    // sit on each column's lines.
    model_.objectiveLine = lp_ ? LpObjectiveLine(text_) : 0;
    return ConvertObjective() && ConvertColumns() && ConvertRows();
  }

 private:
  bool lp_;
  const std::string& text_;
  const CoinData& data_;
  RawModel& model_;
  ModelError& error_;
  std::vector<LineNumber> columnLines_;
  std::vector<LineNumber> rowLines_;

  LineNumber LineOfName(const std::string& name, bool column) const {
    if (name.empty()) return 0;
    const std::vector<std::string> names{name};
    if (lp_) return LpLinesOf(text_, names)[0];
    return (column ? MpsColumnLines(text_, names) : MpsRowLines(text_, names))[0];
  }

  bool ReportFailure() {
    LineNumber line = LineInMessage(data_.failure);
    if (line == 0) line = LineOfName(data_.failureName, data_.failureIsColumn);
    std::string reason = CleanMessage(data_.failure);
    if (!data_.failureName.empty()) {
      reason +=
          " (" + std::string(data_.failureIsColumn ? "" : "row ") + data_.failureName + " is one too many)";
    } else {
      reason = std::string(lp_ ? "CoinLpIO" : "CoinMpsIO") + " cannot read the file: " + reason;
    }
    return Refuse(error_, line, reason);
  }

  // CoinLpIO reads on after some faults, with names of its own making in
  // place of the file's; those readings are not the model written.
  bool AcceptLpWarnings() {
    const std::string* fatal = nullptr;
    for (const std::string& warning : data_.warnings) {
      if (warning.find("column names") != std::string::npos ||
          warning.find("End inserted") != std::string::npos ||
          warning.find("field expected") != std::string::npos) {
        fatal = &warning;
        break;
      }
    }
    if (fatal == nullptr) return true;
    // The first invalid name, when CoinLpIO named one, says more.
    for (const std::string& warning : data_.warnings) {
      const size_t at = warning.find("Name ");
      if (warning.find("is_invalid_name") == std::string::npos || at == std::string::npos) continue;
      const size_t end = warning.find(' ', at + 5);
      const std::string name =
          warning.substr(at + 5, end == std::string::npos ? std::string::npos : end - at - 5);
      return Refuse(error_, LineOfName(name, true), "CoinLpIO cannot read the file: " + CleanMessage(warning));
    }
    return Refuse(error_, 0, "CoinLpIO cannot read the file: " + CleanMessage(*fatal));
  }

  // CoinMpsIO accepts a name declared twice; the model would be ambiguous.
  bool Unique(const std::vector<std::string>& names, bool columns) {
    std::unordered_set<std::string> seen;
    for (const std::string& name : names) {
      if (seen.insert(name).second) continue;
      const LineNumber line = columns ? MpsRepeatedColumnLine(text_, name) : MpsRepeatedRowLine(text_, name);
      return Refuse(error_, line, std::string(columns ? "column " : "row ") + name + " is declared twice");
    }
    return true;
  }

  bool Exact(double value, ExactNumber& number, LineNumber line, const std::string& what) {
    if (ExactNumberOfDouble(value, number)) return true;
    return Refuse(error_, line, what + ", " + DoubleText(value) + ", " + kInexact);
  }

  bool ConvertObjective() {
    // CoinLpIO gives the constant as written; CoinMpsIO gives the objective
    // row's right-hand side, which by the MPS convention is minus the
    // constant.
    const double constant = lp_ ? data_.objectiveOffset : -data_.objectiveOffset;
    return Exact(constant, model_.constant, model_.objectiveLine, "objective: the constant");
  }

  bool ConvertColumns() {
    for (size_t j = 0; j < data_.columnNames.size(); ++j) {
      const std::string& name = data_.columnNames[j];
      const LineNumber line = columnLines_[j];
      if (data_.integer[j] == 2) {
        return Refuse(error_, line, "variable " + name + " is semi-continuous; every variable must be binary");
      }
      // CoinLpIO turns a maximisation around; the model keeps its own sense.
      const double cost = lp_ && data_.wasMaximization ? -data_.costs[j] : data_.costs[j];
      RawVariable variable{name, kZero, data_.integer[j] == 1, data_.columnLower[j], data_.columnUpper[j],
                           line};
      if (!Exact(cost, variable.cost, model_.objectiveLine != 0 ? model_.objectiveLine : line,
                 "objective: the coefficient of " + name)) {
        return false;
      }
      model_.variables.push_back(variable);
    }
    return true;
  }

  bool ConvertRows() {
    for (size_t r = 0; r < data_.rowNames.size(); ++r) {
      const LineNumber line = rowLines_[r];
      RawRow row{"row " + data_.rowNames[r], {}, false, kZero, false, kZero, line};
      for (int32_t k = data_.rowStart[r]; k < data_.rowStart[r + 1]; ++k) {
        const int32_t column = data_.entryColumn[static_cast<size_t>(k)];
        RawTerm term{column, kZero};
        if (!Exact(data_.entryValue[static_cast<size_t>(k)], term.coefficient, line,
                   row.name + ": the coefficient of " + data_.columnNames[static_cast<size_t>(column)])) {
          return false;
        }
        row.terms.push_back(term);
      }
      const double lower = data_.rowLower[r];
      const double upper = data_.rowUpper[r];
      row.hasLower = !std::isinf(lower);
      row.hasUpper = !std::isinf(upper);
      if (row.hasLower && !Exact(lower, row.lower, line, row.name + ": the lower side")) return false;
      if (row.hasUpper && !Exact(upper, row.upper, line, row.name + ": the upper side")) return false;
      model_.rows.push_back(row);
    }
    return true;
  }
};

}  // namespace

ReadOutcome ReadCoinModel(bool lp, const std::string& file, RawModel& model, ModelError& error,
                          const volatile int32_t* cancel) {
  // Editors on Windows may start the file with a UTF-8 byte order mark,
  // which neither reader knows; without it every line stays where it was.
  const std::string text = file.compare(0, 3, "\xEF\xBB\xBF") == 0 ? file.substr(3) : file;
  bool mpsMaximise = false;
  if (lp ? !CheckLpText(text, error) : !CheckMpsText(text, mpsMaximise, error)) return ReadOutcome::Rejected;

  CoinData data;
  std::string broken;
  ChildOutcome outcome = ChildOutcome::Read;
  if (lp) {
    std::string rewritten = text;
    std::vector<RangedSide> sides;
    size_t constraints = 0;
    if (!SplitRangedRows(rewritten, sides, constraints, error)) return ReadOutcome::Rejected;
    outcome = ReadInChild([&] { return ReadLpWithCoinUtils(rewritten, sides, constraints); }, "CoinLpIO",
                          cancel, data, broken);
  } else {
    // Free MPS files often carry no FREE mark (glpsol writes none), and a
    // fixed one may hold names with blanks: the file is read both ways.
    CoinData fixed;
    CoinData free;
    std::string freeBroken;
    outcome =
        ReadInChild([&] { return ReadMpsWithCoinUtils(text, false); }, "CoinMpsIO", cancel, fixed, broken);
    if (outcome == ChildOutcome::Stopped) return ReadOutcome::Stopped;
    const ChildOutcome freeOutcome =
        ReadInChild([&] { return ReadMpsWithCoinUtils(text, true); }, "CoinMpsIO", cancel, free, freeBroken);
    if (freeOutcome == ChildOutcome::Stopped) return ReadOutcome::Stopped;
    const bool fixedRead = outcome == ChildOutcome::Read && fixed.failure.empty();
    const bool freeRead = freeOutcome == ChildOutcome::Read && free.failure.empty();
    if (fixedRead && freeRead && !SameModel(fixed, free)) {
      error = {0,
               "the file reads as two different models in the fixed and the free MPS layout; add FREE to "
               "its NAME line if it is free MPS"};
      return ReadOutcome::Rejected;
    }
    if (freeRead && !fixedRead) {
      data = free;
      outcome = ChildOutcome::Read;
    } else if (!fixedRead && freeOutcome == ChildOutcome::Read &&
               (outcome != ChildOutcome::Read ||
                LineInMessage(free.failure) > LineInMessage(fixed.failure))) {
      // Neither reads: the layout that got further is the likelier one.
      data = free;
      outcome = ChildOutcome::Read;
    } else {
      data = fixed;
    }
  }
  if (outcome == ChildOutcome::Stopped) return ReadOutcome::Stopped;
  if (outcome == ChildOutcome::Broken) {
    error = {0, broken};
    return ReadOutcome::Rejected;
  }
  return Converter(lp, text, data, model, error).Convert(mpsMaximise) ? ReadOutcome::Read
                                                                      : ReadOutcome::Rejected;
}

}  // namespace zoint
