#include "support/run_support.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "run/entry.h"
#include "zoint/ZOInt.h"

namespace zoint_test {

ScratchDir::ScratchDir() {
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd) != nullptr) previous_ = cwd;
  std::string pattern =
      (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + std::string("/zoint.XXXXXX");
  if (mkdtemp(&pattern[0]) == nullptr) std::abort();
  path_ = pattern;
  if (chdir(path_.c_str()) != 0) std::abort();
}

ScratchDir::~ScratchDir() {
  if (chdir(previous_.c_str()) != 0) std::abort();
  // Tests may leave read-only files or directories behind: make them removable first.
  std::string command = "chmod -R u+w '" + path_ + "' && rm -rf '" + path_ + "'";
  if (std::system(command.c_str()) != 0) ADD_FAILURE() << "could not remove " << path_;
}

bool FileExists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

namespace {

// Runs `call` with both standard streams captured, then reads what it left.
template <typename Call>
RunOutput Captured(Call call) {
  RunOutput out{};
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  call(out);
  out.warnings = testing::internal::GetCapturedStderr();
  out.console = testing::internal::GetCapturedStdout();
  out.hasSolution = FileExists("ZOIntOut.dat");
  out.solution = ReadFile("ZOIntOut.dat");
  return out;
}

}  // namespace

RunOutput RunInCurrentDir(int32_t argument) {
  return Captured([argument](RunOutput& out) { out.result = ZOInterProgram(argument); });
}

RunOutput RunCounted(zoint::SolveRequest request) {
  return Captured([request](RunOutput& out) {
    out.report = zoint::CallAsHost(request);
    out.result = 0.0;
  });
}

RunOutput Solve(const std::string& problem, zoint::SolveRequest request) {
  WriteFile("ZOIntIn.dat", problem);
  return RunCounted(request);
}

std::string ExpectedConsole(int64_t value, const std::string& vector_csv) {
  std::string text = "OutPut: \n";
  std::stringstream items(vector_csv);
  std::string entry;
  for (int i = 0; std::getline(items, entry, ','); ++i) {
    text += "X[" + std::to_string(i) + "]: " + entry + " \t";
  }
  return text + "\nFinal: " + std::to_string(value);
}

std::string ExpectedSolution(int64_t value, const std::string& vector_csv) {
  return std::to_string(value) + "\n" + (vector_csv.empty() ? "" : vector_csv + "\n");
}

}  // namespace zoint_test
