// From a model as written to the library's problem: minimise c·x subject to
// a_j·x ≤ b_j, x binary, every number a 64-bit integer, no sum that can wrap.
//  - slack columns (slack_folding.h) are folded into their rows' sides;
//  - maximise becomes minimise −c;
//  - a ≥ side is negated; an = or ranged row becomes two rows;
//  - variables fixed by their bounds are held by at most two extra rows:
//    Σ x ≤ 0 over those fixed at 0, −Σ x ≤ −k over the k fixed at 1;
//  - each row, and the objective, is multiplied by the least common multiple
//    of its denominators, so that decimals become exact integers;
//  - the objective's constant, sense and scale are kept to report values back.
#ifndef ZOINT_MODELS_MODEL_MAPPING_H
#define ZOINT_MODELS_MODEL_MAPPING_H

#include <cstdint>
#include <string>
#include <vector>

#include "models/decimal_text.h"
#include "models/exact_number.h"
#include "models/raw_model.h"
#include "problem/problem.h"

namespace zoint {

struct MappedModel {
  Problem problem;                 // n = the model's variables, in its order
  std::vector<std::string> names;  // names[i] is the model's name of x_i
  bool maximise;
  int64_t scale;         // the problem's costs are the model's, times ±scale
  ExactNumber constant;  // the model's objective constant
};

// Maps the model, or returns false with error naming the line and the
// reason: a variable that is not binary, a number that cannot be made an
// exact 64-bit integer, more than MaxVariables variables or MaxConstraints
// rows, or a row or objective whose sums could wrap. On success the problem
// satisfies NoSumCanWrap, the library's one limit.
bool MapModel(const RawModel& model, MappedModel& mapped, ModelError& error);

// True when an assignment's objective can be NoSolutionValue itself, which
// the library reports as "no assignment": every cost is ≥ 0 and they sum to
// exactly 2^63 − 1, the limit NoSumCanWrap allows. Only an assignment taking
// every positive cost reaches it.
bool ValueCanBeNoSolutionValue(const Problem& problem);

// The model's objective for a value of the problem's:
// constant + (maximise ? −1 : 1) · value / scale, exactly.
Decimal ModelValue(const MappedModel& mapped, int64_t value);

}  // namespace zoint

#endif  // ZOINT_MODELS_MODEL_MAPPING_H
