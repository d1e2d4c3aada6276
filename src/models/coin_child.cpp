#include "models/coin_child.h"

#include <CoinError.hpp>
#include <CoinLpIO.hpp>
#include <CoinMessageHandler.hpp>
#include <CoinMpsIO.hpp>
#include <cmath>
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

template <typename Reader>
void Extract(const Reader& io, CoinData& data) {
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
    const double lower = io.getRowLower()[i];
    const double upper = io.getRowUpper()[i];
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

void ReadLp(const std::string& path, CoinData& data) {
  MessageCollector messages(data.warnings);
  CoinLpIO io;
  io.passInMessageHandler(&messages);
  io.readLp(path.c_str());
  Extract(io, data);
  data.objectiveOffset = io.objectiveOffset();
  data.wasMaximization = io.wasMaximization();
  data.setCount = io.numberSets();
}

void ReadMps(const std::string& path, CoinData& data) {
  MessageCollector messages(data.warnings);
  CoinMpsIO io;
  io.passInMessageHandler(&messages);
  // Every element counts, however small: the model is exact.
  io.setSmallElementValue(0.0);
  // No extension: the file named is the file read.
  const int errors = io.readMps(path.c_str(), "");
  if (errors != 0) {
    data.failure = data.warnings.empty() ? "CoinMpsIO found " + std::to_string(errors) + " errors"
                                         : data.warnings.front();
    return;
  }
  Extract(io, data);
  data.objectiveOffset = io.objectiveOffset();
}

}  // namespace

CoinData ReadWithCoinUtils(const std::string& path, bool lp) {
  CoinData data;
  try {
    if (lp) {
      ReadLp(path, data);
    } else {
      ReadMps(path, data);
    }
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

}  // namespace zoint
