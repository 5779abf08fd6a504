#pragma once
// The favourite-colours grid and its file "Mis Colores.log": 24-byte records of one cell each,
// little-endian, no header.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace velmara {

inline constexpr const char* kColoursFile = "Mis Colores.log";

inline constexpr int kGridColumns = 13;
inline constexpr int kGridRows = 10;
inline constexpr int kCellWidth = 25;
inline constexpr int kCellHeight = 25;
inline constexpr int kGridOriginX = 1;
inline constexpr int kGridOriginY = 1;
inline constexpr int kCellInset = 3;  // the drawn box starts this far inside the cell
inline constexpr int kCellTableSize = 51;  // columns and rows 0 to 50 can be stored
inline constexpr std::size_t kColourRecordSize = 24;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;

struct ColourCell {
  std::int32_t left = 0;
  std::int32_t right = 0;
  std::int32_t top = 0;
  std::int32_t bottom = 0;
  std::int16_t column = 0;
  std::int16_t row = 0;
  std::uint32_t colour = 0;  // 0x00BBGGRR

  bool operator==(const ColourCell&) const = default;
};

class ColourGrid {
 public:
  // Column and row must lie in 0 to kCellTableSize - 1.
  ColourCell& Cell(int column, int row) { return cells_[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)]; }
  const ColourCell& Cell(int column, int row) const {
    return cells_[static_cast<std::size_t>(column)][static_cast<std::size_t>(row)];
  }
  // The shown cell under a point of the grid picture, if the point lies on the 13 x 10 grid.
  static std::optional<std::pair<int, int>> CellAt(int x, int y);

 private:
  std::array<std::array<ColourCell, kCellTableSize>, kCellTableSize> cells_{};
};

ColourCell DefaultCell(int column, int row);

// Every shown cell gets its default place and white.
void ResetColourGrid(ColourGrid& grid);

// Empties the table and stores every whole record at the cell its own column and row name.
// Records naming a cell outside the table are skipped. Returns false when the file cannot be
// read, leaving the grid empty.
bool LoadColourGrid(ColourGrid& grid, const std::filesystem::path& file);

struct SaveError {
  int number = 0;
  std::string description;
};

// Writes the 130 shown cells row by row as one whole file (3120 bytes).
std::optional<SaveError> SaveColourGrid(const ColourGrid& grid, const std::filesystem::path& file);

// "Err: " with the number after a space, a space and the description, as the save reports it.
std::string SaveErrorText(const SaveError& error);

std::string EncodeColourCell(const ColourCell& cell);
ColourCell DecodeColourCell(const char* record);

}  // namespace velmara
