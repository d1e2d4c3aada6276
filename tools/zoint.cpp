// zoint: the command-line host. The first argument picks the command; the
// folder form, with no command word, is the original one.
#include <cstring>

#include "cli.h"

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "solve") == 0) return zoint_cli::RunSolveCommand(argc - 1, argv + 1);
  if (argc >= 2 && std::strcmp(argv[1], "convert") == 0)
    return zoint_cli::RunConvertCommand(argc - 1, argv + 1);
  return zoint_cli::RunDirCommand(argc, argv);
}
