#include "stop_signal.h"

#include <csignal>
#include <cstdlib>
#include <type_traits>

#ifdef _WIN32
#include <io.h>
#define unlink _unlink
#define write _write
#else
#include <unistd.h>
#endif

#include "cli.h"

namespace zoint_cli {

// A handler may only store to a volatile sig_atomic_t; the search reads the
// same object as its int32_t cancel flag.
static_assert(std::is_same<std::sig_atomic_t, int32_t>::value, "sig_atomic_t is the cancel flag's type");

volatile int32_t g_stopRequested = 0;

namespace {

extern "C" void RequestStop(int signal) {
  g_stopRequested = 1;
  // Windows resets the handler before calling it.
  std::signal(signal, RequestStop);
}

const char kRemoved[] = "zoint: stopped; ZOIntOut.dat removed\n";

void (*volatile g_reportOnStop)() = nullptr;

// Only async-signal-safe calls: unlink, write, the report's own, _Exit.
extern "C" void RemoveAnswerAndExit(int) {
  unlink("ZOIntOut.dat");
  if (write(2, kRemoved, sizeof kRemoved - 1) < 0) {
    // Nothing left to tell it to.
  }
  if (g_reportOnStop != nullptr) g_reportOnStop();
  std::_Exit(kExitStopped);
}

}  // namespace

void StopSearchOnSignal() {
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
}

void RemoveAnswerOnSignal(void (*report)()) {
  g_reportOnStop = report;
  std::signal(SIGINT, RemoveAnswerAndExit);
  std::signal(SIGTERM, RemoveAnswerAndExit);
}

void DefaultActionOnSignal() {
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
}

}  // namespace zoint_cli
