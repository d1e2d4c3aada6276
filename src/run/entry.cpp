#include "run/entry.h"

#include <memory>

#include "platform/float_environment.h"
#include "platform/platform.h"
#include "run/solver_state.h"
#include "run/stages.h"
#include "zoint/ZOInt.h"

namespace zoint {

RunReport RunOnce(SolveRequest request, RunWatch* watch) {
  // On the heap (some 170 kB): hosts may call from threads with small stacks.
  const std::unique_ptr<SolverState> state(new SolverState());
  ResetSolver(*state);  // the start values
  GetRoot(*state);
  LoadProblem(*state);
  const SolveMode mode = ChooseSolveMode(state->problem, request);
  if (watch != nullptr && state->inputValid) {
    watch->mode = mode;
    watch->enumeration = mode == SolveMode::Enumeration ? &state->enumeration.counters : nullptr;
    watch->searching = true;
  }
  Search(*state, mode);
  if (watch != nullptr) {
    watch->searching = false;
    watch->enumeration = nullptr;
  }
  platform::WriteConsole(ConsoleReport(*state));
  SaveSolution(*state);
  const RunReport report = state->report;
  ResetSolver(*state);
  return report;
}

RunReport CallAsHost(SolveRequest request, RunWatch* watch) {
  // The host's floating-point settings are set aside for the call and are
  // back, as the host left them, whichever way the call ends.
  const platform::LibraryFloatEnvironment floatEnvironment;
  platform::LockRun();
  RunReport report{};
  try {
    report = RunOnce(request, watch);
  } catch (...) {
    if (watch != nullptr) {
      watch->searching = false;
      watch->enumeration = nullptr;
    }
    // No exception may cross into a C, VBA or Python host. The only thing
    // that can throw is allocation; the run had no answer, so none is left.
    platform::RemoveSolutionFile();
    report = RunReport{};
    report.warning = Failure::OutOfMemory;
    platform::ShowWarning(MessageOf(Failure::OutOfMemory));
  }
  platform::UnlockRun();
  return report;
}

}  // namespace zoint

#if defined(__GNUC__) && !defined(_WIN32)
#define ZOINT_EXPORT __attribute__((visibility("default")))
#else
#define ZOINT_EXPORT
#endif

extern "C" ZOINT_EXPORT double ZOINT_CALL ZOInterProgram(int32_t argument) {
  (void)argument;
  zoint::CallAsHost(zoint::SolveRequest::Automatic);
  return 0.0;
}
