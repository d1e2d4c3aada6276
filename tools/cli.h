// What the commands of the zoint CLI share: exit statuses, the help text and
// usage errors. Each command lives in a file of its own.
#ifndef ZOINT_TOOLS_CLI_H
#define ZOINT_TOOLS_CLI_H

namespace zoint_cli {

enum ExitStatus {
  kExitSolved = 0,    // optimal or proven infeasible (DIR mode: the call showed no warning)
  kExitBadInput = 1,  // the model, the file or the call's input was rejected, or an output not written
  kExitUsage = 2,     // the command line itself is wrong
  kExitStopped = 3,   // a time limit or a signal stopped the run
};

extern const char kUsageText[];
extern const char kHelpText[];

// Prints "zoint: WHAT: ARGUMENT" and the usage on standard error; returns kExitUsage.
int UsageError(const char* what, const char* argument);

// zoint [--stats] [--enumerate] [DIR]: one call of ZOInterProgram in DIR.
int RunDirCommand(int argc, char** argv);

// zoint solve [--time-limit SECONDS] [--quiet] [--solution FILE] MODEL
// (argv[0] is "solve").
int RunSolveCommand(int argc, char** argv);

// zoint convert MODEL DIR (argv[0] is "convert").
int RunConvertCommand(int argc, char** argv);

}  // namespace zoint_cli

#endif  // ZOINT_TOOLS_CLI_H
