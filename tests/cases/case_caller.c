/* The agent of the Wine cases: loads Morv.dll by LoadLibraryA and makes the
 * calls a case asks for, printing one line per call, "RESULT STATUS
 * "TIMESTAMP"" (STATUS and TIMESTAMP - when the call was given no place
 * for them).
 *   case_caller MODULE DOCUMENT RUNS|COUNT [mta]
 * RUNS: a file of one line per run (or a COUNT of calls with detail mode 1),
 * COUNT|DETAIL|FLAGS|FIXTURE|FAULTS|DEVICE, FLAGS holding d, p, s or t for a null device id,
 * document path, status or timestamp pointer. Before a run, MORV_WMI_FIXTURE and MORV_WMI_FAULTS
 * are set for the test WMI provider. With mta the thread enters the
 * multithreaded apartment first. Every call must remove its 20 bytes of
 * arguments (checked on 32-bit x86). */
#include <objbase.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "include/Morv.h"

#if defined(__i386__)
/* Calls with the stack pointer saved in a callee-saved register and
 * returns how far the call moved it. */
static long Drift(GetHWInvProc proc, int detail, const char* id, const char* path, int* status,
                  char* stamp, int* result) {
  long before, after;
  __asm__ volatile("movl %%esp, %0" : "=r"(before));
  *result = proc(detail, id, path, status, stamp);
  __asm__ volatile("movl %%esp, %0" : "=r"(after));
  return after - before;
}
#else
static long Drift(GetHWInvProc proc, int detail, const char* id, const char* path, int* status,
                  char* stamp, int* result) {
  *result = proc(detail, id, path, status, stamp);
  return 0;
}
#endif

/* The next '|'-separated field of *line, which is advanced past it. */
static char* Field(char** line) {
  char* field = *line;
  char* bar = strchr(field, '|');
  if (bar) *bar = '\0';
  *line = bar ? bar + 1 : field + strlen(field);
  return field;
}

int main(int argc, char** argv) {
  char line[4096];
  HMODULE module;
  GetHWInvProc proc;
  FILE* runs;
  int failures = 0;
  if (argc < 4) {
    fprintf(stderr, "usage: case_caller MODULE DOCUMENT RUNS|COUNT [mta]\n");
    return 2;
  }
  /* A count instead of a file: that many calls with detail mode 1. */
  runs = fopen(argv[3], "r");
  if (!runs && (runs = tmpfile())) fprintf(runs, "%d|1|||\n", atoi(argv[3])), rewind(runs);
  if (argc > 4 && strcmp(argv[4], "mta") == 0 && FAILED(CoInitializeEx(NULL, COINIT_MULTITHREADED)))
    return 2;
  module = LoadLibraryA(argv[1]);
  proc = module ? (GetHWInvProc)(void (*)(void))GetProcAddress(module, "GetHWInv") : NULL;
  if (!proc) {
    fprintf(stderr, "case_caller: no GetHWInv in %s (%lu)\n", argv[1], GetLastError());
    return 1;
  }
  while (fgets(line, sizeof line, runs)) {
    char* rest = line;
    int count, detail, i;
    const char *flags, *device;
    line[strcspn(line, "\r\n")] = '\0';
    count = atoi(Field(&rest));
    detail = atoi(Field(&rest));
    flags = Field(&rest);
    SetEnvironmentVariableA("MORV_WMI_FIXTURE", Field(&rest));
    SetEnvironmentVariableA("MORV_WMI_FAULTS", Field(&rest));
    device = rest;
    for (i = 0; i < count; ++i) {
      int result, status = -7;
      char stamp[32] = "-";
      if (Drift(proc, detail, strchr(flags, 'd') ? NULL : device,
                strchr(flags, 'p') ? NULL : argv[2], strchr(flags, 's') ? NULL : &status,
                strchr(flags, 't') ? NULL : stamp, &result)) {
        fprintf(stderr, "FAILED: the call did not remove its 20 bytes of arguments\n");
        ++failures;
      }
      if (status == -7)
        printf("%d -", result);
      else
        printf("%d %d", result, status);
      printf(strchr(flags, 't') ? " -\n" : " \"%s\"\n", stamp);
      fflush(stdout);
    }
  }
  fclose(runs);
  return FreeLibrary(module) && !failures ? 0 : 1;
}
