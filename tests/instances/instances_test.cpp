// The real instances beside the project (../shared/instances): each folder's
// ZOIntIn.dat, solved by a call as a host makes it, must give exactly the
// folder's ZOIntOut.dat and stdout.txt. All of the first set run here, and
// those of the hard set that take well under a second; the benchmark runs
// the rest, against CBC.
#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/run_support.h"

namespace zoint_test {
namespace {

const std::string kFirstSet = ZOINT_INSTANCES_DIR;
const std::string kHardSet = ZOINT_INSTANCES_DIR "/hard";

std::vector<std::string> InstanceNames(const std::string& root) {
  std::vector<std::string> names;
  if (DIR* dir = opendir(root.c_str())) {
    while (dirent* entry = readdir(dir)) {
      const std::string folder = root + "/" + entry->d_name + "/";
      if (entry->d_name[0] != '.' && FileExists(folder + "ZOIntOut.dat")) names.push_back(entry->d_name);
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

void ExpectTheFolderBytes(const std::string& root, const std::string& name) {
  const std::string folder = root + "/" + name + "/";
  ScratchDir scratch;
  const RunOutput run = Solve(ReadFile(folder + "ZOIntIn.dat"));
  EXPECT_EQ(run.solution, ReadFile(folder + "ZOIntOut.dat")) << name;
  EXPECT_EQ(run.console, ReadFile(folder + "stdout.txt")) << name;
  EXPECT_EQ(run.warnings, "") << name;
}

TEST(Instances, EachOfTheFirstSetGivesTheExpectedBytes) {
  const std::vector<std::string> names = InstanceNames(kFirstSet);
  if (names.empty()) GTEST_SKIP() << "no instances under " << kFirstSet << " (the shared folder is absent)";
  for (const std::string& name : names) ExpectTheFolderBytes(kFirstSet, name);
}

// The 5-row knapsacks at n = 100 and the two MIPLIB problems; the 10- and
// 30-row knapsacks take seconds to a minute and are left to the benchmark.
TEST(Instances, QuickHardOnesGiveTheExpectedBytes) {
  const std::vector<std::string> names = InstanceNames(kHardSet);
  if (names.empty()) GTEST_SKIP() << "no instances under " << kHardSet << " (the shared folder is absent)";
  int ran = 0;
  for (const std::string& name : names) {
    if (name.rfind("cb5_", 0) != 0 && name != "p0040" && name != "pipex") continue;
    ExpectTheFolderBytes(kHardSet, name);
    ++ran;
  }
  EXPECT_EQ(ran, 12) << "cb5_00 … cb5_09, p0040 and pipex were expected under " << kHardSet;
}

}  // namespace
}  // namespace zoint_test
