#include "tools/string_finder_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "suggest/suggestions_dialog.h"
#include "support/scripted_interaction.h"
#include "support/test_folder.h"
#include "support/widgets.h"
#include "ui/text.h"

namespace velmara {
namespace {

using testing::Rows;
using testing::ScriptedInteraction;

using Words = std::vector<std::string>;

class StringFinderTest : public ::testing::Test {
 protected:
  StringFinderTest() {
    state.database.dictionary.Assign({"casa", "cascada", "casar", "canci\xF3n", "perro", "cas"});
    state.database.verbs.Assign({"casar", "cantar", "casar", "casar"});
    state.database.properNames.Assign({"casablanca", "carmen", "juan carlos"});
  }

  void Search(StringFinderDialog& dialog, const std::string& text) {
    dialog.SearchBox()->setText(ToQString(text));
    dialog.SearchButton()->click();
  }

  static Words Sorted(Words words) {
    std::sort(words.begin(), words.end());
    return words;
  }

  std::string LastMessage() const { return interaction.messages.empty() ? "" : interaction.messages.back().text; }

  AppState state;
  ScriptedInteraction interaction;
};

// Each search: the words listed (sorted here: the list keeps the search's own order) and the
// count. A prefix lists the dictionary words that are not verbs, each verb once and the proper
// names capitalised; a capital matches no lower-case list word; a lone "-" lists every word.
TEST_F(StringFinderTest, ListsTheWordsFoundAndSaysHowMany) {
  StringFinderDialog dialog(state, interaction);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Buscador de cadenas"));
  const struct {
    const char* text;
    Words sorted;
    const char* found;
  } searches[] = {
      {"cas", {"Casablanca", "cas", "casa", "casar", "cascada"}, "5 palabras con cas-"},
      {"-ci\xF3n", {"canci\xF3n"}, "1 palabras con -ci\xF3n"},
      {"-",
       {"Carmen", "Casablanca", "Juan Carlos", "canci\xF3n", "cantar", "cas", "casa", "casar", "cascada", "perro"},
       "10 palabras con -"},
      {"Cas", {"Casablanca"}, "1 palabras con Cas-"},
  };
  for (const auto& search : searches) {
    SCOPED_TRACE(search.text);
    const std::size_t shown = interaction.messages.size();
    Search(dialog, search.text);
    EXPECT_EQ(Rows(dialog.ResultList()), RunStringSearch(state.database, FinderMode::All, search.text).entries);
    EXPECT_EQ(Sorted(Rows(dialog.ResultList())), search.sorted);
    ASSERT_EQ(interaction.messages.size(), shown + 1);
    EXPECT_EQ(LastMessage(), std::string("Termine de buscar ...\r\nEncontrados ") + search.found);
    EXPECT_TRUE(interaction.messages.back().topmost);
  }
}

TEST_F(StringFinderTest, InvalidTextsAreIgnoredSilently) {
  StringFinderDialog dialog(state, interaction);
  Search(dialog, "car");
  const Words before = Rows(dialog.ResultList());
  ASSERT_FALSE(before.empty());
  for (const char* text : {"cas2", "cas a", "ca-s", ""}) Search(dialog, text);
  EXPECT_EQ(interaction.messages.size(), 1u);
  EXPECT_EQ(Rows(dialog.ResultList()), before);
}

TEST_F(StringFinderTest, EnterSearchesOnlyFromTheTextBox) {
  StringFinderDialog dialog(state, interaction);
  dialog.show();
  dialog.SearchBox()->setText(QStringLiteral("per"));
  testing::PressKey(dialog.ResultList(), Qt::Key_Return);
  EXPECT_TRUE(interaction.messages.empty());
  testing::PressKey(dialog.SearchBox(), Qt::Key_Return);
  EXPECT_EQ(Rows(dialog.ResultList()), Words{"perro"});
  EXPECT_EQ(interaction.messages.size(), 1u);
}

TEST_F(StringFinderTest, ChangingTheModeSearchesAgainAndIsRemembered) {
  {
    StringFinderDialog dialog(state, interaction);
    EXPECT_EQ(dialog.ModeBox()->currentIndex(), 0);
    EXPECT_EQ(dialog.ModeBox()->itemText(3), QStringLiteral("04 - Nombres Propios solo"));
    dialog.ModeBox()->setCurrentIndex(2);  // empty text box: only the mode changes
    EXPECT_EQ(state.finderMode, FinderMode::Dictionary);
    EXPECT_TRUE(interaction.messages.empty());

    dialog.SearchBox()->setText(QStringLiteral("cas"));
    dialog.ModeBox()->setCurrentIndex(1);
    EXPECT_EQ(state.finderMode, FinderMode::Verbs);
    EXPECT_EQ(Rows(dialog.ResultList()), Words{"casar"});
    EXPECT_EQ(interaction.messages.size(), 1u);
  }
  StringFinderDialog reopened(state, interaction);
  EXPECT_EQ(reopened.ModeBox()->currentIndex(), 1);
  EXPECT_EQ(reopened.ResultList()->count(), 0);
}

TEST_F(StringFinderTest, PickedResultGoesToTheOpenSuggestionsDialog) {
  testing::TestFolder folder;
  state.programFolder = folder.path();
  std::filesystem::create_directories(state.DatabaseFolder());
  StringFinderDialog finder(state, interaction);
  Search(finder, "cas");
  finder.ResultList()->setCurrentRow(0);  // no suggestions dialog: nothing happens

  state.check.missingWords = {"caza"};
  state.check.MissingCount = 1;
  auto suggestions = std::make_unique<SuggestionsDialog>(state, interaction);
  const std::string picked = ToWindows1252(finder.ResultList()->item(1)->text());
  finder.ResultList()->setCurrentRow(1);
  EXPECT_EQ(ToWindows1252(suggestions->ReplacementBox()->text()), picked);
  suggestions->MissingList()->setCurrentRow(0);
  suggestions->ManualButton()->click();
  EXPECT_EQ(folder.Read(std::filesystem::path("palabrasbd") / "Intellisense.txt"), "caza|" + picked + "\r\n");

  suggestions->DoneButton()->click();
  suggestions.reset();
  finder.ResultList()->setCurrentRow(2);  // the dialog is gone: still nothing happens, no crash
  EXPECT_FALSE(state.suggestionsOpen);
}

TEST_F(StringFinderTest, OnlyTheCloseBoxCloses) {
  StringFinderDialog dialog(state, interaction);
  dialog.show();
  testing::PressKey(&dialog, Qt::Key_Escape);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(dialog.close());
  EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace velmara
