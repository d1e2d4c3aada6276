/* A host linked the Visual C++ way: compiled for the Microsoft ABI and linked
 * by lld-link, which behaves as Microsoft's linker does, against ZOInt.lib
 * alone and without a C runtime, so the import library is all that resolves
 * ZOInterProgram. Solves the problem in the current directory; the process
 * ends when the entry point returns. */
#include "zoint/ZOInt.h"

/* The C runtime defines this wherever floating point is used. */
int _fltused;

int Start(void) { return ZOInterProgram(0) == 0.0 ? 0 : 1; }
