#include "app/command_wiring.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/menu_ids.h"
#include "checker/options_dialog.h"
#include "worddb/countries.h"
#include "resources/artwork.h"
#include "suggest/suggestions_dialog.h"
#include "support/fixture_database.h"
#include "support/modal_dialog.h"
#include "support/scripted_interaction.h"
#include "support/test_folder.h"
#include "support/widgets.h"
#include "tools/about_box.h"
#include "tools/rules_viewer.h"
#include "tools/string_finder_dialog.h"

namespace velmara {
namespace {

using testing::WhenShown;

using Words = std::vector<std::string>;

// The window with its commands wired and then started, as the program does, over a word database
// of the test's own.
class CommandWiringTest : public ::testing::Test {
 protected:
  void Start(const Words& dictionary, const Words& verbs, const Words& properNames, const Words& falsePositives) {
    state.programFolder = folder.path();
    testing::WriteFixtureDatabase(state.DatabaseFolder(), dictionary, verbs, properNames, falsePositives);
    window = std::make_unique<MainWindow>(state, interaction, true);
    WireCommands(*window, state, interaction);
    ASSERT_TRUE(window->Initialise());
  }

  testing::TestFolder folder;
  AppState state;
  testing::ScriptedInteraction interaction;
  std::unique_ptr<MainWindow> window;
};

TEST_F(CommandWiringTest, ExportWritesTheLastCheckAndFavouriteColoursIsOffered) {
  Start({"hola", "canci\xF3n"}, {}, {}, {});
  EXPECT_FALSE(window->Action(command::kCorrectedColour)->icon().isNull());
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "color.bmp")) << "the swatch file is gone again";
  EXPECT_TRUE(window->Action(command::kFavouriteColours)->isEnabled());
  EXPECT_FALSE(window->Action(command::kExport)->isEnabled()) << "nothing to export before a check";

  interaction.clipboard = "hola cancion";
  window->Action(command::kCheck)->trigger();
  ASSERT_TRUE(window->Action(command::kExport)->isEnabled());
  ASSERT_NE(state.check.correctedText.find("canci\xF3n"), std::string::npos);

  interaction.messages.clear();
  interaction.saveAnswers.push_back(folder.path() / "informe.txt");
  window->Action(command::kExport)->trigger();
  EXPECT_EQ(folder.Read("informe.txt"), "Hola canci\u00F3n\n");  // UTF-8, the text's own line end
  EXPECT_EQ(interaction.MessageTexts(), std::vector<std::string>{"Texto Exportado con formato ..."});
  EXPECT_FALSE(state.busy);
}

TEST_F(CommandWiringTest, RulesItemsOpenTheirPagesAndAutorTheAboutBox) {
  Start({"hola"}, {"amar"}, {}, {"wifi"});
  for (int id = command::kRulesFirst; id <= command::kRulesLast; ++id) {
    ASSERT_TRUE(window->Action(id)->isEnabled()) << id;
    QImage shown;
    bool busyMeanwhile = false;
    EXPECT_TRUE(testing::WhileModal<RulesViewer>([&] { window->Action(id)->trigger(); }, [&](RulesViewer& viewer) {
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
  EXPECT_TRUE(testing::WhileModal<AboutBox>([&] { window->Action(command::kAbout)->trigger(); }, [&](AboutBox& box) {
    dictionaryLine = box.findChild<QLabel*>(QStringLiteral("label1021"))->text();
    box.findChild<QPushButton*>(QStringLiteral("button1017"))->click();
  }));
  EXPECT_EQ(dictionaryLine, QStringLiteral("Diccionario: [ali-] 1 palabras"));
  EXPECT_FALSE(state.busy);
}

class WiredDialogsTest : public CommandWiringTest {
 protected:
  void SetUp() override { Start({"hola", "casa"}, {"cantar"}, {"madrid"}, {}); }
};

TEST_F(WiredDialogsTest, OptionsSetTheClipboardPollAfterClosing) {
  auto switchClipboardOption = [](OptionsDialog& dialog) {
    dialog.Toggle(OptionsDialog::kClipboard)->click();
    dialog.ExitButton()->click();
  };
  interaction.clipboard = "texto ya visto";
  WhenShown<OptionsDialog>(switchClipboardOption);
  window->GetCommands().Run(command::kOptions);
  EXPECT_EQ(state.settings.Hay_clipboard, 1);
  EXPECT_TRUE(window->ClipboardPollActive());
  EXPECT_EQ(interaction.clipboard, "texto ya visto");  // left alone, and taken as seen

  WhenShown<OptionsDialog>(switchClipboardOption);
  window->GetCommands().Run(command::kOptions);
  EXPECT_EQ(state.settings.Hay_clipboard, 0);
  EXPECT_FALSE(window->ClipboardPollActive());
}

TEST_F(WiredDialogsTest, CountryChosenInTheOptionsIsLoadedAtOnce) {
  const std::string magic = kDifferencesMagic;
  folder.Write("paises/es_MX/diccionario.dif", magic + std::string("+\0\x0B", 3) + "computadora");
  folder.Write("paises/es_MX/verbos.dif", magic);
  folder.Write("paises/es_MX/npropios.dif", magic + std::string("-\0\x06", 3) + "madrid");
  folder.Write("paises/es_MX/Falsos Positivos.txt", "");
  // The load lets events through for its animation: what they ask meanwhile must not read the
  // half-made lists. A copied text waits for the first tick after the load (one without words:
  // checked too early, it still shows no dialog that would wait for an answer).
  state.suggest = [](std::string_view, Neighbours) { return std::vector<std::string>{"casa"}; };
  bool askedWhileLoading = false;
  std::vector<std::string> suggestedWhileLoading{"?"};
  int finderOpened = 0;
  window->SetCommand(command::kFinder, [&] { ++finderOpened; });
  state.reloadDatabase = [&] {
    interaction.Copy(".");
    QTimer::singleShot(0, window.get(), [&] {
      askedWhileLoading = state.loading;
      window->GetCommands().ClipboardTick();
      window->GetCommands().Run(command::kFinder);
      suggestedWhileLoading = state.Suggestions("kasa");
    });
    window->LoadDatabase();
  };
  EXPECT_EQ(state.country, "es_ES");
  QStringList offered;
  WhenShown<OptionsDialog>([&](OptionsDialog& dialog) {
    for (int i = 0; i < dialog.CountryList()->count(); ++i) offered << dialog.CountryList()->itemText(i);
    dialog.CountryList()->setCurrentIndex(dialog.CountryList()->findData(QStringLiteral("es_MX")));
    dialog.ExitButton()->click();
  });
  window->GetCommands().Run(command::kOptions);
  EXPECT_EQ(offered, (QStringList{QStringLiteral("España (es_ES)"), QStringLiteral("México (es_MX)")}));
  EXPECT_EQ(state.settings.Pais, "es_MX");
  EXPECT_EQ(state.country, "es_MX");
  EXPECT_NE(state.database.dictionary.Find("computadora"), 0u);
  EXPECT_EQ(state.database.properNames.Count(), 0u);
  EXPECT_TRUE(askedWhileLoading);
  EXPECT_TRUE(suggestedWhileLoading.empty());
  EXPECT_TRUE(state.check.source.empty() && interaction.messages.empty()) << "checked while loading";
  EXPECT_EQ(finderOpened, 0) << "a guarded command ran while loading";
  EXPECT_FALSE(state.loading || state.busy);
  window->GetCommands().ClipboardTick();
  ASSERT_EQ(state.check.result.size(), 1u);
  EXPECT_EQ(state.check.result[0].verdict, Verdict::Accepted);
}

TEST_F(WiredDialogsTest, ACheckEndingWhileTheOptionsAreOpenLeavesThemInFront) {
  // Which of the two windows was raised last.
  struct Raises : QObject {
    std::vector<QObject*> order;
    bool eventFilter(QObject* watched, QEvent* event) override {
      if (event->type() == QEvent::ZOrderChange) order.push_back(watched);
      return false;
    }
  } raises;
  QObject* options = nullptr;
  WhenShown<OptionsDialog>([&](OptionsDialog& dialog) {
    options = &dialog;
    dialog.installEventFilter(&raises);
    window->installEventFilter(&raises);
    interaction.Copy("hola casa");
    window->GetCommands().ClipboardTick();
    dialog.ExitButton()->click();
  });
  window->GetCommands().Run(command::kOptions);
  ASSERT_FALSE(raises.order.empty());
  EXPECT_EQ(raises.order.back(), options);
  EXPECT_EQ(interaction.messages.size(), 1u);  // the check did run
}

TEST_F(WiredDialogsTest, ClipboardCheckWithMissingWordsOffersThem) {
  std::vector<std::string> offered;
  WhenShown<SuggestionsDialog>([&](SuggestionsDialog& dialog) {
    offered = testing::Rows(dialog.MissingList());
    dialog.DoneButton()->click();
  });
  interaction.clipboard = "hola kasa";
  window->GetCommands().ClipboardTick();
  EXPECT_EQ(offered, std::vector<std::string>{"kasa"});
  EXPECT_FALSE(state.suggestionsOpen);
}

TEST_F(WiredDialogsTest, FinderRunsBehindTheBusyFlag) {
  EXPECT_TRUE(window->Action(command::kFinder)->isEnabled());
  bool busyWhileOpen = false;
  WhenShown<StringFinderDialog>([&](StringFinderDialog& dialog) {
    busyWhileOpen = state.busy;
    dialog.close();
  });
  window->GetCommands().Run(command::kFinder);
  EXPECT_TRUE(busyWhileOpen);
  EXPECT_FALSE(state.busy);
}

}  // namespace
}  // namespace velmara
