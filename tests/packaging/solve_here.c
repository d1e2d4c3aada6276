/* A program built against ZOInt as a user builds one: it solves the problem
 * in the current directory. tests/packaging/run.sh builds it with
 * find_package(ZOInt), with pkg-config, with plain compiler flags and inside
 * a project that adds the ZOInt source tree, and checks the bytes it leaves. */
#include <zoint/ZOInt.h>

int main(void) { return ZOInterProgram(0) == 0.0 ? 0 : 1; }
