// The real instances beside the project (../shared/instances): each folder's
// ZOIntIn.dat, solved by a call as a host makes it, must give exactly the
// folder's ZOIntOut.dat and stdout.txt. Only the small ones run here, so the
// suite stays quick under the sanitizers; the benchmark runs them all.
#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "support/run_support.h"

namespace zoint_test {
namespace {

constexpr int kSmallVariables = 40;

std::vector<std::string> InstanceNames() {
  std::vector<std::string> names;
  if (DIR* dir = opendir(ZOINT_INSTANCES_DIR)) {
    while (dirent* entry = readdir(dir)) {
      const std::string folder = std::string(ZOINT_INSTANCES_DIR) + "/" + entry->d_name + "/";
      if (entry->d_name[0] != '.' && FileExists(folder + "ZOIntIn.dat")) names.push_back(entry->d_name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Instances, SmallOnesGiveTheExpectedBytes) {
  const std::vector<std::string> names = InstanceNames();
  if (names.empty())
    GTEST_SKIP() << "no instances under " ZOINT_INSTANCES_DIR " (the shared folder is absent)";
  int ran = 0;
  for (const std::string& name : names) {
    const std::string folder = std::string(ZOINT_INSTANCES_DIR) + "/" + name + "/";
    const std::string problem = ReadFile(folder + "ZOIntIn.dat");
    int n = 0, m = 0;
    ASSERT_EQ(std::sscanf(problem.c_str(), "%d,%d", &n, &m), 2) << name;
    if (n > kSmallVariables) continue;
    ScratchDir scratch;
    const RunOutput run = Solve(problem);
    EXPECT_EQ(run.solution, ReadFile(folder + "ZOIntOut.dat")) << name;
    EXPECT_EQ(run.console, ReadFile(folder + "stdout.txt")) << name;
    EXPECT_EQ(run.warnings, "") << name;
    ++ran;
  }
  EXPECT_GT(ran, 0) << "every instance has more than " << kSmallVariables << " variables";
}

}  // namespace
}  // namespace zoint_test
