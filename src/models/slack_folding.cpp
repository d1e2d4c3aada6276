#include "models/slack_folding.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace zoint {

namespace {

// The row a slack sits in, or −1 for a variable that is no slack.
std::vector<int64_t> SlackRows(const RawModel& model) {
  const size_t n = model.variables.size();
  std::vector<int64_t> row(n, -1);
  std::vector<int32_t> uses(n, 0);
  for (size_t r = 0; r < model.rows.size(); ++r) {
    for (const RawTerm& term : model.rows[r].terms) {
      const size_t v = static_cast<size_t>(term.variable);
      ++uses[v];
      row[v] = static_cast<int64_t>(r);
    }
  }
  for (size_t v = 0; v < n; ++v) {
    const RawVariable& variable = model.variables[v];
    // Written so that NaN bounds are no slack's.
    const bool ranged =
        std::isfinite(variable.lower) && std::isfinite(variable.upper) && variable.lower < variable.upper;
    if (variable.integer || variable.cost.numerator != 0 || !ranged || uses[v] != 1) row[v] = -1;
  }
  return row;
}

// a − b.
bool Difference(const ExactNumber& a, const ExactNumber& b, ExactNumber& difference) {
  return Sum(a, Negated(b), difference);
}

// Folds a·x + c·s ∈ [L, U], s ∈ [l, u], into a·x ∈ [L − max c·s, U − min c·s].
bool Fold(RawRow& row, const ExactNumber& coefficient, const RawVariable& slack, ModelError& error) {
  ExactNumber lower{0, 1};
  ExactNumber upper{0, 1};
  ExactNumber atLower{0, 1};
  ExactNumber atUpper{0, 1};
  const bool exact = ExactNumberOfDouble(slack.lower, lower) && ExactNumberOfDouble(slack.upper, upper) &&
                     Product(coefficient, lower, atLower) && Product(coefficient, upper, atUpper);
  const bool positive = coefficient.numerator > 0;
  const ExactNumber& least = positive ? atLower : atUpper;
  const ExactNumber& most = positive ? atUpper : atLower;
  if (!exact || (row.hasLower && !Difference(row.lower, most, row.lower)) ||
      (row.hasUpper && !Difference(row.upper, least, row.upper))) {
    error = {row.line, row.name + ": folding its slack " + slack.name +
                           " into its sides gives numbers that cannot be held exactly"};
    return false;
  }
  return true;
}

}  // namespace

bool FoldSlacks(const RawModel& model, RawModel& folded, ModelError& error) {
  const std::vector<int64_t> slackRow = SlackRows(model);
  folded = RawModel{{}, model.rows, model.maximise, model.constant, model.objectiveLine};
  std::vector<int32_t> position(model.variables.size(), -1);
  for (size_t v = 0; v < model.variables.size(); ++v) {
    if (slackRow[v] >= 0) continue;
    position[v] = static_cast<int32_t>(folded.variables.size());
    folded.variables.push_back(model.variables[v]);
  }
  for (RawRow& row : folded.rows) {
    std::vector<RawTerm> kept;
    for (const RawTerm& term : row.terms) {
      const size_t v = static_cast<size_t>(term.variable);
      if (position[v] >= 0) {
        kept.push_back({position[v], term.coefficient});
      } else if (term.coefficient.numerator != 0 && !Fold(row, term.coefficient, model.variables[v], error)) {
        return false;
      }
    }
    row.terms = kept;
  }
  return true;
}

}  // namespace zoint
