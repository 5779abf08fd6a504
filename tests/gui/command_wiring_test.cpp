#include "app/command_wiring.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/menu_ids.h"
#include "resources/artwork.h"
#include "support/fixture_database.h"
#include "support/modal_dialog.h"
#include "support/scripted_interaction.h"
#include "support/test_folder.h"
#include "tools/about_box.h"
#include "tools/rules_viewer.h"

namespace velmara {
namespace {

TEST(CommandWiringTest, ExportWritesTheLastCheckAndFavouriteColoursIsOffered) {
  testing::TestFolder folder;
  AppState state;
  state.programFolder = folder.path();
  testing::WriteFixtureDatabase(state.DatabaseFolder(), {"hola", "canci\xF3n"}, {}, {}, {});
  testing::ScriptedInteraction interaction;
  MainWindow window(state, interaction, true);
  WireCommands(window, state, interaction);
  ASSERT_TRUE(window.Initialise());
  EXPECT_FALSE(window.Action(command::kCorrectedColour)->icon().isNull());
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "color.bmp")) << "the swatch file is gone again";
  EXPECT_TRUE(window.Action(command::kFavouriteColours)->isEnabled());
  EXPECT_FALSE(window.Action(command::kExport)->isEnabled()) << "nothing to export before a check";

  interaction.clipboard = "hola cancion";
  window.Action(command::kCheck)->trigger();
  ASSERT_TRUE(window.Action(command::kExport)->isEnabled());
  ASSERT_NE(state.check.correctedText.find("canci\xF3n"), std::string::npos);

  interaction.messages.clear();
  interaction.saveAnswers.push_back(folder.path() / "informe.txt");
  window.Action(command::kExport)->trigger();
  EXPECT_EQ(folder.Read("informe.txt"), state.check.correctedText + "\r\n");
  ASSERT_EQ(interaction.messages.size(), 1u);
  EXPECT_EQ(interaction.messages[0].text, "Texto Exportado con formato ...");
  EXPECT_FALSE(state.busy);
}

TEST(CommandWiringTest, RulesItemsOpenTheirPagesAndAutorTheAboutBox) {
  testing::TestFolder folder;
  AppState state;
  state.programFolder = folder.path();
  testing::WriteFixtureDatabase(state.DatabaseFolder(), {"hola"}, {"amar"}, {}, {"wifi"});
  testing::ScriptedInteraction interaction;
  MainWindow window(state, interaction, true);
  WireCommands(window, state, interaction);
  ASSERT_TRUE(window.Initialise());

  for (int id = command::kRulesFirst; id <= command::kRulesLast; ++id) {
    ASSERT_TRUE(window.Action(id)->isEnabled()) << id;
    QImage shown;
    bool busyMeanwhile = false;
    EXPECT_TRUE(testing::WhileModal<RulesViewer>([&] { window.Action(id)->trigger(); }, [&](RulesViewer& viewer) {
      shown = viewer.page();
      busyMeanwhile = state.busy;
      viewer.close();
    })) << id;
    EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32),
              RulesPage(command::RulesPageCode(id)).toImage().convertToFormat(QImage::Format_ARGB32))
        << id;
    EXPECT_TRUE(busyMeanwhile) << "a second guarded command could start";
    EXPECT_FALSE(state.busy);
  }

  QString dictionaryLine;
  EXPECT_TRUE(testing::WhileModal<AboutBox>([&] { window.Action(command::kAbout)->trigger(); }, [&](AboutBox& box) {
    dictionaryLine = box.findChild<QLabel*>(QStringLiteral("label1021"))->text();
    box.findChild<QPushButton*>(QStringLiteral("button1017"))->click();
  }));
  EXPECT_EQ(dictionaryLine, QStringLiteral("Diccionario: [ali-] 1 palabras"));
  EXPECT_FALSE(state.busy);
}

}  // namespace
}  // namespace velmara
