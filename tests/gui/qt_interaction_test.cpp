#include "ui/qt_interaction.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <memory>

#include "app/app_state.h"
#include "checker/options_dialog.h"
#include "support/modal_dialog.h"
#include "support/scripted_interaction.h"
#include "tools/about_box.h"
#include "tools/apology_box.h"
#include "tools/favourite_colours_dialog.h"
#include "tools/rules_viewer.h"
#include "tools/string_finder_dialog.h"

namespace velmara {
namespace {

bool StaysOnTop(const QWidget& window) { return window.windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

// The main window stays on top, so a window that does not would open behind it.
TEST(WindowsInFront, EveryDialogOfTheProgramStaysOnTop) {
  AppState state;
  testing::ScriptedInteraction scripted;
  const std::vector<std::pair<const char*, std::function<std::unique_ptr<QWidget>()>>> windows = {
      {"options", [&] { return std::make_unique<OptionsDialog>(state.settings); }},
      {"finder", [&] { return std::make_unique<StringFinderDialog>(state, scripted); }},
      {"about", [&] { return std::make_unique<AboutBox>(state); }},
      {"apology", [&] { return std::make_unique<ApologyBox>(); }},
      {"rules", [&] { return std::make_unique<RulesViewer>("b"); }},
      {"colours", [&] { return std::make_unique<FavouriteColoursDialog>(state, scripted); }},
  };
  for (const auto& [name, make] : windows) EXPECT_TRUE(StaysOnTop(*make())) << name;
}

TEST(WindowsInFront, MessageBoxesAndStandardDialogsStayOnTop) {
  QtInteraction interaction;
  for (bool topmost : {true, false}) {
    EXPECT_TRUE(testing::WhileModal<QMessageBox>(
        [&] { interaction.ShowMessageBox("Hola", MessageButtons::YesNo, topmost); },
        [](QMessageBox& box) { EXPECT_TRUE(StaysOnTop(box)); }));
  }
  EXPECT_TRUE(testing::WhileModal<QFileDialog>([&] { interaction.AskSaveFileName({"Texto (*.txt)", "txt", {}, {}, {}, nullptr}); },
                                               [](QFileDialog& dialog) { EXPECT_TRUE(StaysOnTop(dialog)); }));
  std::array<std::uint32_t, 16> custom{};
  EXPECT_TRUE(testing::WhileModal<QColorDialog>([&] { interaction.ChooseColour(0x0000FF, custom); },
                                                [](QColorDialog& dialog) { EXPECT_TRUE(StaysOnTop(dialog)); }));
}

// The export asks about an existing file itself, once and in Spanish.
TEST(SaveDialog, LeavesTheOverwriteQuestionToTheProgram) {
  QtInteraction interaction;
  EXPECT_TRUE(testing::WhileModal<QFileDialog>(
      [&] { interaction.AskSaveFileName({"Texto (*.txt)", "txt", {}, {}, {}, nullptr}); },
      [](QFileDialog& dialog) { EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite)); }));
}

std::vector<QString> ButtonTexts(const QWidget& window) {
  std::vector<QString> texts;
  for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
    if (!button->text().isEmpty()) texts.push_back(button->text().remove(QLatin1Char('&')));
  std::sort(texts.begin(), texts.end());
  return texts;
}

TEST(SpanishDialogs, StandardDialogsAndOurButtonsSpeakSpanish) {
  ASSERT_TRUE(InstallSpanishTranslations());
  QtInteraction interaction;
  const std::vector<std::pair<MessageButtons, std::vector<QString>>> boxes = {
      {MessageButtons::YesNo, {QStringLiteral("No"), QStringLiteral("S\u00ED")}},
      {MessageButtons::Ok, {QStringLiteral("Aceptar")}},
  };
  for (const auto& [buttons, texts] : boxes) {
    EXPECT_TRUE(testing::WhileModal<QMessageBox>([&] { interaction.ShowMessageBox("Hola", buttons); },
                                                 [&](QMessageBox& box) { EXPECT_EQ(ButtonTexts(box), texts); }));
  }
  const std::vector<QString> english = {QStringLiteral("Save"), QStringLiteral("Cancel"), QStringLiteral("OK")};
  auto spanish = [&](QWidget& dialog) {
    EXPECT_NE(dialog.windowTitle(), QStringLiteral("Save As"));
    for (const QString& text : ButtonTexts(dialog))
      EXPECT_EQ(std::find(english.begin(), english.end(), text), english.end()) << text.toStdString();
  };
  EXPECT_TRUE(testing::WhileModal<QFileDialog>([&] { interaction.AskSaveFileName({"Texto (*.txt)", "txt", {}, {}, {}, nullptr}); },
                                               [&](QFileDialog& dialog) { spanish(dialog); }));
  std::array<std::uint32_t, 16> custom{};
  EXPECT_TRUE(testing::WhileModal<QColorDialog>([&] { interaction.ChooseColour(0x0000FF, custom); },
                                                [&](QColorDialog& dialog) { spanish(dialog); }));
}

}  // namespace
}  // namespace velmara
