// POSIX implementation of the platform layer: C stdio text files (LF line
// ends), warnings as one line on standard error, a pthread mutex for the run.
#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <new>

#include "platform/platform.h"

namespace zoint {
namespace platform {

struct File {
  FILE* stream;
};

namespace {

const char kProblemPath[] = "./ZOIntIn.dat";
const char kSolutionPath[] = "./ZOIntOut.dat";

pthread_mutex_t g_runLock = PTHREAD_MUTEX_INITIALIZER;

// A file without any write permission bit counts as read-only even for root,
// which the kernel would otherwise let write it: hosts and tests running as
// root then see the same outcome as everybody else.
bool HasWriteBit(const struct stat& info) { return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0; }

// Takes ownership of `fd`. Running out of memory is reported as such, not as
// a file that cannot be opened, and leaves no descriptor behind.
File* Wrap(int fd, const char* mode) {
  File* file = new (std::nothrow) File{nullptr};
  if (file != nullptr) file->stream = fdopen(fd, mode);
  if (file == nullptr || file->stream == nullptr) {
    const bool outOfMemory = file == nullptr || errno == ENOMEM;
    close(fd);
    delete file;
    if (outOfMemory) throw std::bad_alloc();
    return nullptr;
  }
  return file;
}

}  // namespace

File* OpenProblemFile() {
  // Non-blocking, so that a device of that name cannot hold the open up.
  int fd = open(kProblemPath, O_RDWR | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return nullptr;
  struct stat info;
  // Only a regular file holds a problem: a device, pipe or directory of that
  // name counts as no input file at all.
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || !HasWriteBit(info) ||
      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    close(fd);
    return nullptr;
  }
  return Wrap(fd, "r+");
}

File* OpenSolutionFile() {
  // Refuse an existing read-only file before O_TRUNC could empty it as root.
  struct stat info;
  if (stat(kSolutionPath, &info) == 0 && S_ISREG(info.st_mode) && !HasWriteBit(info)) return nullptr;
  int fd = open(kSolutionPath, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  return Wrap(fd, "w+");
}

int64_t FileLength(File* file) {
  struct stat info;
  if (fstat(fileno(file->stream), &info) != 0) return -1;
  return static_cast<int64_t>(info.st_size);
}

ReadResult ReadLine(File* file, std::string& line) {
  char* buffer = nullptr;
  size_t capacity = 0;
  errno = 0;
  ssize_t length = getline(&buffer, &capacity, file->stream);
  if (length < 0) {
    const bool outOfMemory = errno == ENOMEM;
    const bool failed = ferror(file->stream) != 0;
    free(buffer);
    if (outOfMemory) throw std::bad_alloc();
    return failed ? ReadResult::Error : ReadResult::EndOfFile;
  }
  size_t end = static_cast<size_t>(length);
  if (end > 0 && buffer[end - 1] == '\n') {
    --end;
    if (end > 0 && buffer[end - 1] == '\r') --end;
  }
  try {
    line.assign(buffer, end);
  } catch (...) {
    free(buffer);
    throw;
  }
  free(buffer);
  return ReadResult::Line;
}

bool WriteText(File* file, const std::string& text) {
  return fwrite(text.data(), 1, text.size(), file->stream) == text.size();
}

bool CloseFile(File* file) {
  bool ok = fflush(file->stream) == 0 && ferror(file->stream) == 0;
  if (fclose(file->stream) != 0) ok = false;
  delete file;
  return ok;
}

void RemoveSolutionFile() {
  // unlink, unlike remove, never takes away a directory of that name.
  unlink(kSolutionPath);
}

void ShowWarning(const char* utf8Message) {
  fprintf(stderr, "%s\n", utf8Message);
  fflush(stderr);
}

void WriteConsole(const std::string& text) {
  fwrite(text.data(), 1, text.size(), stdout);
  fflush(stdout);
}

void LockRun() { pthread_mutex_lock(&g_runLock); }

void UnlockRun() { pthread_mutex_unlock(&g_runLock); }

}  // namespace platform
}  // namespace zoint
