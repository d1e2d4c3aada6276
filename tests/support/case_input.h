// The ZOIntIn.dat of a case directory under tests/cases.
#ifndef ZOINT_TESTS_CASE_INPUT_H
#define ZOINT_TESTS_CASE_INPUT_H

#include <string>

namespace zoint_test {

// The case's input bytes: its ZOIntIn.dat, or, for inputs too big to keep
// in the repository, the bytes its ZOIntIn.recipe describes. Each recipe
// line is "COUNT TEXT": COUNT copies of TEXT, in which \n, \r, \t, \0 and
// \\ stand for those bytes. Returns false when the case has neither file
// (the case of a missing ZOIntIn.dat), and on a malformed recipe, with a
// reason in `error`.
bool CaseInput(const std::string& caseDir, std::string& bytes, std::string& error);

}  // namespace zoint_test

#endif  // ZOINT_TESTS_CASE_INPUT_H
