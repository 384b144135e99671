/* Loads Morv.dll by LoadLibraryA and calls GetHWInv the way a scenario
 * asks. Prints one line per call: "result status timestamp" (status -7 and
 * timestamp "-" when the call was given no place for them).
 *
 *   scenario_caller MODULE runs DETAIL DEVICE DOCUMENT N
 *   scenario_caller MODULE mta DETAIL DEVICE DOCUMENT
 *       the calling thread enters the multithreaded apartment first
 *   scenario_caller MODULE nulls DOCUMENT
 *       one call per null argument: device, document, status, timestamp */
#include <objbase.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "include/Morv.h"

static void Call(GetHWInvProc proc, int detail, const char* device, const char* document,
                 int wantStatus, int wantStamp) {
  int status = -7;
  char stamp[32] = "-";
  int result =
      proc(detail, device, document, wantStatus ? &status : NULL, wantStamp ? stamp : NULL);
  printf("%d %d %s\n", result, status, stamp[0] ? stamp : "\"\"");
  fflush(stdout);
}

int main(int argc, char** argv) {
  HMODULE module;
  GetHWInvProc proc;
  if (argc < 4) {
    fprintf(stderr, "usage: scenario_caller MODULE runs|mta|nulls ARGS...\n");
    return 2;
  }
  module = LoadLibraryA(argv[1]);
  if (!module) {
    fprintf(stderr, "scenario_caller: cannot load %s (%lu)\n", argv[1], GetLastError());
    return 1;
  }
  proc = (GetHWInvProc)(void (*)(void))GetProcAddress(module, "GetHWInv");
  if (!proc) {
    fprintf(stderr, "scenario_caller: no GetHWInv export\n");
    return 1;
  }

  if (strcmp(argv[2], "runs") == 0 && argc == 7) {
    int i, n = atoi(argv[6]);
    for (i = 0; i < n; ++i) Call(proc, atoi(argv[3]), argv[4], argv[5], 1, 1);
  } else if (strcmp(argv[2], "mta") == 0 && argc == 6) {
    HRESULT entered = CoInitializeEx(NULL, COINIT_MULTITHREADED);
    if (FAILED(entered)) {
      fprintf(stderr, "scenario_caller: CoInitializeEx 0x%08lx\n", (unsigned long)entered);
      return 1;
    }
    Call(proc, atoi(argv[3]), argv[4], argv[5], 1, 1);
    CoUninitialize();
  } else if (strcmp(argv[2], "nulls") == 0 && argc == 4) {
    Call(proc, 1, NULL, argv[3], 1, 1);
    Call(proc, 1, "nulls", NULL, 1, 1);
    Call(proc, 1, "nulls", argv[3], 0, 1);
    Call(proc, 1, "nulls", argv[3], 1, 0);
    Call(proc, 1, NULL, NULL, 0, 0);
  } else {
    fprintf(stderr, "scenario_caller: bad arguments\n");
    return 2;
  }
  return FreeLibrary(module) ? 0 : 1;
}
