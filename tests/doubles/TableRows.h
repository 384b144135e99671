#pragma once
// Row tables of test cases: one case a line, fields separated by '|' and
// trimmed; blank lines and lines starting with '#' are left out.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using TableRow = std::vector<std::string>;

inline std::vector<TableRow> ReadTableRows(const std::string& path) {
  std::vector<TableRow> rows;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) {
    if (line.find_first_not_of(" \t\r") == line.npos || line[0] == '#') continue;
    TableRow& row = rows.emplace_back();
    std::istringstream fields(line + "|");  // a last empty field counts too
    for (std::string field; std::getline(fields, field, '|');) {
      field.erase(field.find_last_not_of(" \t\r") + 1);
      row.push_back(field.erase(0, field.find_first_not_of(" \t")));
    }
  }
  return rows;
}

#ifdef GTEST_API_
// Runs a row table of fixtures: each row holds `fields` fields, the last
// `outputs` of them what `run` must give for the row.
template <typename Run>
void RunTable(const std::string& table, std::size_t fields, std::size_t outputs, Run run) {
  const auto rows = ReadTableRows(MORV_FIXTURES "/" + table);
  EXPECT_FALSE(rows.empty()) << table;
  for (const TableRow& row : rows) {
    SCOPED_TRACE(table + ": " + ::testing::PrintToString(row));
    ASSERT_EQ(row.size(), fields);
    EXPECT_EQ(run(row), TableRow(row.end() - static_cast<long>(outputs), row.end()));
  }
}
#endif
