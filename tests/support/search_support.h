// Problems written as plain vectors, loaded straight into the solver state,
// and the result of a search over them.
#ifndef ZOINT_TESTS_SEARCH_SUPPORT_H
#define ZOINT_TESTS_SEARCH_SUPPORT_H

#include <cstdint>
#include <string>
#include <vector>

#include "exact_search/exact_search.h"
#include "exact_search/search_limits.h"
#include "problem/problem.h"
#include "run/run_report.h"

namespace zoint_test {

struct TestProblem {
  int32_t n;
  std::vector<int64_t> c;                  // n costs
  std::vector<std::vector<int64_t>> rows;  // each: n coefficients, then b_j
};

struct SearchResult {
  int64_t value;
  std::vector<int64_t> vector;  // n entries
  uint64_t nodes;
  uint64_t evaluations;
};

inline bool operator==(const SearchResult& a, const SearchResult& b) {
  return a.value == b.value && a.vector == b.vector && a.nodes == b.nodes && a.evaluations == b.evaluations;
}

// Every progress report of an exact search, with a cancel flag raised from
// the callback once cancelAfter reports have come (0: never). Pass Record as
// the callback and the log as its data.
struct ProgressLog {
  std::vector<zoint::ExactProgress> reports;
  volatile int32_t cancel = 0;
  size_t cancelAfter = 0;
};
void Record(const zoint::ExactProgress& progress, void* data);

// Limits as the exact search starts them for a method called on its own:
// the options given, and the least value any assignment can have.
void StartLimitsFor(const TestProblem& problem, const zoint::ExactOptions& options, zoint::SearchLimits& limits);

// The problem as the library holds it.
zoint::Problem ToProblem(const TestProblem& problem);

// Every assignment tried, in plain integers: the least objective below
// 9223372036854775807 and the lexicographically smallest assignment reaching
// it, or that value and all zeros when there is none. Only for problems in
// which no sum can wrap; nodes and evaluations are 0.
SearchResult BruteForce(const TestProblem& problem);

// Runs the search stage of a run on the problem, as a successful load leaves
// it, by the mode given: the enumeration's counters fill nodes and
// evaluations.
SearchResult SearchStage(const TestProblem& problem, zoint::SolveMode mode);

// Runs the library's own enumeration, as specified, over the problem.
SearchResult SpecifiedSearch(const TestProblem& problem);

// Runs the search stage as a call does, which picks the exact search wherever
// no sum can wrap; *exact tells whether it ran.
SearchResult ChosenSearch(const TestProblem& problem, bool* exact);

// How many of a random test's `full` rounds to run: all of them, unless the
// environment variable ZOINT_TEST_ROUNDS asks for fewer. The rounds kept are
// the first ones of the same seeded sequence, for slow builds such as the
// i386 one under emulation.
int RoundsToRun(int full);

// The problem as ZOIntIn.dat text.
std::string ProblemText(const TestProblem& problem);

}  // namespace zoint_test

#endif  // ZOINT_TESTS_SEARCH_SUPPORT_H
