#include "checker/options_dialog.h"

#include <QApplication>
#include <QPushButton>
#include <gtest/gtest.h>

#include "support/widgets.h"

namespace velmara {
namespace {

constexpr int kSwitchable[] = {OptionsDialog::kClipboard, OptionsDialog::kTiming, OptionsDialog::kDifficulty,
                               OptionsDialog::kIntellisense, OptionsDialog::kQuietNotice};
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
  dialog.Toggle(OptionsDialog::kQuietNotice)->click();
  EXPECT_EQ(dialog.Toggle(OptionsDialog::kQuietNotice)->text(), QStringLiteral("Avisar sin interrumpir"));
  EXPECT_EQ(settings.Avisar_sin_interrumpir, 1);
  // The accent advice is on by default and switches off like the others.
  EXPECT_TRUE(dialog.Toggle(OptionsDialog::kContextAdvice)->isChecked());
  dialog.Toggle(OptionsDialog::kContextAdvice)->click();
  EXPECT_EQ(settings.Contexto, 0);
}

TEST(OptionsDialog, OnlySalirCloses) {
  Settings settings;
  OptionsDialog dialog(settings);
  dialog.show();
  EXPECT_FALSE(dialog.close());
  testing::PressKey(&dialog, Qt::Key_Escape);
  dialog.setWindowState(Qt::WindowMinimized);
  QApplication::processEvents();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.isMinimized());

  dialog.ExitButton()->click();
  EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace velmara
