/* The agent of the Wine cases: loads Morv.dll by LoadLibraryA and makes the
 * calls a case asks for, printing one line per call, "RESULT STATUS
 * "TIMESTAMP"" (STATUS and TIMESTAMP - when the call was given no place
 * for them).
 *   case_caller MODULE DOCUMENT RUNS [mta | threads N]
 * RUNS: a file of one line per run, COUNT|DETAIL|FLAGS|FIXTURE|FAULTS|DEVICE,
 * FLAGS holding d, p, s or t for a null device id, document path, status or
 * timestamp pointer. Before a run, MORV_WMI_FIXTURE and MORV_WMI_FAULTS are
 * set for the test WMI provider. With mta the thread enters the
 * multithreaded apartment first. With threads, N threads then make the same
 * calls at once, each with a document of its own (DOCUMENT.N): the module
 * serialises them, so each must give the result the call gave alone. Every
 * call must remove its 20 bytes of arguments (checked on 32-bit x86). */
#include <objbase.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "include/Morv.h"

/* Calls, and returns how far the call moved the stack pointer (on 32-bit
 * x86; elsewhere nothing is measured). */
static long Drift(GetHWInvProc proc, int detail, const char* id, const char* path, int* status,
                  char* stamp, int* result) {
  long before = 0, after = 0;
#if defined(__i386__)
  __asm__ volatile("movl %%esp, %0" : "=r"(before));
#endif
  *result = proc(detail, id, path, status, stamp);
#if defined(__i386__)
  __asm__ volatile("movl %%esp, %0" : "=r"(after));
#endif
  return after - before;
}

static GetHWInvProc g_proc;
static const char* g_document;
static int g_calls, g_detail[64], g_lone[64];
static volatile LONG g_failures;

/* One thread's repetition of the calls made alone. */
static DWORD WINAPI Repeat(LPVOID arg) {
  int thread = (int)(INT_PTR)arg, i, status;
  char path[MAX_PATH], stamp[32];
  snprintf(path, sizeof path, "%s.%d", g_document, thread);
  DeleteFileA(path);
  for (i = 0; i < g_calls; ++i) {
    int result = g_proc(g_detail[i], "concurrent", path, &status, stamp);
    if (result != g_lone[i] || (status != 0 && status != 1)) {
      fprintf(stderr, "FAILED: thread %d call %d: %d, status %d\n", thread, i, result, status);
      InterlockedIncrement(&g_failures);
    }
  }
  return 0;
}

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
  HANDLE threads[16];
  HMODULE module;
  FILE* runs = argc > 3 ? fopen(argv[3], "r") : NULL;
  int threadCount = argc > 5 && strcmp(argv[4], "threads") == 0 ? atoi(argv[5]) : 0, i;
  if (!runs || threadCount < 0 || threadCount > 16) {
    fprintf(stderr, "usage: case_caller MODULE DOCUMENT RUNS [mta | threads N]\n");
    return 2;
  }
  if (argc > 4 && strcmp(argv[4], "mta") == 0 && FAILED(CoInitializeEx(NULL, COINIT_MULTITHREADED)))
    return 2;
  module = LoadLibraryA(argv[1]);
  g_proc = module ? (GetHWInvProc)(void (*)(void))GetProcAddress(module, "GetHWInv") : NULL;
  g_document = argv[2];
  if (threadCount) DeleteFileA(g_document); /* the lone calls start afresh too */
  if (!g_proc) {
    fprintf(stderr, "case_caller: no GetHWInv in %s (%lu)\n", argv[1], GetLastError());
    return 1;
  }
  while (fgets(line, sizeof line, runs)) {
    char* rest = line;
    int count, detail;
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
      if (Drift(g_proc, detail, strchr(flags, 'd') ? NULL : device,
                strchr(flags, 'p') ? NULL : argv[2], strchr(flags, 's') ? NULL : &status,
                strchr(flags, 't') ? NULL : stamp, &result)) {
        fprintf(stderr, "FAILED: the call did not remove its 20 bytes of arguments\n");
        InterlockedIncrement(&g_failures);
      }
      if (g_calls < 64) g_detail[g_calls] = detail, g_lone[g_calls++] = result;
      if (status == -7)
        printf("%d -", result);
      else
        printf("%d %d", result, status);
      printf(strchr(flags, 't') ? " -\n" : " \"%s\"\n", stamp);
      fflush(stdout);
    }
  }
  fclose(runs);
  for (i = 0; i < threadCount; ++i)
    threads[i] = CreateThread(NULL, 0, Repeat, (LPVOID)(INT_PTR)i, 0, NULL);
  WaitForMultipleObjects(threadCount, threads, TRUE, INFINITE);
  for (i = 0; i < threadCount; ++i) CloseHandle(threads[i]);
  return FreeLibrary(module) && !g_failures ? 0 : 1;
}
