#include "models/isolated_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace zoint {

namespace {

// More than any model the readers may return holds.
constexpr size_t kMaxOutput = size_t{64} << 20;

[[noreturn]] void RunChild(const std::function<std::string()>& work, int output) {
  signal(SIGINT, SIG_DFL);
  signal(SIGTERM, SIG_DFL);
  const int null = open("/dev/null", O_WRONLY);
  if (null >= 0) {
    dup2(null, 1);
    dup2(null, 2);
  }
  std::string bytes;
  try {
    bytes = work();
  } catch (...) {
    _exit(3);
  }
  for (size_t sent = 0; sent < bytes.size();) {
    const ssize_t done = write(output, bytes.data() + sent, bytes.size() - sent);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) _exit(4);
    sent += static_cast<size_t>(done);
  }
  _exit(0);
}

std::string HowItEnded(int status) {
  char text[96];
  if (WIFSIGNALED(status)) {
    std::snprintf(text, sizeof text, "killed by signal %d (%s)", WTERMSIG(status),
                  strsignal(WTERMSIG(status)));
  } else if (WIFEXITED(status)) {
    std::snprintf(text, sizeof text, "ended with status %d", WEXITSTATUS(status));
  } else {
    std::snprintf(text, sizeof text, "ended abnormally");
  }
  return text;
}

}  // namespace

IsolatedResult RunIsolated(const std::function<std::string()>& work, double timeoutSeconds,
                           const volatile int32_t* cancel) {
  IsolatedResult result{IsolatedOutcome::Failed, {}, {}};
  int channel[2];
  if (pipe(channel) != 0) {
    result.detail = std::string("cannot make a pipe: ") + std::strerror(errno);
    return result;
  }
  // Buffered output would otherwise be written twice, once by each process.
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t child = fork();
  if (child < 0) {
    result.detail = std::string("cannot start a process: ") + std::strerror(errno);
    close(channel[0]);
    close(channel[1]);
    return result;
  }
  if (child == 0) {
    close(channel[0]);
    RunChild(work, channel[1]);
  }
  close(channel[1]);

  const auto start = std::chrono::steady_clock::now();
  bool killed = false;
  char buffer[1 << 16];
  for (;;) {
    if (cancel != nullptr && *cancel != 0) {
      result.outcome = IsolatedOutcome::Cancelled;
      killed = true;
      break;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (elapsed.count() > timeoutSeconds) {
      result.outcome = IsolatedOutcome::TimedOut;
      killed = true;
      break;
    }
    // Short waits, so that a cancel is seen promptly.
    pollfd wait{channel[0], POLLIN, 0};
    const int ready = poll(&wait, 1, 50);
    if (ready < 0 && errno != EINTR) {
      result.detail = std::string("cannot wait for the reader: ") + std::strerror(errno);
      killed = true;
      break;
    }
    if (ready <= 0) continue;
    const ssize_t got = read(channel[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      result.detail = std::string("cannot read from the reader: ") + std::strerror(errno);
      killed = true;
      break;
    }
    if (got == 0) break;  // the child closed its end: it has finished
    result.output.append(buffer, static_cast<size_t>(got));
    if (result.output.size() > kMaxOutput) {
      result.detail = "the reader returned too much";
      killed = true;
      break;
    }
  }
  close(channel[0]);
  if (killed) kill(child, SIGKILL);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!killed) {
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
      result.outcome = IsolatedOutcome::Finished;
    } else {
      result.detail = HowItEnded(status);
    }
  }
  if (result.outcome != IsolatedOutcome::Finished) result.output.clear();
  return result;
}

}  // namespace zoint
