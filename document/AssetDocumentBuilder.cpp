#include "document/AssetDocumentBuilder.h"

#include <iterator>

#include "document/AssetFormat.h"
#include "document/DomAccess.h"
#include "entry/MorvApp.h"
#include "entry/ResultCodes.h"

namespace {

// Writes the Property elements of one Class element. Calls on a class that
// could not be created do nothing.
class PropertyWriter {
 public:
  PropertyWriter(DomAccess& dom, DomNode classElement)
      : dom_(dom), class_(std::move(classElement)) {}

  void Write(const std::string& index, const char* name, const std::string& text) {
    const DomNode property = Begin(index, name);
    dom_.SetText(property, text.c_str());
  }
  // Summary properties carry a change mark, "0" as built.
  void WriteSummary(const std::string& index, const char* name, const std::string& text) {
    const DomNode property = Begin(index, name);
    dom_.SetAttribute(property, asset::kChangedAttribute, "0");
    dom_.SetText(property, text.c_str());
  }

 private:
  DomNode Begin(const std::string& index, const char* name) {
    DomNode property = dom_.AppendElement(class_, asset::kPropertyElement);
    dom_.SetAttribute(property, asset::kIndexAttribute, index);
    dom_.SetAttribute(property, asset::kNameAttribute, name);
    return property;
  }

  DomAccess& dom_;
  DomNode class_;
};

void WriteSummary(PropertyWriter& out, const CMorvApp& app) {
  if (!app.m_pSummary) return;
  const InventorySummary& summary = *app.m_pSummary;
  for (const asset::SummaryValueRow& row : asset::kSummaryValues) {
    out.WriteSummary("1", row.name,
                     row.text ? summary.*row.text : std::to_string(summary.processorCount));
  }
  for (const asset::SummaryListRow& row : asset::kSummaryLists) {
    const std::vector<std::string>& entries = summary.*row.entries;
    const std::size_t count = entries.size();
    for (std::size_t i = 0; i < count; ++i)
      out.WriteSummary(std::to_string(i + 1), row.name, entries[i]);
  }
}

template <auto List, const auto& Properties>
void WriteRecords(PropertyWriter& out, const CMorvApp& app) {
  (app.*List).ForEach([&](const auto& record) {
    const std::string index = std::to_string(record.ordinal);
    for (const auto& row : Properties) out.Write(index, row.name, record.*row.field);
  });
}

void WritePower(PropertyWriter& out, const CMorvApp& app) {
  if (!app.m_pPower) return;
  for (const asset::PowerRow& row : asset::kPowerValues) {
    out.Write("1", row.name, std::to_string(app.m_pPower.get()->*row.seconds / 60u));
  }
}

using ClassWriter = void (*)(PropertyWriter&, const CMorvApp&);

// Beside asset::kClasses, row for row.
constexpr ClassWriter kClassWriters[] = {
    WriteSummary,
    WriteRecords<&CMorvApp::m_listOs, asset::kOsProperties>,
    WriteRecords<&CMorvApp::m_listProcessor, asset::kProcessorProperties>,
    WriteRecords<&CMorvApp::m_listMemory, asset::kMemoryProperties>,
    WriteRecords<&CMorvApp::m_listVideo, asset::kVideoProperties>,
    WriteRecords<&CMorvApp::m_listMonitor, asset::kMonitorProperties>,
    WriteRecords<&CMorvApp::m_listNetworkAdapter, asset::kNetworkAdapterProperties>,
    WriteRecords<&CMorvApp::m_listNetworkConfig, asset::kNetworkConfigProperties>,
    WriteRecords<&CMorvApp::m_listDiskDrive, asset::kDiskDriveProperties>,
    WriteRecords<&CMorvApp::m_listLogicalDisk, asset::kLogicalDiskProperties>,
    WriteRecords<&CMorvApp::m_listCdrom, asset::kCdromProperties>,
    WriteRecords<&CMorvApp::m_listSound, asset::kSoundProperties>,
    WritePower,
};
static_assert(std::size(kClassWriters) == std::size(asset::kClasses));

// As "%0<width>d" formats: the sign counts towards the width.
std::string ZeroPadded(int value, std::size_t width) {
  const std::size_t sign = value < 0 ? 1 : 0;
  const std::string digits = std::to_string(value < 0 ? -static_cast<long long>(value) : value);
  const std::size_t used = sign + digits.size();
  return std::string(sign, '-') + std::string(width > used ? width - used : 0, '0') + digits;
}

}  // namespace

// "%04d%02d%02d%02d%02d%02d"
std::string FormatTimestamp(const LocalTime& t) {
  return ZeroPadded(t.year, 4) + ZeroPadded(t.month, 2) + ZeroPadded(t.day, 2) +
         ZeroPadded(t.hour, 2) + ZeroPadded(t.minute, 2) + ZeroPadded(t.second, 2);
}

int BuildAssetTree(CMorvApp& app, DomAccess& dom, IClock& clock) {
  const std::string timestamp = FormatTimestamp(clock.Now());
  app.m_strTimestamp = timestamp;

  dom.CreateDocument(DomAccess::kProgId);
  if (!dom.HasDocument()) return result::kNoDocument;

  dom.SetDeclaration(asset::kDeclarationVersion, asset::kDeclarationEncoding,
                     asset::kDeclarationStandalone);
  const DomNode root = dom.CreateRootElement(asset::kRootElement);
  const DomNode device = dom.AppendElement(root, asset::kDeviceElement);
  dom.SetAttribute(device, asset::kIdAttribute, app.m_strDeviceId);
  const DomNode hardware = dom.AppendElement(device, asset::kHardwareAssetElement);
  dom.SetAttribute(hardware, asset::kVersionAttribute, asset::kVersion);
  dom.SetAttribute(hardware, asset::kCurrentTimestampAttribute, timestamp);
  dom.SetAttribute(hardware, asset::kPreviousTimestampAttribute, timestamp);

  for (std::size_t i = 0; i < std::size(asset::kClasses); ++i) {
    const asset::ClassRow& row = asset::kClasses[i];
    if (row.presence == asset::Presence::kDetail && app.m_nDetailMode != 1) continue;
    const DomNode element = dom.AppendElement(hardware, asset::kClassElement);
    dom.SetAttribute(element, asset::kIdAttribute, row.id);
    dom.SetAttribute(element, asset::kWmiAttribute, row.wmi);
    dom.SetAttribute(element, asset::kChangedAttribute, row.changed);
    PropertyWriter writer(dom, element);
    kClassWriters[i](writer, app);
  }
  return result::kOk;
}

int BuildAssetDocument(CMorvApp& app, const std::string& path, IDomFactory* factory,
                       IClock& clock) {
  DomAccess dom(factory);
  if (const int built = BuildAssetTree(app, dom, clock)) return built;
  const int saved = dom.Save(path) == hr::kOk ? result::kOk : result::kSaveFailed;
  dom.RemoveAllChildren(dom.Document());
  return saved;
}
