#include "doubles/FakeWmi.h"

#include <cstdio>
#include <regex>
#include <sstream>

#include "wmi/PropertyForms.h"

namespace {

constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;  // WBEM_INFINITE

std::string Hex(std::int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(value));
  return text;
}

// Counts itself in the service's `live` while it exists.
class Tracked {
 public:
  explicit Tracked(FakeWmiService& service) : service_(service) { ++service_.live; }
  ~Tracked() { --service_.live; }
  Tracked(const Tracked&) = delete;
  Tracked& operator=(const Tracked&) = delete;

 protected:
  FakeWmiService& service_;
};

class FakeInstance final : public IWmiInstance, Tracked {
 public:
  FakeInstance(FakeWmiService& service, const WmiFixtureInstance& instance)
      : Tracked(service), instance_(instance) {}
  WmiValue Get(const std::string& name) override { return instance_.Get(name); }

 private:
  const WmiFixtureInstance& instance_;
};

class FakeEnumerator final : public IWmiEnumerator, Tracked {
 public:
  FakeEnumerator(FakeWmiService& service, std::vector<const WmiFixtureInstance*> instances,
                 const WmiFixtureBehaviour* behaviour)
      : Tracked(service), instances_(std::move(instances)), behaviour_(behaviour) {}

  WmiNext Next(std::uint32_t timeoutMs, std::unique_ptr<IWmiInstance>& instance) override {
    instance.reset();
    if (behaviour_ && behaviour_->stopAfter && next_ >= *behaviour_->stopAfter) {
      if (behaviour_->stop != WmiNext::TimedOut) return behaviour_->stop;
      if (timeoutMs != kInfinite) return WmiNext::TimedOut;
      service_.waitedForever = true;
      return WmiNext::Failed;
    }
    if (next_ >= instances_.size()) return WmiNext::End;
    instance = std::make_unique<FakeInstance>(service_, *instances_[next_++]);
    return WmiNext::Instance;
  }

 private:
  std::vector<const WmiFixtureInstance*> instances_;
  const WmiFixtureBehaviour* behaviour_;
  std::size_t next_ = 0;
};

// A query's parts: the class after FROM, and an optional WHERE clause,
// either "P != NULL" (P delivered) or "P='v'" (P reads v). A query of any
// other shape selects nothing.
const std::regex kQuery(R"(.*\sFROM\s+(\w+)(\s+WHERE\s+(\w+)\s*(!=\s*NULL|='([^']+)'))?\s*)",
                        std::regex::icase);

bool Selects(const std::smatch& query, const WmiFixtureInstance& instance) {
  if (!EqualsNoCase(query[1], instance.className)) return false;
  if (!query[2].matched) return true;
  const WmiValue value = instance.Get(query[3]);
  if (!query[5].matched) return IsDelivered(value);
  return ApplyForm(value, value.type == WmiType::String ? Form::Text : Form::Signed) == query[5];
}

class FakeConnection final : public IWmiConnection, Tracked {
 public:
  using Tracked::Tracked;

  HResult SetProxyBlanket(const ProxyBlanket& b) override {
    std::ostringstream call;
    call << "SetProxyBlanket " << b.authenticationService << ' ' << b.authorisationService << ' '
         << b.authenticationLevel << ' ' << b.impersonationLevel << ' ' << b.capabilities;
    service_.calls.push_back(call.str());
    return service_.blanketResult;
  }

  HResult ExecQuery(const std::string& query, std::int32_t flags,
                    std::unique_ptr<IWmiEnumerator>& enumerator) override {
    service_.calls.push_back("ExecQuery " + Hex(flags) + " " + query);
    if (service_.onQuery) service_.onQuery();
    enumerator.reset();
    std::smatch parts;
    const bool shaped = std::regex_match(query, parts, kQuery);
    std::vector<const WmiFixtureInstance*> selected;
    for (const WmiFixtureInstance& instance : service_.fixture.instances) {
      if (shaped && Selects(parts, instance)) selected.push_back(&instance);
    }
    const WmiFixtureBehaviour* behaviour = service_.fixture.BehaviourOf(parts[1]);
    if (behaviour && behaviour->refusal != hr::kOk) return behaviour->refusal;
    enumerator = std::make_unique<FakeEnumerator>(service_, std::move(selected), behaviour);
    return hr::kOk;
  }
};

class FakeLocator final : public IWmiLocator, Tracked {
 public:
  using Tracked::Tracked;

  HResult ConnectServer(const std::string& ns, std::int32_t securityFlags,
                        std::unique_ptr<IWmiConnection>& connection) override {
    service_.calls.push_back("ConnectServer " + ns + " " + Hex(securityFlags));
    connection.reset();
    if (Failed(service_.connectResult)) return service_.connectResult;
    connection = std::make_unique<FakeConnection>(service_);
    return hr::kOk;
  }
};

}  // namespace

void FakeWmiService::SetFaults(const std::string& faults) {
  locatorResult = connectResult = blanketResult = hr::kOk;
  std::istringstream words(faults);
  for (std::string word; words >> word;) {
    const auto code =
        static_cast<HResult>(std::stoul(word.substr(word.find('=') + 1), nullptr, 16));
    (word.starts_with("locator=")   ? locatorResult
     : word.starts_with("connect=") ? connectResult
                                    : blanketResult) = code;
  }
}

HResult FakeWmiService::CreateLocator(std::unique_ptr<IWmiLocator>& locator) {
  calls.push_back("CreateLocator");
  locator.reset();
  if (Failed(locatorResult)) return locatorResult;
  locator = std::make_unique<FakeLocator>(*this);
  return hr::kOk;
}
