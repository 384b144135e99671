/* Several threads call GetHWInv at once, each with a document of its own.
 * The module serialises them, so every thread's results are those of the
 * same calls made alone. Usage: concurrent_caller MODULE DIR THREADS CALLS */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "include/Morv.h"

static GetHWInvProc g_proc;
static const char* g_dir;
static int g_calls, g_lone[64];
static volatile LONG g_failures;

/* The calls of one thread, or alone (-1), each result checked or kept. */
static DWORD WINAPI Calls(LPVOID arg) {
  int thread = (int)(INT_PTR)arg, i, status;
  char path[MAX_PATH], stamp[32];
  snprintf(path, sizeof path, "%s\\thread%d.xml", g_dir, thread);
  DeleteFileA(path);
  for (i = 0; i < g_calls; ++i) {
    int result = g_proc(1, "concurrent", path, &status, stamp);
    if (thread < 0)
      g_lone[i] = result;
    else if (result != g_lone[i] || (status != 0 && status != 1)) {
      fprintf(stderr, "FAILED: thread %d call %d: %d, status %d\n", thread, i, result, status);
      InterlockedIncrement(&g_failures);
    }
  }
  return 0;
}

int main(int argc, char** argv) {
  HANDLE threads[16];
  char dir[MAX_PATH] = {0}, *cut;
  int count = argc == 5 ? atoi(argv[3]) : 0, i;
  HMODULE module = count > 0 && count <= 16 ? LoadLibraryA(argv[1]) : NULL;
  g_proc = module ? (GetHWInvProc)(void (*)(void))GetProcAddress(module, "GetHWInv") : NULL;
  g_calls = argc == 5 ? atoi(argv[4]) : 0;
  if (!g_proc || g_calls < 1 || g_calls > 64) return 2;
  g_dir = argv[2];
  /* "Results\Backup" beside the host, as an agent installation has it. */
  GetModuleFileNameA(NULL, dir, MAX_PATH - 16);
  if ((cut = strrchr(dir, '\\'))) strcpy(cut, "\\Results");
  CreateDirectoryA(dir, NULL);
  strcat(dir, "\\Backup");
  CreateDirectoryA(dir, NULL);

  Calls((LPVOID)(INT_PTR)-1);
  for (i = 0; i < count; ++i)
    threads[i] = CreateThread(NULL, 0, Calls, (LPVOID)(INT_PTR)i, 0, NULL);
  WaitForMultipleObjects(count, threads, TRUE, INFINITE);
  for (i = 0; i < count; ++i) CloseHandle(threads[i]);
  FreeLibrary(module);
  printf("%d threads x %d calls, results", count, g_calls);
  for (i = 0; i < g_calls; ++i) printf(" %d", g_lone[i]);
  printf(": %s\n", g_failures ? "FAILED" : "ok");
  return g_failures ? 1 : 0;
}
