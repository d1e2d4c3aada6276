/* A C host: calls ZOInterProgram twice in one process, in a fresh directory,
 * and checks that both calls print and write the same, correct bytes. */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "zoint/ZOInt.h"

static const char kProblem[] = "3,2\n5,3,4,\n-1,-1,0,-1\n0,-1,-1,-1\n";
static const char kConsole[] = "OutPut: \nX[0]: 0 \tX[1]: 1 \tX[2]: 0 \t\nFinal: 3";
static const char kSolution[] = "3\n0,1,0\n";

static void ReadAll(const char* path, char* buffer, size_t capacity) {
  FILE* f = fopen(path, "rb");
  size_t length = 0;
  if (f != NULL) {
    length = fread(buffer, 1, capacity - 1, f);
    fclose(f);
  }
  buffer[length] = '\0';
}

/* One call with standard output sent to a file; returns 0 on the expected bytes. */
static int CallOnce(int32_t argument) {
  char console[256], solution[256];
  int saved = dup(1);
  int capture = open("console.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (saved < 0 || capture < 0 || dup2(capture, 1) < 0) return 1;
  double result = ZOInterProgram(argument);
  fflush(stdout);
  dup2(saved, 1);
  close(capture);
  close(saved);
  ReadAll("console.txt", console, sizeof console);
  ReadAll("ZOIntOut.dat", solution, sizeof solution);
  if (result != 0.0) fprintf(stderr, "result %f, expected 0.0\n", result);
  if (strcmp(console, kConsole) != 0) fprintf(stderr, "console was [%s]\n", console);
  if (strcmp(solution, kSolution) != 0) fprintf(stderr, "ZOIntOut.dat was [%s]\n", solution);
  return result != 0.0 || strcmp(console, kConsole) != 0 || strcmp(solution, kSolution) != 0;
}

int main(void) {
  char dir[] = "/tmp/zoint-c-host.XXXXXX";
  if (mkdtemp(dir) == NULL || chdir(dir) != 0) return 2;
  FILE* in = fopen("ZOIntIn.dat", "wb");
  if (in == NULL) return 2;
  fputs(kProblem, in);
  fclose(in);
  int failures = CallOnce(0) + CallOnce(-7);
  remove("ZOIntIn.dat");
  remove("ZOIntOut.dat");
  remove("console.txt");
  if (chdir("/") != 0 || rmdir(dir) != 0) failures++;
  if (failures == 0) printf("c host: two calls, identical bytes\n");
  return failures != 0;
}
