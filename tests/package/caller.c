/* An agent that links against the module's import library: no C runtime,
 * an entry point of its own, GetHWInv through the import library and
 * ExitProcess from kernel32. Built with the version it expects in
 * WANT_MAJOR, WANT_MINOR and WANT_PATCH. */
#include "Morv.h"

#if MORV_VERSION_MAJOR != WANT_MAJOR || MORV_VERSION_MINOR != WANT_MINOR || \
    MORV_VERSION_PATCH != WANT_PATCH
#error "Morv.h states another version"
#endif

__declspec(dllimport) void __stdcall ExitProcess(unsigned int code);

void Start(void) {
  int status = 0;
  char timestamp[15];
  ExitProcess((unsigned int)GetHWInv(1, "caller", "AgentHardwareAsset.XML", &status, timestamp));
}
