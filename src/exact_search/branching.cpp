#include "exact_search/branching.h"

#include <algorithm>
#include <cmath>

#include "exact_search/node_relaxation.h"
#include "exact_search/parameters.h"

namespace zoint {

namespace {

struct Trial {
  bool closed;   // the branch holds nothing within the cutoff
  double bound;  // else its certified bound (the node's when not relaxed)
};

// Relaxes the branch x_i = value in the next level's slots.
Trial TryBranch(Dive& dive, int32_t level, SearchPass pass, const Fixing& fixing, int32_t i, int8_t value,
                double nodeBound) {
  ++dive.stats.branchTrials;
  Fixing& child = dive.fixings[level + 1];
  child = fixing;
  FixVariable(child, dive.problem, i, value);
  CopyLpLevel(dive.lp, level, level + 1);
  const Look look = LookAtNode(dive, level + 1, pass, child, dive.relaxations[level + 1], dive.trialBound);
  if (look.verdict == Verdict::Closed) return Trial{true, HUGE_VAL};
  return Trial{false,
               look.verdict == Verdict::Branch ? std::fmax(nodeBound, dive.trialBound.lower.value()) : nodeBound};
}

struct Candidate {
  int32_t variable;
  double fraction;
  double score;
};

}  // namespace

BranchChoice ChooseBranch(Dive& dive, int32_t level, SearchPass pass, Fixing& fixing, const LpResult& lp,
                          double nodeBound) {
  const int32_t n = dive.problem.n;
  Pseudocosts& pseudocosts = dive.pseudocosts;
  Candidate candidates[MaxVariables];
  int32_t count = 0;
  for (int32_t i = 0; i < n; ++i) {
    if (fixing.value[i] != kFree || !IsFractional(lp.x[i])) continue;
    const double f = lp.x[i];
    const double score = BranchScore(ExpectedRise(pseudocosts, i, 0, f), ExpectedRise(pseudocosts, i, 1, f));
    candidates[count++] = Candidate{i, f, score};
  }
  if (count == 0) {
    // Integral but not closed: its rounding did not meet the rows exactly.
    for (int32_t i = 0; i < n; ++i) {
      if (fixing.value[i] == kFree)
        return BranchChoice{BranchChoice::Split, i, lp.x[i] > 0.5 ? int8_t{1} : int8_t{0}, false};
    }
    return BranchChoice{BranchChoice::Close, -1, 0, true};
  }
  std::sort(candidates, candidates + count,
            [](const Candidate& a, const Candidate& b) { return a.score > b.score; });

  int32_t best = -1;
  double bestScore = -1, bestRise[2] = {0, 0};
  int32_t sinceBest = 0;
  for (int32_t k = 0; k < count; ++k) {
    const Candidate& c = candidates[k];
    double rise[2];
    if (Reliability(pseudocosts, c.variable) >= parameters::kReliableObservations) {
      rise[0] = ExpectedRise(pseudocosts, c.variable, 0, c.fraction);
      rise[1] = ExpectedRise(pseudocosts, c.variable, 1, c.fraction);
    } else {
      Trial trials[2];
      for (const int8_t value : {int8_t{0}, int8_t{1}}) {
        trials[value] = TryBranch(dive, level, pass, fixing, c.variable, value, nodeBound);
        if (dive.limits.stopped || (dive.found && StopsAtFirst(pass)))
          return BranchChoice{BranchChoice::Close, -1, 0, true};
        if (!trials[value].closed)
          RecordRise(pseudocosts, c.variable, value, c.fraction, trials[value].bound - nodeBound);
      }
      if (trials[0].closed && trials[1].closed) return BranchChoice{BranchChoice::Close, -1, 0, true};
      if (trials[0].closed || trials[1].closed) {
        FixVariable(fixing, dive.problem, c.variable, trials[0].closed ? 1 : 0);
        return BranchChoice{BranchChoice::Refix, c.variable, 0, true};
      }
      rise[0] = trials[0].bound - nodeBound;
      rise[1] = trials[1].bound - nodeBound;
    }
    const double score = BranchScore(rise[0], rise[1]);
    if (score > bestScore) {
      best = k;
      bestScore = score;
      bestRise[0] = rise[0];
      bestRise[1] = rise[1];
      sinceBest = 0;
    } else if (++sinceBest >= parameters::kLookahead) {
      break;
    }
  }
  // The branch with the lower bound first: where a better completion is likelier.
  const int8_t first = bestRise[1] < bestRise[0] ? 1 : 0;
  return BranchChoice{BranchChoice::Split, candidates[best].variable, first, true};
}

}  // namespace zoint
