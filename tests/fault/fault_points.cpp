#include "fault/fault_points.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdio_ext.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <new>


namespace zoint_fault {

namespace {

std::atomic<Fault> g_armed{Fault::None};
std::atomic<int> g_at{0};
std::atomic<int> g_calls{0};
std::atomic<bool> g_fired{false};
std::atomic<int64_t> g_live{0};
std::atomic<bool> g_recording{false};
thread_local Recorded t_record;

// Counts a call of the function behind `fault`; true when this call fails.
bool Strikes(Fault fault) {
  if (g_armed.load() != fault) return false;
  const int call = ++g_calls;
  if (call != g_at.load()) return false;
  g_fired = true;
  return true;
}

}  // namespace

const char* Name(Fault fault) {
  switch (fault) {
    case Fault::None:
      return "none";
    case Fault::ReadError:
      return "read error";
    case Fault::ReadOutOfMemory:
      return "no memory for a line";
    case Fault::StatError:
      return "fstat error";
    case Fault::OpenOutOfMemory:
      return "no memory for a stream";
    case Fault::CloseError:
      return "close error";
    case Fault::NewFails:
      return "operator new fails";
  }
  return "?";
}

void Arm(Fault fault, int at) {
  g_armed = Fault::None;
  g_calls = 0;
  g_at = at;
  g_fired = false;
  g_armed = fault;
}

void Disarm() { g_armed = Fault::None; }
int CallsSeen() { return g_calls.load(); }
bool Fired() { return g_fired.load(); }
int64_t LiveAllocations() { return g_live.load(); }

int OpenDescriptors() {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (dirent* entry = readdir(dir)) count += entry->d_name[0] != '.';
    closedir(dir);
  }
  return count - 1;  // the directory stream's own descriptor
}

void StartRecording() { g_recording = true; }
void StopRecording() { g_recording = false; }
Recorded& ThisThreadRecord() { return t_record; }

}  // namespace zoint_fault

using zoint_fault::Fault;
using zoint_fault::Strikes;

extern "C" {

ssize_t __real_getline(char** line, size_t* capacity, FILE* stream);
ssize_t __real___getdelim(char** line, size_t* capacity, int delimiter, FILE* stream);
int __real_fstat(int fd, struct stat* info);
FILE* __real_fdopen(int fd, const char* mode);
int __real_fclose(FILE* stream);
size_t __real_fwrite(const void* data, size_t size, size_t count, FILE* stream);

// A read error as the kernel gives it: the stream's buffered input is
// dropped and its descriptor now refers to a directory, so the real read
// fails with EISDIR and stdio sets the stream's error flag.
static void BreakStream(FILE* stream) {
  __fpurge(stream);
  const int directory = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory >= 0) {
    dup2(directory, fileno(stream));
    close(directory);
  }
}

// Returns -2 when the call is to go ahead unchanged.
static ssize_t InjectedRead(FILE* stream) {
  if (Strikes(Fault::ReadError)) BreakStream(stream);
  if (Strikes(Fault::ReadOutOfMemory)) {
    errno = ENOMEM;  // what getline reports when it cannot allocate the line
    return -1;
  }
  return -2;
}

// Each Strikes call counts only when its fault is armed, so one call of the
// wrapped function counts once for whichever fault is armed.
ssize_t __wrap_getline(char** line, size_t* capacity, FILE* stream) {
  const ssize_t injected = InjectedRead(stream);
  return injected != -2 ? injected : __real_getline(line, capacity, stream);
}

// Optimised builds reach getline through this glibc inline.
ssize_t __wrap___getdelim(char** line, size_t* capacity, int delimiter, FILE* stream) {
  const ssize_t injected = InjectedRead(stream);
  return injected != -2 ? injected : __real___getdelim(line, capacity, delimiter, stream);
}

int __wrap_fstat(int fd, struct stat* info) {
  if (Strikes(Fault::StatError)) {
    errno = EIO;
    return -1;
  }
  return __real_fstat(fd, info);
}

FILE* __wrap_fdopen(int fd, const char* mode) {
  if (Strikes(Fault::OpenOutOfMemory)) {
    errno = ENOMEM;  // the descriptor stays with the caller, as on a real failure
    return nullptr;
  }
  return __real_fdopen(fd, mode);
}

int __wrap_fclose(FILE* stream) {
  const bool fails = Strikes(Fault::CloseError);
  const int result = __real_fclose(stream);
  if (fails) {
    errno = EIO;  // like close(2) on NFS: the descriptor is gone, the data may be
    return EOF;
  }
  return result;
}

size_t __wrap_fwrite(const void* data, size_t size, size_t count, FILE* stream) {
  if (zoint_fault::g_recording && stream != stderr) {
    zoint_fault::Recorded& record = zoint_fault::t_record;
    if (stream == stdout) {
      record.console.append(static_cast<const char*>(data), size * count);
    } else {
      record.file.append(static_cast<const char*>(data), size * count);
    }
  }
  return __real_fwrite(data, size, count, stream);
}

}  // extern "C"

// The replaceable global allocation functions, every form of them: a
// sanitizer runtime brings its own, so none may be left to it.
void* operator new(std::size_t size) {
  if (Strikes(Fault::NewFails)) throw std::bad_alloc();
  void* block = malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  ++zoint_fault::g_live;
  return block;
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return operator new(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void* operator new[](std::size_t size) { return operator new(size); }
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }

void operator delete(void* block) noexcept {
  if (block == nullptr) return;
  --zoint_fault::g_live;
  free(block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { operator delete(block); }
void operator delete[](void* block) noexcept { operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept { operator delete(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { operator delete(block); }
