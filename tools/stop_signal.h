// Ctrl-C (SIGINT) and SIGTERM in the CLI's commands.
#ifndef ZOINT_TOOLS_STOP_SIGNAL_H
#define ZOINT_TOOLS_STOP_SIGNAL_H

#include <cstdint>

namespace zoint_cli {

// Becomes 1 at the first stop signal once StopSearchOnSignal has run; the
// search polls it as its cancel flag.
extern volatile int32_t g_stopRequested;

// zoint solve: a stop signal raises g_stopRequested, and the command ends
// with the best assignment found.
void StopSearchOnSignal();

// zoint DIR (after entering DIR): a stop signal removes ./ZOIntOut.dat,
// which the interrupted call may have left half written or not yet
// replaced, and ends the process with the status for "stopped". Before it
// ends, the handler calls `report` when one is given (--stats): that
// function may only make calls that are safe in a signal handler.
void RemoveAnswerOnSignal(void (*report)() = nullptr);

// Back to the default actions, once nothing is left to protect.
void DefaultActionOnSignal();

}  // namespace zoint_cli

#endif  // ZOINT_TOOLS_STOP_SIGNAL_H
