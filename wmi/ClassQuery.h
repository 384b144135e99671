#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "entry/InventorySummary.h"
#include "entry/MorvApp.h"
#include "entry/RecordList.h"
#include "wmi/PropertyForms.h"
#include "wmi/WmiService.h"

// The one procedure all class queries follow, driven by a per-class table.

inline constexpr int kQueryRefused = -102;
inline constexpr int kQueryTimedOut = -103;
// A provider that stops answering must not hold the caller's thread: each
// instance is awaited this long, and a time-out fails the query.
inline constexpr std::uint32_t kInstanceTimeoutMs = 30000;

// What a delivered property does to the summary besides filling its field.
enum class Effect {
  None,
  SetOsCaption,    // osCaption = value (the last instance wins)
  NameProcessor,   // first name, and the count of processors of that name
  AddToSum,        // the value read as a decimal number joins the running sum
  AddSizeIfFixed,  // the record's size joins the sum when the value holds "FIXED"
  AppendName,      // appended to the class's name list
};

template <typename Record>
struct PropertyRow {
  const char* property;
  std::string Record::*field;  // null: read for its effect only
  Form form;
  Effect effect;
};

enum class Preparation { None, ResetProcessorSummary };
enum class Filter { None, PciOrPcmciaBus };

template <typename Record>
struct ClassQuery {
  const char* text;  // for the adapter configuration, a format with one %s
  RecordList<Record> CMorvApp::*list;
  std::span<const PropertyRow<Record>> properties;
  Preparation preparation = Preparation::None;
  Filter filter = Filter::None;
  std::string InventorySummary::*sumTarget = nullptr;           // receives the sum, if any
  std::vector<std::string> InventorySummary::*names = nullptr;  // for AppendName
  std::string Record::*sizeField = nullptr;                     // for AddSizeIfFixed
};

namespace class_query_detail {

// Kept when the PNPDeviceID is delivered and names a PCI or PCMCIA bus;
// software adapters (ROOT\...) are not.
inline bool OnPciOrPcmciaBus(IWmiInstance& instance) {
  const std::optional<std::string> id = ApplyForm(instance.Get("PNPDeviceID"), Form::Text);
  if (!id) return false;
  const std::string upper = UpperCased(*id);
  return upper.find("PCI") != std::string::npos || upper.find("PCMCIA") != std::string::npos;
}

template <typename Record>
void ApplyEffect(const ClassQuery<Record>& query, Effect effect, const std::string& value,
                 const Record& record, std::uint64_t& sum, InventorySummary* summary) {
  switch (effect) {
    case Effect::None:
      return;
    case Effect::AddToSum:
      sum += static_cast<std::uint64_t>(ReadDecimal64(value));
      return;
    case Effect::AddSizeIfFixed:
      if (UpperCased(value).find("FIXED") != std::string::npos)
        sum += static_cast<std::uint64_t>(ReadDecimal64(record.*query.sizeField));
      return;
    default:
      break;
  }
  if (!summary) return;
  switch (effect) {
    case Effect::SetOsCaption:
      summary->osCaption = value;
      return;
    case Effect::NameProcessor:
      if (summary->cpuName.empty() || EqualsNoCase(summary->cpuName, value)) {
        summary->cpuName = value;
        ++summary->processorCount;
      }
      return;
    case Effect::AppendName:
      (summary->*query.names).push_back(value);
      return;
    default:
      return;
  }
}

}  // namespace class_query_detail

// Runs `text` and appends one record per instance to the class's list.
// Returns 0, also when the enumerator fails part-way (the records so far
// stay and the sum is still written); kQueryRefused when WMI refuses the
// query; kQueryTimedOut when an instance is not delivered in time. A query
// that returns non-zero leaves the store and the summary as they were,
// apart from the processor preparation, which comes first: a time-out
// keeps no partial list, sum or name, so the fallbacks see the gap.
// `adapterOrdinal` replaces the counted ordinal of every record when given.
template <typename Record>
int RunClassQuery(IWmiConnection& services, CMorvApp& app, const ClassQuery<Record>& query,
                  const std::string& text, std::optional<std::int32_t> adapterOrdinal = {}) {
  using namespace class_query_detail;
  InventorySummary* const summary = app.m_pSummary.get();
  if (summary && query.preparation == Preparation::ResetProcessorSummary) {
    summary->cpuName.clear();
    summary->processorCount = 0;
  }

  std::unique_ptr<IWmiEnumerator> results;
  if (Failed(services.ExecQuery(text, wmi::kForwardOnlyReturnImmediately, results)) || !results)
    return kQueryRefused;

  // Records and summary effects are held back until the results end.
  std::vector<std::unique_ptr<Record>> records;
  std::optional<InventorySummary> draft;
  if (summary) draft = *summary;
  std::uint64_t sum = 0;
  std::int32_t ordinal = 0;
  std::unique_ptr<IWmiInstance> instance;
  WmiNext next = WmiNext::End;
  while ((next = results->Next(kInstanceTimeoutMs, instance)) == WmiNext::Instance && instance) {
    if (query.filter == Filter::PciOrPcmciaBus && !OnPciOrPcmciaBus(*instance)) continue;
    auto record = std::make_unique<Record>();
    ++ordinal;
    record->ordinal = adapterOrdinal ? *adapterOrdinal : ordinal;
    for (const PropertyRow<Record>& row : query.properties) {
      const std::optional<std::string> value = ApplyForm(instance->Get(row.property), row.form);
      if (!value) continue;
      if (row.field) (*record).*row.field = *value;
      ApplyEffect(query, row.effect, *value, *record, sum, draft ? &*draft : nullptr);
    }
    records.push_back(std::move(record));
  }
  if (next == WmiNext::TimedOut) return kQueryTimedOut;

  for (std::unique_ptr<Record>& record : records) (app.*query.list).Append(std::move(record));
  if (!summary) return 0;
  if (query.sumTarget) (*draft).*query.sumTarget = std::to_string(sum);
  *summary = std::move(*draft);
  return 0;
}
