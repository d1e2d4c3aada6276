// The search stage of a run: the one place that chooses which search runs.
#ifndef ZOINT_SEARCH_H
#define ZOINT_SEARCH_H

#include "enumeration/search_node.h"

namespace zoint {

enum class SearchMode {
  Automatic,        // the exact search wherever no sum can wrap
  EnumerationOnly,  // always the enumeration (tests, benchmarks)
};

// Not reset between runs and not reachable from a host: the shared library
// exports ZOInterProgram alone.
extern SearchMode g_searchMode;

// Searches the loaded problem and leaves the answer in the incumbent. Does
// nothing when the load failed.
void Search(SearchNode* root);

}  // namespace zoint

#endif  // ZOINT_SEARCH_H
