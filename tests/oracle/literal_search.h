// A word-for-word implementation of the enumeration, record and all: every
// node carries its own copy of the problem, copied whole from its parent, and
// every evaluation recomputes each sum over all n entries. Slow on purpose;
// the library's search must agree with it exactly.
#ifndef ZOINT_TESTS_LITERAL_SEARCH_H
#define ZOINT_TESTS_LITERAL_SEARCH_H

#include "support/search_support.h"

namespace zoint_test {

SearchResult LiteralSearch(const TestProblem& problem);

}  // namespace zoint_test

#endif  // ZOINT_TESTS_LITERAL_SEARCH_H
