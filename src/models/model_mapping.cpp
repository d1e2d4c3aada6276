#include "models/model_mapping.h"

#include <cmath>
#include <cstdio>

#include "models/slack_folding.h"
#include "models/text_scan.h"

namespace zoint {

namespace {

std::string BoundText(double bound) {
  if (std::isinf(bound)) return bound < 0 ? "-inf" : "inf";
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", bound);
  return text;
}

std::string NumberText(const ExactNumber& number) { return DecimalText(DecimalOf(number)); }

// The refusal when NoSumCanWrap fails for one row or the objective: the
// library's one limit, in the words the C API and Python use.
std::string WrapReason(const std::string& where, int64_t scale) {
  return where + ": the sum of the coefficients' magnitudes" +
         (scale > 1 ? " (scaled by " + std::to_string(scale) + ")" : std::string()) +
         " exceeds 2^63 - 1, so sums could wrap";
}

class Mapper {
 public:
  Mapper(const RawModel& model, MappedModel& mapped, ModelError& error)
      : model_(model), mapped_(mapped), error_(error) {}

  bool Map() {
    mapped_.problem = Problem{};
    mapped_.names.clear();
    mapped_.maximise = model_.maximise;
    mapped_.scale = 1;
    mapped_.constant = model_.constant;
    return MapVariables() && MapObjective() && MapRows() && AddFixingRows();
  }

 private:
  const RawModel& model_;
  MappedModel& mapped_;
  ModelError& error_;
  std::vector<int32_t> fixedAtZero_;
  std::vector<int32_t> fixedAtOne_;

  bool MapVariables() {
    const size_t n = model_.variables.size();
    if (n > static_cast<size_t>(MaxVariables)) {
      const RawVariable& extra = model_.variables[MaxVariables];
      return Refuse(error_, extra.line, "more than " + std::to_string(MaxVariables) + " variables (" + extra.name +
                                  " is one too many)");
    }
    mapped_.problem.n = static_cast<int32_t>(n);
    for (size_t i = 0; i < n; ++i) {
      const RawVariable& v = model_.variables[i];
      mapped_.names.push_back(v.name);
      const int32_t index = static_cast<int32_t>(i);
      const std::string bounds = " (bounds [" + BoundText(v.lower) + ", " + BoundText(v.upper) + "])";
      if (!v.integer) {
        // A continuous variable that its bounds fix at 0 or 1 is a constant
        // of the model, binary in all but name.
        if (v.lower == v.upper && (v.lower == 0 || v.lower == 1)) {
          (v.lower == 0 ? fixedAtZero_ : fixedAtOne_).push_back(index);
          continue;
        }
        return Refuse(error_, v.line, "variable " + v.name + " is continuous" + bounds +
                                "; every variable must be binary (integer, bounds within [0, 1])");
      }
      // Written so that NaN bounds fail too.
      if (!(v.lower >= 0 && v.upper <= 1)) {
        return Refuse(error_, v.line, "variable " + v.name + " is a general integer" + bounds +
                                "; every variable must be binary (integer, bounds within [0, 1])");
      }
      const bool mayBeZero = v.lower <= 0 && v.upper >= 0;
      const bool mayBeOne = v.lower <= 1 && v.upper >= 1;
      // Neither: no integer lies within its bounds, and being in both
      // fixing rows makes the problem infeasible, as the model is.
      if (!mayBeOne) fixedAtZero_.push_back(index);
      if (!mayBeZero) fixedAtOne_.push_back(index);
    }
    return true;
  }

  bool MapObjective() {
    const LineNumber objectiveLine = model_.objectiveLine;
    for (const RawVariable& v : model_.variables) {
      if (!CommonDenominator(mapped_.scale, v.cost.denominator, mapped_.scale)) {
        return Refuse(error_, objectiveLine != 0 ? objectiveLine : v.line,
                    "objective: the least common multiple of the coefficients' denominators exceeds "
                    "2^63 - 1 (at " +
                        v.name + ")");
      }
    }
    for (size_t i = 0; i < model_.variables.size(); ++i) {
      const RawVariable& v = model_.variables[i];
      const ExactNumber cost = model_.maximise ? Negated(v.cost) : v.cost;
      if (!ScaledInteger(cost, mapped_.scale, mapped_.problem.coefficients[i])) {
        return Refuse(error_, objectiveLine != 0 ? objectiveLine : v.line,
                    "objective: the coefficient of " + v.name + ", " + NumberText(v.cost) +
                        ", times the scale " + std::to_string(mapped_.scale) + " is not a 64-bit integer");
      }
    }
    // No row is mapped yet, so this checks the objective alone.
    if (!NoSumCanWrap(mapped_.problem)) return Refuse(error_, objectiveLine, WrapReason("objective", mapped_.scale));
    return true;
  }

  // Appends Σ sign·a·x ≤ sign·bound as one row, scaled to integers.
  bool AddRow(const RawRow& row, int sign, const ExactNumber& bound) {
    Problem& problem = mapped_.problem;
    if (problem.m == MaxConstraints) {
      return Refuse(error_, row.line, "more than " + std::to_string(MaxConstraints) +
                                " rows after the mapping (an = or ranged row counts twice) at " + row.name);
    }
    int64_t scale = bound.denominator;
    for (const RawTerm& term : row.terms) {
      if (!CommonDenominator(scale, term.coefficient.denominator, scale)) {
        return Refuse(error_, row.line, row.name + ": the least common multiple of its denominators exceeds 2^63 - 1");
      }
    }
    int64_t* entries = problem.rows[problem.m].entries;
    for (const RawTerm& term : row.terms) {
      const ExactNumber a = sign < 0 ? Negated(term.coefficient) : term.coefficient;
      if (!ScaledInteger(a, scale, entries[term.variable])) {
        return Refuse(error_, row.line, row.name + ": the coefficient of " +
                                  mapped_.names[static_cast<size_t>(term.variable)] + ", " +
                                  NumberText(term.coefficient) + ", times the row's scale " +
                                  std::to_string(scale) + " is not a 64-bit integer");
      }
    }
    const ExactNumber b = sign < 0 ? Negated(bound) : bound;
    if (!ScaledInteger(b, scale, entries[RhsColumn])) {
      return Refuse(error_, row.line, row.name + ": the right-hand side " + NumberText(bound) +
                                ", times the row's scale " + std::to_string(scale) +
                                ", is not a 64-bit integer");
    }
    // The rows before this one passed the same check, so a failure is this row's.
    ++problem.m;
    if (!NoSumCanWrap(problem)) {
      --problem.m;
      problem.rows[problem.m] = ConstraintRow{};
      return Refuse(error_, row.line, WrapReason(row.name, scale));
    }
    return true;
  }

  bool MapRows() {
    std::vector<char> seen(model_.variables.size(), 0);
    for (const RawRow& row : model_.rows) {
      for (const RawTerm& term : row.terms) {
        char& mark = seen[static_cast<size_t>(term.variable)];
        if (mark != 0) {
          return Refuse(error_, row.line,
                      row.name + ": " + mapped_.names[static_cast<size_t>(term.variable)] + " appears twice");
        }
        mark = 1;
      }
      for (const RawTerm& term : row.terms) seen[static_cast<size_t>(term.variable)] = 0;
      if (row.hasUpper && !AddRow(row, 1, row.upper)) return false;
      if (row.hasLower && !AddRow(row, -1, row.lower)) return false;
    }
    return true;
  }

  bool AddFixingRows() {
    if (!fixedAtZero_.empty() && !AddFixingRow(fixedAtZero_, 1)) return false;
    if (!fixedAtOne_.empty() && !AddFixingRow(fixedAtOne_, -1)) return false;
    return true;
  }

  // Σ x ≤ 0 holds every listed variable at 0; −Σ x ≤ −k holds the k at 1.
  bool AddFixingRow(const std::vector<int32_t>& variables, int64_t sign) {
    RawRow row{"the row fixing " + mapped_.names[static_cast<size_t>(variables[0])] +
                   (variables.size() > 1 ? " and others" : "") + " at " + (sign > 0 ? "0" : "1"),
               {},
               false,
               kZero,
               true,
               {sign > 0 ? 0 : -static_cast<int64_t>(variables.size()), 1},
               model_.variables[static_cast<size_t>(variables[0])].line};
    for (int32_t i : variables) row.terms.push_back({i, {sign, 1}});
    return AddRow(row, 1, row.upper);
  }
};

}  // namespace

bool MapModel(const RawModel& model, MappedModel& mapped, ModelError& error) {
  RawModel folded;
  if (FoldSlacks(model, folded, error) && Mapper(folded, mapped, error).Map()) return true;
  // Names in a reason are the file's bytes, which need not be UTF-8.
  error.reason = Printable(error.reason, error.reason.size());
  return false;
}

bool ValueCanBeNoSolutionValue(const Problem& problem) {
  int64_t sum = 0;
  for (int32_t i = 0; i < problem.n; ++i) {
    const int64_t cost = problem.coefficients[i];
    // NoSumCanWrap holds, so the sum of the costs never wraps.
    if (cost < 0) return false;
    sum += cost;
  }
  return sum == NoSolutionValue;
}

Decimal ModelValue(const MappedModel& mapped, int64_t value) {
  Decimal scaled = DecimalOf(value, mapped.scale);
  if (mapped.maximise) scaled.negative = !scaled.negative;
  return Sum(DecimalOf(mapped.constant), scaled);
}

}  // namespace zoint
