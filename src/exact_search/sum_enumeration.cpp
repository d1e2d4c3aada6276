#include "exact_search/special_methods.h"

namespace zoint {

MethodOutcome SolveByEnumeratingSums(const Problem& problem, SearchLimits& limits, ExactResult& result) {
  (void)problem;
  (void)limits;
  (void)result;
  return MethodOutcome::NotApplicable;
}

}  // namespace zoint
