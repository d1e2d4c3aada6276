// zoint_case_input CASE_DIR OUT_FILE: writes a case's ZOIntIn.dat to OUT_FILE,
// for the scripts that run the case table outside the test binaries.
// Exit 0: written; 1: the case has no input file; 2: error.
#include <cstdio>
#include <string>

#include "support/case_input.h"
#include "support/run_support.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: zoint_case_input CASE_DIR OUT_FILE\n");
    return 2;
  }
  std::string bytes, error;
  if (!zoint_test::CaseInput(argv[1], bytes, error)) {
    if (error.empty()) return 1;
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  zoint_test::WriteFile(argv[2], bytes);
  return zoint_test::ReadFile(argv[2]) == bytes ? 0 : 2;
}
