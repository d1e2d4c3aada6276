// The only door to the operating system: exchange files, the warning shown to
// the user, standard output and the run lock. One implementation file per
// platform; nothing else in the library includes a system header.
//
// When memory runs out, an operation throws std::bad_alloc (after releasing
// what it took) instead of reporting a file failure, so the run can say what
// really happened. No other exception leaves this layer.
#ifndef ZOINT_PLATFORM_H
#define ZOINT_PLATFORM_H

#include <cstdint>
#include <string>

namespace zoint {
namespace platform {

// An open exchange file. Opaque outside the platform implementation.
struct File;

enum class ReadResult {
  Line,       // a line was read
  EndOfFile,  // no more lines; the line is left unchanged
  Error       // the file could not be read
};

// Opens ./ZOIntIn.dat for reading and writing, never creating or truncating
// it. Returns nullptr when it is absent, read-only, not a regular file the
// process may write, or held elsewhere where the system can tell.
File* OpenProblemFile();

// Opens ./ZOIntOut.dat for reading and writing, created or truncated.
// Returns nullptr when that is impossible.
File* OpenSolutionFile();

// Length of the file in bytes, or -1 if it cannot be determined.
int64_t FileLength(File* file);

// Reads the next line into `line` without its line end (LF or CR LF). The
// line may contain NUL bytes and may be of any length.
ReadResult ReadLine(File* file, std::string& line);

// Writes `text`; each "\n" becomes the platform's line end. False on error.
bool WriteText(File* file, const std::string& text);

// Flushes and closes; the File is released in every case. False on error.
bool CloseFile(File* file);

// Removes ./ZOIntOut.dat if it is a file the system lets us remove.
// Never removes a directory.
void RemoveSolutionFile();

// Shows a warning to the user and waits until it is acknowledged where the
// platform has a modal dialog. `utf8Message` is UTF-8 text.
void ShowWarning(const char* utf8Message);

// Writes `text` to standard output and flushes it.
void WriteConsole(const std::string& text);

// Process-wide lock held for the whole of one run, so that overlapping calls
// from a mistaken host are serialized instead of corrupting the state.
void LockRun();
void UnlockRun();

}  // namespace platform
}  // namespace zoint

#endif  // ZOINT_PLATFORM_H
