/* Several threads call GetHWInv at once, each with its own document; the
 * module serialises them, so every thread's calls answer as the same
 * sequence of calls made alone does.
 * Usage: concurrent_caller MODULE DOCUMENT_DIR THREADS CALLS */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "include/Morv.h"

#define MAX_CALLS 64

static GetHWInvProc g_proc;
static const char* g_dir;
static int g_calls;
static int g_expected[MAX_CALLS]; /* the lone sequence's results, call by call */
static volatile LONG g_failures;

static void Fail(const char* what, int thread, int value) {
  fprintf(stderr, "FAILED: thread %d: %s (%d)\n", thread, what, value);
  InterlockedIncrement(&g_failures);
}

static DWORD WINAPI Worker(LPVOID arg) {
  int thread = (int)(INT_PTR)arg;
  char path[MAX_PATH];
  int i;
  snprintf(path, sizeof path, "%s\\thread-%d.xml", g_dir, thread);
  DeleteFileA(path);
  for (i = 0; i < g_calls; ++i) {
    int status = -1;
    char stamp[32] = {0};
    int result = g_proc(1, "concurrent", path, &status, stamp);
    if (result != g_expected[i]) Fail("result differs from the lone sequence", thread, result);
    if (status != 0 && status != 1) Fail("status", thread, status);
    if (stamp[0] != '\0' && strlen(stamp) != 14)
      Fail("timestamp length", thread, (int)strlen(stamp));
  }
  return 0;
}

/* "Results\Backup" beside the host, as an agent installation has it. */
static void CreateStagingDirectory(void) {
  char dir[MAX_PATH] = {0};
  char* cut;
  GetModuleFileNameA(NULL, dir, MAX_PATH - 16);
  cut = strrchr(dir, '\\');
  if (cut) *cut = '\0';
  strcat(dir, "\\Results");
  CreateDirectoryA(dir, NULL);
  strcat(dir, "\\Backup");
  CreateDirectoryA(dir, NULL);
}

int main(int argc, char** argv) {
  HMODULE module;
  HANDLE threads[16];
  int count, i;
  char path[MAX_PATH];
  int status;
  char stamp[32];
  if (argc != 5) {
    fprintf(stderr, "usage: concurrent_caller MODULE DOCUMENT_DIR THREADS CALLS\n");
    return 2;
  }
  g_dir = argv[2];
  count = atoi(argv[3]);
  g_calls = atoi(argv[4]);
  if (count < 1 || count > 16 || g_calls < 1 || g_calls > MAX_CALLS) return 2;
  CreateStagingDirectory();
  module = LoadLibraryA(argv[1]);
  if (!module) return 1;
  g_proc = (GetHWInvProc)(void (*)(void))GetProcAddress(module, "GetHWInv");
  if (!g_proc) return 1;

  /* The same sequence alone, as the reference for the crowded ones. */
  snprintf(path, sizeof path, "%s\\lone.xml", g_dir);
  DeleteFileA(path);
  for (i = 0; i < g_calls; ++i) g_expected[i] = g_proc(1, "lone", path, &status, stamp);

  for (i = 0; i < count; ++i)
    threads[i] = CreateThread(NULL, 0, Worker, (LPVOID)(INT_PTR)i, 0, NULL);
  WaitForMultipleObjects(count, threads, TRUE, INFINITE);
  for (i = 0; i < count; ++i) CloseHandle(threads[i]);
  FreeLibrary(module);
  printf("%d threads x %d calls, results", count, g_calls);
  for (i = 0; i < g_calls; ++i) printf(" %d", g_expected[i]);
  printf(": %s\n", g_failures ? "FAILED" : "ok");
  return g_failures ? 1 : 0;
}
