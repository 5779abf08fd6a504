#include "app/configuration.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <iterator>

#include "support/file_size_limit.h"
#include "support/test_folder.h"

namespace velmara {
namespace {

using testing::TestFolder;

// The seven stored settings in file order: Corregidos, Verbos_Bien, Hay_clipboard, Crono,
// Dificultad, Inteligente, Verbos_Duda.
std::array<std::int32_t, 7> Stored(const Settings& s) {
  return {s.Corregidos, s.Verbos_Bien, s.Hay_clipboard, s.Crono, s.Dificultad, s.Inteligente, s.Verbos_Duda};
}

TEST(Configuration, NoFileGivesDefaultsAndSaveWritesAllSevenKeys) {
  TestFolder folder;
  Settings settings;
  settings.Corregidos = 1;
  settings.Crono = 1;
  ASSERT_TRUE(Configuration("get", folder.path(), settings));
  EXPECT_EQ(Stored(settings), (std::array<std::int32_t, 7>{11558979, 1426195, 0, 0, 0, 0, 12632256}));

  settings.Verbos_Bien = -5;
  ASSERT_TRUE(Configuration("save", folder.path(), settings));
  EXPECT_EQ(folder.Read(kConfigurationFile),
            "[Colores]\r\nCorregidos=11558979\r\nVerbos_Bien=-5\r\nVerbos_Duda=12632256\r\n"
            "[Config]\r\nHay_clipboard=0\r\nCrono=0\r\nDificultad=0\r\nInteligente=0\r\n");
}

TEST(Configuration, ReadsHandWrittenValues) {
  TestFolder folder;
  folder.Write(kConfigurationFile,
               "[COLORES]\nverbos_duda=255\ncorregidos=rojo\n[Config]\nCrono=\nHay_clipboard= 1\nInteligente=1x\n");
  Settings settings;
  ASSERT_TRUE(Configuration("get", folder.path(), settings));
  // Not a number gives 0, an empty value 0, a missing key its default, "1x" its leading 1.
  EXPECT_EQ(Stored(settings), (std::array<std::int32_t, 7>{0, 1426195, 1, 0, 0, 1, 255}));
}

TEST(Configuration, OtherLineEndsAByteOrderMarkAndUnreadableFilesReadAsMeant) {
  TestFolder folder;
  Settings settings;
  // Line ends of a CR alone: every key is read, and the save keeps the file's own line ends.
  folder.Write(kConfigurationFile, "[Config]\rCrono=1\r[Colores]\rCorregidos=255\r");
  ASSERT_TRUE(Configuration("get", folder.path(), settings));
  EXPECT_EQ(Stored(settings), (std::array<std::int32_t, 7>{255, 1426195, 0, 1, 0, 0, 12632256}));
  ASSERT_TRUE(Configuration("save", folder.path(), settings));
  EXPECT_EQ(folder.Read(kConfigurationFile),
            "[Config]\rCrono=1\rHay_clipboard=0\rDificultad=0\rInteligente=0\r"
            "[Colores]\rCorregidos=255\rVerbos_Bien=1426195\rVerbos_Duda=12632256\r");

  // A UTF-8 byte-order mark does not hide the first section, and the save keeps it.
  folder.Write(kConfigurationFile, "\xEF\xBB\xBF[Colores]\r\nCorregidos=7\r\n[Config]\r\nCrono=1\r\n");
  settings = Settings();
  ASSERT_TRUE(Configuration("get", folder.path(), settings));
  EXPECT_EQ(Stored(settings), (std::array<std::int32_t, 7>{7, 1426195, 0, 1, 0, 0, 12632256}));
  ASSERT_TRUE(Configuration("save", folder.path(), settings));
  EXPECT_EQ(folder.Read(kConfigurationFile),
            "\xEF\xBB\xBF[Colores]\r\nCorregidos=7\r\nVerbos_Bien=1426195\r\nVerbos_Duda=12632256\r\n"
            "[Config]\r\nCrono=1\r\nHay_clipboard=0\r\nDificultad=0\r\nInteligente=0\r\n");

  // A file that fails to read (here every read is an I/O error) reads as a missing file.
  std::filesystem::remove(folder.path() / kConfigurationFile);
  std::filesystem::create_symlink("/proc/self/mem", folder.path() / kConfigurationFile);
  settings.Crono = 5;
  ASSERT_TRUE(Configuration("get", folder.path(), settings));
  EXPECT_EQ(Stored(settings), (std::array<std::int32_t, 7>{11558979, 1426195, 0, 0, 0, 0, 12632256}));
}

TEST(Configuration, SaveKeepsOtherContentAndRoundTrips) {
  TestFolder folder;
  folder.Write(kConfigurationFile, "; nota\n[Config]\nCrono=1\nOtro=x\n[Extra]\na=b");
  Settings settings;
  ASSERT_TRUE(Configuration("get", folder.path(), settings));
  settings.Dificultad = 1;
  settings.Corregidos = 255;
  ASSERT_TRUE(Configuration("save", folder.path(), settings));
  EXPECT_EQ(folder.Read(kConfigurationFile),
            "; nota\n[Config]\nCrono=1\nOtro=x\nHay_clipboard=0\nDificultad=1\nInteligente=0\n[Extra]\na=b\n"
            "[Colores]\nCorregidos=255\nVerbos_Bien=1426195\nVerbos_Duda=12632256\n");
  Settings again;
  ASSERT_TRUE(Configuration("get", folder.path(), again));
  EXPECT_EQ(again.Corregidos, 255);
  EXPECT_EQ(again.Crono, 1);
  EXPECT_EQ(again.Dificultad, 1);
  // The country, once chosen, beside the seven keys.
  again.Pais = "es_MX";
  ASSERT_TRUE(Configuration("save", folder.path(), again));
  Settings country;
  ASSERT_TRUE(Configuration("get", folder.path(), country));
  EXPECT_EQ(country.Pais, "es_MX");
}

TEST(Configuration, AnAddedOptionIsWrittenOnceItIsOnAndKeptAfterwards) {
  TestFolder folder;
  Settings settings;
  ASSERT_TRUE(Configuration("save", folder.path(), settings));
  EXPECT_EQ(folder.Read(kConfigurationFile).find("Avisar_sin_interrumpir"), std::string::npos);
  for (const std::int32_t value : {1, 0}) {
    settings.Avisar_sin_interrumpir = value;
    ASSERT_TRUE(Configuration("save", folder.path(), settings));
    EXPECT_NE(folder.Read(kConfigurationFile).find("Avisar_sin_interrumpir=" + std::to_string(value)),
              std::string::npos);
    Settings read;
    ASSERT_TRUE(Configuration("get", folder.path(), read));
    EXPECT_EQ(read.Avisar_sin_interrumpir, value);
  }
}

TEST(Configuration, OtherActionsDoNothing) {
  TestFolder folder;
  Settings settings;
  settings.Crono = 7;
  EXPECT_TRUE(Configuration("Get", folder.path(), settings));
  EXPECT_TRUE(Configuration("SAVE", folder.path(), settings));
  EXPECT_TRUE(Configuration("", folder.path(), settings));
  EXPECT_EQ(settings.Crono, 7);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / kConfigurationFile));
}

TEST(Configuration, FailedSaveReturnsFalseAndKeepsTheFile) {
  TestFolder folder;
  Settings settings;
  auto blocker = folder.Write("blocker", "x");
  EXPECT_FALSE(Configuration("save", blocker, settings));
  std::filesystem::create_directory(folder.path() / kConfigurationFile);
  EXPECT_FALSE(Configuration("save", folder.path(), settings));

  // A leftover from an interrupted save does not block the next one.
  TestFolder other;
  other.Write(kConfigurationFile, "[Config]\nCrono=1\n");
  std::filesystem::create_directory(other.path() / (std::string(kConfigurationFile) + ".tmp"));
  EXPECT_TRUE(Configuration("save", other.path(), settings));
  EXPECT_NE(other.Read(kConfigurationFile).find("Crono=0"), std::string::npos);
}

TEST(Configuration, FullDiskFailsTheSaveAndKeepsTheFile) {
  TestFolder folder;
  Settings settings;
  settings.Crono = 1;
  // A file that leads to a full device is not a file the save may rewrite.
  std::filesystem::create_symlink("/dev/full", folder.path() / kConfigurationFile);
  EXPECT_FALSE(Configuration("save", folder.path(), settings));
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));

  // The disk fills up while the new file is written: the old one stays whole, nothing is left beside it.
  TestFolder other;
  const std::string before = "; ajustes de Ana\r\n[Config]\r\nCrono=0\r\n";
  other.Write(kConfigurationFile, before);
  {
    testing::FileSizeLimit limit(before.size() + 10);
    EXPECT_FALSE(Configuration("save", other.path(), settings));
  }
  EXPECT_EQ(other.Read(kConfigurationFile), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(other.path()), {}), 1);
  EXPECT_TRUE(Configuration("save", other.path(), settings));
}

TEST(Configuration, ReadOnlyFolderFailsTheSaveAndKeepsTheFile) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
  TestFolder folder;
  folder.Write(kConfigurationFile, "[Config]\nCrono=1\n");
  std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  Settings settings;
  EXPECT_FALSE(Configuration("save", folder.path(), settings));
  EXPECT_EQ(folder.Read(kConfigurationFile), "[Config]\nCrono=1\n");
}

TEST(Configuration, FixedColoursIgnoreTheFile) {
  TestFolder folder;
  folder.Write(kConfigurationFile, "[Colores]\nMissingColour=1\nFalsePositiveColour=2\n");
  Settings settings;
  settings.MissingColour = 0;
  settings.FalsePositiveColour = 0;
  SetFixedColours(settings);
  ASSERT_TRUE(Configuration("get", folder.path(), settings));
  EXPECT_EQ(settings.MissingColour, 255);
  EXPECT_EQ(settings.FalsePositiveColour, 9461965);
}

}  // namespace
}  // namespace velmara
