// A model as its file states it, before the mapping to a Problem: named
// variables with bounds, rows with two sides, an objective in its own sense.
// Every reader fills one; the mapping alone decides what can be solved.
#ifndef ZOINT_MODELS_RAW_MODEL_H
#define ZOINT_MODELS_RAW_MODEL_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "models/exact_number.h"

namespace zoint {

// Where in the file something is: 1-based; 0 when the reader cannot tell.
using LineNumber = int64_t;

// Why a model cannot be solved, and where.
struct ModelError {
  LineNumber line;
  std::string reason;
};

// Sets error to the refusal and returns false, so that a reader's check can
// end with `return Refuse(error, line, "…")`.
inline bool Refuse(ModelError& error, LineNumber line, std::string reason) {
  error = {line, std::move(reason)};
  return false;
}

// How reading a model file ended.
enum class ReadOutcome {
  Read,      // the model is filled in
  Rejected,  // the error says why and where
  Stopped,   // the cancel flag was raised while reading
};

struct RawVariable {
  std::string name;
  ExactNumber cost;  // in the model's own sense
  bool integer;
  // Bounds as read; infinite where the model gives none. Only their
  // relation to 0 and 1 matters, which doubles hold exactly.
  double lower;
  double upper;
  LineNumber line;  // where it first appears
};

struct RawTerm {
  int32_t variable;  // index into RawModel::variables
  ExactNumber coefficient;
};

// lower ≤ Σ terms ≤ upper; a side that is absent is unbounded.
struct RawRow {
  std::string name;
  std::vector<RawTerm> terms;
  bool hasLower;
  ExactNumber lower;
  bool hasUpper;
  ExactNumber upper;
  LineNumber line;
};

struct RawModel {
  std::vector<RawVariable> variables;  // in the model's order
  std::vector<RawRow> rows;
  bool maximise;
  ExactNumber constant;  // added to the objective, in the model's own sense
  LineNumber objectiveLine;
};

}  // namespace zoint

#endif  // ZOINT_MODELS_RAW_MODEL_H
