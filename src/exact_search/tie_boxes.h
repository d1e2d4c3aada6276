// Regions the first pass set aside because they can hold no assignment
// better than the best found, only ones as good: nodes whose certified bound
// lies within 1 of it. Once the least objective z* is proven, the optimal
// assignments other than those found lie in the regions set aside at z*, so
// the lexicographically smallest optimum is sought there alone instead of
// from the root.
#ifndef ZOINT_TIE_BOXES_H
#define ZOINT_TIE_BOXES_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "exact_search/fixing.h"
#include "exact_search/oriented_problem.h"

namespace zoint {

// Words of 64 bits that hold one bit per variable.
constexpr int kBitWords = (MaxVariables + 63) / 64;

// A node's fixed variables, two bits each: fixed, and at 1 (in y).
struct TieBox {
  uint64_t fixed[kBitWords];
  uint64_t ones[kBitWords];
};

struct TieBoxes {
  std::vector<TieBox> boxes;
  size_t capacity;  // boxes kept at most
  uint64_t saved;   // boxes set aside, kept or not
  bool overflow;    // more than capacity: the list is incomplete and dropped
};

// The memory bound (parameters::kMaxTieBoxes) counts 32 bytes a box.
static_assert(sizeof(TieBox) <= 32, "a tie box is counted as 32 bytes");

// The fixed variables of a node.
TieBox BoxOf(const Fixing& fixing, int32_t n);

void SaveTieBox(TieBoxes& ties, const Fixing& fixing, int32_t n);

// Forgets every box (none can hold what a better best would tie with).
void ClearTieBoxes(TieBoxes& ties);

// The box's fixing, with every other variable free.
void LoadTieBox(const TieBox& box, const OrientedProblem& problem, Fixing& fixing);

// The smallest assignment in the box, in x: its fixed values, 0 elsewhere.
void BoxMinimumInX(const TieBox& box, const OrientedProblem& problem, int8_t* x);

// An assignment in x as a number whose order is the lexicographic one:
// x_0 is the most significant bit of word[0], x_64 that of word[1], and so on.
struct LexKey {
  uint64_t word[kBitWords];
  bool operator<(const LexKey& other) const {
    for (int k = 0; k < kBitWords; ++k) {
      if (word[k] != other.word[k]) return word[k] < other.word[k];
    }
    return false;
  }
};

LexKey KeyOf(const int8_t* x, int32_t n);

}  // namespace zoint

#endif  // ZOINT_TIE_BOXES_H
