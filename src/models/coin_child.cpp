#include "models/coin_child.h"

#include <CoinError.hpp>
#include <CoinFileIO.hpp>
#include <CoinLpIO.hpp>
#include <CoinMessageHandler.hpp>
#include <CoinMpsIO.hpp>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <limits>

#include "problem/problem.h"

namespace zoint {

namespace {

// CoinMpsIO writes 1e30 for "no bound", as many MPS files do.
constexpr double kInfinite = 1e30;

constexpr double kNoBound = std::numeric_limits<double>::infinity();

bool Infinite(double bound) { return !(std::fabs(bound) < kInfinite); }

// Keeps CoinUtils' warnings and errors; informational messages are dropped.
class MessageCollector : public CoinMessageHandler {
 public:
  explicit MessageCollector(std::vector<std::string>& messages) : messages_(messages) { setLogLevel(3); }

  int print() override {
    const char severity = currentMessage().severity();
    if (severity == 'W' || severity == 'E' || severity == 'S') messages_.push_back(messageBuffer());
    return 0;
  }

 private:
  std::vector<std::string>& messages_;
};

const char* NameOr(const char* name, const char* fallback) { return name != nullptr ? name : fallback; }

// The rows' sides as the reader has them; the LP reader's are amended for
// ranged rows before they are copied.
struct RowSides {
  std::vector<double> lower;
  std::vector<double> upper;
};

template <typename Reader>
RowSides SidesOf(const Reader& io) {
  const int rows = io.getNumRows();
  return {std::vector<double>(io.getRowLower(), io.getRowLower() + rows),
          std::vector<double>(io.getRowUpper(), io.getRowUpper() + rows)};
}

template <typename Reader>
void Extract(const Reader& io, const RowSides& sides, CoinData& data) {
  const int columns = io.getNumCols();
  if (columns > MaxVariables) {
    data.failure = "more than " + std::to_string(MaxVariables) + " variables";
    data.failureName = NameOr(io.columnName(MaxVariables), "");
    data.failureIsColumn = true;
    return;
  }
  const char* integer = io.integerColumns();
  for (int j = 0; j < columns; ++j) {
    data.columnNames.push_back(NameOr(io.columnName(j), ""));
    data.costs.push_back(io.getObjCoefficients()[j]);
    data.columnLower.push_back(io.getColLower()[j]);
    data.columnUpper.push_back(io.getColUpper()[j]);
    const char kind = integer != nullptr ? integer[j] : 0;
    data.integer.push_back(static_cast<char>(kind == 0 ? 0 : kind == 1 ? 1 : 2));
  }
  const CoinPackedMatrix* byRow = io.getMatrixByRow();
  data.rowStart.push_back(0);
  for (int i = 0; i < io.getNumRows(); ++i) {
    const double lower = sides.lower[static_cast<size_t>(i)];
    const double upper = sides.upper[static_cast<size_t>(i)];
    if (Infinite(lower) && Infinite(upper)) continue;
    if (data.rowNames.size() == static_cast<size_t>(MaxConstraints)) {
      data.failure = "more than " + std::to_string(MaxConstraints) + " rows";
      data.failureName = NameOr(io.rowName(i), "");
      return;
    }
    data.rowNames.push_back(NameOr(io.rowName(i), ""));
    data.rowLower.push_back(Infinite(lower) ? -kNoBound : lower);
    data.rowUpper.push_back(Infinite(upper) ? kNoBound : upper);
    if (byRow != nullptr && i < byRow->getMajorDim()) {
      for (CoinBigIndex k = byRow->getVectorFirst(i); k < byRow->getVectorLast(i); ++k) {
        data.entryColumn.push_back(byRow->getIndices()[k]);
        data.entryValue.push_back(byRow->getElements()[k]);
      }
    }
    data.rowStart.push_back(static_cast<int32_t>(data.entryColumn.size()));
  }
  for (double& bound : data.columnLower) {
    if (Infinite(bound)) bound = -kNoBound;
  }
  for (double& bound : data.columnUpper) {
    if (Infinite(bound)) bound = kNoBound;
  }
}

// The text as a stream for CoinUtils, which closes it when done with it.
FILE* Stream(const std::string& text) {
  // fmemopen wants a buffer it may write to; "r" never does.
  return fmemopen(const_cast<char*>(text.data()), text.size(), "r");
}

// Sets back the sides lp_ranges.h took out of the text. The rows must be
// the constraints it counted, in its order, with the names it saw.
bool RestoreRangedSides(const CoinLpIO& io, const std::vector<RangedSide>& ranged, size_t constraints,
                        RowSides& sides, CoinData& data) {
  if (ranged.empty()) return true;
  if (static_cast<size_t>(io.getNumRows()) != constraints) {
    data.failure = "the ranged rows could not be matched to CoinLpIO's rows (" + std::to_string(constraints) +
                   " constraints counted, " + std::to_string(io.getNumRows()) + " read)";
    return false;
  }
  for (const RangedSide& side : ranged) {
    const int row = static_cast<int>(side.constraint);
    if (!side.label.empty() && side.label != NameOr(io.rowName(row), "")) {
      data.failure = "the ranged row " + side.label + " could not be matched to CoinLpIO's rows";
      return false;
    }
    const double value = std::strtod(side.value.c_str(), nullptr);
    (side.lower ? sides.lower : sides.upper)[side.constraint] = value;
  }
  return true;
}

void ReadLp(const std::string& text, const std::vector<RangedSide>& ranged, size_t constraints,
            CoinData& data) {
  MessageCollector messages(data.warnings);
  CoinLpIO io;
  io.passInMessageHandler(&messages);
  FILE* stream = Stream(text);
  if (stream == nullptr) {
    data.failure = "cannot hand the text to CoinLpIO";
    return;
  }
  io.readLp(stream);
  RowSides sides = SidesOf(io);
  if (!RestoreRangedSides(io, ranged, constraints, sides, data)) return;
  Extract(io, sides, data);
  data.objectiveOffset = io.objectiveOffset();
  data.wasMaximization = io.wasMaximization();
  data.setCount = io.numberSets();
}

// CoinMpsIO reads from a file it opens itself, in the fixed layout unless
// the NAME line says FREE; its card reader, which the subclass may set,
// reads from any stream in either layout.
class MpsFromStream : public CoinMpsIO {
 public:
  int Read(FILE* stream, bool freeLayout) {
    delete cardReader_;
    cardReader_ = new CoinMpsCardReader(new CoinPlainFileInput(stream), this);
    cardReader_->setFreeFormat(freeLayout);
    return readMps();
  }
};

void ReadMps(const std::string& text, bool freeLayout, CoinData& data) {
  MessageCollector messages(data.warnings);
  MpsFromStream io;
  io.passInMessageHandler(&messages);
  // Every element counts, however small: the model is exact.
  io.setSmallElementValue(0.0);
  FILE* stream = Stream(text);
  if (stream == nullptr) {
    data.failure = "cannot hand the text to CoinMpsIO";
    return;
  }
  const int errors = io.Read(stream, freeLayout);
  if (errors != 0) {
    data.failure = data.warnings.empty() ? "CoinMpsIO found " + std::to_string(errors) + " errors"
                                         : data.warnings.front();
    return;
  }
  Extract(io, SidesOf(io), data);
  data.objectiveOffset = io.objectiveOffset();
}

// Runs a reading, turning what CoinUtils throws into a failure.
template <typename Read>
CoinData Caught(Read read) {
  CoinData data;
  try {
    read(data);
  } catch (const CoinError& e) {
    data.failure = e.message();
  } catch (const char* message) {
    // CoinLpIO throws plain strings on some malformed files.
    data.failure = message != nullptr ? message : "CoinUtils failed";
  } catch (const std::exception& e) {
    data.failure = e.what();
  }
  return data;
}

}  // namespace

CoinData ReadLpWithCoinUtils(const std::string& text, const std::vector<RangedSide>& sides,
                             size_t constraints) {
  return Caught([&](CoinData& data) { ReadLp(text, sides, constraints, data); });
}

CoinData ReadMpsWithCoinUtils(const std::string& text, bool freeLayout) {
  return Caught([&](CoinData& data) { ReadMps(text, freeLayout, data); });
}

}  // namespace zoint
