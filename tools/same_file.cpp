#include "same_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace zoint_cli {

#ifdef _WIN32

namespace {

// Windows' stat gives no inode; the file index is its counterpart.
bool FileIdentity(const char* path, BY_HANDLE_FILE_INFORMATION& information) {
  const HANDLE file =
      CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool known = GetFileInformationByHandle(file, &information) != 0;
  CloseHandle(file);
  return known;
}

}  // namespace

bool SameFile(const char* a, const char* b) {
  BY_HANDLE_FILE_INFORMATION first;
  BY_HANDLE_FILE_INFORMATION second;
  return FileIdentity(a, first) && FileIdentity(b, second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

#else

bool SameFile(const char* a, const char* b) {
  struct stat first;
  struct stat second;
  return stat(a, &first) == 0 && stat(b, &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

#endif

}  // namespace zoint_cli
