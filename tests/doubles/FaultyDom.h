#pragma once
#include <set>

#include "document/DomFactory.h"

// A document factory over a real one that fails chosen creations and
// chosen saves, counted from 1 over the factory's life. An interrupted save
// leaves the first half of the file written and then fails, as a run
// stopped in the middle of a write would.
class FaultyDomFactory final : public IDomFactory {
 public:
  explicit FaultyDomFactory(IDomFactory& real) : real_(real) {}

  std::set<int> failCreations;
  std::set<int> throwCreations;  // as the runtime's out-of-memory error does
  std::set<int> failSaves;
  std::set<int> interruptSaves;
  int creations = 0;
  int saves = 0;

  HResult CreateDocument(const std::string& progId, DomDocument& document) override;

 private:
  IDomFactory& real_;
};
