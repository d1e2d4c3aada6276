#include "exact_search/sum_problem.h"

#include "exact_search/parameters.h"
#include "problem/checked_arithmetic.h"

namespace zoint {

namespace {

// The least and the greatest a·x over all assignments. Each is a sum of
// terms of one sign whose magnitudes add up to at most 2^63 − 1, so neither
// can wrap.
struct RowRange {
  int64_t least;
  int64_t greatest;
};

RowRange RangeOf(const int64_t* a, int32_t n) {
  RowRange range = {0, 0};
  for (int32_t i = 0; i < n; ++i) (a[i] < 0 ? range.least : range.greatest) += a[i];
  return range;
}

bool IsNegationOf(int64_t a, int64_t b) { return b != INT64_MIN && a == -b; }

// Row l is row j negated, right-hand side included: together a·x = d.
bool AreOpposite(const ConstraintRow& j, const ConstraintRow& l, int32_t n) {
  if (!IsNegationOf(l.entries[RhsColumn], j.entries[RhsColumn])) return false;
  for (int32_t i = 0; i < n; ++i) {
    if (!IsNegationOf(l.entries[i], j.entries[i])) return false;
  }
  return true;
}

bool AreEqual(const ConstraintRow& j, const ConstraintRow& l, int32_t n) {
  if (l.entries[RhsColumn] != j.entries[RhsColumn]) return false;
  for (int32_t i = 0; i < n; ++i) {
    if (l.entries[i] != j.entries[i]) return false;
  }
  return true;
}

// What each row of the problem is to the enumeration.
enum class RowRole : int8_t { Unseen, Equation, Repeat, MetByAll, Checked };

struct RowSurvey {
  RowRole role[MaxConstraints];
  int32_t equations[kMaxKeyRows];  // the first row of each pair
  int32_t equationCount;
  bool someRowUnmet;  // some row no assignment meets
};

// Rows in opposite pairs are equations; an equation or row that repeats
// one already seen adds nothing; a row every assignment meets adds nothing.
void SurveyRows(const Problem& problem, RowSurvey& survey) {
  const int32_t n = problem.n;
  const int32_t m = problem.m;
  survey.equationCount = 0;
  survey.someRowUnmet = false;
  for (int32_t j = 0; j < m; ++j) survey.role[j] = RowRole::Unseen;
  for (int32_t j = 0; j < m; ++j) {
    if (survey.role[j] != RowRole::Unseen) continue;
    for (int32_t l = j + 1; l < m; ++l) {
      if (survey.role[l] == RowRole::Unseen && AreOpposite(problem.rows[j], problem.rows[l], n)) {
        survey.role[j] = RowRole::Equation;
        survey.role[l] = RowRole::Repeat;
        break;
      }
    }
    if (survey.role[j] != RowRole::Equation) continue;
    // The same equation, either way round, met earlier.
    for (int32_t k = 0; k < survey.equationCount; ++k) {
      const ConstraintRow& earlier = problem.rows[survey.equations[k]];
      if (AreEqual(earlier, problem.rows[j], n) || AreOpposite(earlier, problem.rows[j], n)) {
        survey.role[j] = RowRole::Repeat;
        break;
      }
    }
    if (survey.role[j] == RowRole::Equation) survey.equations[survey.equationCount++] = j;
  }
  for (int32_t j = 0; j < m; ++j) {
    const ConstraintRow& row = problem.rows[j];
    const RowRange range = RangeOf(row.entries, n);
    const int64_t rhs = row.entries[RhsColumn];
    if (range.least > rhs) survey.someRowUnmet = true;
    if (survey.role[j] == RowRole::Equation) {
      // A zero equation with d = 0 says nothing.
      if (range.least == 0 && range.greatest == 0 && rhs == 0) survey.role[j] = RowRole::MetByAll;
      continue;
    }
    if (survey.role[j] != RowRole::Unseen) continue;
    survey.role[j] = range.greatest <= rhs ? RowRole::MetByAll : RowRole::Checked;
    for (int32_t k = 0; k < survey.equationCount && survey.role[j] == RowRole::Checked; ++k) {
      const ConstraintRow& equation = problem.rows[survey.equations[k]];
      if (AreEqual(equation, row, n) || AreOpposite(equation, row, n)) survey.role[j] = RowRole::Repeat;
    }
  }
  // Drop the equations found to say nothing.
  int32_t kept = 0;
  for (int32_t k = 0; k < survey.equationCount; ++k) {
    if (survey.role[survey.equations[k]] == RowRole::Equation) survey.equations[kept++] = survey.equations[k];
  }
  survey.equationCount = kept;
}

// c_i = k·a_i for every variable i with inUse[i], for one rational k ≠ 0;
// its sign in *sign.
bool CostsFollowRow(const Problem& problem, const int64_t* a, const bool* inUse, int32_t* sign) {
  int32_t pivot = -1;
  for (int32_t i = 0; i < problem.n && pivot < 0; ++i) {
    if (inUse[i] && a[i] != 0) pivot = i;
  }
  if (pivot < 0 || problem.coefficients[pivot] == 0) return false;
  for (int32_t i = 0; i < problem.n; ++i) {
    if (inUse[i] && !ProductsEqual(problem.coefficients[i], a[pivot], a[i], problem.coefficients[pivot])) {
      return false;
    }
  }
  *sign = (problem.coefficients[pivot] < 0) == (a[pivot] < 0) ? 1 : -1;
  return true;
}

// One key row orders by its own sum. Several order by a weighted sum of
// theirs with weights of no simple ratio, which spreads the numbers evenly;
// weights that kept the rows apart (a mixed radix) would bunch the numbers
// of one window into clumps that the window's radix pass cannot split. Each
// weight gets a share of 2^63 − 1 over its row's largest |sum| R_j, so no
// weighted sum wraps; equal numbers fall back on the rows themselves.
void ChooseOrderWeights(SumProblem& sums) {
  const int32_t k = sums.keyRows;
  if (k == 1) {
    sums.orderWeight[0] = 1;
    sums.firstTieRow = 1;
    return;
  }
  sums.firstTieRow = 0;
  const int64_t share = INT64_MAX / k;
  bool anyWeight = false;
  int32_t narrowest = 0;
  int64_t narrowestReach = INT64_MAX;
  for (int32_t j = 0; j < k; ++j) {
    int64_t reach = 0;  // R_j, within 2^63 − 1 as no sum of the row can wrap
    for (int32_t e = 0; e < sums.enumeratedCount; ++e) {
      reach += static_cast<int64_t>(Magnitude(sums.key[j][sums.enumerated[e]]));
    }
    if (reach < narrowestReach) {
      narrowestReach = reach;
      narrowest = j;
    }
    int64_t weight = reach == 0 ? 0 : share / reach;
    // A fixed scramble of the row's number takes up to half of it off.
    uint64_t mix = (static_cast<uint64_t>(j) + 1) * 0x9e3779b97f4a7c15u;
    mix = (mix ^ (mix >> 31)) * 0xbf58476d1ce4e5b9u;
    mix ^= mix >> 29;
    weight -= static_cast<int64_t>(mix % (static_cast<uint64_t>(weight / 2) + 1));
    sums.orderWeight[j] = weight;
    anyWeight = anyWeight || weight != 0;
  }
  if (!anyWeight) sums.orderWeight[narrowest] = 1;
}

}  // namespace

Recognition RecogniseSumProblem(const Problem& problem, SumProblem& sums) {
  const int32_t n = problem.n;
  RowSurvey survey;
  SurveyRows(problem, survey);

  bool inCheckedRow[MaxVariables] = {};
  for (int32_t j = 0; j < problem.m; ++j) {
    if (survey.role[j] != RowRole::Checked) continue;
    for (int32_t i = 0; i < n; ++i) inCheckedRow[i] = inCheckedRow[i] || problem.rows[j].entries[i] != 0;
  }

  sums.n = n;
  sums.keyRows = 0;
  sums.upper = 0;
  sums.lower = 0;
  if (survey.equationCount > 0) {
    sums.kind = SumKind::Equations;
    for (int32_t k = 0; k < survey.equationCount; ++k) {
      // A target beyond the row's reach leaves one of the pair unmet, so
      // from here on every target lies within it.
      const ConstraintRow& row = problem.rows[survey.equations[k]];
      for (int32_t i = 0; i < n; ++i) sums.key[k][i] = row.entries[i];
      sums.target[k] = row.entries[RhsColumn];
    }
    sums.keyRows = survey.equationCount;
  } else {
    // One row the objective follows: the first such that some assignment breaks.
    bool inUse[MaxVariables];
    for (int32_t i = 0; i < n; ++i) inUse[i] = inCheckedRow[i];
    for (int32_t j = 0; j < problem.m && sums.keyRows == 0; ++j) {
      const ConstraintRow& row = problem.rows[j];
      int32_t sign = 0;
      if (survey.role[j] != RowRole::Checked || !CostsFollowRow(problem, row.entries, inUse, &sign)) continue;
      survey.role[j] = RowRole::Equation;
      sums.kind = SumKind::BestSubsetSum;
      sums.keyRows = 1;
      const RowRange range = RangeOf(row.entries, n);
      const int64_t rhs = row.entries[RhsColumn];
      if (sign < 0) {
        // Minimising −k·a·x: a·x as large as a·x ≤ b allows.
        for (int32_t i = 0; i < n; ++i) sums.key[0][i] = row.entries[i];
        sums.upper = rhs;
        sums.lower = range.least;
      } else {
        // Minimising k·a·x: −a·x as large as possible, at least −b (b ≥
        // least ≥ −(2^63 − 1) unless the row is unmet, so −b fits).
        for (int32_t i = 0; i < n; ++i) sums.key[0][i] = -row.entries[i];
        sums.upper = -range.least;
        sums.lower = range.least <= rhs ? -rhs : sums.upper;
      }
    }
    if (sums.keyRows == 0) return Recognition::NotOurs;
  }
  if (survey.someRowUnmet) return Recognition::Infeasible;

  sums.checkedCount = 0;
  for (int32_t j = 0; j < problem.m; ++j) {
    if (survey.role[j] == RowRole::Checked) sums.checked[sums.checkedCount++] = j;
  }
  sums.enumeratedCount = 0;
  sums.fixedCost = 0;
  for (int32_t i = 0; i < n; ++i) {
    bool inKeyRow = false;
    for (int32_t k = 0; k < sums.keyRows; ++k) inKeyRow = inKeyRow || sums.key[k][i] != 0;
    sums.fixedX[i] = 0;
    if (inKeyRow || inCheckedRow[i]) {
      sums.enumerated[sums.enumeratedCount++] = i;
    } else if (problem.coefficients[i] < 0) {
      sums.fixedX[i] = 1;
      sums.fixedCost += problem.coefficients[i];
    }
  }
  if (sums.enumeratedCount > parameters::kMaxEnumeratedVariables) return Recognition::NotOurs;
  if (sums.enumeratedCount > parameters::kSparseRowsVariables) {
    for (int32_t k = 0; k < sums.keyRows; ++k) {
      int32_t nonzeros = 0;
      for (int32_t e = 0; e < sums.enumeratedCount; ++e)
        nonzeros += sums.key[k][sums.enumerated[e]] != 0 ? 1 : 0;
      if (2 * nonzeros < sums.enumeratedCount) return Recognition::NotOurs;
    }
  }
  ChooseOrderWeights(sums);
  return Recognition::Ours;
}

}  // namespace zoint
