// Windows implementation of the platform layer: the exchange files through
// Win32 handles opened without sharing, text-mode line ends done here, the
// warning in a message box in code page 936, standard output through the C
// runtime, and a slim reader/writer lock for the run.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// windows.h maps WriteConsole to WriteConsoleA; the layer's own function of
// that name must keep it.
#undef WriteConsole

#include <stdio.h>
#include <string.h>

#include <new>

#include "platform/platform.h"

namespace zoint {
namespace platform {

namespace {

const char kProblemPath[] = ".\\ZOIntIn.dat";
const char kSolutionPath[] = ".\\ZOIntOut.dat";
const char kCaption[] = "ZOInt";
const UINT kGbkCodePage = 936;

// Bytes fetched from the file by one ReadFile call.
const DWORD kReadChunk = 4096;

// Statically initialised: nothing runs when the library loads.
SRWLOCK g_runLock = SRWLOCK_INIT;
// The modal warning box runs a message loop, from which a host (a timer, a
// button) may call again on the same thread. Waiting for the lock there
// would wait forever, so a call from the thread that holds the lock runs
// inside the first: a run is only ever inside the box once its own work is
// done or abandoned, so the nested run cannot disturb it.
volatile LONG g_runOwner = 0;  // thread id of the holder; 0 is no thread
int g_runDepth = 0;            // calls of the holder in progress

}  // namespace

// The files are read in binary and the line ends translated here, as the C
// runtime's text mode would, except that a Ctrl-Z byte (0x1A) is data like
// any other: text mode would end the file there and silently lose the rest
// of the problem, which would then be solved as a different one.
struct File {
  HANDLE handle;
  char chunk[kReadChunk];
  DWORD next;    // first unread byte of chunk
  DWORD filled;  // bytes of chunk holding data
};

namespace {

File* Open(const char* path, DWORD disposition) {
  // Allocated before the handle exists, so that running out of memory here
  // cannot leak an open handle that would keep the file locked.
  File* file = new File;
  file->next = 0;
  file->filled = 0;
  // No sharing: while a run has a file open nobody else may touch it, and a
  // file another handle holds cannot be opened.
  file->handle = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file->handle == INVALID_HANDLE_VALUE) {
    delete file;
    return nullptr;
  }
  return file;
}

void Discard(File* file) {
  CloseHandle(file->handle);
  delete file;
}

// Windows itself refuses write access to a read-only file, but a system
// that emulates it may grant it to a privileged user (wine run as root);
// the attribute is what the user set, so it decides.
bool IsReadOnly(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info;
  return GetFileInformationByHandle(handle, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// Refills the chunk. False on a read error; at end of file filled is 0.
bool FillChunk(File* file) {
  DWORD got = 0;
  if (!ReadFile(file->handle, file->chunk, kReadChunk, &got, nullptr)) return false;
  file->next = 0;
  file->filled = got;
  return true;
}

bool WriteAll(HANDLE handle, const char* data, size_t size) {
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(handle, data, static_cast<DWORD>(size), &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

}  // namespace

File* OpenProblemFile() {
  // OPEN_EXISTING never creates it, and a directory of that name cannot be
  // opened this way.
  File* file = Open(kProblemPath, OPEN_EXISTING);
  if (file != nullptr && (GetFileType(file->handle) != FILE_TYPE_DISK || IsReadOnly(file->handle))) {
    Discard(file);
    return nullptr;
  }
  return file;
}

File* OpenSolutionFile() {
  // OPEN_ALWAYS and then truncating, rather than CREATE_ALWAYS, which refuses
  // an existing hidden or system file. A read-only file is refused before
  // it could be emptied.
  File* file = Open(kSolutionPath, OPEN_ALWAYS);
  if (file != nullptr && (IsReadOnly(file->handle) || !SetEndOfFile(file->handle))) {
    Discard(file);
    return nullptr;
  }
  return file;
}

int64_t FileLength(File* file) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file->handle, &size)) return -1;
  return static_cast<int64_t>(size.QuadPart);
}

ReadResult ReadLine(File* file, std::string& line) {
  // A line too long for memory throws std::bad_alloc out of here; the
  // reader closes the file on its way out, so it is not left locked.
  std::string text;
  bool sawAnything = false;
  for (;;) {
    if (file->next == file->filled) {
      if (!FillChunk(file)) return ReadResult::Error;
      if (file->filled == 0) break;  // end of file
    }
    sawAnything = true;
    const char* begin = file->chunk + file->next;
    const DWORD available = file->filled - file->next;
    const void* lineFeed = memchr(begin, '\n', available);
    if (lineFeed == nullptr) {
      text.append(begin, available);
      file->next = file->filled;
      continue;
    }
    const DWORD used = static_cast<DWORD>(static_cast<const char*>(lineFeed) - begin);
    text.append(begin, used);
    file->next += used + 1;
    // CR LF reads as a line feed; a CR anywhere else is kept.
    if (!text.empty() && text.back() == '\r') text.pop_back();
    line.swap(text);
    return ReadResult::Line;
  }
  if (!sawAnything) return ReadResult::EndOfFile;
  line.swap(text);  // a last line without a line feed
  return ReadResult::Line;
}

bool WriteText(File* file, const std::string& text) {
  // Translated through a fixed buffer: nothing is allocated, so nothing can
  // throw while the file is open and locked against everybody else.
  char stored[128];
  size_t used = 0;
  for (char c : text) {
    if (used + 2 > sizeof stored) {
      if (!WriteAll(file->handle, stored, used)) return false;
      used = 0;
    }
    if (c == '\n') stored[used++] = '\r';
    stored[used++] = c;
  }
  return WriteAll(file->handle, stored, used);
}

bool CloseFile(File* file) {
  // Writes go straight to the handle, so closing it is the whole flush.
  const bool ok = CloseHandle(file->handle) != 0;
  delete file;
  return ok;
}

void RemoveSolutionFile() {
  // DeleteFileA never removes a directory. A read-only file stays, as the
  // system protects it; the warning tells the user its content is not new.
  DeleteFileA(kSolutionPath);
}

void ShowWarning(const char* utf8Message) {
  // This is also the out-of-memory path, so it allocates nothing: the
  // messages are short and fixed buffers hold them.
  wchar_t wide[512];
  char gbk[1024];
  const char* text = utf8Message;  // shown as it is if it cannot be converted
  const int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8Message, -1, wide, 512);
  if (wideLength > 0 &&
      WideCharToMultiByte(kGbkCodePage, 0, wide, wideLength, gbk, sizeof gbk, nullptr, nullptr) > 0) {
    text = gbk;
  }
  // Owned by the calling thread's active window, as a dialog of the host, so
  // that window takes no input until the user has acknowledged the warning.
  MessageBoxA(GetActiveWindow(), text, kCaption, MB_OK | MB_ICONWARNING);
}

void WriteConsole(const std::string& text) {
  fwrite(text.data(), 1, text.size(), stdout);
  fflush(stdout);
}

void LockRun() {
  const LONG self = static_cast<LONG>(GetCurrentThreadId());
  // Only this thread ever stores its own id, so the test cannot be fooled.
  if (InterlockedCompareExchange(&g_runOwner, 0, 0) == self) {
    ++g_runDepth;
    return;
  }
  AcquireSRWLockExclusive(&g_runLock);
  InterlockedExchange(&g_runOwner, self);
  g_runDepth = 1;
}

void UnlockRun() {
  if (--g_runDepth > 0) return;
  InterlockedExchange(&g_runOwner, 0);
  ReleaseSRWLockExclusive(&g_runLock);
}

}  // namespace platform
}  // namespace zoint
