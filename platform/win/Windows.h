#pragma once
// The one way Windows-specific files include the Windows headers.
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#endif
#ifndef WINVER
#define WINVER _WIN32_WINNT
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

// The interfaces name their operations after the Windows calls; keep the
// A/W macros from renaming them.
#undef CopyFile
#undef DeleteFile
#undef GetVersionEx
#undef GetDriveType
#undef GetDiskFreeSpace
#undef GetDiskFreeSpaceEx
#undef MoveFile
#undef ReplaceFile
