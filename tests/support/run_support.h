// Helpers shared by the tests: a scratch directory to run in, file bytes,
// and one captured call of ZOInterProgram.
#ifndef ZOINT_TESTS_RUN_SUPPORT_H
#define ZOINT_TESTS_RUN_SUPPORT_H

#include <cstdint>
#include <string>

#include "run/run_report.h"

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
  // The run's report (which search ran, its counters): from RunCounted and
  // Solve only; ZOInterProgram gives its host none.
  zoint::RunReport report;
};

// Calls ZOInterProgram(argument) in the current directory, as a host does.
RunOutput RunInCurrentDir(int32_t argument = 0);

// The same call with the search chosen by request, and its report.
RunOutput RunCounted(zoint::SolveRequest request = zoint::SolveRequest::Automatic);

// Writes `problem` as ZOIntIn.dat in the current directory and makes a
// counted run.
RunOutput Solve(const std::string& problem, zoint::SolveRequest request = zoint::SolveRequest::Automatic);

// The exact bytes expected of a run with this incumbent.
std::string ExpectedConsole(int64_t value, const std::string& vector_csv);
std::string ExpectedSolution(int64_t value, const std::string& vector_csv);

}  // namespace zoint_test

#endif  // ZOINT_TESTS_RUN_SUPPORT_H
