#pragma once
#include <cstddef>
#include <list>
#include <memory>
#include <utility>

// An ordered list that owns its records. A node may hold no record; such
// nodes are stepped over by every reader and survive Clear().
template <typename Record>
class RecordList {
 public:
  using Node = std::unique_ptr<Record>;

  Record& Append(std::unique_ptr<Record> record) {
    nodes_.push_back(std::move(record));
    return *nodes_.back();
  }
  Record& AppendNew() { return Append(std::make_unique<Record>()); }
  void AppendNull() { nodes_.emplace_back(); }

  // Frees every record; nodes without a record stay.
  void Clear() {
    nodes_.remove_if([](const Node& node) { return node != nullptr; });
  }

  std::size_t NodeCount() const { return nodes_.size(); }
  bool Empty() const { return nodes_.empty(); }

  // Calls `visit(record)` for every record in order, skipping empty nodes.
  template <typename Visit>
  void ForEach(Visit&& visit) const {
    for (const Node& node : nodes_) {
      if (node) visit(*node);
    }
  }

 private:
  std::list<Node> nodes_;
};
