// Writes the answer file: the incumbent value, then the assignment as
// comma-separated values (that line only when there are variables).
#include <cinttypes>
#include <cstdio>
#include <string>

#include "exchange/exchange.h"
#include "exchange/messages.h"
#include "platform/platform.h"
#include "run/solver_state.h"

namespace zoint {

namespace {

std::string SolutionText() {
  char number[32];
  std::snprintf(number, sizeof number, "%" PRId64 "\n", g_state.incumbentValue);
  std::string text = number;
  for (int32_t i = 0; i < g_state.problem.n; ++i) {
    std::snprintf(number, sizeof number, "%" PRId64 ",", g_state.incumbentVector[i]);
    text += number;
  }
  // The comma after the last entry becomes the line end.
  if (g_state.problem.n > 0) text.back() = '\n';
  return text;
}

}  // namespace

void SaveSolution() {
  const std::string text = SolutionText();
  platform::File* file = platform::OpenSolutionFile();
  bool ok = file != nullptr;
  if (ok) {
    ok = platform::WriteText(file, text);
    if (!platform::CloseFile(file)) ok = false;
  }
  if (!ok) {
    // A partial or stale file must not pass for this run's answer.
    platform::RemoveSolutionFile();
    g_stats.warning = Failure::OutputNotWritable;
    platform::ShowWarning(MessageOf(Failure::OutputNotWritable));
  }
}

}  // namespace zoint
