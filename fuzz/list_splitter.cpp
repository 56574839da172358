// The list splitter (ListRows, which skips eight bytes at a time) against a plain reading of
// the same List text one byte at a time: cells by TAB, rows by CR, LF or CR LF, no row after a
// final line end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ListView.h"

namespace {

std::vector<std::vector<std::string>> Reference(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  if (text.empty()) return rows;
  std::vector<std::string> row(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\t') {
      row.emplace_back();
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      rows.push_back(row);
      row.assign(1, std::string());
    } else {
      row.back() += c;
    }
  }
  const char last = text.back();
  if (last != '\r' && last != '\n') rows.push_back(row);
  return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ListRows rows;
  rows.Assign(text);
  const auto expected = Reference(text);
  if (rows.RowCount() != static_cast<int>(expected.size())) std::abort();
  for (int row = 0; row < rows.RowCount(); ++row) {
    const auto& cells = expected[static_cast<std::size_t>(row)];
    if (rows.CellCount(row) != static_cast<int>(cells.size())) std::abort();
    for (int column = 0; column < rows.CellCount(row); ++column) {
      if (rows.Cell(row, column) != cells[static_cast<std::size_t>(column)]) std::abort();
    }
    // Outside the cells there is nothing, never a read past the text.
    if (!rows.Cell(row, rows.CellCount(row)).empty() || !rows.Cell(row, -1).empty()) std::abort();
  }
  if (!rows.Cell(rows.RowCount(), 0).empty() || !rows.Cell(-1, 0).empty()) std::abort();
  return 0;
}
