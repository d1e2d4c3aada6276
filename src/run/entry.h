// One run of the solver, as the exported entry point performs it.
#ifndef ZOINT_ENTRY_H
#define ZOINT_ENTRY_H

#include "run/run_report.h"

namespace zoint {

// The six stages of a run, in order, on a state of its own: root, load,
// search, report, save, reset. Throws std::bad_alloc when memory runs out.
RunReport RunOnce(SolveRequest request, RunWatch* watch = nullptr);

// The whole of one exported call: the host's floating-point settings set
// aside, the run lock held, RunOnce, and running out of memory turned into
// its warning with no answer file left. ZOInterProgram is this with
// SolveRequest::Automatic; the command line and the tests call it to choose
// the search and to read the counters.
// A watch, when given, follows the run's search as it goes.
RunReport CallAsHost(SolveRequest request, RunWatch* watch = nullptr);

}  // namespace zoint

#endif  // ZOINT_ENTRY_H
