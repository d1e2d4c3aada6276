#include "run/entry.h"

#include <cinttypes>
#include <cstdio>
#include <new>

#include "enumeration/search.h"
#include "exchange/exchange.h"
#include "exchange/messages.h"
#include "platform/float_environment.h"
#include "platform/platform.h"
#include "run/solver_state.h"
#include "zoint/ZOInt.h"

namespace zoint {

std::string ConsoleReport() {
  std::string text = "OutPut: \n";
  char item[64];
  for (int32_t i = 0; i < g_state.problem.n; ++i) {
    std::snprintf(item, sizeof item, "X[%" PRId32 "]: %" PRId64 " \t", i, g_state.incumbentVector[i]);
    text += item;
  }
  std::snprintf(item, sizeof item, "\nFinal: %" PRId64, g_state.incumbentValue);
  text += item;
  return text;
}

void RunOnce() {
  g_stats = Stats{};
  ResetSolver();  // a run always starts clean, whatever the last one left
  SearchNode* root = GetRoot();
  LoadProblem(root);
  Search(root);
  platform::WriteConsole(ConsoleReport());
  SaveSolution();
  ResetSolver();
}

}  // namespace zoint

#if defined(__GNUC__) && !defined(_WIN32)
#define ZOINT_EXPORT __attribute__((visibility("default")))
#else
#define ZOINT_EXPORT
#endif

extern "C" ZOINT_EXPORT double ZOINT_CALL ZOInterProgram(int32_t argument) {
  (void)argument;
  // The host's floating-point settings are set aside for the call and are
  // back, as the host left them, whichever way the call ends.
  zoint::platform::LibraryFloatEnvironment floatEnvironment;
  zoint::platform::LockRun();
  try {
    zoint::RunOnce();
  } catch (...) {
    // No exception may cross into a C, VBA or Python host. The only thing
    // that can throw is allocation; the run had no answer, so none is left.
    zoint::platform::RemoveSolutionFile();
    zoint::g_stats.warning = zoint::Failure::OutOfMemory;
    zoint::platform::ShowWarning(zoint::MessageOf(zoint::Failure::OutOfMemory));
    zoint::ResetSolver();
  }
  zoint::platform::UnlockRun();
  return 0.0;
}
