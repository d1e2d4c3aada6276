// The enumeration on problems set directly in the solver state: the tree it
// walks (node and evaluation counts), the tests' edges, and the state's
// lifecycle around a search.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include "enumeration/evaluate.h"
#include "run/solver_state.h"
#include "run/stages.h"
#include "support/search_support.h"

namespace zoint {
namespace {

using zoint_test::SearchResult;
using zoint_test::SpecifiedSearch;
using zoint_test::TestProblem;

TEST(Search, SmallProblemsTable) {
  const int64_t kNone = NoSolutionValue;
  const struct {
    const char* name;
    TestProblem problem;
    SearchResult expected;
  } cases[] = {
      {"worked problem", {3, {5, 3, 4}, {{-1, -1, 0, -1}, {0, -1, -1, -1}}}, {3, {0, 1, 0}, 1, 4}},
      {"four optima, first kept",
       {4, {2, 3, 2, 3}, {{-1, -1, -1, -1, -2}, {1, 0, 1, 0, 1}}},
       {5, {0, 0, 1, 1}, 8, 18}},
      {"two optima",
       {5, {5, 4, 3, 7, 1}, {{-2, -3, -1, -4, -1, -5}, {1, 1, 0, 1, 0, 2}, {0, -1, -1, 0, -1, -1}}},
       {8, {0, 0, 0, 1, 1}, 12, 26}},
      {"infeasible at the root", {2, {1, 1}, {{1, 1, -1}}}, {kNone, {0, 0}, 0, 2}},
      {"no variables, no rows", {0, {}, {}}, {0, {}, 0, 2}},
      {"no variables, negative rhs", {0, {}, {{-1}}}, {kNone, {}, 0, 2}},
      {"negative cost is not found", {2, {7, -7}, {}}, {0, {0, 0}, 0, 2}},
      // Equal left-hand side and right-hand side is feasible.
      {"rhs met exactly", {1, {4}, {{-3, -3}}}, {4, {1}, 0, 2}},
      // A bound equal to b_j does not close: x_0 = 0 must branch to reach x_1 = 1.
      {"bound equal to rhs branches", {2, {5, 1}, {{-1, -1, -1}}}, {1, {0, 1}, 1, 4}},
      // An equal value never replaces: (0,1) is found first, (1,0) ties.
      {"tie keeps the first", {2, {2, 2}, {{-1, -1, -1}}}, {2, {0, 1}, 1, 4}},
      // Sums wrap: 2^62 + 2^62 is the most negative value, a new best.
      {"wrapping objective",
       {2, {int64_t{1} << 62, int64_t{1} << 62}, {{-1, -1, -2}}},
       {INT64_MIN, {1, 1}, 1, 4}},
  };
  for (const auto& c : cases) {
    SearchResult got = SpecifiedSearch(c.problem);
    EXPECT_EQ(got.value, c.expected.value) << c.name;
    EXPECT_EQ(got.vector, c.expected.vector) << c.name;
    EXPECT_EQ(got.nodes, c.expected.nodes) << c.name;
    EXPECT_EQ(got.evaluations, c.expected.evaluations) << c.name;
  }
}

TEST(Search, NothingRunsWithoutValidInput) {
  const std::unique_ptr<SolverState> state(new SolverState());
  ResetSolver(*state);
  GetRoot(*state);
  state->problem.n = 2;  // a problem is there, but the load did not succeed
  for (const SolveMode mode : {SolveMode::Enumeration, SolveMode::Exact}) {
    Search(*state, mode);
    EXPECT_FALSE(state->report.searched);
    EXPECT_EQ(state->report.enumeration.evaluations, 0u);
    EXPECT_EQ(state->incumbentValue, NoSolutionValue);
  }
}

TEST(Search, OnlyTheRootIsLeftOnTheChain) {
  const std::unique_ptr<EnumerationState> state(new EnumerationState());
  const Problem problem = zoint_test::ToProblem({4, {2, 3, 2, 3}, {{-1, -1, -1, -1, -2}, {1, 0, 1, 0, 1}}});
  StartEnumeration(*state, problem);
  SearchNode* root = &state->nodes[0];
  ClearNode(root);
  Branch(*state, root);
  EXPECT_EQ(state->counters.nodes, 8u);
  EXPECT_EQ(root->child, nullptr);  // every child was released when its subtree ended
}

TEST(SolverState, StartValuesAndLifecycle) {
  const std::unique_ptr<SolverState> state(new SolverState());
  ResetSolver(*state);
  EXPECT_EQ(state->root, nullptr);
  SearchNode* root = GetRoot(*state);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(GetRoot(*state), root);  // an existing root is returned, not replaced
  EXPECT_EQ(root->depth, 0);
  EXPECT_EQ(root->parent, nullptr);
  ResetSolver(*state);
  ResetSolver(*state);  // without a root it only resets the fields
  EXPECT_EQ(state->problem.n, 0);
  EXPECT_EQ(state->problem.m, 0);
  EXPECT_FALSE(state->inputValid);
  EXPECT_EQ(state->incumbentValue, NoSolutionValue);
  for (int64_t x : state->incumbentVector) EXPECT_EQ(x, 0);
}

}  // namespace
}  // namespace zoint
