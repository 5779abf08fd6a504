// A colours file of any bytes: every whole record lands in the cell it names (the last record
// naming a cell wins), records naming a cell outside the table and a trailing partial record are
// skipped, and what the save writes reads back as the grid that was shown.

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "fuzz_support.h"
#include "tools/colours_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmara;
  const auto file = fuzz::TemporaryFolder() / kColoursFile;
  const std::string_view bytes = fuzz::AsText(data, size);
  fuzz::WriteFile(file, bytes);

  ColourGrid grid;
  FUZZ_CHECK(LoadColourGrid(grid, file));

  std::map<std::pair<int, int>, ColourCell> named;
  for (std::size_t at = 0; at + kColourRecordSize <= bytes.size(); at += kColourRecordSize) {
    const ColourCell cell = DecodeColourCell(bytes.data() + at);
    FUZZ_CHECK(EncodeColourCell(cell) == bytes.substr(at, kColourRecordSize));
    if (cell.column >= 0 && cell.column < kCellTableSize && cell.row >= 0 && cell.row < kCellTableSize)
      named[{cell.column, cell.row}] = cell;
  }
  for (int column = 0; column < kCellTableSize; ++column) {
    for (int row = 0; row < kCellTableSize; ++row) {
      auto found = named.find({column, row});
      FUZZ_CHECK(grid.Cell(column, row) == (found == named.end() ? ColourCell{} : found->second));
    }
  }

  // "Archivar": the shown cells, each under its own column and row, and nothing else.
  FUZZ_CHECK(!SaveColourGrid(grid, file));
  FUZZ_CHECK(fuzz::ReadFile(file).size() == kColourRecordSize * kGridColumns * kGridRows);
  ColourGrid again;
  FUZZ_CHECK(LoadColourGrid(again, file));
  for (int column = 0; column < kCellTableSize; ++column) {
    for (int row = 0; row < kCellTableSize; ++row) {
      ColourCell expected{};
      if (column < kGridColumns && row < kGridRows) {
        expected = grid.Cell(column, row);
        expected.column = static_cast<std::int16_t>(column);
        expected.row = static_cast<std::int16_t>(row);
      }
      FUZZ_CHECK(again.Cell(column, row) == expected);
    }
  }
  return 0;
}
