/* ZOInt: exact solver for pure 0-1 integer linear programs.
 *
 * The host writes the problem into "ZOIntIn.dat" in its current directory,
 * calls ZOInterProgram, and reads the answer from "ZOIntOut.dat" in the same
 * directory. See docs/exchange-files.md for both file formats.
 */
#ifndef ZOINT_ZOINT_H
#define ZOINT_ZOINT_H

#include <stdint.h>

#if defined(_WIN32)
#define ZOINT_CALL __stdcall
#else
#define ZOINT_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Solves the problem in ./ZOIntIn.dat and writes ./ZOIntOut.dat.
 *
 * Contract:
 *  - `argument` is ignored; any value may be passed.
 *  - Always returns 0.0. The answer travels only through ZOIntOut.dat.
 *  - Returns only after the whole run: the console report is printed and
 *    flushed on standard output, ZOIntOut.dat is written, and no state of the
 *    run is kept for the next call.
 *  - Bad input is reported as a warning (a message box on Windows, one line on
 *    standard error elsewhere); ZOIntOut.dat then holds 9223372036854775807.
 *  - If ZOIntOut.dat cannot be written, a warning is shown and no partial or
 *    stale ZOIntOut.dat is left where the system allows removing it.
 *  - Never lets an exception escape. Overlapping calls are serialized.
 */
double ZOINT_CALL ZOInterProgram(int32_t argument);

#ifdef __cplusplus
}
#endif

#endif /* ZOINT_ZOINT_H */
