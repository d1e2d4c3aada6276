// Helpers shared by the tests: a scratch directory to run in, file bytes,
// and one captured call of ZOInterProgram.
#ifndef ZOINT_TESTS_RUN_SUPPORT_H
#define ZOINT_TESTS_RUN_SUPPORT_H

#include <cstdint>
#include <string>

namespace zoint_test {

// Makes a fresh empty directory and enters it; leaves and removes it on
// destruction.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string previous_;
};

bool FileExists(const std::string& path);
std::string ReadFile(const std::string& path);  // "" if absent
void WriteFile(const std::string& path, const std::string& bytes);

// What one call printed and left behind.
struct RunOutput {
  double result;
  std::string console;   // standard output
  std::string warnings;  // standard error
  bool hasSolution;      // ZOIntOut.dat exists afterwards
  std::string solution;  // its bytes
  uint64_t nodes;
  uint64_t evaluations;
};

// Calls ZOInterProgram(argument) in the current directory.
RunOutput RunInCurrentDir(int32_t argument = 0);

// Writes `problem` as ZOIntIn.dat in the current directory and runs.
RunOutput Solve(const std::string& problem);

// The exact bytes expected of a run with this incumbent.
std::string ExpectedConsole(int64_t value, const std::string& vector_csv);
std::string ExpectedSolution(int64_t value, const std::string& vector_csv);

}  // namespace zoint_test

#endif  // ZOINT_TESTS_RUN_SUPPORT_H
