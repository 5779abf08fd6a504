#include "checker/options_dialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/app_state.h"
#include "support/scripted_interaction.h"
#include "support/widget_rows.h"

namespace velmara {
namespace {

using testing::OpenWindow;
using testing::ScriptedInteraction;

constexpr int kSwitchable[] = {OptionsDialog::kClipboard, OptionsDialog::kTiming, OptionsDialog::kDifficulty,
                               OptionsDialog::kIntellisense};
constexpr int kDisabled[] = {OptionsDialog::kCaseSensitive, OptionsDialog::kAutoReplace,
                             OptionsDialog::kCapitalsAfterPunctuation};

TEST(OptionsDialog, OpensWithTheSettingsPressedAndTheRestReleased) {
  Settings settings;
  settings.Crono = 1;
  OptionsDialog dialog(settings);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Configuración"));
  for (int id : kSwitchable) {
    EXPECT_TRUE(dialog.Toggle(id)->isEnabled()) << id;
    EXPECT_EQ(dialog.Toggle(id)->isChecked(), id == OptionsDialog::kTiming) << id;
  }
  for (int id : kDisabled) {
    dialog.Toggle(id)->click();
    EXPECT_FALSE(dialog.Toggle(id)->isEnabled()) << id;
    EXPECT_FALSE(dialog.Toggle(id)->isChecked()) << id;
  }
  EXPECT_EQ(dialog.Toggle(OptionsDialog::kAutoReplace)->text(),
            QStringLiteral("Sustitución automática de palabras (faltas de ortografía) "));
}

TEST(OptionsDialog, ToggleStoresItsSettingAtOnce) {
  Settings settings;
  settings.Inteligente = 1;
  OptionsDialog dialog(settings);
  dialog.Toggle(OptionsDialog::kClipboard)->click();
  EXPECT_EQ(settings.Hay_clipboard, 1);
  dialog.Toggle(OptionsDialog::kDifficulty)->click();
  EXPECT_EQ(settings.Dificultad, 1);
  dialog.Toggle(OptionsDialog::kIntellisense)->click();
  EXPECT_EQ(settings.Inteligente, 0);
  dialog.Toggle(OptionsDialog::kIntellisense)->click();
  EXPECT_EQ(settings.Inteligente, 1);
  EXPECT_EQ(settings.Crono, 0);
}

TEST(OptionsDialog, OnlySalirCloses) {
  Settings settings;
  OptionsDialog dialog(settings);
  dialog.show();
  EXPECT_FALSE(dialog.close());
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&dialog, &escape);
  dialog.setWindowState(Qt::WindowMinimized);
  QApplication::processEvents();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.isMinimized());

  dialog.ExitButton()->click();
  EXPECT_FALSE(dialog.isVisible());
}

// Drives the options dialog once it is shown: clicks the given toggles, then "Salir".
void ClickThenExit(std::vector<int> toggles, std::function<void()> whileOpen = {}) {
  QTimer::singleShot(0, [toggles, whileOpen] {
    auto* dialog = OpenWindow<OptionsDialog>();
    ASSERT_NE(dialog, nullptr);
    for (int id : toggles) dialog->Toggle(id)->click();
    if (whileOpen) whileOpen();
    dialog->ExitButton()->click();
  });
}

TEST(OptionsCommand, ClipboardOptionDecidesTheTimerAfterClosing) {
  AppState state;
  ScriptedInteraction interaction;
  interaction.clipboard = "texto ya visto";
  std::vector<bool> rearmed;
  auto rearm = [&](bool on) { rearmed.push_back(on); };

  ClickThenExit({OptionsDialog::kClipboard, OptionsDialog::kTiming});
  RunOptionsCommand(state, interaction, rearm);
  EXPECT_EQ(state.settings.Hay_clipboard, 1);
  EXPECT_EQ(state.settings.Crono, 1);
  EXPECT_EQ(interaction.clipboard, "");  // the next copied text counts as new
  EXPECT_EQ(rearmed, std::vector<bool>{true});

  interaction.clipboard = "texto";
  ClickThenExit({OptionsDialog::kClipboard});
  RunOptionsCommand(state, interaction, rearm);
  EXPECT_EQ(state.settings.Hay_clipboard, 0);
  EXPECT_EQ(interaction.clipboard, "texto");
  EXPECT_EQ(rearmed, (std::vector<bool>{true, false}));
  EXPECT_FALSE(state.optionsBusy);
}

TEST(OptionsCommand, SecondCommandWhileOpenDoesNothing) {
  AppState state;
  ScriptedInteraction interaction;
  int rearms = 0;
  auto rearm = [&](bool) { ++rearms; };
  int openDuringSecond = -1;
  ClickThenExit({}, [&] {
    EXPECT_TRUE(state.optionsBusy);
    RunOptionsCommand(state, interaction, rearm);  // returns at once: no second dialog
    openDuringSecond = rearms;
  });
  RunOptionsCommand(state, interaction, rearm);
  EXPECT_EQ(openDuringSecond, 0);
  EXPECT_EQ(rearms, 1);
  EXPECT_FALSE(state.optionsBusy);
}

}  // namespace
}  // namespace velmara
