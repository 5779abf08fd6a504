#include "app/command_wiring.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

#include <memory>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/menu_ids.h"
#include "checker/options_dialog.h"
#include "suggest/suggestions_dialog.h"
#include "support/fixture_database.h"
#include "support/scripted_interaction.h"
#include "support/test_folder.h"
#include "support/widgets.h"
#include "tools/string_finder_dialog.h"

namespace velmara {
namespace {

using testing::WhenShown;

class CommandWiringTest : public ::testing::Test {
 protected:
  CommandWiringTest() {
    state.programFolder = folder.path();
    testing::WriteFixtureDatabase(state.DatabaseFolder(), {"hola", "casa"}, {"cantar"}, {"madrid"}, {});
    window = std::make_unique<MainWindow>(state, interaction, true);
    EXPECT_TRUE(window->Initialise());
    WireCommands(*window, state, interaction);
  }

  testing::TestFolder folder;
  AppState state;
  testing::ScriptedInteraction interaction;
  std::unique_ptr<MainWindow> window;
};

TEST_F(CommandWiringTest, OptionsSetTheClipboardPollAfterClosing) {
  auto switchClipboardOption = [](OptionsDialog& dialog) {
    dialog.Toggle(OptionsDialog::kClipboard)->click();
    dialog.ExitButton()->click();
  };
  interaction.clipboard = "texto ya visto";
  WhenShown<OptionsDialog>(switchClipboardOption);
  window->GetCommands().Run(command::kOptions);
  EXPECT_EQ(state.settings.Hay_clipboard, 1);
  EXPECT_TRUE(window->ClipboardPollActive());
  EXPECT_EQ(interaction.clipboard, "");  // the next copied text counts as new

  WhenShown<OptionsDialog>(switchClipboardOption);
  window->GetCommands().Run(command::kOptions);
  EXPECT_EQ(state.settings.Hay_clipboard, 0);
  EXPECT_FALSE(window->ClipboardPollActive());
}

TEST_F(CommandWiringTest, ClipboardCheckWithMissingWordsOffersThem) {
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

TEST_F(CommandWiringTest, FinderRunsBehindTheBusyFlag) {
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
