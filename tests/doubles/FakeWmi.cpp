#include "doubles/FakeWmi.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "wmi/PropertyForms.h"

namespace {

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
  WmiValue Get(const std::string& name) override {
    service_.reads.push_back(name);
    return instance_.Get(name);
  }

 private:
  const WmiFixtureInstance& instance_;
};

class FakeEnumerator final : public IWmiEnumerator, Tracked {
 public:
  FakeEnumerator(FakeWmiService& service, std::vector<const WmiFixtureInstance*> instances,
                 const WmiFixtureBehaviour* behaviour)
      : Tracked(service), instances_(std::move(instances)), behaviour_(behaviour) {}

  WmiNext Next(std::uint32_t timeoutMs, std::unique_ptr<IWmiInstance>& instance) override {
    service_.timeouts.push_back(timeoutMs);
    instance.reset();
    if (behaviour_ && behaviour_->stopAfter && next_ >= *behaviour_->stopAfter) {
      if (behaviour_->stop != WmiNext::TimedOut) return behaviour_->stop;
      if (timeoutMs != wmi::kInfinite) return WmiNext::TimedOut;
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

class FakeConnection final : public IWmiConnection, Tracked {
 public:
  using Tracked::Tracked;

  HResult SetProxyBlanket(const ProxyBlanket& blanket) override {
    service_.calls.push_back("SetProxyBlanket");
    service_.blanket = blanket;
    return service_.blanketResult;
  }

  HResult ExecQuery(const std::string& query, std::int32_t flags,
                    std::unique_ptr<IWmiEnumerator>& enumerator) override {
    service_.calls.push_back(query);
    service_.queryFlags.push_back(flags);
    enumerator.reset();
    const WmiFixtureBehaviour* behaviour = service_.fixture.BehaviourOf(QueriedClass(query));
    if (behaviour && behaviour->refusal != hr::kOk) return behaviour->refusal;
    enumerator = std::make_unique<FakeEnumerator>(
        service_, SelectInstances(service_.fixture, query), behaviour);
    return hr::kOk;
  }
};

class FakeLocator final : public IWmiLocator, Tracked {
 public:
  using Tracked::Tracked;

  HResult ConnectServer(const std::string& ns, std::int32_t securityFlags,
                        std::unique_ptr<IWmiConnection>& connection) override {
    service_.calls.push_back("ConnectServer(" + ns + ")");
    service_.connectFlags = securityFlags;
    connection.reset();
    if (Failed(service_.connectResult)) return service_.connectResult;
    connection = std::make_unique<FakeConnection>(service_);
    return hr::kOk;
  }
};

// The words of the query, split at blanks, commas and quotes kept whole.
std::vector<std::string> Words(const std::string& query) {
  std::vector<std::string> words;
  std::string word;
  for (char c : query) {
    if (std::isspace(static_cast<unsigned char>(c)) || c == ',') {
      if (!word.empty()) words.push_back(std::exchange(word, {}));
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

// The property's text as a WHERE comparison sees it.
std::string Comparable(const WmiValue& value) {
  if (auto text = ApplyForm(value, Form::Text)) return *text;
  if (auto number = ApplyForm(value, Form::Signed)) return *number;
  return {};
}

bool Matches(const WmiFixtureInstance& instance, const std::vector<std::string>& condition) {
  if (condition.empty()) return true;
  if (condition.size() == 3 && condition[1] == "!=" && UpperCased(condition[2]) == "NULL")
    return IsDelivered(instance.Get(condition[0]));
  // P='v' as one word.
  const std::string& term = condition.front();
  const auto equals = term.find('=');
  if (condition.size() != 1 || equals == std::string::npos) return false;
  std::string wanted = term.substr(equals + 1);
  if (wanted.size() >= 2 && wanted.front() == '\'' && wanted.back() == '\'')
    wanted = wanted.substr(1, wanted.size() - 2);
  const WmiValue value = instance.Get(term.substr(0, equals));
  return IsDelivered(value) && !wanted.empty() && Comparable(value) == wanted;
}

}  // namespace

HResult FakeWmiService::CreateLocator(std::unique_ptr<IWmiLocator>& locator) {
  calls.push_back("CreateLocator");
  locator.reset();
  if (Failed(locatorResult)) return locatorResult;
  locator = std::make_unique<FakeLocator>(*this);
  return hr::kOk;
}

std::string QueriedClass(const std::string& query) {
  const std::vector<std::string> words = Words(query);
  for (std::size_t i = 0; i + 1 < words.size(); ++i) {
    if (UpperCased(words[i]) == "FROM") return words[i + 1];
  }
  return {};
}

std::vector<const WmiFixtureInstance*> SelectInstances(const WmiFixture& fixture,
                                                       const std::string& query) {
  const std::vector<std::string> words = Words(query);
  std::vector<std::string> condition;
  const auto where = std::find_if(words.begin(), words.end(),
                                  [](const std::string& w) { return UpperCased(w) == "WHERE"; });
  if (where != words.end()) condition.assign(where + 1, words.end());

  const std::string className = QueriedClass(query);
  std::vector<const WmiFixtureInstance*> selected;
  for (const WmiFixtureInstance& instance : fixture.instances) {
    if (EqualsNoCase(instance.className, className) && Matches(instance, condition))
      selected.push_back(&instance);
  }
  return selected;
}
