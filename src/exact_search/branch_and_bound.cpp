// With the relaxation, the order of branching follows it and the caller asks
// only whether a completion exists (or for the least objective). Without it,
// branching goes as in the enumeration, first free variable and x = 0 first,
// and the caller relies on it.
#include "exact_search/branch_and_bound.h"

#include <cassert>
#include <cmath>
#include <initializer_list>

#include "exact_search/branching.h"
#include "exact_search/node_relaxation.h"
#include "exact_search/parameters.h"

namespace zoint {

namespace {

// Branching without the relaxation: the first free variable, x = 0 first.
BranchChoice BlindBranch(const Dive& dive, const Fixing& fixing) {
  for (int32_t i = 0; i < dive.problem.n; ++i) {
    if (fixing.value[i] == kFree)
      return BranchChoice{BranchChoice::Split, i, OrientedValue(dive.problem, i, 0), false};
  }
  // Every variable fixed: the zero completion was the only one.
  return BranchChoice{BranchChoice::Close, -1, 0, false};
}

void NoteBranchOutcome(Dive& dive, int32_t level, double bound) {
  const BranchTaken& branch = dive.branches[level];
  if (branch.guided)
    RecordRise(dive.pseudocosts, branch.variable, branch.value, branch.fraction, bound - branch.parentBound);
}

// In the proof: at the first node of a plunge, notes its bound; below, once
// the search is long, sets aside a node beyond the plunge's reach. Returns
// true when the node was set aside.
bool Plunge(Dive& dive, int32_t level, const Fixing& fixing) {
  NodePool& pool = *dive.pool;
  const ProvenBound bound = dive.bound.lower;
  if (level == 0) {
    pool.plungeStart = bound.value();
    return false;
  }
  // Before, the search has most likely found its best early enough.
  if (dive.limits.nodes < dive.limits.options.depthFirstNodes || !dive.found ||
      pool.heap.size() >= pool.capacity)
    return false;
  const double cutoff = CutoffAsDouble(dive.cutoff);
  const double reach = pool.plungeStart + std::fmax(1.0, parameters::kPlungeShare * (cutoff - pool.plungeStart));
  if (!(bound.value() > reach)) return false;
  PushNode(pool, bound, fixing, dive.problem.n, dive.lp, level);
  ++dive.stats.setAside;
  return true;
}

// The pass's own conditions, asserted where a search of it starts.
[[maybe_unused]] bool PassStateHolds(const Dive& dive, SearchPass pass) {
  switch (pass) {
    case SearchPass::LeastObjectiveBlind:
      return !dive.useLp && dive.ties == nullptr && dive.pool == nullptr;
    case SearchPass::Cores:
      return dive.useLp && dive.nodeBudget != 0 && dive.ties == nullptr && dive.pool == nullptr;
    case SearchPass::ProofFromRoot:
    case SearchPass::ProofFromPool:
      return dive.useLp && dive.ties != nullptr && dive.pool != nullptr;
    case SearchPass::Witness:
      return dive.ties == nullptr && dive.pool == nullptr && dive.list == nullptr;
    case SearchPass::Collect:
      return dive.list != nullptr && dive.ties == nullptr && dive.pool == nullptr;
  }
  return false;
}

}  // namespace

std::unique_ptr<Dive> MakeDive(const Problem& problem, const SearchLimits& limits) {
  const int32_t n = problem.n;
  auto dive = std::make_unique<Dive>();
  OrientProblem(problem, dive->problem);
  dive->limits = limits;
  dive->stats = ExactStats{};
  dive->stats.method = ExactMethod::BranchAndBound;
  dive->fixings.reset(new Fixing[static_cast<size_t>(n) + 1]);
  dive->relaxations.reset(new LpResult[static_cast<size_t>(n) + 1]);
  dive->branches.reset(new BranchTaken[static_cast<size_t>(n) + 1]);
  ClearPseudocosts(dive->pseudocosts);
  dive->useLp = PrepareLp(dive->lp, dive->problem, n + 2);
  dive->ties = nullptr;
  dive->nodeBudget = 0;
  dive->pool = nullptr;
  dive->list = nullptr;
  dive->level = 0;
  dive->found = false;
  return dive;
}

ProvenBound LeastOpenBound(const Dive& dive) {
  const int32_t level = dive.level;
  if (level == 0) return ProvenBound::Nothing();
  ProvenBound least = dive.pathBound[level - 1];
  for (int32_t l = 0; l + 1 < level; ++l) {
    if (dive.secondPending[l]) least = ProvenBound::Least(least, dive.pathBound[l]);
  }
  return least;
}

void Explore(Dive& dive, int32_t level, SearchPass pass) {
  assert(level >= 0 && level <= dive.problem.n);
  assert(level > 0 || PassStateHolds(dive, pass));
  if (pass == SearchPass::Cores && dive.limits.nodes >= dive.nodeBudget) return;
  dive.level = level;
  if (CountNodeAndCheck(dive.limits)) return;
  Fixing& fixing = dive.fixings[level];
  LpResult& lp = dive.relaxations[level];
  BranchChoice choice;
  Relaxation relaxation{Verdict::Closed, false, 0.0};
  for (bool first = true;; first = false) {
    relaxation = RelaxNode(dive, level, pass, fixing, lp);
    // What the branch into this node did, before the node's own fixings.
    if (first && level > 0 && relaxation.firstSolvedLp) NoteBranchOutcome(dive, level, relaxation.firstBound);
    if (relaxation.verdict == Verdict::Closed) return;
    if (first && relaxation.verdict == Verdict::Branch && CollectsTies(pass) && Plunge(dive, level, fixing)) return;
    choice = relaxation.verdict == Verdict::Branch ? ChooseBranch(dive, level, pass, fixing, lp, dive.bound.lower.value())
                                                   : BlindBranch(dive, fixing);
    if (choice.kind == BranchChoice::Close) return;
    if (choice.kind == BranchChoice::Split) break;
  }

  // Without a relaxation of its own the node's region has its parent's bound.
  dive.pathBound[level] = relaxation.verdict == Verdict::Branch ? dive.bound.lower
                          : level > 0                            ? dive.pathBound[level - 1]
                                                                 : ProvenBound::Nothing();
  const int32_t i = choice.variable;
  const bool guided = choice.guided;
  // The children overwrite dive.bound; lp is this level's own.
  const double bound = guided ? dive.bound.lower.value() : 0.0;
  const double fraction = guided ? lp.x[i] : 0.0;
  for (const int8_t value : {choice.first, static_cast<int8_t>(1 - choice.first)}) {
    dive.secondPending[level] = value == choice.first;
    Fixing& child = dive.fixings[level + 1];
    child = fixing;
    FixVariable(child, dive.problem, i, value);
    if (dive.useLp) CopyLpLevel(dive.lp, level, level + 1);
    dive.branches[level + 1] = BranchTaken{i, value, fraction, bound, guided};
    Explore(dive, level + 1, pass);
    if (dive.limits.stopped || (dive.found && StopsAtFirst(pass))) return;
  }
}

}  // namespace zoint
