#include "suggest/result_menu.h"

#include <QAction>
#include <QMenu>
#include <QTextCursor>
#include <QTextEdit>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/menu_ids.h"
#include "support/fixture_database.h"
#include "support/scripted_interaction.h"
#include "support/test_folder.h"
#include "support/widgets.h"
#include "tools/export.h"
#include "ui/text.h"

namespace velmara {
namespace {

using Words = std::vector<std::string>;

class ResultMenuTest : public ::testing::Test {
 protected:
  ResultMenuTest() {
    state.programFolder = folder.path();
    testing::WriteFixtureDatabase(state.DatabaseFolder(), {"hola", "casa", "perro", "es", "para", "el", "\xE9l"}, {}, {}, {});
    state.suggest = [](std::string_view word, Neighbours beside) {
      if (word == "xyzzy") return Words{"zapatilla", "b", "c", "d", "e", "f", "g", "h", "i"};
      // Two words, offered only when the menu passes the word after it.
      if (word == "XYZZY") return beside.after == "perro" ? Words{"ZAS YA"} : Words{"ZAS"};
      return Words{};
    };
    window = std::make_unique<MainWindow>(state, interaction, true);
    EXPECT_TRUE(window->Initialise());
  }

  void Check(const std::string& text) {
    interaction.clipboard = text;
    window->Action(command::kCheck)->trigger();
  }

  QTextEdit& Box() { return window->ResultBox(); }
  std::string Shown() { return ToWindows1252(Box().toPlainText()); }

  // The menu a right click on the first letter of `word` in the result box opens.
  QMenu* MenuAt(const std::string& word) {
    const std::size_t position = Shown().find(word);
    EXPECT_NE(position, std::string::npos) << word;
    QTextCursor cursor(Box().document());
    cursor.setPosition(static_cast<int>(position));
    const QRect caret = Box().cursorRect(cursor);
    const QList<QMenu*> before = Box().findChildren<QMenu*>();
    emit Box().customContextMenuRequested(QPoint(caret.x() + 3, caret.center().y()));
    for (QMenu* menu : Box().findChildren<QMenu*>())
      if (!before.contains(menu)) return menu;
    ADD_FAILURE() << "no menu over " << word;
    return nullptr;
  }

  static Words Items(const QMenu* menu) {
    Words items;
    for (const QAction* action : menu->actions())
      items.push_back(ToWindows1252(action->text()) + (action->isEnabled() ? "" : " [off]"));
    return items;
  }

  QTextCharFormat FormatOf(const std::string& word) { return testing::FormatAt(Box(), static_cast<int>(Shown().find(word))); }

  testing::TestFolder folder;
  AppState state;
  testing::ScriptedInteraction interaction;
  std::unique_ptr<MainWindow> window;
};

TEST_F(ResultMenuTest, ChoosingASuggestionReplacesTheMissingWordForTheBoxTheStateAndTheExport) {
  Check("hola xyzzy, qwrt casa.\r\nXYZZY perro");
  ASSERT_EQ(Shown(), "Hola xyzzy, qwrt casa.  XYZZY perro");

  QMenu* menu = MenuAt("xyzzy");
  ASSERT_TRUE(menu);
  EXPECT_EQ(Items(menu), (Words{"zapatilla", "b", "c", "d", "e", "f", "g"}));
  menu->actions()[0]->trigger();
  EXPECT_EQ(Shown(), "Hola zapatilla, qwrt casa.  XYZZY perro");
  // After a longer word the later ones are still found where they now stand.
  menu = MenuAt("XYZZY");
  ASSERT_TRUE(menu);
  EXPECT_EQ(Items(menu), (Words{"ZAS YA"}));
  menu->actions()[0]->trigger();
  menu->actions()[0]->trigger();  // a second time: the word is no longer missing
  EXPECT_EQ(Shown(), "Hola zapatilla, qwrt casa.  ZAS YA perro");
  menu = MenuAt("qwrt");
  ASSERT_TRUE(menu);
  EXPECT_EQ(Items(menu), (Words{"Sin sugerencias [off]"}));
  for (const char* word : {"casa", "zapatilla"}) {
    EXPECT_EQ(NewSuggestionMenu(Box(), state, static_cast<int>(Shown().find(word)) + 1), nullptr) << word;
  }

  const QColor corrected = ToQColor(static_cast<std::uint32_t>(state.settings.Corregidos));
  for (const char* word : {"zapatilla", "ZAS YA"}) {
    EXPECT_EQ(FormatOf(word).foreground().color(), corrected) << word;
    EXPECT_TRUE(FormatOf(word).fontUnderline()) << word;
    EXPECT_FALSE(FormatOf(word).fontStrikeOut()) << word;
  }
  EXPECT_TRUE(FormatOf("qwrt").fontStrikeOut());
  EXPECT_FALSE(FormatOf("casa").fontUnderline());

  const CheckState& check = state.check;
  EXPECT_EQ(check.result[2].text, "zapatilla");
  EXPECT_EQ(check.result[2].verdict, Verdict::Corrected);
  EXPECT_EQ(check.result[5].verdict, Verdict::Missing);  // qwrt
  EXPECT_EQ(check.correctedText, "Hola zapatilla, qwrt casa.\r\nZAS YA perro");
  EXPECT_EQ(check.MissingCount, 3);  // the figures stay as the run reported them
  EXPECT_FALSE(std::filesystem::exists(state.IntellisensePath()));

  interaction.saveAnswers.push_back(folder.path() / "salida.txt");
  ExportFormattedText(state, interaction);
  EXPECT_EQ(folder.Read("salida.txt"), "Hola zapatilla, qwrt casa.\r\nZAS YA perro\r\n");
}

TEST_F(ResultMenuTest, AnAdvisedWordIsUnderlinedWithItsAdviceAndItsMenuOffersIt) {
  Check("Es para el.");
  ASSERT_EQ(Shown(), "Es para el.");
  EXPECT_EQ(FormatOf("el.").underlineStyle(), QTextCharFormat::WaveUnderline);
  EXPECT_EQ(ToWindows1252(FormatOf("el.").toolTip()), "\xBFQuiso decir \xAB\xE9l\xBB?");
  QMenu* menu = MenuAt("el.");
  ASSERT_TRUE(menu);
  EXPECT_EQ(Items(menu), (Words{"\xE9l"}));
  menu->actions()[0]->trigger();
  EXPECT_EQ(Shown(), "Es para \xE9l.");
  EXPECT_EQ(state.check.correctedText, "Es para \xE9l.");
}

TEST_F(ResultMenuTest, AChoiceFromBeforeTheNextCheckChangesNothing) {
  Check("xyzzy casa xyzzy");
  QMenu* menu = MenuAt("xyzzy");  // the second: the first starts the sentence
  ASSERT_TRUE(menu);
  Check("casa casa xyzzy");
  menu->actions()[0]->trigger();
  EXPECT_EQ(Shown(), "Casa casa xyzzy");
  EXPECT_EQ(state.check.correctedText, "Casa casa xyzzy");
}

}  // namespace
}  // namespace velmara
