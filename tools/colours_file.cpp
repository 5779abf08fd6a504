#include "tools/colours_file.h"

#include <system_error>

#include "checker/encoding.h"
#include "tools/read_file.h"
#include "tools/replace_file.h"

namespace velmara {
namespace {

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint32_t GetLittleEndian(const char* in, int bytes) {
  std::uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[i])) << (8 * i);
  return value;
}

}  // namespace

std::optional<std::pair<int, int>> ColourGrid::CellAt(int x, int y) {
  if (x < 0 || y < 0) return std::nullopt;
  int column = x / kCellWidth;
  int row = y / kCellHeight;
  if (column >= kGridColumns || row >= kGridRows) return std::nullopt;
  return std::make_pair(column, row);
}

ColourCell DefaultCell(int column, int row) {
  ColourCell cell;
  cell.left = kCellWidth * column + kGridOriginX;
  cell.right = kCellWidth * (column + 1) + kGridOriginX;
  cell.top = kCellHeight * row + kGridOriginY;
  cell.bottom = kCellHeight * (row + 1) + kGridOriginY;
  cell.column = static_cast<std::int16_t>(column);
  cell.row = static_cast<std::int16_t>(row);
  cell.colour = kWhite;
  return cell;
}

void ResetColourGrid(ColourGrid& grid) {
  for (int row = 0; row < kGridRows; ++row)
    for (int column = 0; column < kGridColumns; ++column) grid.Cell(column, row) = DefaultCell(column, row);
}

std::string EncodeColourCell(const ColourCell& cell) {
  std::string out;
  out.reserve(kColourRecordSize);
  PutLittleEndian(out, static_cast<std::uint32_t>(cell.left), 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(cell.right), 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(cell.top), 4);
  PutLittleEndian(out, static_cast<std::uint32_t>(cell.bottom), 4);
  PutLittleEndian(out, static_cast<std::uint16_t>(cell.column), 2);
  PutLittleEndian(out, static_cast<std::uint16_t>(cell.row), 2);
  PutLittleEndian(out, cell.colour, 4);
  return out;
}

ColourCell DecodeColourCell(const char* record) {
  ColourCell cell;
  cell.left = static_cast<std::int32_t>(GetLittleEndian(record, 4));
  cell.right = static_cast<std::int32_t>(GetLittleEndian(record + 4, 4));
  cell.top = static_cast<std::int32_t>(GetLittleEndian(record + 8, 4));
  cell.bottom = static_cast<std::int32_t>(GetLittleEndian(record + 12, 4));
  cell.column = static_cast<std::int16_t>(GetLittleEndian(record + 16, 2));
  cell.row = static_cast<std::int16_t>(GetLittleEndian(record + 18, 2));
  cell.colour = GetLittleEndian(record + 20, 4);
  return cell;
}

bool LoadColourGrid(ColourGrid& grid, const std::filesystem::path& file) {
  grid = ColourGrid();
  // A pipe of that name would keep the dialog waiting for ever; a folder holds no records; a file
  // that fails to read counts as unreadable.
  const std::optional<std::string> read = ReadWholeFile(file);
  if (!read) return false;
  const std::string& bytes = *read;
  for (std::size_t at = 0; at + kColourRecordSize <= bytes.size(); at += kColourRecordSize) {
    ColourCell cell = DecodeColourCell(bytes.data() + at);
    // The record says where it goes: a damaged file must not reach outside the table.
    if (cell.column < 0 || cell.column >= kCellTableSize || cell.row < 0 || cell.row >= kCellTableSize) continue;
    grid.Cell(cell.column, cell.row) = cell;
  }
  return true;
}

std::optional<SaveError> SaveColourGrid(const ColourGrid& grid, const std::filesystem::path& file) {
  std::string bytes;
  bytes.reserve(kColourRecordSize * kGridColumns * kGridRows);
  for (int row = 0; row < kGridRows; ++row) {
    for (int column = 0; column < kGridColumns; ++column) {
      // The record names the cell it was taken from: a cell no record filled holds column and row
      // 0, and written as it is it would overwrite cell (0, 0) at the next load.
      ColourCell cell = grid.Cell(column, row);
      cell.column = static_cast<std::int16_t>(column);
      cell.row = static_cast<std::int16_t>(row);
      bytes += EncodeColourCell(cell);
    }
  }
  std::error_code error;
  if (ReplaceFileContent(file, bytes, error)) return std::nullopt;
  return SaveError{error.value(), InputToWindows1252(error.message())};
}

std::string SaveErrorText(const SaveError& error) {
  return "Err: " + std::string(error.number < 0 ? "" : " ") + std::to_string(error.number) + " " + error.description;
}

}  // namespace velmara
