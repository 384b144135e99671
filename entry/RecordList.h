#pragma once
#include <list>
#include <memory>
#include <utility>

// An ordered list that owns its records.
template <typename Record>
class RecordList {
 public:
  // Appends at the tail; a null record is not kept.
  void Append(std::unique_ptr<Record> record) {
    if (record) records_.push_back(std::move(record));
  }
  Record& AppendNew() {
    records_.push_back(std::make_unique<Record>());
    return *records_.back();
  }

  // Frees every record.
  void Clear() { records_.clear(); }

  // Calls `visit(record)` for every record in order.
  template <typename Visit>
  void ForEach(Visit&& visit) const {
    for (const std::unique_ptr<Record>& record : records_) visit(*record);
  }

 private:
  std::list<std::unique_ptr<Record>> records_;
};
