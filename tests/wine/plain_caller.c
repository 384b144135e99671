/* A plain C host: loads Morv.dll by LoadLibraryA, finds GetHWInv by its
 * undecorated name and calls it as an agent would, checking that the
 * callee removes its arguments. Usage: plain_caller MODULE DOCUMENT RUNS
 * Prints one line per run: "result status timestamp". */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "include/Morv.h"

static int failures;

static void Check(int ok, const char* what) {
  if (!ok) {
    fprintf(stderr, "FAILED: %s\n", what);
    ++failures;
  }
}

#if defined(__i386__)
/* Calls through the pointer with the stack pointer saved in a callee-saved
 * register, and reports how far the call moved it: 0 when the callee
 * removed exactly its 20 bytes. */
static int CallMeasured(GetHWInvProc proc, int detail, const char* id, const char* path,
                        int* status, char* stamp, long* drift) {
  int result;
  long before, after;
  __asm__ volatile("movl %%esp, %0" : "=r"(before));
  result = proc(detail, id, path, status, stamp);
  __asm__ volatile("movl %%esp, %0" : "=r"(after));
  *drift = after - before;
  return result;
}
#else
static int CallMeasured(GetHWInvProc proc, int detail, const char* id, const char* path,
                        int* status, char* stamp, long* drift) {
  *drift = 0; /* one calling convention on x86-64 */
  return proc(detail, id, path, status, stamp);
}
#endif

int main(int argc, char** argv) {
  HMODULE module;
  GetHWInvProc proc;
  int runs, i;
  if (argc != 4) {
    fprintf(stderr, "usage: plain_caller MODULE DOCUMENT RUNS\n");
    return 2;
  }
  runs = atoi(argv[3]);
  DeleteFileA(argv[2]); /* the first run builds afresh */
  module = LoadLibraryA(argv[1]);
  Check(module != NULL, "LoadLibraryA");
  if (!module) return 1;

  proc = (GetHWInvProc)(void (*)(void))GetProcAddress(module, "GetHWInv");
  Check(proc != NULL, "export GetHWInv by its plain name");
  Check(GetProcAddress(module, "_GetHWInv@20") == NULL, "no decorated export");
  Check(GetProcAddress(module, "GetHWInv@20") == NULL, "no stdcall-suffixed export");
  if (!proc) return 1;

  for (i = 0; i < runs; ++i) {
    int status = 12345;
    char stamp[32];
    long drift = -1;
    int result;
    memset(stamp, 'x', sizeof stamp);
    result = CallMeasured(proc, 1, "plain-caller", argv[2], &status, stamp, &drift);
    Check(drift == 0, "the callee removes its 20 bytes of arguments");
    Check(status == 0 || status == 1, "status is 0 or 1");
    Check(memchr(stamp, '\0', 15) != NULL, "timestamp fits 15 bytes");
    Check(stamp[0] == '\0' || strlen(stamp) == 14, "timestamp is empty or 14 characters");
    printf("%d %d %s\n", result, status, stamp);
  }

  /* Null pointers are tolerated. */
  {
    long drift = -1;
    CallMeasured(proc, 0, NULL, NULL, NULL, NULL, &drift);
    Check(drift == 0, "null arguments: stack balanced");
  }

  Check(FreeLibrary(module) != 0, "FreeLibrary");
  return failures ? 1 : 0;
}
