#include "exact_search/tie_boxes.h"

namespace zoint {

namespace {

bool Bit(const uint64_t* bits, int32_t i) { return ((bits[i >> 6] >> (i & 63)) & 1u) != 0; }

void SetBit(uint64_t* bits, int32_t i) { bits[i >> 6] |= uint64_t{1} << (i & 63); }

}  // namespace

TieBox BoxOf(const Fixing& fixing, int32_t n) {
  TieBox box = {};
  for (int32_t i = 0; i < n; ++i) {
    if (fixing.value[i] == kFree) continue;
    SetBit(box.fixed, i);
    if (fixing.value[i] == 1) SetBit(box.ones, i);
  }
  return box;
}

void SaveTieBox(TieBoxes& ties, const Fixing& fixing, int32_t n) {
  ++ties.saved;
  if (ties.overflow) return;
  if (ties.boxes.size() >= ties.capacity) {
    ties.overflow = true;
    std::vector<TieBox>().swap(ties.boxes);
    return;
  }
  ties.boxes.push_back(BoxOf(fixing, n));
}

void ClearTieBoxes(TieBoxes& ties) {
  ties.boxes.clear();
  ties.saved = 0;
  ties.overflow = false;
}

void LoadTieBox(const TieBox& box, const OrientedProblem& problem, Fixing& fixing) {
  StartFixing(fixing, problem);
  for (int32_t i = 0; i < problem.n; ++i) {
    if (Bit(box.fixed, i)) FixVariable(fixing, problem, i, Bit(box.ones, i) ? 1 : 0);
  }
}

void BoxMinimumInX(const TieBox& box, const OrientedProblem& problem, int8_t* x) {
  for (int32_t i = 0; i < problem.n; ++i) {
    x[i] = Bit(box.fixed, i) ? OrientedValue(problem, i, Bit(box.ones, i) ? 1 : 0) : 0;
  }
}

LexKey KeyOf(const int8_t* x, int32_t n) {
  LexKey key = {};
  for (int32_t i = 0; i < n; ++i) {
    if (x[i] != 0) key.word[i >> 6] |= uint64_t{1} << (63 - (i & 63));
  }
  return key;
}

}  // namespace zoint
