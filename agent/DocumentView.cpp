#include "agent/DocumentView.h"

#include <iterator>

#include "document/AssetFormat.h"
#include "document/DomAccess.h"
#include "platform/FileSystem.h"
#include "tracking/AssetReading.h"
#include "tracking/TextCompare.h"

namespace {

struct OutcomeRow {
  ShowOutcome outcome;
  int exitStatus;
  const char* message;
};

// In the order of ShowOutcome.
// clang-format off
constexpr OutcomeRow kOutcomes[] = {
    // outcome                 exit  message
    {ShowOutcome::kShown,      0,    "the document was read"},
    {ShowOutcome::kMissing,    3,    "no document at this path"},
    {ShowOutcome::kMalformed,  4,    "not a well-formed XML file"},
    {ShowOutcome::kForeign,    5,    "not an asset document (no TCO_Summary class)"},
    {ShowOutcome::kNoDom,      6,    "no XML document object could be created (MSXML 3.0)"},
};
// clang-format on

constexpr bool InOutcomeOrder() {
  for (std::size_t i = 0; i < std::size(kOutcomes); ++i) {
    if (static_cast<std::size_t>(kOutcomes[i].outcome) != i) return false;
  }
  return true;
}
static_assert(InOutcomeOrder());

const OutcomeRow& RowOf(ShowOutcome outcome) {
  return kOutcomes[static_cast<std::size_t>(outcome)];
}

std::vector<ShownSummaryValue> TheTenValues() {
  std::vector<ShownSummaryValue> values;
  for (const asset::SummaryValueRow& row : asset::kSummaryValues)
    values.push_back({row.name, false, {}});
  for (const asset::SummaryListRow& row : asset::kSummaryLists)
    values.push_back({row.name, true, {}});
  return values;
}

void AppendLine(std::string& text, const std::string& label, const std::string& value) {
  text += label;
  text += value.empty() ? ":" : ": " + value;
  text += '\n';
}

}  // namespace

ShowOutcome ReadDocumentView(const std::string& path, IFileSystem& files, IDomFactory* factory,
                             DocumentView& view) {
  if (!files.FindAny(path)) return ShowOutcome::kMissing;
  DomAccess dom(factory);
  if (dom.CreateDocument(DomAccess::kProgId) != 0) return ShowOutcome::kNoDom;
  if (dom.Load(path) != hr::kOk) return ShowOutcome::kMalformed;

  const DomNode hardware = FindHardwareAsset(dom);
  const DomNode summary = FindSummaryClass(dom, hardware);
  if (!summary) return ShowOutcome::kForeign;

  DocumentView read;
  const DomNode device = dom.GetFirstChildElement(dom.GetRootElement());
  read.deviceId = dom.GetAttributeText(device, asset::kIdAttribute);
  read.currentTimestamp = dom.GetAttributeText(hardware, asset::kCurrentTimestampAttribute);
  read.previousTimestamp = dom.GetAttributeText(hardware, asset::kPreviousTimestampAttribute);
  read.summary = TheTenValues();
  ForEachProperty(dom, summary, [&](const DomNode& property, const std::string& name) {
    for (ShownSummaryValue& value : read.summary) {
      if (!EqualIgnoringCase(name, value.name)) continue;
      const bool changed = dom.GetAttributeText(property, asset::kChangedAttribute) == "1";
      value.values.push_back({dom.GetText(property), changed});
      return;
    }
  });
  view = std::move(read);
  return ShowOutcome::kShown;
}

std::string FormatDocumentView(ShowOutcome outcome, const DocumentView& view) {
  std::string text;
  if (outcome == ShowOutcome::kShown) {
    AppendLine(text, "device", view.deviceId);
    AppendLine(text, "current timestamp", view.currentTimestamp);
    AppendLine(text, "previous timestamp", view.previousTimestamp);
    text += "summary (* changed since the previous run):\n";
    for (const ShownSummaryValue& value : view.summary) {
      const std::string label = std::string("  ") + value.name;
      if (value.values.empty()) AppendLine(text, label, value.list ? "(none)" : "(missing)");
      for (const ShownValue& entry : value.values) {
        AppendLine(text, entry.changed ? "* " + label.substr(2) : label, entry.text);
      }
    }
  }
  AppendLine(text, "result", RowOf(outcome).message);
  return text;
}

int ShowExitStatus(ShowOutcome outcome) { return RowOf(outcome).exitStatus; }
