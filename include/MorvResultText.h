/* What each result code of GetHWInv means, for hosts that show it. */
#ifndef MORV_RESULT_TEXT_H
#define MORV_RESULT_TEXT_H

#include "Morv.h"

#ifdef __cplusplus
extern "C" {
#endif

static const struct MorvResultText {
  int code;
  const char* text;
} kMorvResultTexts[] = {
    {MORV_OK, "document built or compared"},
    {MORV_E_SAVE, "the document could not be saved"},
    {MORV_E_WMI_LOCATOR, "creating the WMI locator failed"},
    {MORV_E_WMI_PROXY, "setting the WMI proxy security failed"},
    {MORV_E_WMI_INIT, "entering COM or setting COM security failed"},
    {MORV_E_WMI_CONNECT, "connecting to ROOT\\CIMV2 failed"},
    {MORV_E_QUERY_OS, "the operating-system query failed"},
    {MORV_E_QUERY_PROCESSOR, "the processor query failed"},
    {MORV_E_QUERY_MEMORY, "the physical-memory query failed"},
    {MORV_E_QUERY_DISK, "the disk-drive query failed"},
    {MORV_E_QUERY_LOGICAL, "the logical-disk query failed"},
    {MORV_E_QUERY_VIDEO, "the video-controller query failed"},
    {MORV_E_QUERY_MONITOR, "the desktop-monitor query failed"},
    {MORV_E_QUERY_ADAPTER, "the network-adapter query failed"},
    {MORV_E_QUERY_CONFIG, "the adapter-configuration query failed"},
    {MORV_E_QUERY_CDROM, "the CD-ROM drive query failed"},
    {MORV_E_QUERY_SOUND, "the sound-device query failed"},
    {MORV_E_NO_DOM, "no XML document object could be created"},
    {MORV_E_PREVIOUS, "the previous document could not be loaded"},
    {MORV_E_STAGING, "no longer returned (the staging file could not be loaded back)"},
    {MORV_E_NO_SUMMARY, "no summary class in the previous or the new document"},
    {MORV_E_REPLACE, "the new document could not replace the previous one"},
    {MORV_E_REENTERED, "GetHWInv was called again while a run was in progress on the same thread"},
    {MORV_E_INTERNAL, "the run was stopped by an internal error"},
};

static inline const char* MorvResultText(int code) {
  unsigned i;
  for (i = 0; i < sizeof kMorvResultTexts / sizeof kMorvResultTexts[0]; ++i)
    if (kMorvResultTexts[i].code == code) return kMorvResultTexts[i].text;
  return "unknown result code";
}

#ifdef __cplusplus
}
#endif

#endif /* MORV_RESULT_TEXT_H */
