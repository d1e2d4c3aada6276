#include "cli/cli_support.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "support/run_support.h"

extern char** environ;

namespace zoint_test {

Command RunCli(const std::string& arguments) {
  const std::string line = std::string("'") + ZOINT_CLI + "' " + arguments + " >cli.out 2>cli.err";
  const int raw = std::system(line.c_str());
  Command c{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile("cli.out"), ReadFile("cli.err")};
  std::remove("cli.out");
  std::remove("cli.err");
  return c;
}

RunningCli::RunningCli(const std::vector<std::string>& arguments) : pid_(-1), ended_(false), status_(0) {
  std::vector<std::string> words{ZOINT_CLI};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(&word[0]);
  argv.push_back(nullptr);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, "running.out", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&files, 2, "running.err", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (posix_spawn(&pid_, ZOINT_CLI, &files, nullptr, argv.data(), environ) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&files);
}

RunningCli::~RunningCli() {
  if (pid_ > 0 && !ended_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, &status_, 0);
  }
}

bool RunningCli::Running() {
  if (pid_ <= 0 || ended_) return false;
  if (waitpid(pid_, &status_, WNOHANG) == pid_) ended_ = true;
  return !ended_;
}

bool RunningCli::WaitForError(const std::string& text, double seconds) {
  const timespec pause{0, 10 * 1000 * 1000};
  for (double waited = 0; waited < seconds; waited += 0.01) {
    if (ReadFile("running.err").find(text) != std::string::npos) return true;
    if (!Running()) return false;
    nanosleep(&pause, nullptr);
  }
  return false;
}

void RunningCli::Signal(int signal) {
  if (Running()) kill(pid_, signal);
}

Command RunningCli::Wait() {
  if (pid_ > 0 && !ended_) {
    waitpid(pid_, &status_, 0);
    ended_ = true;
  }
  return {WIFEXITED(status_) ? WEXITSTATUS(status_) : -1, ReadFile("running.out"), ReadFile("running.err")};
}

namespace {

struct Hard {
  int n = 100;
  int m = 10;
  std::vector<int64_t> value;
  std::vector<std::vector<int64_t>> weight;
  std::vector<int64_t> capacity;
};

Hard MakeHard() {
  Hard h;
  uint64_t state = 88172645463325252u;
  auto next = [&](int64_t low, int64_t high) {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return low + static_cast<int64_t>(state % static_cast<uint64_t>(high - low + 1));
  };
  h.weight.assign(static_cast<size_t>(h.m), std::vector<int64_t>(static_cast<size_t>(h.n)));
  for (auto& row : h.weight) {
    for (int64_t& w : row) w = next(1, 1000);
  }
  for (int i = 0; i < h.n; ++i) {
    int64_t sum = 0;
    for (const auto& row : h.weight) sum += row[static_cast<size_t>(i)];
    h.value.push_back(sum / h.m + next(-10, 10));
  }
  for (const auto& row : h.weight) {
    int64_t total = 0;
    for (int64_t w : row) total += w;
    h.capacity.push_back(total / 2);
  }
  return h;
}

}  // namespace

std::string HardModelOpb() {
  const Hard h = MakeHard();
  std::string text = "* #variable= 100 #constraint= 10\nmax:";
  for (int i = 0; i < h.n; ++i)
    text += " +" + std::to_string(h.value[static_cast<size_t>(i)]) + " x" + std::to_string(i + 1);
  text += " ;\n";
  for (int j = 0; j < h.m; ++j) {
    for (int i = 0; i < h.n; ++i) {
      text += "+" + std::to_string(h.weight[static_cast<size_t>(j)][static_cast<size_t>(i)]) + " x" +
              std::to_string(i + 1) + " ";
    }
    text += "<= " + std::to_string(h.capacity[static_cast<size_t>(j)]) + " ;\n";
  }
  return text;
}

std::string HardProblemText() {
  const Hard h = MakeHard();
  std::string text = "100,10\n";
  for (int64_t v : h.value) text += std::to_string(-v) + ",";
  text += "\n";
  for (int j = 0; j < h.m; ++j) {
    for (int64_t w : h.weight[static_cast<size_t>(j)]) text += std::to_string(w) + ",";
    text += std::to_string(h.capacity[static_cast<size_t>(j)]) + "\n";
  }
  return text;
}

std::string CheckHardAnswer(const std::string& out) {
  const Hard h = MakeHard();
  std::istringstream in(out);
  std::string word;
  std::string objective;
  in >> word >> word >> word >> objective;  // status: S objective: V
  std::vector<int64_t> x;
  std::string name;
  int64_t v = 0;
  while (in >> name >> v) {
    if (name != "x" + std::to_string(x.size() + 1) || (v != 0 && v != 1)) return "bad line: " + name;
    x.push_back(v);
  }
  if (x.size() != 100) return "not 100 variables";
  int64_t total = 0;
  for (size_t i = 0; i < x.size(); ++i) total += h.value[i] * x[i];
  if (std::to_string(total) != objective)
    return "objective " + objective + " but the assignment is worth " + std::to_string(total);
  for (int j = 0; j < h.m; ++j) {
    int64_t lhs = 0;
    for (size_t i = 0; i < x.size(); ++i) lhs += h.weight[static_cast<size_t>(j)][i] * x[i];
    if (lhs > h.capacity[static_cast<size_t>(j)]) return "row " + std::to_string(j) + " broken";
  }
  return "";
}

}  // namespace zoint_test
