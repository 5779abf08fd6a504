#include "app/profile.h"

#include <gtest/gtest.h>

#include <array>

#include "support/test_folder.h"

namespace velmara {
namespace {

using testing::TestFolder;

TEST(ProfileRead, MissingFileOrKeyGivesTheDefault) {
  TestFolder folder;
  EXPECT_EQ(GetPrivateProfileString("Config", "Crono", "7", folder.path() / "none.ini"), "7");
  auto file = folder.Write("a.ini", "[Config]\r\nCrono=1\r\n");
  EXPECT_EQ(GetPrivateProfileString("Config", "Dificultad", "3", file), "3");
  EXPECT_EQ(GetPrivateProfileString("Colores", "Crono", "3", file), "3");
  // A folder in place of the file reads as a missing file.
  EXPECT_EQ(GetPrivateProfileString("Config", "Crono", "0", folder.path()), "0");
}

TEST(ProfileRead, NamesMatchWithoutCaseAndValuesAreTrimmed) {
  TestFolder folder;
  auto file = folder.Write("a.ini", "[cOnFiG]\nCRONO =\t 12 \t\nvacio=\n");
  EXPECT_EQ(GetPrivateProfileString("Config", "crono", "", file), "12");
  EXPECT_EQ(GetPrivateProfileString("CONFIG", "Vacio", "x", file), "");
}

TEST(ProfileRead, GarbageDuplicatesAndMissingLastLineEnd) {
  TestFolder folder;
  auto file = folder.Write("a.ini",
                           "basura antes\r\n"
                           "[Config]\r\n"
                           "; Crono=9\r\n"
                           "sin igual\r\n"
                           "[roto\r\n"
                           "Crono=1\r\n"
                           "Crono=2\r\n"
                           "[Otra]\r\n"
                           "Crono=3\r\n"
                           "[config]\r\n"
                           "Crono=4\r\n"
                           "Hay_clipboard=5\r\n"
                           "[Final]\r\n"
                           "Ultima=6");
  EXPECT_EQ(GetPrivateProfileString("Config", "Crono", "", file), "1");
  // Only the first of two sections with one name counts.
  EXPECT_EQ(GetPrivateProfileString("Config", "Hay_clipboard", "d", file), "d");
  EXPECT_EQ(GetPrivateProfileString("Otra", "Crono", "", file), "3");
  EXPECT_EQ(GetPrivateProfileString("Final", "Ultima", "", file), "6");
}

TEST(ProfileWrite, CreatesFileAndSectionsWithCrLf) {
  TestFolder folder;
  auto file = folder.path() / "nuevo.ini";
  ASSERT_TRUE(WritePrivateProfileString("Colores", "Corregidos", "255", file));
  ASSERT_TRUE(WritePrivateProfileString("Config", "Crono", "1", file));
  ASSERT_TRUE(WritePrivateProfileString("Colores", "Verbos_Bien", "-3", file));
  EXPECT_EQ(folder.Read("nuevo.ini"), "[Colores]\r\nCorregidos=255\r\nVerbos_Bien=-3\r\n[Config]\r\nCrono=1\r\n");
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "nuevo.ini.tmp"));
}

TEST(ProfileWrite, KeepsEveryOtherLineByteForByte) {
  TestFolder folder;
  const std::string before =
      "; mis ajustes\n"
      "basura\n"
      "[colores]\n"
      "  corregidos = 1\n"
      "Corregidos=2\n"
      "\n"
      "[Config]\n"
      "Crono=0\n"
      "\n"
      "[Otra]\n"
      "x=y";
  auto file = folder.Write("a.ini", before);
  ASSERT_TRUE(WritePrivateProfileString("Colores", "Corregidos", "255", file));
  ASSERT_TRUE(WritePrivateProfileString("Colores", "Verbos_Duda", "9", file));
  ASSERT_TRUE(WritePrivateProfileString("Otra", "z", "w", file));
  ASSERT_TRUE(WritePrivateProfileString("Nueva", "k", "v", file));
  EXPECT_EQ(folder.Read("a.ini"),
            "; mis ajustes\n"
            "basura\n"
            "[colores]\n"
            "  corregidos =255\n"
            "Corregidos=2\n"
            "Verbos_Duda=9\n"
            "\n"
            "[Config]\n"
            "Crono=0\n"
            "\n"
            "[Otra]\n"
            "x=y\n"
            "z=w\n"
            "[Nueva]\n"
            "k=v\n");
  EXPECT_EQ(GetPrivateProfileString("Colores", "Corregidos", "", file), "255");
}

TEST(ProfileWrite, ACarriageReturnAloneEndsALine) {
  TestFolder folder;
  // The file's lines end with LF alone; its last line ends with a CR alone, which is its line end.
  auto file = folder.Write("a.ini", "; notas\n[Otra]\nx=y\r");
  ASSERT_TRUE(WritePrivateProfileString("Config", "Crono", "1", file));
  EXPECT_EQ(folder.Read("a.ini"), "; notas\n[Otra]\nx=y\r[Config]\nCrono=1\n");
  EXPECT_EQ(GetPrivateProfileString("Otra", "x", "", file), "y");

  // Line ends of a CR alone, and an empty line with LF after the section: a key added before it
  // must not turn the two into one CR LF.
  file = folder.Write("b.ini", "[Colores]\rx=1\n\n[Config]\r");
  ASSERT_TRUE(WritePrivateProfileString("Colores", "Corregidos", "7", file));
  EXPECT_EQ(folder.Read("b.ini"), "[Colores]\rx=1\nCorregidos=7\r\n\n[Config]\r");
}

TEST(ProfileWrite, SeveralKeysInOneRewrite) {
  TestFolder folder;
  auto file = folder.Write("a.ini", "[A]\r\nx=1\r\n");
  const std::array<ProfileEntry, 3> entries{{{"A", "x", "2"}, {"B", "y", "3"}, {"a", "z", "4"}}};
  ASSERT_TRUE(WritePrivateProfileStrings(entries, file));
  EXPECT_EQ(folder.Read("a.ini"), "[A]\r\nx=2\r\nz=4\r\n[B]\r\ny=3\r\n");
}

TEST(ProfileWrite, LinkedFileIsRewrittenWhereItLives) {
  TestFolder folder;
  auto target = folder.Write("real/a.ini", "[Config]\nCrono=0\n");
  std::filesystem::create_symlink(target, folder.path() / "link.ini");
  ASSERT_TRUE(WritePrivateProfileString("Config", "Crono", "1", folder.path() / "link.ini"));
  EXPECT_TRUE(std::filesystem::is_symlink(folder.path() / "link.ini"));
  EXPECT_EQ(folder.Read("real/a.ini"), "[Config]\nCrono=1\n");
}

TEST(ProfileWrite, FailureReturnsFalseAndKeepsTheFile) {
  TestFolder folder;
  auto blocker = folder.Write("blocker", "not a folder");
  EXPECT_FALSE(WritePrivateProfileString("Config", "Crono", "1", blocker / "a.ini"));
  std::filesystem::create_directory(folder.path() / "dir.ini");
  EXPECT_FALSE(WritePrivateProfileString("Config", "Crono", "1", folder.path() / "dir.ini"));
  EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "dir.ini"));
  EXPECT_EQ(folder.Read("blocker"), "not a folder");

  // The file keeps its permissions when it is replaced.
  auto file = folder.Write("b.ini", "[Config]\r\nCrono=0\r\n");
  std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  EXPECT_TRUE(WritePrivateProfileString("Config", "Crono", "1", file));
  EXPECT_EQ(folder.Read("b.ini"), "[Config]\r\nCrono=1\r\n");
  EXPECT_EQ(std::filesystem::status(file).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(LeadingNumber, TakesTheLeadingDecimalPart) {
  EXPECT_EQ(LeadingNumber("-12abc"), -12);
  EXPECT_EQ(LeadingNumber("  +7"), 7);
  EXPECT_EQ(LeadingNumber("255"), 255);
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber("-"), 0);
  EXPECT_EQ(LeadingNumber("1 2"), 1);
  EXPECT_EQ(LeadingNumber("0x10"), 0);
}

TEST(LeadingNumber, SaturatesAtThe32BitLimits) {
  EXPECT_EQ(LeadingNumber("2147483647"), 2147483647);
  EXPECT_EQ(LeadingNumber("2147483648"), 2147483647);
  EXPECT_EQ(LeadingNumber("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(LeadingNumber("-99999999999999999999999999"), -2147483647 - 1);
  EXPECT_EQ(LeadingNumber("99999999999999999999999999"), 2147483647);
}

}  // namespace
}  // namespace velmara
