// Hostile surroundings of a call: exchange files that are not regular files,
// a full file system, a file size limit that stops a write part way, and a
// host whose standard output is closed. Each gives its exact warning and
// ZOIntOut.dat, and the next call, once the obstacle is gone, is clean.
#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <string.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "exchange/messages.h"
#include "support/run_support.h"
#include "zoint/ZOInt.h"

namespace zoint_test {
namespace {

const char kWorked[] = "3,2\n5,3,4,\n-1,-1,0,-1\n0,-1,-1,-1\n";
const std::string kWorkedConsole = "OutPut: \nX[0]: 0 \tX[1]: 1 \tX[2]: 0 \t\nFinal: 3";
const std::string kWorkedAnswer = "3\n0,1,0\n";
const std::string kNoSolutionConsole = "OutPut: \n\nFinal: 9223372036854775807";
const std::string kNoSolution = "9223372036854775807\n";

// ZOIntIn.dat exists but is no regular file the process may use.
TEST(HostileInput, NotARegularFileIsNotFound) {
  const struct {
    const char* name;
    void (*make)();
  } cases[] = {
      {"dangling symbolic link", [] { (void)!symlink("no-such-file", "ZOIntIn.dat"); }},
      {"link to a character device", [] { (void)!symlink("/dev/zero", "ZOIntIn.dat"); }},
      {"named pipe", [] { mkfifo("ZOIntIn.dat", 0666); }},
      {"link to a directory", [] { (void)!symlink(".", "ZOIntIn.dat"); }},
  };
  for (const auto& c : cases) {
    ScratchDir scratch;
    c.make();
    struct stat info;
    ASSERT_EQ(lstat("ZOIntIn.dat", &info), 0) << c.name;
    const RunOutput run = RunInCurrentDir();
    EXPECT_EQ(run.warnings, std::string(zoint::MessageOf(zoint::Failure::InputNotFound)) + "\n") << c.name;
    EXPECT_EQ(run.console, kNoSolutionConsole) << c.name;
    EXPECT_EQ(run.solution, kNoSolution) << c.name;

    ASSERT_EQ(unlink("ZOIntIn.dat"), 0) << c.name;
    const RunOutput next = Solve(kWorked);
    EXPECT_EQ(next.warnings, "") << c.name;
    EXPECT_EQ(next.console, kWorkedConsole) << c.name;
    EXPECT_EQ(next.solution, kWorkedAnswer) << c.name;
  }
}

// Some conditions can only be set up for a whole process (a mount
// namespace, a file size limit, a closed standard output), so the two calls
// run in a child, which reports what each call printed and left.
struct ChildCall {
  std::string console;
  std::string warnings;
  bool hasSolution;
  std::string solution;
};

struct ChildRun {
  std::string skipped;  // why the surroundings could not be made, if so
  std::vector<ChildCall> calls;
};

void Put(int fd, const std::string& text) {
  const size_t size = text.size();
  (void)!write(fd, &size, sizeof size);
  (void)!write(fd, text.data(), size);
}

bool Get(int fd, std::string& text) {
  size_t size = 0;
  if (read(fd, &size, sizeof size) != static_cast<ssize_t>(sizeof size)) return false;
  text.assign(size, '\0');
  size_t done = 0;
  while (done < size) {
    const ssize_t got = read(fd, &text[done], size - done);
    if (got <= 0) return false;
    done += static_cast<size_t>(got);
  }
  return true;
}

std::string Drain(int fd) {
  std::string text;
  char buffer[4096];
  ssize_t got;
  while ((got = read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(got));
  return text;
}

// In the child: one call with standard output and error sent into pipes
// (a pipe is no file, so a file size limit or a full disk does not touch
// it). `closedStdout` leaves standard output closed instead.
ChildCall CallInChild(bool closedStdout) {
  ChildCall call{};
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) _exit(3);
  const int savedOut = dup(1), savedErr = dup(2);
  if (closedStdout) {
    close(1);
  } else {
    dup2(out[1], 1);
  }
  dup2(err[1], 2);
  ZOInterProgram(0);
  dup2(savedOut, 1);
  dup2(savedErr, 2);
  close(savedOut);
  close(savedErr);
  close(out[1]);
  close(err[1]);
  call.console = Drain(out[0]);
  call.warnings = Drain(err[0]);
  close(out[0]);
  close(err[0]);
  call.hasSolution = FileExists("ZOIntOut.dat");
  call.solution = ReadFile("ZOIntOut.dat");
  return call;
}

// Forks; the child runs `make` (which returns "" or why it could not), a
// call, `clear`, and a second call.
ChildRun RunInChild(std::string (*make)(), void (*clear)(), bool closedStdout = false) {
  ChildRun run;
  int report[2];
  if (pipe(report) != 0) {
    run.skipped = "no pipe";
    return run;
  }
  fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    close(report[0]);
    const std::string why = make();
    Put(report[1], why);
    if (why.empty()) {
      for (int k = 0; k < 2; ++k) {
        if (k == 1) clear();
        const ChildCall c = CallInChild(closedStdout);
        Put(report[1], c.console);
        Put(report[1], c.warnings);
        Put(report[1], c.hasSolution ? "1" : "0");
        Put(report[1], c.solution);
      }
    }
    close(report[1]);
    _exit(0);
  }
  close(report[1]);
  std::string flag;
  if (!Get(report[0], run.skipped)) run.skipped = "the child reported nothing";
  ChildCall c;
  while (Get(report[0], c.console) && Get(report[0], c.warnings) && Get(report[0], flag) &&
         Get(report[0], c.solution)) {
    c.hasSolution = flag == "1";
    run.calls.push_back(c);
  }
  close(report[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
  return run;
}

void ExpectOutputFailureThenClean(const ChildRun& run, const std::string& console,
                                  const std::string& answer) {
  ASSERT_EQ(run.calls.size(), 2u);
  const ChildCall& failed = run.calls[0];
  EXPECT_EQ(failed.warnings, std::string(zoint::MessageOf(zoint::Failure::OutputNotWritable)) + "\n");
  EXPECT_EQ(failed.console, console);
  EXPECT_FALSE(failed.hasSolution) << "left behind: " << failed.solution;
  const ChildCall& next = run.calls[1];
  EXPECT_EQ(next.warnings, "");
  EXPECT_EQ(next.console, console);
  EXPECT_EQ(next.solution, answer);
}

// Writes until the file system refuses: true when it ended full.
bool Fill(const char* path) {
  const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  static const char block[4096] = {};
  ssize_t done;
  while ((done = write(fd, block, sizeof block)) > 0) {
  }
  const bool full = done < 0 && errno == ENOSPC;
  // Fill the last partial page too, byte by byte.
  while (full && write(fd, block, 1) == 1) {
  }
  close(fd);
  return full;
}

// A private mount namespace (as root, or else as root of a new user
// namespace) with a 64 KiB tmpfs in ./disk, entered and filled.
std::string MakeFullTmpfs() {
  if (unshare(CLONE_NEWNS) != 0) {
    const uid_t uid = getuid();
    const gid_t gid = getgid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
      return "no mount namespace: " + std::string(strerror(errno));
    }
    WriteFile("/proc/self/setgroups", "deny");
    WriteFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1");
    WriteFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
  }
  if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return "cannot make mounts private";
  if (mkdir("disk", 0755) != 0) return "mkdir";
  if (mount("zoint-test", "disk", "tmpfs", 0, "size=64k") != 0) {
    return "cannot mount a tmpfs: " + std::string(strerror(errno));
  }
  if (chdir("disk") != 0) return "chdir";
  WriteFile("ZOIntIn.dat", kWorked);
  if (ReadFile("ZOIntIn.dat") != kWorked) return "cannot write the problem";
  if (!Fill("filler")) return "the tmpfs did not fill up";
  return "";
}

TEST(HostileOutput, FullFileSystemLeavesNoAnswer) {
  ScratchDir scratch;
  const ChildRun run = RunInChild(MakeFullTmpfs, [] { unlink("filler"); });
  if (!run.skipped.empty()) {
    GTEST_SKIP() << run.skipped << " (the full device case of run_test covers the path)";
  }
  ExpectOutputFailureThenClean(run, kWorkedConsole, kWorkedAnswer);
}

// 100 variables, no constraints: the answer is 0 and a 200-byte line of
// zeros, more than the limit lets through, so the write stops part way.
std::string HundredZeros() {
  std::string zeros = "0";
  for (int i = 1; i < 100; ++i) zeros += ",0";
  return zeros;
}

std::string LimitFileSize() {
  // Over a longer stale answer, which must not survive either.
  WriteFile("ZOIntOut.dat", "1\n" + std::string(400, '1') + "\n");
  std::string problem = "100,0\n";
  for (int i = 0; i < 100; ++i) problem += "1,";
  WriteFile("ZOIntIn.dat", problem + "\n");
  signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead
  const rlimit limit{64, RLIM_INFINITY};
  if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return "setrlimit";
  return "";
}

TEST(HostileOutput, WriteStoppedPartWayLeavesNothing) {
  ScratchDir scratch;
  const ChildRun run = RunInChild(LimitFileSize, [] {
    const rlimit none{RLIM_INFINITY, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &none);
  });
  ASSERT_EQ(run.skipped, "");
  std::string console = "OutPut: \n";
  for (int i = 0; i < 100; ++i) console += "X[" + std::to_string(i) + "]: 0 \t";
  console += "\nFinal: 0";
  ExpectOutputFailureThenClean(run, console, "0\n" + HundredZeros() + "\n");
}

// A host without standard output (a daemon, a GUI program) still gets its
// answers, and the report never ends up in an exchange file that took over
// descriptor 1.
TEST(HostileOutput, ClosedStandardOutputStillAnswers) {
  ScratchDir scratch;
  WriteFile("ZOIntIn.dat", kWorked);
  const ChildRun run = RunInChild([] { return std::string(); }, [] {}, true);
  ASSERT_EQ(run.skipped, "");
  ASSERT_EQ(run.calls.size(), 2u);
  for (const ChildCall& call : run.calls) {
    EXPECT_EQ(call.warnings, "");
    EXPECT_EQ(call.solution, kWorkedAnswer);
  }
  EXPECT_EQ(ReadFile("ZOIntIn.dat"), kWorked);
  EXPECT_EQ(ReadFile("ZOIntOut.dat"), kWorkedAnswer);
}

}  // namespace
}  // namespace zoint_test
