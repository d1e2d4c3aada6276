// What CoinUtils read from an LP or MPS file, as plain data that can cross
// from the reading process to the solving one (see coin_reader.h).
#ifndef ZOINT_MODELS_COIN_DATA_H
#define ZOINT_MODELS_COIN_DATA_H

#include <cstdint>
#include <string>
#include <vector>

namespace zoint {

struct CoinData {
  // Set when the file cannot become a model: CoinUtils' own message (which
  // may name a line), or too many columns or rows. failureName is then the
  // one too many, to find the line by.
  std::string failure;
  std::string failureName;
  bool failureIsColumn = false;  // failureName names a column, else a row

  // Columns, in the file's order. Their integer flag is 0 (continuous),
  // 1 (integer) or 2 (semi-continuous).
  std::vector<std::string> columnNames;
  std::vector<double> costs;
  std::vector<double> columnLower;
  std::vector<double> columnUpper;
  std::vector<char> integer;

  // Rows with at least one finite side, by rows: the entries of row r are
  // rowStart[r] … rowStart[r + 1] − 1. Free rows constrain nothing and are
  // left out.
  std::vector<std::string> rowNames;
  std::vector<double> rowLower;
  std::vector<double> rowUpper;
  std::vector<int32_t> rowStart;
  std::vector<int32_t> entryColumn;
  std::vector<double> entryValue;

  double objectiveOffset = 0;  // as CoinUtils reports it (see coin_reader.cpp)
  bool wasMaximization = false;
  int32_t setCount = 0;               // SOS sets
  std::vector<std::string> warnings;  // messages CoinUtils gave as warnings or errors
};

std::string Serialized(const CoinData& data);

// False when bytes are not a whole serialized CoinData.
bool Deserialize(const std::string& bytes, CoinData& data);

// The same model read, whatever messages came with it.
bool SameModel(const CoinData& a, const CoinData& b);

}  // namespace zoint

#endif  // ZOINT_MODELS_COIN_DATA_H
