/* A Windows host of ZOInt.dll, as a real one would use it: LoadLibraryA,
 * GetProcAddress, calls through a __stdcall pointer, the exchange files in
 * the current directory.
 *
 *   dll_host DLL CASES_DIR WORK_DIR [PROBLEM_DIR...]
 *                                     runs every check below; WORK_DIR must
 *                                     be a fresh directory. Each PROBLEM_DIR
 *                                     holds a ZOIntIn.dat, and may hold its
 *                                     expected ZOIntOut.dat and stdout.txt
 *                                     (LF); it is solved under hosts'
 *                                     floating-point settings
 *   dll_host --call DLL               makes one plain call in the current
 *                                     directory (the message box is real)
 *
 * For the checks the host points the DLL's import of user32!MessageBoxA at a
 * recorder that keeps text, caption and style and answers OK, as a user
 * would. The library's code and its call are untouched; only the dialog,
 * which would wait for a person, is left out. The real box is checked
 * separately by --call under a relay trace and on a virtual display.
 *
 * Prints one line per check and closes with "N passed, N failed". */
#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <float.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <windows.h>

#include "zoint/ZOInt.h"

typedef double(ZOINT_CALL* EntryPoint)(int32_t);
typedef int(WINAPI* MessageBoxFunction)(HWND, LPCSTR, LPCSTR, UINT);

/* Bytes of any content, NUL included. */
typedef struct {
  char* data;
  size_t size;
} Bytes;

typedef struct {
  double result;
  Bytes console;
  Bytes boxes;    /* each box's text and a line feed, in code page 936 */
  Bytes solution; /* ZOIntOut.dat afterwards; size 0 and data NULL if absent */
} CallOutput;

static const char kWorked[] = "3,2\n5,3,4,\n-1,-1,0,-1\n0,-1,-1,-1\n";
static const char kWorkedConsole[] = "OutPut: \r\nX[0]: 0 \tX[1]: 1 \tX[2]: 0 \t\r\nFinal: 3";
static const char kWorkedSolution[] = "3\r\n0,1,0\r\n";
static const char kNoSolutionConsole[] = "OutPut: \r\n\r\nFinal: 9223372036854775807";
static const char kNoSolution[] = "9223372036854775807\r\n";
/* The warnings these checks provoke, in UTF-8 as the library holds them. */
static const char kInputNotFound[] = "读取输入参数失败！Kelvadra(Error: Input not Found!)\n";
static const char kOutputNotWritable[] = "写入结果失败！Kelvadra(Error: Output not writable!)\n";

static EntryPoint g_entry;           /* the pointer every call goes through */
static EntryPoint g_entryByName;     /* GetProcAddress by name */
static EntryPoint g_entryByOrdinal;  /* GetProcAddress by ordinal 1 */
static const char* g_entryName = ""; /* which of the two g_entry is, for the reports */
static char g_capturePath[MAX_PATH];
static int g_passed;
static int g_failed;

static CRITICAL_SECTION g_boxLock;
static Bytes g_boxes;

/* ---- bytes ---- */

static void Append(Bytes* bytes, const char* data, size_t size) {
  char* grown = (char*)realloc(bytes->data, bytes->size + size + 1);
  if (grown == NULL) {
    fprintf(stderr, "dll_host: out of memory\n");
    exit(2);
  }
  memcpy(grown + bytes->size, data, size);
  bytes->data = grown;
  bytes->size += size;
  bytes->data[bytes->size] = '\0';
}

static Bytes FromText(const char* text) {
  Bytes bytes = {NULL, 0};
  Append(&bytes, text, strlen(text));
  return bytes;
}

static void Release(Bytes* bytes) {
  free(bytes->data);
  bytes->data = NULL;
  bytes->size = 0;
}

static int SameBytes(const Bytes* a, const Bytes* b) {
  return a->size == b->size && (a->size == 0 || memcmp(a->data, b->data, a->size) == 0);
}

static int IsText(const Bytes* a, const char* text) {
  Bytes b;
  b.data = (char*)text;
  b.size = strlen(text);
  return SameBytes(a, &b);
}

/* Each line feed as the C runtime's text mode stores it. */
static Bytes WithCrLf(const Bytes* text) {
  Bytes out = {NULL, 0};
  size_t i;
  Append(&out, "", 0);
  for (i = 0; i < text->size; ++i) {
    if (text->data[i] == '\n') Append(&out, "\r", 1);
    Append(&out, &text->data[i], 1);
  }
  return out;
}

/* UTF-8 as the bytes of code page 936, the way the box must receive it. */
static Bytes ToGbk(const Bytes* utf8) {
  Bytes out = {NULL, 0};
  Append(&out, "", 0);
  if (utf8->size > 0) {
    int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8->data, (int)utf8->size, NULL, 0);
    wchar_t* wide = (wchar_t*)calloc((size_t)wideLength + 1, sizeof(wchar_t));
    int length;
    if (wideLength <= 0 || wide == NULL) {
      fprintf(stderr, "dll_host: expected text is not UTF-8\n");
      exit(2);
    }
    MultiByteToWideChar(CP_UTF8, 0, utf8->data, (int)utf8->size, wide, wideLength);
    length = WideCharToMultiByte(936, 0, wide, wideLength, NULL, 0, NULL, NULL);
    if (length <= 0) {
      fprintf(stderr, "dll_host: code page 936 is not available\n");
      exit(2);
    }
    out.data = (char*)realloc(out.data, (size_t)length + 1);
    out.size = (size_t)WideCharToMultiByte(936, 0, wide, wideLength, out.data, length, NULL, NULL);
    out.data[out.size] = '\0';
    free(wide);
  }
  return out;
}

/* Shows bytes readably in a failure line. */
static void PrintBytes(const char* label, const Bytes* bytes) {
  size_t i;
  printf("    %s (%u bytes): \"", label, (unsigned)bytes->size);
  for (i = 0; i < bytes->size && i < 400; ++i) {
    unsigned char c = (unsigned char)bytes->data[i];
    if (c >= 32 && c < 127 && c != '\\')
      putchar(c);
    else
      printf("\\x%02x", c);
  }
  printf(i < bytes->size ? "\"...\n" : "\"\n");
}

/* ---- files ---- */

static int ReadWhole(const char* path, Bytes* bytes) {
  FILE* f = fopen(path, "rb");
  char chunk[4096];
  size_t got;
  bytes->data = NULL;
  bytes->size = 0;
  if (f == NULL) return 0;
  Append(bytes, "", 0);
  while ((got = fread(chunk, 1, sizeof chunk, f)) > 0) Append(bytes, chunk, got);
  fclose(f);
  return 1;
}

static void WriteWhole(const char* path, const char* data, size_t size) {
  FILE* f = fopen(path, "wb");
  if (f == NULL || fwrite(data, 1, size, f) != size || fclose(f) != 0) {
    fprintf(stderr, "dll_host: cannot write %s\n", path);
    exit(2);
  }
}

static int FileExists(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

static int DirectoryExists(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

/* Makes WORK_DIR\name and enters it; every check starts in an empty one. */
static void EnterFreshDirectory(const char* workDir, const char* name) {
  char path[MAX_PATH];
  snprintf(path, sizeof path, "%s\\%s", workDir, name);
  if (!CreateDirectoryA(path, NULL) || !SetCurrentDirectoryA(path)) {
    fprintf(stderr, "dll_host: cannot create and enter %s (it must not exist yet)\n", path);
    exit(2);
  }
}

/* ---- the recorded message box ---- */

/* When set, the next message box calls the DLL again from inside itself, as
 * a host's timer firing in the box's message loop would; the nested call
 * solves the worked problem and leaves its answer in g_nestedSolution. */
static volatile LONG g_callFromBox;
static Bytes g_nestedSolution;
static double g_nestedResult = -1.0;

static int WINAPI RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
  char note[128];
  (void)owner;
  if (InterlockedExchange(&g_callFromBox, 0)) {
    WriteWhole(".\\ZOIntIn.dat", kWorked, strlen(kWorked));
    g_nestedResult = g_entry(0);
    ReadWhole(".\\ZOIntOut.dat", &g_nestedSolution);
  }
  EnterCriticalSection(&g_boxLock);
  Append(&g_boxes, text, strlen(text));
  Append(&g_boxes, "\n", 1);
  if (strcmp(caption, "ZOInt") != 0 || style != (MB_OK | MB_ICONWARNING)) {
    snprintf(note, sizeof note, "[caption \"%.60s\", style 0x%x]\n", caption, style);
    Append(&g_boxes, note, strlen(note));
  }
  LeaveCriticalSection(&g_boxLock);
  return IDOK;
}

/* Points the module's import slot of dll!function at replacement. */
static int RedirectImport(HMODULE module, const char* dll, const char* function, ULONG_PTR replacement) {
  BYTE* base = (BYTE*)module;
  IMAGE_NT_HEADERS* headers = (IMAGE_NT_HEADERS*)(base + ((IMAGE_DOS_HEADER*)base)->e_lfanew);
  IMAGE_DATA_DIRECTORY directory = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  IMAGE_IMPORT_DESCRIPTOR* import;
  if (directory.VirtualAddress == 0) return 0;
  for (import = (IMAGE_IMPORT_DESCRIPTOR*)(base + directory.VirtualAddress); import->Name != 0; ++import) {
    IMAGE_THUNK_DATA* names;
    IMAGE_THUNK_DATA* slots;
    if (_stricmp((const char*)(base + import->Name), dll) != 0 || import->OriginalFirstThunk == 0) continue;
    names = (IMAGE_THUNK_DATA*)(base + import->OriginalFirstThunk);
    slots = (IMAGE_THUNK_DATA*)(base + import->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      IMAGE_IMPORT_BY_NAME* byName;
      DWORD protection;
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      byName = (IMAGE_IMPORT_BY_NAME*)(base + names->u1.AddressOfData);
      if (strcmp((const char*)byName->Name, function) != 0) continue;
      if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection))
        return 0;
      slots->u1.Function = replacement;
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
      return 1;
    }
  }
  return 0;
}

/* ---- calls ---- */

/* One call in the current directory, its standard output captured in text
 * mode as the C runtime gives it to a host by default. */
static CallOutput Call(int32_t argument) {
  CallOutput out;
  int saved, capture;
  memset(&out, 0, sizeof out);
  Release(&g_boxes);
  fflush(stdout);
  saved = _dup(1);
  capture = _open(g_capturePath, _O_WRONLY | _O_CREAT | _O_TRUNC | _O_TEXT, _S_IREAD | _S_IWRITE);
  if (saved < 0 || capture < 0 || _dup2(capture, 1) != 0) {
    fprintf(stderr, "dll_host: cannot capture standard output\n");
    exit(2);
  }
  _close(capture);
  out.result = g_entry(argument);
  fflush(stdout);
  _dup2(saved, 1);
  _close(saved);
  ReadWhole(g_capturePath, &out.console);
  out.boxes = g_boxes;
  g_boxes.data = NULL;
  g_boxes.size = 0;
  ReadWhole(".\\ZOIntOut.dat", &out.solution);
  return out;
}

static CallOutput Solve(const char* problem) {
  WriteWhole(".\\ZOIntIn.dat", problem, strlen(problem));
  return Call(0);
}

static void ReleaseOutput(CallOutput* out) {
  Release(&out->console);
  Release(&out->boxes);
  Release(&out->solution);
}

/* ---- reporting ---- */

static void Report(int ok, const char* check) {
  printf("%s %s\n", ok ? "ok  " : "FAIL", check);
  if (ok)
    ++g_passed;
  else
    ++g_failed;
}

/* Compares a call with what it must give; the warning text is UTF-8 lines. */
static int Expect(const CallOutput* out, const Bytes* console, const Bytes* warnings, const Bytes* solution) {
  Bytes boxes = ToGbk(warnings);
  int ok = 1;
  if (out->result != 0.0) {
    printf("    result %g, expected 0\n", out->result);
    ok = 0;
  }
  if (!SameBytes(&out->console, console)) {
    PrintBytes("console", &out->console);
    PrintBytes("expected", console);
    ok = 0;
  }
  if (!SameBytes(&out->boxes, &boxes)) {
    PrintBytes("message boxes", &out->boxes);
    PrintBytes("expected", &boxes);
    ok = 0;
  }
  if (solution == NULL ? out->solution.data != NULL : !SameBytes(&out->solution, solution)) {
    PrintBytes("ZOIntOut.dat", &out->solution);
    if (solution != NULL) PrintBytes("expected", solution);
    ok = 0;
  }
  Release(&boxes);
  return ok;
}

static int ExpectText(const CallOutput* out, const char* console, const char* warnings,
                      const char* solution) {
  Bytes c = FromText(console), w = FromText(warnings), s = FromText(solution);
  int ok = Expect(out, &c, &w, &s);
  Release(&c);
  Release(&w);
  Release(&s);
  return ok;
}

/* ---- the checks ---- */

static void CheckLoading(HMODULE module) {
  FARPROC byName = GetProcAddress(module, "ZOInterProgram");
  FARPROC byOrdinal = GetProcAddress(module, MAKEINTRESOURCEA(1));
  Report(byName != NULL && byName == byOrdinal,
         "ZOInterProgram found by name and by ordinal 1 at one address");
  Report(GetProcAddress(module, MAKEINTRESOURCEA(2)) == NULL, "no export at ordinal 2");
  g_entryByName = (EntryPoint)(void (*)(void))byName;
  g_entryByOrdinal = (EntryPoint)(void (*)(void))byOrdinal;
  g_entry = g_entryByName;
  g_entryName = "by name";
}

static void CheckArguments(const char* workDir) {
  static const int32_t arguments[] = {0, 1, -1, 42, INT32_MAX, INT32_MIN};
  size_t k;
  int ok = 1;
  EnterFreshDirectory(workDir, "arguments");
  for (k = 0; k < sizeof arguments / sizeof arguments[0]; ++k) {
    CallOutput out;
    WriteWhole(".\\ZOIntIn.dat", kWorked, strlen(kWorked));
    out = Call(arguments[k]);
    if (!ExpectText(&out, kWorkedConsole, "", kWorkedSolution)) {
      printf("    with argument %ld\n", (long)arguments[k]);
      ok = 0;
    }
    ReleaseOutput(&out);
  }
  Report(ok, "any argument: result 0.0 and the same answer, call after call");
}

static Bytes ReadCaseFile(const char* caseDir, const char* name) {
  char path[MAX_PATH];
  Bytes bytes;
  snprintf(path, sizeof path, "%s\\%s", caseDir, name);
  if (!ReadWhole(path, &bytes)) {
    fprintf(stderr, "dll_host: missing %s\n", path);
    exit(2);
  }
  return bytes;
}

/* A case's input too big to keep in the repository is described by its
 * ZOIntIn.recipe: each line "COUNT TEXT" stands for COUNT copies of TEXT, in
 * which \n, \r, \t, \0 and \\ stand for those bytes. */
static Bytes RecipeInput(const char* caseDir) {
  char path[MAX_PATH];
  Bytes recipe, bytes = {NULL, 0};
  size_t at = 0, capacity = 0;
  snprintf(path, sizeof path, "%s\\ZOIntIn.recipe", caseDir);
  if (!ReadWhole(path, &recipe)) return bytes;
  while (at < recipe.size) {
    char piece[256];
    size_t used = 0, end = at;
    long count, k;
    char* afterCount;
    while (end < recipe.size && recipe.data[end] != '\n') ++end;
    count = strtol(recipe.data + at, &afterCount, 10);
    if (afterCount >= recipe.data + end || *afterCount != ' ' || count < 0) {
      fprintf(stderr, "dll_host: bad line in %s\n", path);
      exit(2);
    }
    for (const char* c = afterCount + 1; c < recipe.data + end && used < sizeof piece; ++c) {
      if (*c != '\\') {
        piece[used++] = *c;
        continue;
      }
      if (++c == recipe.data + end) break;
      piece[used++] = *c == 'n' ? '\n' : *c == 'r' ? '\r' : *c == 't' ? '\t' : *c == '0' ? '\0' : *c;
    }
    if (bytes.size + (size_t)count * used + 1 > capacity) {
      capacity = 2 * (bytes.size + (size_t)count * used + 1);
      bytes.data = (char*)realloc(bytes.data, capacity);
      if (bytes.data == NULL) exit(2);
    }
    for (k = 0; k < count; ++k, bytes.size += used) memcpy(bytes.data + bytes.size, piece, used);
    at = end + 1;
  }
  Release(&recipe);
  return bytes;
}

static void RunCase(const char* casesDir, const char* workDir, const char* name) {
  char caseDir[MAX_PATH], input[MAX_PATH], scratch[MAX_PATH], line[MAX_PATH + 16];
  Bytes stdoutLf, solutionLf, console, solution, warnings, given;
  CallOutput out, next;
  int ok, hasInput;
  snprintf(caseDir, sizeof caseDir, "%s\\%s", casesDir, name);
  snprintf(input, sizeof input, "%s\\ZOIntIn.dat", caseDir);
  snprintf(scratch, sizeof scratch, "case-%s", name);
  EnterFreshDirectory(workDir, scratch);
  /* The input: the case's ZOIntIn.dat, or the bytes its recipe describes. */
  hasInput = FileExists(input);
  given = hasInput ? ReadCaseFile(caseDir, "ZOIntIn.dat") : RecipeInput(caseDir);
  hasInput = hasInput || given.data != NULL;
  if (hasInput) WriteWhole(".\\ZOIntIn.dat", given.data, given.size);
  stdoutLf = ReadCaseFile(caseDir, "expected_stdout");
  solutionLf = ReadCaseFile(caseDir, "expected_ZOIntOut.dat");
  warnings = ReadCaseFile(caseDir, "expected_message");
  console = WithCrLf(&stdoutLf);
  solution = WithCrLf(&solutionLf);

  out = Call(0);
  ok = Expect(&out, &console, &warnings, &solution);
  /* The problem file is never written, nor created when it is missing. */
  if (hasInput) {
    Bytes now;
    ReadWhole(".\\ZOIntIn.dat", &now);
    if (!SameBytes(&given, &now)) {
      printf("    ZOIntIn.dat was changed\n");
      ok = 0;
    }
    Release(&now);
  } else if (GetFileAttributesA(".\\ZOIntIn.dat") != INVALID_FILE_ATTRIBUTES) {
    printf("    ZOIntIn.dat was created\n");
    ok = 0;
  }
  /* Whatever the case did, the next call solves a good problem afresh. */
  next = Solve(kWorked);
  if (!ExpectText(&next, kWorkedConsole, "", kWorkedSolution)) {
    printf("    (the call after the case)\n");
    ok = 0;
  }
  snprintf(line, sizeof line, "case %s, called %s", name, g_entryName);
  Report(ok, line);
  ReleaseOutput(&out);
  ReleaseOutput(&next);
  Release(&stdoutLf);
  Release(&solutionLf);
  Release(&console);
  Release(&solution);
  Release(&warnings);
}

static int CompareNames(const void* a, const void* b) { return strcmp(*(char* const*)a, *(char* const*)b); }

static void RunCaseTable(const char* casesDir, const char* workDir) {
  char pattern[MAX_PATH], probe[MAX_PATH];
  char* names[512];
  size_t count = 0, k;
  WIN32_FIND_DATAA entry;
  HANDLE search;
  snprintf(pattern, sizeof pattern, "%s\\*", casesDir);
  search = FindFirstFileA(pattern, &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      snprintf(probe, sizeof probe, "%s\\%s\\expected_stdout", casesDir, entry.cFileName);
      if (entry.cFileName[0] != '.' && FileExists(probe) && count < sizeof names / sizeof names[0]) {
        names[count++] = _strdup(entry.cFileName);
      }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  Report(count > 0, "the case table has cases");
  qsort(names, count, sizeof names[0], CompareNames);
  for (k = 0; k < count; ++k) {
    RunCase(casesDir, workDir, names[k]);
    free(names[k]);
  }
}

/* Each row leaves the directory in a state that the two files must survive. */
typedef struct {
  const char* name;
  void (*prepare)(HANDLE* held);
  const char* warnings;
  const char* console;
  const char* solution; /* NULL: no ZOIntOut.dat may be read afterwards */
  const char* remains;  /* what ZOIntOut.dat must hold when the row keeps it */
} FileCondition;

static void ReadOnlyInput(HANDLE* held) {
  (void)held;
  WriteWhole(".\\ZOIntIn.dat", kWorked, strlen(kWorked));
  SetFileAttributesA(".\\ZOIntIn.dat", FILE_ATTRIBUTE_READONLY);
}

static void InputHeldOpen(HANDLE* held) {
  WriteWhole(".\\ZOIntIn.dat", kWorked, strlen(kWorked));
  /* Another program reading it, sharing everything it can. */
  *held = CreateFileA(".\\ZOIntIn.dat", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
}

static void InputIsDirectory(HANDLE* held) {
  (void)held;
  CreateDirectoryA(".\\ZOIntIn.dat", NULL);
}

static const char kOldAnswer[] = "1\r\n1,1,1\r\n";

static void ReadOnlyOutput(HANDLE* held) {
  (void)held;
  WriteWhole(".\\ZOIntIn.dat", kWorked, strlen(kWorked));
  WriteWhole(".\\ZOIntOut.dat", kOldAnswer, strlen(kOldAnswer));
  SetFileAttributesA(".\\ZOIntOut.dat", FILE_ATTRIBUTE_READONLY);
}

static void OutputIsDirectory(HANDLE* held) {
  (void)held;
  WriteWhole(".\\ZOIntIn.dat", kWorked, strlen(kWorked));
  CreateDirectoryA(".\\ZOIntOut.dat", NULL);
}

static void OutputHeldOpen(HANDLE* held) {
  WriteWhole(".\\ZOIntIn.dat", kWorked, strlen(kWorked));
  WriteWhole(".\\ZOIntOut.dat", kOldAnswer, strlen(kOldAnswer));
  *held = CreateFileA(".\\ZOIntOut.dat", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
}

static void LongerOldOutput(HANDLE* held) {
  char old[6000];
  (void)held;
  memset(old, '7', sizeof old);
  WriteWhole(".\\ZOIntIn.dat", kWorked, strlen(kWorked));
  WriteWhole(".\\ZOIntOut.dat", old, sizeof old);
}

static void HiddenOldOutput(HANDLE* held) {
  LongerOldOutput(held);
  SetFileAttributesA(".\\ZOIntOut.dat", FILE_ATTRIBUTE_HIDDEN);
}

static void CheckFileConditions(const char* workDir) {
  static const FileCondition conditions[] = {
      {"read-only ZOIntIn.dat is not found", ReadOnlyInput, kInputNotFound, kNoSolutionConsole, kNoSolution,
       NULL},
      {"ZOIntIn.dat held open elsewhere is not found", InputHeldOpen, kInputNotFound, kNoSolutionConsole,
       kNoSolution, NULL},
      {"directory named ZOIntIn.dat is not found", InputIsDirectory, kInputNotFound, kNoSolutionConsole,
       kNoSolution, NULL},
      {"read-only ZOIntOut.dat: warning, and the file is not emptied", ReadOnlyOutput, kOutputNotWritable,
       kWorkedConsole, NULL, kOldAnswer},
      {"directory named ZOIntOut.dat: warning, and the directory stays", OutputIsDirectory,
       kOutputNotWritable, kWorkedConsole, NULL, NULL},
      {"ZOIntOut.dat held open elsewhere: warning, and the old answer goes", OutputHeldOpen,
       kOutputNotWritable, kWorkedConsole, NULL, NULL},
      {"longer old ZOIntOut.dat is replaced whole", LongerOldOutput, "", kWorkedConsole, kWorkedSolution,
       NULL},
      {"hidden old ZOIntOut.dat is replaced whole", HiddenOldOutput, "", kWorkedConsole, kWorkedSolution,
       NULL},
  };
  size_t k;
  char dir[32];
  for (k = 0; k < sizeof conditions / sizeof conditions[0]; ++k) {
    const FileCondition* c = &conditions[k];
    HANDLE held = INVALID_HANDLE_VALUE;
    CallOutput out;
    Bytes console = FromText(c->console), warnings = FromText(c->warnings),
          solution = FromText(c->solution ? c->solution : "");
    int ok;
    snprintf(dir, sizeof dir, "condition-%u", (unsigned)k);
    EnterFreshDirectory(workDir, dir);
    c->prepare(&held);
    out = Call(0);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    /* A row without an answer may leave only what was there before. */
    if (c->solution == NULL) {
      Bytes now;
      ReadWhole(".\\ZOIntOut.dat", &now);
      Release(&out.solution);
      out.solution = now;
      if (c->remains != NULL) {
        Release(&solution);
        solution = FromText(c->remains);
      }
    }
    ok = Expect(&out, &console, &warnings, c->solution != NULL || c->remains != NULL ? &solution : NULL);
    if (c->prepare == OutputIsDirectory && !DirectoryExists(".\\ZOIntOut.dat")) {
      printf("    the directory ZOIntOut.dat is gone\n");
      ok = 0;
    }
    if (c->prepare == ReadOnlyInput || c->prepare == InputHeldOpen) {
      Bytes input;
      ReadWhole(".\\ZOIntIn.dat", &input);
      if (!IsText(&input, kWorked)) {
        printf("    ZOIntIn.dat was changed\n");
        ok = 0;
      }
      Release(&input);
    }
    Report(ok, c->name);
    ReleaseOutput(&out);
    Release(&console);
    Release(&warnings);
    Release(&solution);
  }
}

/* Lines are read in chunks of 4096 bytes: the padding moves every byte of the
 * objective line, its CR LF included, across the first and second chunk
 * boundaries, and one line far longer than any chunk must read whole. */
static void CheckLongLines(const char* workDir) {
  static const size_t paddings[] = {4060, 4061, 4062, 4063, 4064, 4065, 4066, 4067, 4068, 4069, 4070,
                                    4071, 4072, 4073, 4074, 4075, 4076, 4077, 4078, 4079, 4080, 4081,
                                    4082, 4083, 4084, 4085, 4086, 4087, 4088, 4089, 4090, 4091, 4092,
                                    4093, 8160, 8170, 8180, 8185, 8186, 8187, 8188, 8189, 8190, 300000};
  const char objective[] = "500003,300007,400009,\r\n";
  const char rows[] = "-1,-1,0,-1\r\n0,-1,-1,-1\r\n";
  size_t k;
  int ok = 1;
  EnterFreshDirectory(workDir, "long-lines");
  for (k = 0; k < sizeof paddings / sizeof paddings[0]; ++k) {
    Bytes problem = FromText("3,2\r\n");
    CallOutput out;
    char* blanks = (char*)malloc(paddings[k]);
    memset(blanks, ' ', paddings[k]);
    Append(&problem, blanks, paddings[k]);
    free(blanks);
    Append(&problem, objective, strlen(objective));
    Append(&problem, rows, strlen(rows));
    WriteWhole(".\\ZOIntIn.dat", problem.data, problem.size);
    out = Call(0);
    if (!ExpectText(&out, "OutPut: \r\nX[0]: 0 \tX[1]: 1 \tX[2]: 0 \t\r\nFinal: 300007", "",
                    "300007\r\n0,1,0\r\n")) {
      printf("    with %u blanks before the objective\n", (unsigned)paddings[k]);
      ok = 0;
    }
    ReleaseOutput(&out);
    Release(&problem);
  }
  Report(ok, "lines across read chunks and far longer than one read whole");
}

/* The largest problem: 100 variables, 50 rows each asking for at least one
 * variable at 1. The answer, x_99 = 1, is longer than the library's write
 * buffer, so it is written in several pieces. */
static void CheckLargestProblem(const char* workDir) {
  Bytes problem = FromText("100,50\n"), console = FromText("OutPut: \r\n"), solution = FromText("1\r\n");
  char item[32];
  int i, j;
  CallOutput out;
  for (i = 0; i < 100; ++i) Append(&problem, "1,", 2);
  Append(&problem, "\n", 1);
  for (j = 0; j < 50; ++j) {
    for (i = 0; i < 100; ++i) Append(&problem, "-1,", 3);
    Append(&problem, "-1\n", 3);
  }
  for (i = 0; i < 100; ++i) {
    snprintf(item, sizeof item, "X[%d]: %d \t", i, i == 99);
    Append(&console, item, strlen(item));
    Append(&solution, i == 99 ? "1\r\n" : "0,", i == 99 ? 3 : 2);
  }
  Append(&console, "\r\nFinal: 1", 10);
  EnterFreshDirectory(workDir, "largest");
  WriteWhole(".\\ZOIntIn.dat", problem.data, problem.size);
  out = Call(0);
  {
    Bytes none = FromText("");
    Report(Expect(&out, &console, &none, &solution), "100 variables and 50 rows: the whole answer");
    Release(&none);
  }
  ReleaseOutput(&out);
  Release(&problem);
  Release(&console);
  Release(&solution);
}

static DWORD WINAPI CallRepeatedly(LPVOID unused) {
  int k;
  (void)unused;
  for (k = 0; k < 4; ++k) {
    if (g_entry(k) != 0.0) return 1;
  }
  return 0;
}

/* Overlapping calls from a mistaken host run one after another: each report
 * comes out whole, no box appears (a second open of either file while a run
 * holds it would fail) and the answer is right. */
static void CheckOverlappingCalls(const char* workDir) {
  HANDLE threads[2];
  DWORD codes[2] = {1, 1};
  Bytes expected = {NULL, 0};
  int saved, capture, k, ok;
  Bytes console, solution;
  EnterFreshDirectory(workDir, "threads");
  WriteWhole(".\\ZOIntIn.dat", kWorked, strlen(kWorked));
  Release(&g_boxes);
  fflush(stdout);
  saved = _dup(1);
  capture = _open(g_capturePath, _O_WRONLY | _O_CREAT | _O_TRUNC | _O_TEXT, _S_IREAD | _S_IWRITE);
  if (saved < 0 || capture < 0 || _dup2(capture, 1) != 0) exit(2);
  _close(capture);
  for (k = 0; k < 2; ++k) threads[k] = CreateThread(NULL, 0, CallRepeatedly, NULL, 0, NULL);
  WaitForMultipleObjects(2, threads, TRUE, 60000);
  for (k = 0; k < 2; ++k) {
    GetExitCodeThread(threads[k], &codes[k]);
    CloseHandle(threads[k]);
  }
  fflush(stdout);
  _dup2(saved, 1);
  _close(saved);
  for (k = 0; k < 8; ++k) Append(&expected, kWorkedConsole, strlen(kWorkedConsole));
  ReadWhole(g_capturePath, &console);
  ReadWhole(".\\ZOIntOut.dat", &solution);
  ok = codes[0] == 0 && codes[1] == 0 && SameBytes(&console, &expected) && g_boxes.size == 0 &&
       IsText(&solution, kWorkedSolution);
  if (!ok) {
    printf("    thread exit codes %lu %lu\n", (unsigned long)codes[0], (unsigned long)codes[1]);
    PrintBytes("console", &console);
    PrintBytes("message boxes", &g_boxes);
    PrintBytes("ZOIntOut.dat", &solution);
  }
  Report(ok, "two threads calling at once are served one call at a time");
  Release(&expected);
  Release(&console);
  Release(&solution);
  Release(&g_boxes);
}

static DWORD WINAPI CallOnceInThread(LPVOID output) {
  *(CallOutput*)output = Call(0);
  return 0;
}

/* A call made again on the same thread while the warning box is up (the
 * input is missing) must run, not wait for the first call forever; the
 * outer call then finishes with its own answer. */
static void CheckCallFromWarningBox(const char* workDir) {
  CallOutput out;
  HANDLE thread;
  DWORD waited;
  int ok;
  memset(&out, 0, sizeof out);
  EnterFreshDirectory(workDir, "call-from-box");
  Release(&g_nestedSolution);
  g_nestedResult = -1.0;
  InterlockedExchange(&g_callFromBox, 1);
  thread = CreateThread(NULL, 0, CallOnceInThread, &out, 0, NULL);
  waited = WaitForSingleObject(thread, 20000);
  if (waited != WAIT_OBJECT_0) {
    /* The stuck call still holds the run lock and standard output's
     * redirection: say so on standard error, and stop. */
    fprintf(stderr, "FAIL a call from inside the warning box runs (it waited instead)\n");
    exit(1);
  }
  CloseHandle(thread);
  ok = out.result == 0.0 && g_nestedResult == 0.0 && IsText(&g_nestedSolution, kWorkedSolution) &&
       IsText(&out.solution, kNoSolution);
  if (!ok) {
    PrintBytes("nested ZOIntOut.dat", &g_nestedSolution);
    PrintBytes("outer ZOIntOut.dat", &out.solution);
  }
  Report(ok, "a call from inside the warning box runs, and the first call then ends with its own answer");
  ReleaseOutput(&out);
  Release(&g_nestedSolution);
}

/* ---- a host's floating-point settings ---- */

/* What the hardware holds: the x87 control word and exception flags, and
 * MXCSR (controls and flags); and what _controlfp reports of them. */
typedef struct {
  unsigned short x87Control;
  unsigned short x87Flags;
  unsigned int mxcsr;
  unsigned int controlfp;
} FloatSettings;

static FloatSettings ReadFloatSettings(void) {
  FloatSettings settings;
  unsigned short status;
  __asm__ __volatile__("fnstcw %0" : "=m"(settings.x87Control));
  __asm__ __volatile__("fnstsw %0" : "=m"(status));
  __asm__ __volatile__("stmxcsr %0" : "=m"(settings.mxcsr));
  settings.x87Flags = status & 0x3F;
  settings.controlfp = _controlfp(0, 0);
  return settings;
}

static void WriteFloatSettings(const FloatSettings* settings) {
  __asm__ __volatile__("fnclex");
  __asm__ __volatile__("fldcw %0" : : "m"(settings->x87Control));
  __asm__ __volatile__("ldmxcsr %0" : : "m"(settings->mxcsr));
}

static int SameFloatSettings(const FloatSettings* a, const FloatSettings* b) {
  return a->x87Control == b->x87Control && a->x87Flags == b->x87Flags && a->mxcsr == b->mxcsr &&
         a->controlfp == b->controlfp;
}

static void PrintFloatSettings(const char* label, const FloatSettings* s) {
  printf("    %s: x87 control 0x%04x, x87 flags 0x%02x, MXCSR 0x%04x, _controlfp 0x%08x\n", label,
         s->x87Control, s->x87Flags, s->mxcsr, s->controlfp);
}

/* Settings hosts make with _controlfp. The precision and infinity controls
 * exist on 32-bit only. */
#ifdef _WIN64
#define HOST_CONTROL_MASK (_MCW_EM | _MCW_RC)
#else
#define HOST_CONTROL_MASK (_MCW_EM | _MCW_RC | _MCW_PC | _MCW_IC)
#endif
typedef struct {
  const char* name;
  unsigned int control;
  unsigned short x87Control; /* also loaded directly when not 0 */
} HostSettings;

static const HostSettings kHostSettings[] = {
    /* Delphi's default 8087 control word $1332: invalid, zero-divide and
     * overflow unmasked, 64-bit precision, round to nearest. _controlfp
     * applies masks and rounding to MXCSR as well; on 64-bit Windows it
     * leaves the x87 alone, which Delphi sets too, so the word is also
     * loaded directly. */
    {"Delphi's control word $1332",
     _EM_DENORMAL | _EM_UNDERFLOW | _EM_INEXACT | _RC_NEAR | _PC_64 | _IC_AFFINE, 0x1332},
    {"every exception unmasked", _RC_NEAR | _PC_64, 0},
    {"rounding up", _MCW_EM | _RC_UP | _PC_64, 0},
    {"rounding down", _MCW_EM | _RC_DOWN | _PC_64, 0},
    {"rounding toward zero", _MCW_EM | _RC_CHOP | _PC_64, 0},
};

typedef struct {
  char name[MAX_PATH];
  Bytes input;
  Bytes console;  /* CR LF */
  Bytes solution; /* CR LF */
} HostProblem;

/* Reads a PROBLEM_DIR; the expected bytes are its files, or else what a
 * call with the host's own settings gives. */
static HostProblem LoadHostProblem(const char* dir, const char* workDir, int index) {
  HostProblem problem;
  char path[MAX_PATH], scratch[32];
  Bytes expected;
  snprintf(problem.name, sizeof problem.name, "%s", dir);
  snprintf(path, sizeof path, "%s\\ZOIntIn.dat", dir);
  if (!ReadWhole(path, &problem.input)) {
    fprintf(stderr, "dll_host: missing %s\n", path);
    exit(2);
  }
  snprintf(path, sizeof path, "%s\\stdout.txt", dir);
  if (ReadWhole(path, &expected)) {
    problem.console = WithCrLf(&expected);
    Release(&expected);
    snprintf(path, sizeof path, "%s\\ZOIntOut.dat", dir);
    if (!ReadWhole(path, &expected)) {
      fprintf(stderr, "dll_host: missing %s\n", path);
      exit(2);
    }
    problem.solution = WithCrLf(&expected);
    Release(&expected);
  } else {
    CallOutput plain;
    snprintf(scratch, sizeof scratch, "problem-%d", index);
    EnterFreshDirectory(workDir, scratch);
    WriteWhole(".\\ZOIntIn.dat", problem.input.data, problem.input.size);
    plain = Call(0);
    problem.console = plain.console;
    problem.solution = plain.solution;
    plain.console.data = plain.solution.data = NULL;
    ReleaseOutput(&plain);
  }
  return problem;
}

/* Each problem under each host's settings: the same bytes, no trap, and the
 * host's settings and flags as it left them once the call returns. */
static void CheckHostFloatSettings(const char* workDir, int problemCount, char** problemDirs) {
  HostProblem* problems = (HostProblem*)calloc((size_t)problemCount + 1, sizeof(HostProblem));
  const FloatSettings own = ReadFloatSettings();
  int p;
  size_t k;
  if (problems == NULL) exit(2);
  snprintf(problems[0].name, sizeof problems[0].name, "the worked example");
  problems[0].input = FromText(kWorked);
  problems[0].console = FromText(kWorkedConsole);
  problems[0].solution = FromText(kWorkedSolution);
  for (p = 0; p < problemCount; ++p) problems[p + 1] = LoadHostProblem(problemDirs[p], workDir, p);
  EnterFreshDirectory(workDir, "float-settings");
  for (k = 0; k < sizeof kHostSettings / sizeof kHostSettings[0]; ++k) {
    const HostSettings* host = &kHostSettings[k];
    int ok = 1;
    for (p = 0; p <= problemCount; ++p) {
      FloatSettings before, after;
      CallOutput out;
      Bytes none = FromText("");
      WriteWhole(".\\ZOIntIn.dat", problems[p].input.data, problems[p].input.size);
      _clearfp();
      _controlfp(host->control, HOST_CONTROL_MASK);
      if (host->x87Control != 0) __asm__ __volatile__("fldcw %0" : : "m"(host->x87Control));
      before = ReadFloatSettings();
      out = Call(0);
      after = ReadFloatSettings();
      WriteFloatSettings(&own);
      if (!Expect(&out, &problems[p].console, &none, &problems[p].solution)) {
        printf("    %s\n", problems[p].name);
        ok = 0;
      }
      if (!SameFloatSettings(&before, &after)) {
        printf("    %s: the host's settings changed\n", problems[p].name);
        PrintFloatSettings("before", &before);
        PrintFloatSettings("after", &after);
        ok = 0;
      }
      Release(&none);
      ReleaseOutput(&out);
    }
    {
      char line[160];
      snprintf(line, sizeof line, "%s: same answers, no trap, the host's settings back (%d problems)",
               host->name, problemCount + 1);
      Report(ok, line);
    }
  }
  for (p = 0; p <= problemCount; ++p) {
    Release(&problems[p].input);
    Release(&problems[p].console);
    Release(&problems[p].solution);
  }
  free(problems);
}

static int CallOnce(const char* dll) {
  HMODULE module = LoadLibraryA(dll);
  EntryPoint entry;
  double result;
  if (module == NULL) {
    fprintf(stderr, "dll_host: cannot load %s (error %lu)\n", dll, (unsigned long)GetLastError());
    return 2;
  }
  entry = (EntryPoint)(void (*)(void))GetProcAddress(module, "ZOInterProgram");
  if (entry == NULL) return 2;
  result = entry(0);
  fflush(stdout);
  fprintf(stderr, "\ndll_host: ZOInterProgram returned %g\n", result);
  return result == 0.0 ? 0 : 1;
}

int main(int argc, char** argv) {
  HMODULE module;
  char ordinalDir[MAX_PATH];
  if (argc == 3 && strcmp(argv[1], "--call") == 0) return CallOnce(argv[2]);
  if (argc < 4) {
    fprintf(stderr, "usage: dll_host DLL CASES_DIR WORK_DIR [PROBLEM_DIR...]\n       dll_host --call DLL\n");
    return 2;
  }
  if (!CreateDirectoryA(argv[3], NULL) && !DirectoryExists(argv[3])) {
    fprintf(stderr, "dll_host: cannot create %s\n", argv[3]);
    return 2;
  }
  snprintf(g_capturePath, sizeof g_capturePath, "%s\\console.txt", argv[3]);
  InitializeCriticalSection(&g_boxLock);

  module = LoadLibraryA(argv[1]);
  if (module == NULL) {
    fprintf(stderr, "dll_host: cannot load %s (error %lu)\n", argv[1], (unsigned long)GetLastError());
    return 2;
  }
  CheckLoading(module);
  if (g_entry == NULL) return 1;
  Report(RedirectImport(module, "USER32.dll", "MessageBoxA", (ULONG_PTR)(MessageBoxFunction)RecordMessageBox),
         "the DLL imports user32!MessageBoxA by name");

  CheckArguments(argv[3]);
  /* The case table through each of the two pointers a host may hold, each
   * pass in a fresh directory of its own. */
  RunCaseTable(argv[2], argv[3]);
  snprintf(ordinalDir, sizeof ordinalDir, "%s\\by-ordinal", argv[3]);
  if (!CreateDirectoryA(ordinalDir, NULL)) {
    fprintf(stderr, "dll_host: cannot create %s\n", ordinalDir);
    return 1;
  }
  g_entry = g_entryByOrdinal;
  g_entryName = "by ordinal 1";
  RunCaseTable(argv[2], ordinalDir);
  g_entry = g_entryByName;
  g_entryName = "by name";
  CheckFileConditions(argv[3]);
  CheckLongLines(argv[3]);
  CheckLargestProblem(argv[3]);
  CheckOverlappingCalls(argv[3]);
  CheckCallFromWarningBox(argv[3]);
  CheckHostFloatSettings(argv[3], argc - 4, argv + 4);

  printf("%d passed, %d failed\n", g_passed, g_failed);
  return g_failed == 0 ? 0 : 1;
}
