#include "tools/colour_swatch.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/file_size_limit.h"
#include "support/test_folder.h"

namespace velmara {
namespace {

namespace fs = std::filesystem;

// Colour 0x00BBGGRR of pixel (x, y), y counted from the top.
std::uint32_t PixelAt(const std::string& bmp, int x, int y) {
  std::size_t at = 54 + static_cast<std::size_t>(15 - y) * 48 + static_cast<std::size_t>(x) * 3;
  auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(bmp[i])); };
  return byte(at + 2) | byte(at + 1) << 8 | byte(at) << 16;
}

TEST(ColourSwatchTest, SixteenSquareBitmapWithARoundBoxOutlinedInBlackOnWhite) {
  std::string bmp = ColourSwatchBitmap(0x00336699);
  ASSERT_EQ(bmp.size(), 54u + 16 * 48);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(bmp[28], 24) << "bits per pixel";
  EXPECT_EQ(PixelAt(bmp, 7, 7), 0x00336699u);
  EXPECT_EQ(PixelAt(bmp, 3, 7), 0x00336699u);
  EXPECT_EQ(PixelAt(bmp, 0, 7), 0u) << "outline at the left";
  EXPECT_EQ(PixelAt(bmp, 7, 14), 0u) << "outline at the bottom";
  EXPECT_EQ(PixelAt(bmp, 0, 0), 0xFFFFFFu) << "rounded corner";
  EXPECT_EQ(PixelAt(bmp, 15, 15), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(bmp, 15, 7), 0xFFFFFFu) << "the last column lies outside the box";
}

TEST(ColourSwatchTest, FileIsWrittenReplacedAndDeleted) {
  testing::TestFolder folder;
  folder.Write(kSwatchFile, "old");
  std::error_code error;
  ASSERT_TRUE(WriteColourSwatch(folder.path(), 255, error));
  EXPECT_EQ(folder.Read(kSwatchFile), ColourSwatchBitmap(255));
  DeleteColourSwatch(folder.path());
  EXPECT_FALSE(fs::exists(folder.path() / kSwatchFile));
  DeleteColourSwatch(folder.path());  // nothing there: no complaint

  folder.Write("fichero", "x");
  EXPECT_FALSE(WriteColourSwatch(folder.path() / "fichero", 255, error));
  EXPECT_TRUE(error);
}

TEST(ColourSwatchTest, AFailedWriteKeepsWhatWasThere) {
  testing::TestFolder folder;
  std::error_code error;
  ASSERT_TRUE(WriteColourSwatch(folder.path(), 255, error));
  {
    testing::FileSizeLimit limit(10);  // the disk is full after 10 bytes
    EXPECT_FALSE(WriteColourSwatch(folder.path(), 0xFF0000, error));
    EXPECT_TRUE(error);
  }
  EXPECT_EQ(folder.Read(kSwatchFile), ColourSwatchBitmap(255));
  DeleteColourSwatch(folder.path());

  fs::create_directory(folder.path() / kSwatchFile);
  folder.Write(fs::path(kSwatchFile) / "dentro", "intacto");
  EXPECT_FALSE(WriteColourSwatch(folder.path(), 255, error));
  DeleteColourSwatch(folder.path());
  EXPECT_EQ(folder.Read(fs::path(kSwatchFile) / "dentro"), "intacto");

  testing::TestFolder other;
  fs::create_symlink("/dev/full", other.path() / kSwatchFile);
  EXPECT_FALSE(WriteColourSwatch(other.path(), 255, error));
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

}  // namespace
}  // namespace velmara
