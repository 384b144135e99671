// The public header states the module's result codes for C callers; they
// must be the codes the module returns. Compiled into every Windows build.
#include "entry/ResultCodes.h"
#include "include/Morv.h"

static_assert(MORV_OK == result::kOk);
static_assert(MORV_E_SAVE == result::kSaveFailed);
static_assert(MORV_E_WMI_LOCATOR == result::kWmiLocator);
static_assert(MORV_E_WMI_PROXY == result::kWmiProxy);
static_assert(MORV_E_WMI_INIT == result::kWmiInit);
static_assert(MORV_E_WMI_CONNECT == result::kWmiConnect);
static_assert(MORV_E_QUERY_OS == result::kQueryOs);
static_assert(MORV_E_QUERY_PROCESSOR == result::kQueryProcessor);
static_assert(MORV_E_QUERY_MEMORY == result::kQueryMemory);
static_assert(MORV_E_QUERY_DISK == result::kQueryDisk);
static_assert(MORV_E_QUERY_LOGICAL == result::kQueryLogical);
static_assert(MORV_E_QUERY_VIDEO == result::kQueryVideo);
static_assert(MORV_E_QUERY_MONITOR == result::kQueryMonitor);
static_assert(MORV_E_QUERY_ADAPTER == result::kQueryAdapter);
static_assert(MORV_E_QUERY_CONFIG == result::kQueryConfig);
static_assert(MORV_E_QUERY_CDROM == result::kQueryCdrom);
static_assert(MORV_E_QUERY_SOUND == result::kQuerySound);
static_assert(MORV_E_NO_DOM == result::kNoDocument);
static_assert(MORV_E_PREVIOUS == result::kPreviousUnreadable);
static_assert(MORV_E_STAGING == result::kStagingUnreadable);
static_assert(MORV_E_NO_SUMMARY == result::kNoSummary);
static_assert(MORV_E_REPLACE == result::kReplaceFailed);
static_assert(MORV_E_REENTERED == result::kCalledDuringRun);
static_assert(MORV_E_INTERNAL == result::kInternalError);
