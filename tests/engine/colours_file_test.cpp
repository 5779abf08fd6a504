#include "tools/colours_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <iterator>

#include "support/file_size_limit.h"
#include "support/test_folder.h"

namespace velmara {
namespace {

namespace fs = std::filesystem;
using testing::TestFolder;

ColourCell Record(std::int32_t left, std::int32_t right, std::int32_t top, std::int32_t bottom, std::int16_t column,
                  std::int16_t row, std::uint32_t colour) {
  return ColourCell{left, right, top, bottom, column, row, colour};
}

TEST(ColourGridTest, DefaultCellsTileTheGridFromOneOne) {
  ColourGrid grid;
  ResetColourGrid(grid);
  EXPECT_EQ(grid.Cell(0, 0), Record(1, 26, 1, 26, 0, 0, 0xFFFFFF));
  EXPECT_EQ(grid.Cell(2, 0), Record(51, 76, 1, 26, 2, 0, 0xFFFFFF));
  EXPECT_EQ(grid.Cell(12, 9), Record(301, 326, 226, 251, 12, 9, 0xFFFFFF));
  EXPECT_EQ(grid.Cell(13, 0), ColourCell{}) << "cells beyond the shown grid stay empty";
}

TEST(ColourGridTest, PointsMapToShownCellsOnly) {
  EXPECT_EQ(ColourGrid::CellAt(0, 0), std::make_pair(0, 0));
  EXPECT_EQ(ColourGrid::CellAt(24, 24), std::make_pair(0, 0));
  EXPECT_EQ(ColourGrid::CellAt(25, 249), std::make_pair(1, 9));
  EXPECT_EQ(ColourGrid::CellAt(324, 0), std::make_pair(12, 0));
  EXPECT_FALSE(ColourGrid::CellAt(325, 0));
  EXPECT_FALSE(ColourGrid::CellAt(0, 250));
  EXPECT_FALSE(ColourGrid::CellAt(-1, 10)) << "no rounding of negatives towards cell 0";
}

TEST(ColoursFileTest, ArchivedGridIsRowByRowIn24ByteRecords) {
  TestFolder folder;
  ColourGrid grid;
  ResetColourGrid(grid);
  grid.Cell(2, 0).colour = 255;
  fs::path file = folder.path() / kColoursFile;

  ASSERT_FALSE(SaveColourGrid(grid, file));

  std::string bytes = folder.Read(kColoursFile);
  ASSERT_EQ(bytes.size(), 3120u);
  std::string third = bytes.substr(2 * 24, 24);
  EXPECT_EQ(third, std::string("\x33\0\0\0\x4C\0\0\0\x01\0\0\0\x1A\0\0\0\x02\0\0\0\xFF\0\0\0", 24));
  EXPECT_EQ(DecodeColourCell(bytes.data() + 14 * 24), Record(26, 51, 26, 51, 1, 1, 0xFFFFFF)) << "row 1 follows row 0";

  ColourGrid again;
  ASSERT_TRUE(LoadColourGrid(again, file));
  for (int row = 0; row < kGridRows; ++row)
    for (int column = 0; column < kGridColumns; ++column) EXPECT_EQ(again.Cell(column, row), grid.Cell(column, row));
}

TEST(ColoursFileTest, RecordsGoWhereTheySayInAnyOrder) {
  TestFolder folder;
  std::string bytes = EncodeColourCell(Record(-5, 70000, 7, 8, 4, 3, 0x00123456)) +
                      EncodeColourCell(Record(1, 2, 3, 4, 0, 0, 0xFF));
  folder.Write(kColoursFile, bytes + "partial");  // a trailing piece shorter than a record is ignored

  ColourGrid grid;
  ResetColourGrid(grid);
  ASSERT_TRUE(LoadColourGrid(grid, folder.path() / kColoursFile));
  EXPECT_EQ(grid.Cell(4, 3), Record(-5, 70000, 7, 8, 4, 3, 0x00123456));
  EXPECT_EQ(grid.Cell(0, 0), Record(1, 2, 3, 4, 0, 0, 0xFF));
  EXPECT_EQ(grid.Cell(1, 0), ColourCell{}) << "loading empties the table first";
}

TEST(ColoursFileTest, FileOfRowZeroOnlyLeavesTheOtherRowsEmpty) {
  TestFolder folder;
  ColourGrid full;
  ResetColourGrid(full);
  std::string rowZero;
  for (int column = 0; column < kGridColumns; ++column) rowZero += EncodeColourCell(full.Cell(column, 0));
  folder.Write(kColoursFile, rowZero);

  ColourGrid grid;
  ASSERT_TRUE(LoadColourGrid(grid, folder.path() / kColoursFile));
  EXPECT_EQ(grid.Cell(12, 0), full.Cell(12, 0));
  for (int row = 1; row < kGridRows; ++row) EXPECT_EQ(grid.Cell(5, row), ColourCell{});

  // Saving such a grid must not let the empty cells claim cell (0, 0) at the next load.
  grid.Cell(0, 0).colour = 0x0000FF00;
  ASSERT_FALSE(SaveColourGrid(grid, folder.path() / kColoursFile));
  ColourGrid reloaded;
  ASSERT_TRUE(LoadColourGrid(reloaded, folder.path() / kColoursFile));
  EXPECT_EQ(reloaded.Cell(0, 0).colour, 0x0000FF00u);
  EXPECT_EQ(reloaded.Cell(0, 0).right, 26);
  EXPECT_EQ(reloaded.Cell(3, 4).row, 4);
}

TEST(ColoursFileTest, RecordsOutsideTheTableAreSkipped) {
  TestFolder folder;
  std::string bytes = EncodeColourCell(Record(1, 1, 1, 1, -1, 0, 1)) + EncodeColourCell(Record(1, 1, 1, 1, 51, 0, 2)) +
                      EncodeColourCell(Record(1, 1, 1, 1, 0, 32767, 3)) +
                      EncodeColourCell(Record(1, 1, 1, 1, 2, -32768, 4)) +
                      EncodeColourCell(Record(9, 9, 9, 9, 50, 50, 5));
  folder.Write(kColoursFile, bytes);

  ColourGrid grid;
  ASSERT_TRUE(LoadColourGrid(grid, folder.path() / kColoursFile));
  EXPECT_EQ(grid.Cell(50, 50), Record(9, 9, 9, 9, 50, 50, 5)) << "the table's last cell is still inside";
  for (int column = 0; column < kCellTableSize; ++column)
    for (int row = 0; row < kCellTableSize; ++row) {
      if (column != 50 || row != 50) {
        EXPECT_EQ(grid.Cell(column, row), ColourCell{}) << column << "," << row;
      }
    }
}

TEST(ColoursFileTest, UnreadableOrUnwritableFilesAreReported) {
  TestFolder folder;
  ColourGrid grid;
  EXPECT_FALSE(LoadColourGrid(grid, folder.path() / "falta.log"));

  folder.Write("fichero", "x");
  ResetColourGrid(grid);
  auto error = SaveColourGrid(grid, folder.path() / "fichero" / kColoursFile);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->number, ENOTDIR);
  EXPECT_EQ(SaveErrorText(*error).rfind("Err:  " + std::to_string(ENOTDIR) + " ", 0), 0u);
  EXPECT_EQ(SaveErrorText(SaveError{70, "Permiso denegado"}), "Err:  70 Permiso denegado");
}

TEST(ColoursFileTest, OnlyAFileIsRead) {
  TestFolder folder;
  ColourGrid grid;
  fs::create_directory(folder.path() / "carpeta");
  EXPECT_FALSE(LoadColourGrid(grid, folder.path() / "carpeta"));
  // Opening a pipe would wait for a writer for ever.
  ASSERT_EQ(mkfifo((folder.path() / kColoursFile).c_str(), 0600), 0);
  EXPECT_FALSE(LoadColourGrid(grid, folder.path() / kColoursFile));
  EXPECT_EQ(grid.Cell(0, 0), ColourCell{});
  // A file whose every read fails is unreadable, not a crash.
  fs::create_symlink("/proc/self/mem", folder.path() / "mem.log");
  EXPECT_FALSE(LoadColourGrid(grid, folder.path() / "mem.log"));
}

TEST(ColoursFileTest, AFailedSaveKeepsTheArchivedFile) {
  TestFolder folder;
  ColourGrid grid;
  ResetColourGrid(grid);
  const fs::path file = folder.path() / kColoursFile;
  ASSERT_FALSE(SaveColourGrid(grid, file));
  const std::string archived = folder.Read(kColoursFile);

  grid.Cell(2, 0).colour = 255;
  // The disk fills up halfway through the new file.
  {
    testing::FileSizeLimit limit(archived.size() / 2);
    EXPECT_TRUE(SaveColourGrid(grid, file));
  }
  EXPECT_EQ(folder.Read(kColoursFile), archived);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1) << "no temporary file left";

  // A folder or a device of that name is never replaced.
  fs::create_directory(folder.path() / "carpeta");
  EXPECT_TRUE(SaveColourGrid(grid, folder.path() / "carpeta"));
  EXPECT_TRUE(fs::is_directory(folder.path() / "carpeta"));
  fs::create_symlink("/dev/full", folder.path() / "lleno.log");
  EXPECT_TRUE(SaveColourGrid(grid, folder.path() / "lleno.log"));
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

}  // namespace
}  // namespace velmara
