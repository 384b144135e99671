#pragma once
#include <string>
#include <vector>

// A saved asset document read back as plain data, and the checks every
// document the tests produce must pass.

struct PropertyOutline {
  std::string index, name, changed, text;  // changed "-" when absent
  bool operator==(const PropertyOutline&) const = default;
};

struct ClassOutline {
  std::string id, wmi, changed;
  std::vector<PropertyOutline> properties;
};

struct DocumentOutline {
  bool loaded = false;
  std::string declaration;  // the text of the first child, when an instruction
  std::string deviceId, version, currentTimestamp, previousTimestamp;
  std::vector<ClassOutline> classes;

  const ClassOutline* Find(const std::string& id) const;
  // The summary property of that name and index, or null.
  const PropertyOutline* Summary(const std::string& name, const std::string& index = "1") const;
};

DocumentOutline ReadOutline(const std::string& path);

// xmllint against the shipped schema; `report` gets its output.
bool ConformsToSchema(const std::string& path, std::string& report);

// Class order, properties of each WMI class in their order and grouped by
// instance, and attributes fixed by the format. Empty when all hold.
std::string OrderViolations(const DocumentOutline& outline);

// Both of the above, as a gtest failure message when one fails.
std::string DocumentProblems(const std::string& path);
