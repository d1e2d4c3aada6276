// The problems on which the enumeration's answer is known in closed form.
#ifndef ZOINT_EXACT_DOMAIN_H
#define ZOINT_EXACT_DOMAIN_H

#include <cstdint>

#include "enumeration/search_node.h"

namespace zoint {

// True when every cost is ≥ 0, Σ|c_i| ≤ 2^63 − 1 and, for every one of the m
// rows, Σ_i |a_ji| ≤ 2^63 − 1 (over the n variables). Then no sum the
// enumeration forms can wrap. Checked exactly.
bool InExactDomain(const Problem& problem, int32_t n, int32_t m);

}  // namespace zoint

#endif  // ZOINT_EXACT_DOMAIN_H
