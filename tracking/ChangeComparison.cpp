#include "tracking/ChangeComparison.h"

#include <cstring>

#include "document/AssetDocumentBuilder.h"
#include "document/AssetFormat.h"
#include "document/DomAccess.h"
#include "entry/InventorySummary.h"
#include "entry/MorvApp.h"
#include "entry/ResultCodes.h"
#include "platform/FileSystem.h"
#include "tracking/AssetReading.h"
#include "tracking/DocumentReplacement.h"
#include "tracking/TextCompare.h"

namespace {

constexpr std::size_t kStagingPathCapacity = 256;  // terminating zero included
constexpr const char* kStagingDirectory = "Results\\Backup";

// The summary properties that take part in the comparison, in the order a
// name is tested against them.
struct ComparedRow {
  const char* name;
  std::string InventorySummary::*value;
};

constexpr ComparedRow kCompared[] = {
    {"Win32_OperatingSystem.Caption", &InventorySummary::osCaption},
    {"Win32_Processor.Name", &InventorySummary::cpuName},
    {"Win32_PhysicalMemory.TotalCapacity", &InventorySummary::memoryTotal},
    {"Win32_DiskDrive.TotalSize", &InventorySummary::diskTotal},
    {"Win32_DiskDrive.TotalFreeSize", &InventorySummary::diskFree},
};

// The compared row a property name matches, or null.
const ComparedRow* FindCompared(const std::string& name) {
  for (const ComparedRow& row : kCompared) {
    if (EqualIgnoringCase(name, row.name)) return &row;
  }
  return nullptr;
}

bool FormStagingPath(const char (&hostDir)[256], std::string& path) {
  // "%s\\%s\\new_%s"
  const std::string dir(hostDir, strnlen(hostDir, sizeof hostDir));
  std::string formed = dir + '\\' + kStagingDirectory + "\\new_" + asset::kFileName;
  if (formed.size() >= kStagingPathCapacity) return false;
  path = std::move(formed);
  return true;
}

// Carries the previous timestamp into the new document and marks each
// compared summary property whose value differs from the previous one.
// Returns 0, or -205 when the new document has no summary class (it is then
// left as built).
int MarkChanges(DomAccess& dom, const InventorySummary& previous,
                const std::string& previousTimestamp, bool& anyChanged) {
  const DomNode hardware = FindHardwareAsset(dom);
  const DomNode summary = FindSummaryClass(dom, hardware);
  if (!summary) return result::kNoSummary;
  dom.SetExistingAttribute(hardware, asset::kPreviousTimestampAttribute, previousTimestamp);
  ForEachProperty(dom, summary, [&](const DomNode& property, const std::string& name) {
    const ComparedRow* row = FindCompared(name);
    if (!row || EqualIgnoringCase(dom.GetText(property), previous.*row->value)) return;
    // Marks are only raised, never cleared.
    dom.SetExistingAttribute(property, asset::kChangedAttribute, "1");
    anyChanged = true;
  });
  return result::kOk;
}

}  // namespace

int ReadPreviousSummary(const std::string& path, InventorySummary& previous,
                        std::string& previousTimestamp, IDomFactory* factory) {
  const std::string source = path;
  DomAccess dom(factory);
  if (dom.CreateDocument(DomAccess::kProgId) != 0) return result::kNoDocument;
  if (dom.Load(source) != hr::kOk) return result::kPreviousUnreadable;

  const DomNode hardware = FindHardwareAsset(dom);
  previousTimestamp = dom.GetAttributeText(hardware, asset::kCurrentTimestampAttribute);
  const DomNode summary = FindSummaryClass(dom, hardware);
  if (!summary) return result::kNoSummary;

  ForEachProperty(dom, summary, [&](const DomNode& property, const std::string& name) {
    if (const ComparedRow* row = FindCompared(name)) previous.*row->value = dom.GetText(property);
  });
  return result::kOk;
}

int CompareWithPrevious(CMorvApp& app, const std::string& documentPath,
                        const DocumentServices& services) {
  std::string staging;
  // Writing to a cut-off path would put the document somewhere unintended.
  if (!FormStagingPath(app.m_szHostDir, staging)) return result::kSaveFailed;

  DomAccess dom(services.dom);
  if (const int built = BuildAssetTree(app, dom, services.clock)) return built;

  InventorySummary previous;
  std::string previousTimestamp;
  int outcome = ReadPreviousSummary(documentPath, previous, previousTimestamp, services.dom);
  // The new document is marked in memory and saved once. One that cannot
  // be compared is staged as built, and the agent's path keeps the old one.
  bool anyChanged = false;
  if (outcome == result::kOk) {
    outcome = MarkChanges(dom, previous, previousTimestamp, anyChanged);
  }
  if (dom.Save(staging) != hr::kOk) return result::kSaveFailed;
  if (outcome != result::kOk) return outcome;
  app.m_nStatus = anyChanged ? 1 : 0;

  // The agent must not hear of success while documentPath holds the old
  // document.
  if (!ReplaceWithCopyOf(services, staging, documentPath)) {
    return result::kReplaceFailed;
  }
  dom.RemoveAllChildren(dom.Document());
  return result::kOk;
}
