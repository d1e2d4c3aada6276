// Faults injected into one call of ZOInterProgram, for the failure paths the
// file system and the allocator rarely take on their own. This test binary is
// linked with --wrap for the C library calls the platform layer makes (see
// tests/CMakeLists.txt) and replaces the global operator new; the library
// itself is the one hosts get.
#ifndef ZOINT_TESTS_FAULT_POINTS_H
#define ZOINT_TESTS_FAULT_POINTS_H

#include <cstdint>
#include <string>

namespace zoint_fault {

enum class Fault {
  None,
  ReadError,        // getline: a genuine read error on the stream
  ReadOutOfMemory,  // getline: no memory for the line, as glibc reports it
  StatError,        // fstat fails with EIO
  OpenOutOfMemory,  // fdopen: no memory for the stream
  CloseError,       // fclose releases the stream, then reports EIO
  NewFails          // the global operator new throws std::bad_alloc
};

const char* Name(Fault fault);

// Arms `fault` at the `at`-th call (from 1) of its function, counting from
// now; at = 0 injects nothing and only counts. Disarm stops counting.
void Arm(Fault fault, int at);
void Disarm();
int CallsSeen();  // calls of the armed fault's function since Arm
bool Fired();     // whether the fault was injected since Arm

// Blocks from the global operator new not yet deleted, and open descriptors.
int64_t LiveAllocations();
int OpenDescriptors();

// While recording, every fwrite of the calling thread is kept: to standard
// output in `console`, to any other stream but standard error in `file`.
struct Recorded {
  std::string console;
  std::string file;
};
void StartRecording();
void StopRecording();
Recorded& ThisThreadRecord();

}  // namespace zoint_fault

#endif  // ZOINT_TESTS_FAULT_POINTS_H
