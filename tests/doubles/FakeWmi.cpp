#include "doubles/FakeWmi.h"

#include <algorithm>
#include <cstdio>
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

// A query's words. The class follows FROM; a WHERE clause is either
// "P != NULL" (P delivered) or "P='v'" (P reads v).
struct Query {
  explicit Query(const std::string& text) {
    std::istringstream in(text);
    for (std::string word; in >> word;) words.push_back(word);
    const auto from = At("FROM");
    if (from != words.end() && from + 1 != words.end()) className = from[1];
  }
  std::vector<std::string>::const_iterator At(const char* keyword) const {
    return std::find_if(words.begin(), words.end(),
                        [&](const std::string& w) { return EqualsNoCase(w, keyword); });
  }
  bool Selects(const WmiFixtureInstance& instance) const {
    if (!EqualsNoCase(className, instance.className)) return false;
    const auto where = At("WHERE");
    if (where == words.end()) return true;
    if (words.end() - where == 4 && where[2] == "!=") return IsDelivered(instance.Get(where[1]));
    const std::string term = where + 1 == words.end() ? "" : where[1];
    const auto equals = term.find("='");
    if (equals == std::string::npos || term.back() != '\'') return false;
    const std::string wanted = term.substr(equals + 2, term.size() - equals - 3);
    const WmiValue value = instance.Get(term.substr(0, equals));
    const auto text = ApplyForm(value, value.type == WmiType::String ? Form::Text : Form::Signed);
    return !wanted.empty() && text == wanted;
  }
  std::vector<std::string> words;
  std::string className;
};

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
    const Query parsed(query);
    std::vector<const WmiFixtureInstance*> selected;
    for (const WmiFixtureInstance& instance : service_.fixture.instances) {
      if (parsed.Selects(instance)) selected.push_back(&instance);
    }
    const WmiFixtureBehaviour* behaviour = service_.fixture.BehaviourOf(parsed.className);
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
