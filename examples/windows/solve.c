/* Solves the problem in a folder with ZOInt.dll, linked through its import
 * library, then prints the answer file.
 *
 * Build it in the folder of the zip, where ZOInt.dll is:
 *   Visual C++:  cl /I include examples\windows\solve.c ZOInt.lib
 *   mingw-w64:   gcc -I include examples/windows/solve.c -L. -lZOInt -o solve.exe
 * Run it on the folder that holds ZOIntIn.dat:
 *   solve examples\worked
 * Windows finds ZOInt.dll beside solve.exe, or on the PATH. */
#include <stdio.h>
#include <windows.h>

#include "zoint/ZOInt.h"

int main(int argc, char** argv) {
  const char* folder = argc > 1 ? argv[1] : ".";
  char line[4096];
  FILE* answer;

  /* Both files are named relative to the current directory. */
  if (!SetCurrentDirectoryA(folder)) {
    fprintf(stderr, "solve: cannot enter %s\n", folder);
    return 2;
  }
  ZOInterProgram(0); /* returns 0.0; the answer is in ZOIntOut.dat */

  /* The console report ends without a line feed. */
  printf("\n");
  answer = fopen("ZOIntOut.dat", "r");
  if (answer == NULL) {
    fprintf(stderr, "solve: no ZOIntOut.dat; the warning says why\n");
    return 1;
  }
  printf("ZOIntOut.dat:\n");
  while (fgets(line, sizeof line, answer) != NULL) fputs(line, stdout);
  fclose(answer);
  return 0;
}
