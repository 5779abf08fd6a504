#include "tools/about_box.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "support/fixture_database.h"
#include "support/modal_dialog.h"
#include "support/test_folder.h"
#include "support/widgets.h"

namespace velmara {
namespace {

using velmara::testing::TestFolder;

QString LabelText(const AboutBox& box, const char* name) {
  auto* label = box.findChild<QLabel*>(QString::fromLatin1(name));
  return label ? label->text() : QStringLiteral("(no label %1)").arg(QString::fromLatin1(name));
}

class AboutBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    state.programFolder = folder.path();
    std::vector<std::string> neologisms;
    for (int i = 0; i < 25; ++i) neologisms.push_back("wifi" + std::to_string(i));
    testing::WriteFixtureDatabase(state.DatabaseFolder(), {"casa", "perro", "gato", "\xF1u"}, {"amar", "temer"},
                                  {"ana"}, neologisms);
    LoadHooks quiet;
    LoadWordDatabase(state.DatabaseFolder(), state.database, quiet);
  }
  void WriteIntellisense(int entries, int emptyLines) {
    std::string text;
    for (int i = 0; i < entries; ++i) {
      text += "clave" + std::to_string(i) + "|valor\r\n";
      if (i % 400 == 0 && emptyLines > 0) {
        text += "\r\n";
        --emptyLines;
      }
    }
    folder.Write(std::filesystem::path("palabrasbd") / "Intellisense.txt", text);
  }

  TestFolder folder;
  AppState state;
};

TEST_F(AboutBoxTest, ShowsTheStatisticsOfTheLists) {
  WriteIntellisense(1234, 3);
  AboutBox box(state);
  EXPECT_EQ(box.windowTitle(), QStringLiteral("Autor"));
  EXPECT_EQ(LabelText(box, "label1021"), QStringLiteral("Diccionario: [ali-] 4 palabras"));
  EXPECT_EQ(LabelText(box, "label1022"), QStringLiteral("Verbos: [desen-] 2 palabras"));
  EXPECT_EQ(LabelText(box, "label1023"), QStringLiteral("Nombres propios: 1 palabras"));
  EXPECT_EQ(LabelText(box, "label1024"), QStringLiteral("Falsos positivos: 25 palabras; max. 1500"));
  EXPECT_EQ(LabelText(box, "label1026"), QStringLiteral("Intellisense: 1234 palabras"));
  auto* dictionary = box.findChild<QLabel*>(QStringLiteral("label1021"));
  ASSERT_NE(dictionary, nullptr);
  EXPECT_EQ(dictionary->palette().color(QPalette::WindowText), QColor(Qt::red));
  EXPECT_EQ(dictionary->palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(AboutBoxTest, ReadsTheIntellisenseFileAfreshEachTime) {
  EXPECT_EQ(LabelText(AboutBox(state), "label1026"), QStringLiteral("Intellisense: 0 palabras"));
  WriteIntellisense(7, 0);
  EXPECT_EQ(LabelText(AboutBox(state), "label1026"), QStringLiteral("Intellisense: 7 palabras"));
}

TEST_F(AboutBoxTest, EveryLabelHasRoomForItsWholeText) {
  // Counts as large as a full database gives.
  state.database.dictionary.Assign(std::vector<std::string>(987654));
  state.database.falsePositives.count = 123456;
  AboutBox box(state);
  box.show();
  for (auto* label : box.findChildren<QLabel*>()) {
    EXPECT_GE(label->height(), label->heightForWidth(label->width())) << label->text().toStdString();
    EXPECT_TRUE(box.rect().contains(label->geometry())) << label->text().toStdString();
  }
  auto* exit = box.findChild<QPushButton*>(QStringLiteral("button1017"));
  ASSERT_NE(exit, nullptr);
  EXPECT_TRUE(box.rect().contains(exit->geometry()));
}

TEST_F(AboutBoxTest, OnlySalirClosesIt) {
  AboutBox box(state);
  box.show();
  EXPECT_TRUE(box.timer().isActive());

  EXPECT_FALSE(box.close());
  EXPECT_TRUE(box.isVisible());

  testing::PressKey(&box, Qt::Key_Escape);
  EXPECT_TRUE(box.isVisible());

  box.setWindowState(Qt::WindowMinimized);
  QApplication::processEvents();
  EXPECT_FALSE(box.windowState() & Qt::WindowMinimized);
  EXPECT_TRUE(box.isVisible());

  box.findChild<QPushButton*>(QStringLiteral("button1017"))->click();
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.result(), QDialog::Accepted);
  EXPECT_FALSE(box.timer().isActive());
}

TEST_F(AboutBoxTest, AnimationRunsThroughSevenFramesFromTheFirstEachTime) {
  AboutBox box(state);
  box.show();
  EXPECT_EQ(box.timer().interval(), 100);
  std::vector<int> frames;
  for (int tick = 0; tick < 9; ++tick) {
    box.Tick();
    frames.push_back(box.shownFrame());
  }
  EXPECT_EQ(frames, (std::vector<int>{701, 702, 703, 704, 705, 706, 707, 701, 702}));

  AboutBox again(state);
  again.Tick();
  EXPECT_EQ(again.shownFrame(), 701);
}

TEST_F(AboutBoxTest, ShowAboutBoxReturnsOnSalir) {
  bool opened = testing::WhileModal<AboutBox>([&] { ShowAboutBox(state); }, [](AboutBox& box) {
    box.findChild<QPushButton*>(QStringLiteral("button1017"))->click();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  });
  EXPECT_TRUE(opened);
}

}  // namespace
}  // namespace velmara
