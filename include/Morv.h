/* Morv.dll: hardware inventory for an endpoint-management agent.
 *
 * One call of GetHWInv is one inventory run: it writes the XML asset
 * document at documentPath (comparing it with the document a previous run
 * left there), and reports a result code, a change status and the run's
 * timestamp. Calls from other threads wait for a running call to end. A
 * call made on the thread of a running call (from a window message or a
 * COM call dispatched while the run waits) returns MORV_E_REENTERED at
 * once and changes nothing. */
#ifndef MORV_H
#define MORV_H

#ifdef __cplusplus
extern "C" {
#endif

/* The module's version, as its version resource states it. */
#define MORV_VERSION_MAJOR 1
#define MORV_VERSION_MINOR 0
#define MORV_VERSION_PATCH 0
#define MORV_VERSION_TEXT "1.0.0"

/* Result codes of GetHWInv. */
#define MORV_OK 0                     /* document built or compared */
#define MORV_E_SAVE (-1)              /* the document could not be saved */
#define MORV_E_WMI_LOCATOR (-21)      /* creating the WMI locator failed */
#define MORV_E_WMI_PROXY (-22)        /* setting the WMI proxy security failed */
#define MORV_E_WMI_INIT (-100)        /* entering COM or setting COM security failed */
#define MORV_E_WMI_CONNECT (-101)     /* connecting to ROOT\CIMV2 failed */
#define MORV_E_QUERY_OS (-116)        /* Win32_OperatingSystem query failed */
#define MORV_E_QUERY_PROCESSOR (-117) /* Win32_Processor */
#define MORV_E_QUERY_MEMORY (-118)    /* Win32_PhysicalMemory */
#define MORV_E_QUERY_DISK (-119)      /* Win32_DiskDrive */
#define MORV_E_QUERY_LOGICAL (-120)   /* Win32_LogicalDisk */
#define MORV_E_QUERY_VIDEO (-121)     /* Win32_VideoController */
#define MORV_E_QUERY_MONITOR (-122)   /* Win32_DesktopMonitor */
#define MORV_E_QUERY_ADAPTER (-123)   /* Win32_NetworkAdapter */
#define MORV_E_QUERY_CONFIG (-124)    /* Win32_NetworkAdapterConfiguration */
#define MORV_E_QUERY_CDROM (-125)     /* Win32_CDROMDrive */
#define MORV_E_QUERY_SOUND (-126)     /* Win32_SoundDevice */
#define MORV_E_NO_DOM (-200)          /* no XML document object could be created */
#define MORV_E_PREVIOUS (-203)        /* the previous document could not be loaded */
#define MORV_E_STAGING (-204)         /* no longer returned (staging file not loaded back) */
#define MORV_E_NO_SUMMARY (-205)      /* no summary class in the previous or new document */
#define MORV_E_REPLACE (-206)         /* the new document could not replace documentPath */
#define MORV_E_REENTERED (-998)       /* called again on the thread of a running call */
#define MORV_E_INTERNAL (-999)        /* the run was stopped by an internal error (out of memory) */

/* detailMode: 1 writes every class, any other value the summary alone.
 * deviceId, documentPath: zero-terminated ANSI texts; null reads as "".
 * changeStatus: receives 1 when the hardware changed (or on a first run),
 *   0 when it did not; not written when null.
 * timestampOut: receives the run's timestamp, 14 digits, or "" (at least
 *   15 bytes); not written when null. */
int __stdcall GetHWInv(int detailMode, const char* deviceId, const char* documentPath,
                       int* changeStatus, char* timestampOut);

typedef int(__stdcall* GetHWInvProc)(int, const char*, const char*, int*, char*);

#ifdef __cplusplus
}
#endif

#endif /* MORV_H */
