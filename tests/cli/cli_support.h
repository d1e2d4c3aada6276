// Running the command-line host as its own process, in the foreground or in
// the background (to signal it), and a model it needs a long search for.
#ifndef ZOINT_TESTS_CLI_SUPPORT_H
#define ZOINT_TESTS_CLI_SUPPORT_H

#include <sys/types.h>

#include <string>
#include <vector>

namespace zoint_test {

struct Command {
  int status;  // exit status; −1 when ended by a signal
  std::string out;
  std::string err;
};

// Runs the CLI with `arguments` (shell words) from the current directory.
Command RunCli(const std::string& arguments);

// The CLI running in the background from the current directory; standard
// output and error go to files. Killed on destruction if still running.
class RunningCli {
 public:
  explicit RunningCli(const std::vector<std::string>& arguments);
  ~RunningCli();
  RunningCli(const RunningCli&) = delete;
  RunningCli& operator=(const RunningCli&) = delete;

  // Waits until standard error holds `text`; false if the process ends or
  // `seconds` pass first.
  bool WaitForError(const std::string& text, double seconds);
  bool Running();
  void Signal(int signal);
  Command Wait();

 private:
  pid_t pid_;
  bool ended_;
  int status_;
};

// A 100-variable multidimensional knapsack (10 rows, values close to the
// weights) that the search needs many seconds for: as OPB (maximise), and as
// ZOIntIn.dat (minimise minus the value).
std::string HardModelOpb();
std::string HardProblemText();

// Checks a "name value" listing against HardModelOpb: every row met, and the
// objective as printed. Returns "" when it holds, else what is wrong.
std::string CheckHardAnswer(const std::string& out);

}  // namespace zoint_test

#endif  // ZOINT_TESTS_CLI_SUPPORT_H
