#pragma once
// Row tables of test cases in fixture files: one case a line, fields
// separated by '|' and trimmed; blank lines and lines starting with '#'
// are left out.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using TableRow = std::vector<std::string>;

// Each row of fixtures/`table` holds `fields` fields, the last `outputs` of
// them what `run` must give for the row.
template <typename Run>
void RunTable(const std::string& table, std::size_t fields, std::size_t outputs, Run run) {
  std::ifstream file(MORV_FIXTURES "/" + table);
  int rows = 0;
  for (std::string line; std::getline(file, line);) {
    if (line.find_first_not_of(" \t\r") == line.npos || line[0] == '#') continue;
    TableRow row;
    std::istringstream cells(line + "|");  // a last empty field counts too
    for (std::string cell; std::getline(cells, cell, '|');) {
      cell.erase(cell.find_last_not_of(" \t\r") + 1);
      row.push_back(cell.erase(0, cell.find_first_not_of(" \t")));
    }
    SCOPED_TRACE(table + " row " + std::to_string(++rows) + ": " + ::testing::PrintToString(row));
    ASSERT_EQ(row.size(), fields);
    EXPECT_EQ(run(row), TableRow(row.end() - static_cast<long>(outputs), row.end()));
  }
  EXPECT_GT(rows, 0) << "no rows in " << table;
}
