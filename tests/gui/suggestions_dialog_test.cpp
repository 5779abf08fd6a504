#include "suggest/suggestions_dialog.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "checker/check_run.h"
#include "support/scripted_interaction.h"
#include "support/test_folder.h"
#include "support/widgets.h"
#include "ui/text.h"

namespace velmara {
namespace {

using testing::Rows;
using testing::ScriptedInteraction;
using testing::TestFolder;

using Words = std::vector<std::string>;

class SuggestionsDialogTest : public ::testing::Test {
 protected:
  SuggestionsDialogTest() {
    state.programFolder = folder.path();
    std::filesystem::create_directories(state.DatabaseFolder());
    SetMissing({"aver", "ola", "aver", "zapto", "aver", "\xE1rbol"});
    state.suggest = [](std::string_view word, Neighbours) {
      if (word == "aver") return Words{"haber", "a ver", "aver\xED" "a"};
      if (word == "ola") return Words{"hola"};
      return Words{};
    };
  }

  void SetMissing(const Words& words) {
    state.check.missingWords = words;
    state.check.MissingCount = static_cast<std::int32_t>(words.size());
  }

  std::string Intellisense() const { return folder.Read(std::filesystem::path("palabrasbd") / "Intellisense.txt"); }

  static void Select(SuggestionsDialog& dialog, const std::string& word) {
    const auto rows = Rows(dialog.MissingList());
    const auto found = std::find(rows.begin(), rows.end(), word);
    ASSERT_NE(found, rows.end()) << word;
    dialog.MissingList()->setCurrentRow(static_cast<int>(found - rows.begin()));
  }

  static void Type(SuggestionsDialog& dialog, const std::string& text) {
    dialog.ReplacementBox()->setText(ToQString(text));
  }

  // Types `text` as the replacement and presses "Manual".
  static void Manual(SuggestionsDialog& dialog, const std::string& text) {
    Type(dialog, text);
    dialog.ManualButton()->click();
  }

  static void Focus(QWidget* widget, Qt::FocusReason reason) {
    QFocusEvent focus(QEvent::FocusIn, reason);
    QApplication::sendEvent(widget, &focus);
  }

  TestFolder folder;
  AppState state;
  ScriptedInteraction interaction;
};

TEST_F(SuggestionsDialogTest, ListsEveryStoredMissingWordSortedWithRepeats) {
  state.check.MissingCount = 2500;  // more than the missing-word list holds: only the stored ones
  SuggestionsDialog dialog(state, interaction);
  EXPECT_EQ(Rows(dialog.MissingList()), (Words{"\xE1rbol", "aver", "aver", "aver", "ola", "zapto"}));
  EXPECT_EQ(dialog.SuggestionList()->count(), 0);
  EXPECT_TRUE(dialog.WordLabel()->text().isEmpty());
}

TEST_F(SuggestionsDialogTest, FocusingTheEditBoxEmptiesIt) {
  SuggestionsDialog dialog(state, interaction);
  Type(dialog, "a ver");
  Focus(dialog.ReplacementBox(), Qt::ActiveWindowFocusReason);  // back from another window
  EXPECT_EQ(dialog.ReplacementBox()->text(), QStringLiteral("a ver"));
  Focus(dialog.ReplacementBox(), Qt::MouseFocusReason);
  EXPECT_TRUE(dialog.ReplacementBox()->text().isEmpty());
}

TEST_F(SuggestionsDialogTest, ManualAddsTheEntryAndRemovesEveryRepeat) {
  SuggestionsDialog dialog(state, interaction);
  Select(dialog, "aver");
  EXPECT_EQ(dialog.WordLabel()->text(), QStringLiteral("aver"));
  Manual(dialog, "a ver");

  EXPECT_EQ(Intellisense(), "aver|a ver\r\n");
  EXPECT_EQ(Rows(dialog.MissingList()), (Words{"\xE1rbol", "ola", "zapto"}));
  EXPECT_TRUE(dialog.WordLabel()->text().isEmpty());
  EXPECT_TRUE(dialog.ReplacementBox()->text().isEmpty());
  EXPECT_EQ(state.suggestionWord, "");
  EXPECT_TRUE(interaction.messages.empty());

  // Removing rows must not pass for choosing another word: "Manual" now has none.
  Manual(dialog, "hola");
  EXPECT_EQ(Intellisense(), "aver|a ver\r\n");
}

TEST_F(SuggestionsDialogTest, NextCheckRunAppliesTheEntry) {
  {
    SuggestionsDialog dialog(state, interaction);
    Select(dialog, "aver");
    Manual(dialog, "a ver");
  }
  state.settings.Inteligente = 1;
  Classifier classifier(state.database, state.settings, state.IntellisensePath(), state.check);
  CheckObserver observer;
  CheckText(classifier, "y aver", observer, std::nullopt);
  ASSERT_EQ(state.check.result.size(), 3u);
  EXPECT_EQ(state.check.result[2].verdict, Verdict::Corrected);
  EXPECT_EQ(state.check.result[2].text, "a ver");
  EXPECT_EQ(state.check.MissingCount, 1);  // only "y": the test lists are empty
}

TEST_F(SuggestionsDialogTest, ManualDoesNothingWithoutWordReplacementOrForAKnownKey) {
  folder.Write(std::filesystem::path("palabrasbd") / "Intellisense.txt", "aver|haber\r\n");
  SuggestionsDialog dialog(state, interaction);
  Manual(dialog, "a ver");  // no word selected
  Select(dialog, "ola");
  Manual(dialog, "");  // nothing typed
  Select(dialog, "aver");
  Manual(dialog, "a ver");  // "aver" already has an entry

  EXPECT_EQ(Intellisense(), "aver|haber\r\n");
  EXPECT_EQ(dialog.MissingList()->count(), 6);
  EXPECT_EQ(dialog.WordLabel()->text(), QStringLiteral("aver"));
  EXPECT_EQ(dialog.ReplacementBox()->text(), QStringLiteral("a ver"));
  EXPECT_TRUE(interaction.messages.empty());
}

TEST_F(SuggestionsDialogTest, FailedWriteIsReportedAndTheWordStays) {
  // The word-database folder is a file: the list cannot be written.
  std::filesystem::remove(state.DatabaseFolder());
  folder.Write("palabrasbd", "");
  SuggestionsDialog dialog(state, interaction);
  Select(dialog, "zapto");
  Manual(dialog, "zapato");

  ASSERT_EQ(interaction.messages.size(), 1u);
  EXPECT_NE(interaction.messages[0].text.find("Intellisense.txt"), std::string::npos);
  EXPECT_EQ(interaction.messages[0].title, "Programador");
  EXPECT_EQ(Rows(dialog.MissingList()), (Words{"\xE1rbol", "aver", "aver", "aver", "ola", "zapto"}));
  EXPECT_EQ(state.suggestionWord, "zapto");
  EXPECT_EQ(dialog.ReplacementBox()->text(), QStringLiteral("zapato"));
}

TEST_F(SuggestionsDialogTest, LineBreaksInTheReplacementDoNotSplitTheEntry) {
  SuggestionsDialog dialog(state, interaction);
  Select(dialog, "ola");
  dialog.SetReplacement("ho\r\nla");
  dialog.ManualButton()->click();
  EXPECT_EQ(Intellisense(), "ola|ho  la\r\n");
}

TEST_F(SuggestionsDialogTest, SelectedWordOutlivesTheDialog) {
  {
    SuggestionsDialog dialog(state, interaction);
    Select(dialog, "ola");
    dialog.DoneButton()->click();
  }
  SetMissing({"otra"});
  SuggestionsDialog dialog(state, interaction);
  EXPECT_TRUE(dialog.WordLabel()->text().isEmpty());
  Manual(dialog, "hola");
  EXPECT_EQ(Intellisense(), "ola|hola\r\n");
}

TEST_F(SuggestionsDialogTest, SelectedWordListsItsSuggestionsAClickTakesOneADoubleClickAddsIt) {
  SuggestionsDialog dialog(state, interaction);
  QListWidget& offered = *dialog.SuggestionList();
  Select(dialog, "aver");
  EXPECT_EQ(Rows(&offered), (Words{"haber", "a ver", "aver\xED" "a"}));
  EXPECT_TRUE(dialog.ReplacementBox()->text().isEmpty());  // listing picks nothing
  emit offered.itemClicked(offered.item(1));
  EXPECT_EQ(ToWindows1252(dialog.ReplacementBox()->text()), "a ver");
  offered.setCurrentRow(2);  // the arrow keys
  EXPECT_EQ(ToWindows1252(dialog.ReplacementBox()->text()), "aver\xED" "a");
  dialog.ManualButton()->click();
  EXPECT_EQ(Intellisense(), "aver|aver\xED" "a\r\n");
  EXPECT_EQ(offered.count(), 0);  // the word is gone, and its suggestions with it

  Select(dialog, "zapto");
  EXPECT_EQ(offered.count(), 0);
  Select(dialog, "ola");
  emit offered.itemDoubleClicked(offered.item(0));
  EXPECT_EQ(Intellisense(), "aver|aver\xED" "a\r\nola|hola\r\n");
  EXPECT_EQ(Rows(dialog.MissingList()), (Words{"\xE1rbol", "zapto"}));
  EXPECT_TRUE(dialog.ReplacementBox()->text().isEmpty());
  EXPECT_EQ(state.suggestionWord, "");
  EXPECT_TRUE(interaction.messages.empty());
}

TEST_F(SuggestionsDialogTest, SugerenciasListsTheSelectedWordsOrSaysWhyNot) {
  {
    SuggestionsDialog dialog(state, interaction);
    dialog.SuggestButton()->click();  // no word chosen yet
    Select(dialog, "zapto");
    dialog.SuggestButton()->click();  // nothing near it
    EXPECT_EQ(dialog.SuggestionList()->count(), 0);
    Select(dialog, "ola");
    dialog.DoneButton()->click();
  }
  ASSERT_EQ(interaction.MessageTexts(),
            (Words{"Elija primero una palabra de la lista.", "No hay sugerencias para \xABzapto\xBB."}));
  EXPECT_EQ(interaction.messages[1].title, "Programador");

  // The word chosen before the dialog closed is still the one asked about.
  SuggestionsDialog dialog(state, interaction);
  dialog.SuggestButton()->click();
  EXPECT_EQ(Rows(dialog.SuggestionList()), (Words{"hola"}));
  EXPECT_EQ(dialog.WordLabel()->text(), QStringLiteral("ola"));
  EXPECT_EQ(interaction.messages.size(), 2u);
}

TEST_F(SuggestionsDialogTest, OnlyYaEstaClosesAndClearsTheOpenFlag) {
  testing::WhenShown<SuggestionsDialog>([this](SuggestionsDialog& dialog) {
    EXPECT_TRUE(state.suggestionsOpen);
    EXPECT_FALSE(dialog.close());
    testing::PressKey(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(state.suggestionsOpen);
    dialog.DoneButton()->click();
  });
  ShowSuggestionsDialog(state, interaction);
  EXPECT_FALSE(state.suggestionsOpen);
  EXPECT_FALSE(state.setSuggestionReplacement);
}

TEST_F(SuggestionsDialogTest, ListsShowWholeRowsAndEnterInTheBoxAddsAsManualDoes) {
  SuggestionsDialog dialog(state, interaction);
  for (QListWidget* list : {dialog.MissingList(), dialog.SuggestionList()}) {
    const int row = list->sizeHintForRow(0) > 0 ? list->sizeHintForRow(0) : dialog.MissingList()->sizeHintForRow(0);
    EXPECT_EQ((list->height() - 2 * list->frameWidth()) % row, 0) << "a row is cut";
    EXPECT_GE((list->height() - 2 * list->frameWidth()) / row, 8);
  }
  Select(dialog, "ola");
  Type(dialog, "hola");
  testing::PressKey(dialog.ReplacementBox(), Qt::Key_Return);
  EXPECT_EQ(Intellisense(), "ola|hola\r\n");
  EXPECT_TRUE(dialog.ReplacementBox()->text().isEmpty());
}

}  // namespace
}  // namespace velmara
