#include "tools/export.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>

#include "support/file_size_limit.h"
#include "support/scripted_interaction.h"
#include "support/test_folder.h"

namespace velmara {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedInteraction;
using testing::TestFolder;

constexpr const char* kCorrected = "El cami\xF3n lleg\xF3" "\r\nad\xF3nde?";
// What the export writes by default: UTF-8, the text's own line ends.
constexpr const char* kExported = "El cami\u00F3n lleg\u00F3\r\nad\u00F3nde?\r\n";

std::string OverwriteQuestion(const fs::path& path) {
  return "El fichero : \r\n" + path.string() + "\r\nExiste ..\r\nDesea sobrescribir ?";
}

class ExportTest : public ::testing::Test {
 protected:
  ExportTest() {
    state.programFolder = folder.path();
    state.check.correctedText = kCorrected;
  }
  void ExportTo(const fs::path& path) {
    ui.saveAnswers.push_back(path);
    ExportFormattedText(state, ui);
  }
  std::string LastMessage() const { return ui.messages.empty() ? "" : ui.messages.back().text; }

  TestFolder folder;
  AppState state;
  ScriptedInteraction ui;
};

TEST_F(ExportTest, NewFileHoldsTheCorrectedTextAndOneLineEnd) {
  ExportTo(folder.path() / "informe.txt");

  EXPECT_EQ(folder.Read("informe.txt"), kExported);
  ASSERT_EQ(ui.MessageTexts(), std::vector<std::string>{"Texto Exportado con formato ..."});
  EXPECT_EQ(ui.messages[0].buttons, MessageButtons::Ok);
  EXPECT_TRUE(ui.messages[0].topmost);
  EXPECT_EQ(ui.messages[0].title, "Programador");
  ASSERT_EQ(ui.saveRequests.size(), 1u);
  EXPECT_EQ(ui.saveRequests[0].defaultExtension, "txt");
  EXPECT_TRUE(ui.saveRequests[0].initialName.empty());
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1)
      << "nothing else is left in the folder";
}

// Characters Windows-1252 lacks: the user is asked first; No writes nothing, Yes writes UTF-8.
TEST_F(ExportTest, KeptCharactersAreSavedAsUtf8OnlyAfterYes) {
  state.check.correctedText = "El \x8F y el \x8F cami\xF3n";
  state.check.unheld.codes = {0x2615, 0x1F600};
  state.check.unheld.next = 2;  // wherever an earlier reading left it
  for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
    ui.messages.clear();
    ui.answers.push_back(answer);
    ui.filterAnswers.push_back(kExportFilterWindows);
    ExportTo(folder.path() / "taza.txt");
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages[0].text, kExportUtf8Question);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(fs::exists(folder.path() / "taza.txt"), answer == MessageAnswer::Yes);
  }
  EXPECT_EQ(folder.Read("taza.txt"), "El \u2615 y el \U0001F600 cami\u00F3n\r\n");
  EXPECT_EQ(LastMessage(), kExportDoneMessage);
}

TEST_F(ExportTest, EmptyCorrectedTextGivesOnlyTheLineEnd) {
  state.check.correctedText.clear();
  ExportTo(folder.path() / "vacio.txt");
  EXPECT_EQ(folder.Read("vacio.txt"), "\n");
  EXPECT_EQ(LastMessage(), kExportDoneMessage);
}

// An existing file, read-only or not, is replaced only after Yes; No ends the command without a
// further message.
TEST_F(ExportTest, ExistingFileIsReplacedOnlyAfterYes) {
  const struct {
    const char* name;
    const char* before;
    bool readOnly;
  } cases[] = {{"viejo.txt", "contenido anterior, bastante largo\r\n", false}, {"protegido.txt", "viejo", true}};
  for (const auto& c : cases) {
    const fs::path path = folder.Write(c.name, c.before);
    if (c.readOnly) fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ui.messages.clear();
    ui.answers.push_back(MessageAnswer::No);
    ExportTo(path);
    EXPECT_EQ(folder.Read(c.name), c.before);
    ASSERT_EQ(ui.messages.size(), 1u) << c.name;
    EXPECT_EQ(ui.messages[0].text, OverwriteQuestion(path));
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(ui.messages[0].topmost);

    ui.answers.push_back(MessageAnswer::Yes);
    ExportTo(path);
    EXPECT_EQ(folder.Read(c.name), kExported) << c.name;
    EXPECT_EQ(LastMessage(), kExportDoneMessage) << c.name;
  }
}

TEST_F(ExportTest, UnwritablePlacesAreReportedNotClaimedAsDone) {
  folder.Write("fichero", "no soy carpeta");
  fs::path underAFile = folder.path() / "fichero" / "informe.txt";
  ExportTo(underAFile);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text.rfind("No se pudo exportar el fichero : \r\n" + underAFile.string() + "\r\n", 0), 0u)
      << ui.messages[0].text;
  EXPECT_GT(ui.messages[0].text.size(), ("No se pudo exportar el fichero : \r\n" + underAFile.string() + "\r\n").size())
      << "the reason follows the name";

  // A folder of that name exists, so the question comes first; it can never be replaced.
  fs::create_directory(folder.path() / "carpeta");
  folder.Write("carpeta/dentro.txt", "intacto");
  ui.messages.clear();
  ui.answers.push_back(MessageAnswer::Yes);
  ExportTo(folder.path() / "carpeta");
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, OverwriteQuestion(folder.path() / "carpeta"));
  EXPECT_EQ(ui.messages[1].text.rfind("No se pudo exportar", 0), 0u);
  EXPECT_TRUE(fs::is_directory(folder.path() / "carpeta"));
  EXPECT_EQ(folder.Read("carpeta/dentro.txt"), "intacto");
}

TEST_F(ExportTest, DevicesAreNeverReplaced) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  ui.answers.push_back(MessageAnswer::Yes);
  ExportTo("/dev/full");
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
  EXPECT_EQ(LastMessage().rfind("No se pudo exportar", 0), 0u);
}

TEST_F(ExportTest, FailedWriteLeavesTheOldFileAndNoLeftovers) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  fs::path sub = folder.path() / "solo_lectura";
  fs::create_directory(sub);
  folder.Write("solo_lectura/viejo.txt", "viejo");
  fs::permissions(sub, fs::perms::owner_read | fs::perms::owner_exec);
  ui.answers.push_back(MessageAnswer::Yes);
  ExportTo(sub / "viejo.txt");
  fs::permissions(sub, fs::perms::owner_all);
  EXPECT_EQ(folder.Read("solo_lectura/viejo.txt"), "viejo");
  EXPECT_EQ(LastMessage().rfind("No se pudo exportar", 0), 0u);
}

TEST_F(ExportTest, AFullDiskLeavesTheOldFileAndSaysSo) {
  fs::path path = folder.Write("viejo.txt", "viejo");
  ui.answers.push_back(MessageAnswer::Yes);
  {
    testing::FileSizeLimit limit(8);  // room for less than the corrected text
    ExportTo(path);
  }
  EXPECT_EQ(folder.Read("viejo.txt"), "viejo");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 1) << "no temporary file left";
  EXPECT_EQ(LastMessage().rfind("No se pudo exportar", 0), 0u) << LastMessage();
}

TEST(ExportFile, Utf8WithTheTextsOwnLineEndsOrWindows1252WithCrLf) {
  const struct {
    std::string corrected;
    std::string utf8, windows;
  } cases[] = {
      {"cami\xF3n\nlleg\xF3", "cami\u00F3n\nlleg\u00F3\n", "cami\xF3n\r\nlleg\xF3\r\n"},
      {"uno\r\ndos\r\n", "uno\r\ndos\r\n", "uno\r\ndos\r\n\r\n"},
      {"uno\rdos", "uno\rdos\r", "uno\r\ndos\r\n"},
      {"una sola l\xEDnea", "una sola l\u00EDnea\n", "una sola l\xEDnea\r\n"},
      {"", "\n", "\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExportFileContent(c.corrected, {}, ExportFormat::Utf8), c.utf8) << c.corrected;
    EXPECT_EQ(ExportFileContent(c.corrected, {}, ExportFormat::Windows1252), c.windows) << c.corrected;
  }
}

TEST_F(ExportTest, TheFileTypeChosenIsWrittenAndOfferedAgain) {
  ui.filterAnswers.push_back(kExportFilterWindows);
  ExportTo(folder.path() / "windows.txt");
  EXPECT_EQ(folder.Read("windows.txt"), "El cami\xF3n lleg\xF3\r\nad\xF3nde?\r\n");
  ExportTo(folder.path() / "otra.txt");
  ASSERT_EQ(ui.saveRequests.size(), 2u);
  EXPECT_EQ(ui.saveRequests[0].filter, std::string(kExportFilterUtf8) + ";;" + kExportFilterWindows);
  EXPECT_EQ(ui.saveRequests[0].selectedFilter, kExportFilterUtf8);
  EXPECT_EQ(ui.saveRequests[1].selectedFilter, kExportFilterWindows);
}

TEST_F(ExportTest, DialogStartsFromTheLastExportAndACancelForgetsTheName) {
  ExportTo(folder.path() / "primero.txt");
  EXPECT_TRUE(ui.saveRequests[0].initialFolder.empty()) << "the first time: the documents folder";

  ui.saveAnswers.push_back(std::nullopt);
  ExportFormattedText(state, ui);
  ASSERT_EQ(ui.saveRequests.size(), 2u);
  EXPECT_EQ(ui.saveRequests[1].initialFolder, folder.path());
  EXPECT_EQ(ui.saveRequests[1].initialName, "primero.txt");
  EXPECT_EQ(ui.messages.size(), 1u) << "a cancelled dialog shows nothing";

  ui.saveAnswers.push_back(std::nullopt);
  ExportFormattedText(state, ui);
  ASSERT_EQ(ui.saveRequests.size(), 3u);
  EXPECT_EQ(ui.saveRequests[2].initialFolder, folder.path()) << "where the user last saved";
  EXPECT_TRUE(ui.saveRequests[2].initialName.empty());
}

}  // namespace
}  // namespace velmara
