#include "app/profile.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

#include "support/test_folder.h"

namespace velmara {
namespace {

using testing::TestFolder;

// Each lookup names the file's text (none: no file), the section, the key and the default.
TEST(ProfileRead, SectionsAndKeysMatchWithoutCaseAndTheFirstSectionOfANameCounts) {
  const std::string config = "[Config]\r\nCrono=1\r\n";
  const std::string mixedCase = "[cOnFiG]\nCRONO =\t 12 \t\nvacio=\n";
  // Stray lines, a comment, a broken header, a repeated key and section, no last line end.
  const std::string garbage = "basura antes\r\n[Config]\r\n; Crono=9\r\nsin igual\r\n[roto\r\nCrono=1\r\nCrono=2\r\n"
                              "[Otra]\r\nCrono=3\r\n[config]\r\nCrono=4\r\nHay_clipboard=5\r\n[Final]\r\nUltima=6";
  struct Case {
    const std::string* text;
    const char *section, *key, *fallback, *value;
  };
  const Case cases[] = {
      {nullptr, "Config", "Crono", "7", "7"},
      {&config, "Config", "Dificultad", "3", "3"}, {&config, "Colores", "Crono", "3", "3"},
      // Names match without case, and values are trimmed.
      {&mixedCase, "Config", "crono", "", "12"}, {&mixedCase, "CONFIG", "Vacio", "x", ""},
      {&garbage, "Config", "Crono", "", "1"},
      {&garbage, "Config", "Hay_clipboard", "d", "d"},  // only in the second [config]
      {&garbage, "Otra", "Crono", "", "3"}, {&garbage, "Final", "Ultima", "", "6"},
  };
  TestFolder folder;
  const auto file = folder.path() / "a.ini";
  for (const Case& c : cases) {
    std::filesystem::remove(file);
    if (c.text) folder.Write("a.ini", *c.text);
    EXPECT_EQ(GetPrivateProfileString(c.section, c.key, c.fallback, file), c.value)
        << (c.text ? *c.text : "(no file)") << " [" << c.section << "] " << c.key;
  }
  // A folder in place of the file reads as a missing file.
  EXPECT_EQ(GetPrivateProfileString("Config", "Crono", "0", folder.path()), "0");
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

// The leading decimal part, saturated at the 32-bit limits.
TEST(LeadingNumber, TakesTheLeadingDecimalPartWithinThe32BitLimits) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"-12abc", -12}, {"  +7", 7}, {"255", 255}, {"", 0}, {"abc", 0}, {"-", 0}, {"1 2", 1}, {"0x10", 0},
      {"2147483647", 2147483647}, {"2147483648", 2147483647}, {"-2147483648", -2147483647 - 1},
      {"-99999999999999999999999999", -2147483647 - 1}, {"99999999999999999999999999", 2147483647}};
  for (const auto& [text, value] : cases) EXPECT_EQ(LeadingNumber(text), value) << text;
}

}  // namespace
}  // namespace velmara
