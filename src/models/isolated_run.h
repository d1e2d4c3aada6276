// Runs a piece of work in a child process and collects what it returns. A
// crash, a loop or a stray print in the work cannot reach the caller: used
// for CoinUtils' readers, which crash or loop on some malformed files.
#ifndef ZOINT_MODELS_ISOLATED_RUN_H
#define ZOINT_MODELS_ISOLATED_RUN_H

#include <cstdint>
#include <functional>
#include <string>

namespace zoint {

enum class IsolatedOutcome {
  Finished,   // output holds what the work returned
  Failed,     // it crashed or could not run; detail says how
  TimedOut,   // it ran past the time allowed and was killed
  Cancelled,  // *cancel became nonzero; it was killed
};

struct IsolatedResult {
  IsolatedOutcome outcome;
  std::string output;
  std::string detail;
};

// In the child, standard output and error go to /dev/null and SIGINT and
// SIGTERM take their default action. The caller must have no other threads
// running (fork).
IsolatedResult RunIsolated(const std::function<std::string()>& work, double timeoutSeconds,
                           const volatile int32_t* cancel);

}  // namespace zoint

#endif  // ZOINT_MODELS_ISOLATED_RUN_H
