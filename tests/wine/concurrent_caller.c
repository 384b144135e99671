/* Several threads call GetHWInv at once, each with its own document; the
 * module serialises them, so every call completes as a lone call would.
 * Usage: concurrent_caller MODULE DOCUMENT_DIR THREADS CALLS */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "include/Morv.h"

static GetHWInvProc g_proc;
static const char* g_dir;
static int g_calls;
static int g_expected;
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
    if (result != g_expected) Fail("result differs from a lone call", thread, result);
    if (status != 0 && status != 1) Fail("status", thread, status);
    if (stamp[0] != '\0' && strlen(stamp) != 14)
      Fail("timestamp length", thread, (int)strlen(stamp));
  }
  return 0;
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
  if (count < 1 || count > 16) return 2;
  module = LoadLibraryA(argv[1]);
  if (!module) return 1;
  g_proc = (GetHWInvProc)(void (*)(void))GetProcAddress(module, "GetHWInv");
  if (!g_proc) return 1;

  /* What a lone call answers, as the reference for the crowded ones. */
  snprintf(path, sizeof path, "%s\\lone.xml", g_dir);
  DeleteFileA(path);
  g_expected = g_proc(1, "lone", path, &status, stamp);

  for (i = 0; i < count; ++i)
    threads[i] = CreateThread(NULL, 0, Worker, (LPVOID)(INT_PTR)i, 0, NULL);
  WaitForMultipleObjects(count, threads, TRUE, INFINITE);
  for (i = 0; i < count; ++i) CloseHandle(threads[i]);
  FreeLibrary(module);
  printf("%d threads x %d calls, result %d each: %s\n", count, g_calls, g_expected,
         g_failures ? "FAILED" : "ok");
  return g_failures ? 1 : 0;
}
