// One run of the solver, as the exported entry point performs it.
#ifndef ZOINT_ENTRY_H
#define ZOINT_ENTRY_H

#include <string>

namespace zoint {

// The console report of the incumbent: "OutPut: ", one "X[i]: v \t" item per
// variable, then "Final: " and the value, with no line feed after it.
std::string ConsoleReport();

// The six stages of a run, in order: root, load, search, report, save, reset.
void RunOnce();

}  // namespace zoint

#endif  // ZOINT_ENTRY_H
