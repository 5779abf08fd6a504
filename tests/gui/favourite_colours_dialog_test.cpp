#include "tools/favourite_colours_dialog.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>

#include "support/scripted_interaction.h"
#include "support/test_folder.h"
#include "ui/dialog_support.h"

namespace velmara {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedInteraction;
using testing::TestFolder;

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

// Points of cell (c, r) on the grid surface: inside its fill, on its outline, and in the gap.
QPoint Fill(int column, int row) { return {25 * column + 14, 25 * row + 14}; }
QPoint Outline(int column, int row) { return {25 * column + 4, 25 * row + 14}; }
QPoint Gap(int column, int row) { return {25 * column + 2, 25 * row + 14}; }

// Whether the caption band of the preview holds a pixel of this colour.
bool CaptionHas(const QImage& preview, QRgb colour) {
  for (int y = 12; y < 32; ++y)
    for (int x = 0; x < preview.width(); ++x)
      if (preview.pixel(x, y) == colour) return true;
  return false;
}

class FavouriteColoursTest : public ::testing::Test {
 protected:
  FavouriteColoursTest() { state.programFolder = folder.path(); }
  fs::path ColoursFile() const { return folder.path() / kColoursFile; }
  // Left-clicks cell (column, row), the colour chooser answering `colour`.
  void Paint(FavouriteColoursDialog& dialog, int column, int row, std::uint32_t colour) {
    ui.colourAnswers.push_back(colour);
    dialog.LeftClickAt(Fill(column, row));
  }

  TestFolder folder;
  AppState state;
  ScriptedInteraction ui;
};

TEST_F(FavouriteColoursTest, WithoutAFileTheGridIsWhiteAndNothingToArchive) {
  FavouriteColoursDialog dialog(state, ui);
  EXPECT_EQ(dialog.windowTitle(), "Tus Colores Favoritos Cargalos y Guardalos");
  EXPECT_GE(dialog.width(), WidthForCaption(dialog.windowTitle())) << "the title bar cuts the caption";
  EXPECT_EQ(dialog.height(), 357);
  EXPECT_FALSE(dialog.ArchiveButton()->isEnabled());
  EXPECT_EQ(dialog.ArchiveButton()->text(), "Archivar");
  EXPECT_EQ(dialog.LeaveButton()->text(), "Salir");
  EXPECT_EQ(dialog.ResetButton()->text(), "Reseteo");

  QImage shown = dialog.GridSurfaceImage();
  for (int row = 0; row < kGridRows; ++row) {
    for (int column = 0; column < kGridColumns; ++column) {
      EXPECT_EQ(dialog.Grid().Cell(column, row), DefaultCell(column, row));
      EXPECT_EQ(shown.pixel(Fill(column, row)), kWhite);
      EXPECT_EQ(shown.pixel(Outline(column, row)), kBlack);
    }
  }
  EXPECT_EQ(shown.pixel(Gap(3, 3)), kWhite);
  EXPECT_FALSE(fs::exists(ColoursFile()));
}

TEST_F(FavouriteColoursTest, RedCellIsArchivedAndShownAgainOnReopening) {
  {
    FavouriteColoursDialog dialog(state, ui);
    Paint(dialog, 2, 0, 0x0000FF);
    EXPECT_TRUE(dialog.ArchiveButton()->isEnabled());
    EXPECT_EQ(dialog.GridSurfaceImage().pixel(Fill(2, 0)), kRed);

    dialog.Archive();
    EXPECT_FALSE(dialog.ArchiveButton()->isEnabled());
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"Mis Colores Favoritos han sido Archivados"});
    EXPECT_EQ(ui.messages[0].title, "Programador");
  }
  EXPECT_EQ(folder.Read(kColoursFile).size(), 3120u);

  FavouriteColoursDialog again(state, ui);
  EXPECT_EQ(again.Grid().Cell(2, 0).colour, 255u);
  EXPECT_EQ(again.GridSurfaceImage().pixel(Fill(2, 0)), kRed);
  EXPECT_EQ(again.GridSurfaceImage().pixel(Fill(3, 0)), kWhite);
  EXPECT_FALSE(again.ArchiveButton()->isEnabled());
}

TEST_F(FavouriteColoursTest, LeftClicksOutsideTheGridOrCancelledChangeNothing) {
  FavouriteColoursDialog dialog(state, ui);
  ui.colourAnswers.push_back(0x0000FF);
  dialog.LeftClickAt({25 * 13 + 3, 10});  // right of the last column
  dialog.LeftClickAt({10, 25 * 10 + 3});  // below the last row
  EXPECT_EQ(ui.colourAnswers.size(), 1u) << "no chooser opened";

  ui.colourAnswers.front() = std::nullopt;
  dialog.LeftClickAt(Fill(4, 4));
  EXPECT_EQ(dialog.Grid().Cell(4, 4).colour, kWhite & 0xFFFFFF);
  EXPECT_FALSE(dialog.ArchiveButton()->isEnabled());
}

TEST_F(FavouriteColoursTest, HoverOutlinesTheCellInWhiteAndMovesWithTheMouse) {
  FavouriteColoursDialog dialog(state, ui);
  // Where the mouse is, then the outlines of cells (5, 5) and (6, 5); off the grid the picture
  // stays as it was.
  const struct {
    QPoint at;
    QRgb first, second;
  } steps[] = {{Fill(5, 5), kWhite, kBlack}, {Fill(6, 5), kBlack, kWhite}, {{25 * 13 + 1, 10}, kBlack, kWhite}};
  for (const auto& step : steps) {
    dialog.HoverAt(step.at);
    EXPECT_EQ(dialog.GridSurfaceImage().pixel(Outline(5, 5)), step.first) << step.at.x();
    EXPECT_EQ(dialog.GridSurfaceImage().pixel(Outline(6, 5)), step.second) << step.at.x();
  }
}

TEST_F(FavouriteColoursTest, RightClickPicksTheColourShownUnderTheMouse) {
  state.selectedColour = 0x123456;
  FavouriteColoursDialog dialog(state, ui);
  Paint(dialog, 1, 1, 0x000000);

  dialog.RightClickAt(Fill(1, 1));
  EXPECT_EQ(state.selectedColour, 0u);
  QImage preview = dialog.PreviewImage();
  EXPECT_EQ(preview.pixel(2, 2), kBlack);
  EXPECT_TRUE(CaptionHas(preview, kWhite)) << "the caption is white on black";

  dialog.RightClickAt(Gap(2, 2));
  EXPECT_EQ(state.selectedColour, 0xFFFFFFu);
  preview = dialog.PreviewImage();
  EXPECT_EQ(preview.pixel(2, 2), kWhite);
  EXPECT_TRUE(CaptionHas(preview, kBlack)) << "the caption is black on any other colour";
}

TEST_F(FavouriteColoursTest, RealMouseEventsReachTheGrid) {
  FavouriteColoursDialog dialog(state, ui);
  // The grid sits centred in a dialog as wide as its caption needs.
  QWidget* surface = dialog.childAt(QPoint((dialog.width() - 350) / 2 + 8 + 20, 8 + 20));
  ASSERT_NE(surface, nullptr);
  QPoint border = QPoint(1, 1);  // the surface's frame

  ui.colourAnswers.push_back(0x00FF00);
  QPointF at = Fill(0, 0) + border;
  QMouseEvent press(QEvent::MouseButtonPress, at, surface->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(surface, &press);
  EXPECT_EQ(dialog.Grid().Cell(0, 0).colour, 0x00FF00u);

  QMouseEvent right(QEvent::MouseButtonPress, at, surface->mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                    Qt::NoModifier);
  QApplication::sendEvent(surface, &right);
  EXPECT_EQ(state.selectedColour, 0x00FF00u);
}

TEST_F(FavouriteColoursTest, ResetAsksAndOnYesWipesFileGridAndSelection) {
  {
    FavouriteColoursDialog dialog(state, ui);
    Paint(dialog, 0, 0, 0x0000FF);
    dialog.Archive();
  }
  ui.messages.clear();
  state.selectedColour = 0x0000FF;
  FavouriteColoursDialog dialog(state, ui);

  ui.answers.push_back(MessageAnswer::No);
  dialog.Reset();
  ASSERT_EQ(ui.MessageTexts(), std::vector<std::string>{"Realmente desea RESETEAR ?\r\nSe perderan todos tus colores favoritos"});
  EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNo);
  EXPECT_TRUE(fs::exists(ColoursFile()));
  EXPECT_EQ(dialog.Grid().Cell(0, 0).colour, 0x0000FFu);
  EXPECT_EQ(state.selectedColour, 0x0000FFu);

  ui.answers.push_back(MessageAnswer::Yes);
  dialog.Reset();
  EXPECT_FALSE(fs::exists(ColoursFile()));
  EXPECT_EQ(dialog.Grid().Cell(0, 0), DefaultCell(0, 0));
  EXPECT_EQ(dialog.GridSurfaceImage().pixel(Fill(0, 0)), kWhite);
  EXPECT_EQ(state.selectedColour, 0xFFFFFFu);
  EXPECT_EQ(dialog.PreviewImage().pixel(2, 2), kWhite);
}

TEST_F(FavouriteColoursTest, LeavingAsksOnlyAboutUnsavedChanges) {
  folder.Write(kColoursFile, "");
  {
    FavouriteColoursDialog dialog(state, ui);
    dialog.show();
    dialog.Leave();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(dialog.isVisible());
  }
  // After a change: No leaves the file as it was; Yes saves it, with no confirmation on the way out.
  for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
    ui.messages.clear();
    FavouriteColoursDialog dialog(state, ui);
    dialog.show();
    Paint(dialog, 0, 0, 0x0000FF);
    ui.answers.push_back(answer);
    dialog.Leave();
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"Desea guardar los cambios antes de Salir ?"});
    EXPECT_EQ(folder.Read(kColoursFile).size(), answer == MessageAnswer::Yes ? 3120u : 0u);
    EXPECT_FALSE(dialog.isVisible());
  }
}

TEST_F(FavouriteColoursTest, FailedSavesAreReportedAndKeepTheChanges) {
  folder.Write("fichero", "x");
  state.programFolder = folder.path() / "fichero";  // cannot hold any file
  FavouriteColoursDialog dialog(state, ui);
  dialog.show();
  Paint(dialog, 0, 0, 0x0000FF);

  dialog.Archive();
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text.rfind("Err:  " + std::to_string(ENOTDIR) + " ", 0), 0u) << ui.messages[0].text;
  EXPECT_TRUE(dialog.ArchiveButton()->isEnabled());

  ui.answers.push_back(MessageAnswer::Yes);
  dialog.Leave();
  EXPECT_TRUE(dialog.isVisible()) << "the changes are not thrown away after a failed save";
}

TEST_F(FavouriteColoursTest, DamagedFilesOpenWithoutHarm) {
  std::string hostile = EncodeColourCell(ColourCell{INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN, 1, 1, 0xFF}) +
                        EncodeColourCell(ColourCell{1, 26, 1, 26, 2000, -7, 0xFF}) +
                        EncodeColourCell(ColourCell{INT32_MAX - 1, INT32_MAX, INT32_MIN, INT32_MIN + 1, 3, 3, 0xFF});
  folder.Write(kColoursFile, hostile);
  FavouriteColoursDialog dialog(state, ui);
  dialog.HoverAt(Fill(1, 1));
  dialog.HoverAt(Fill(3, 3));
  dialog.HoverAt(Fill(5, 5));  // a cell no record filled draws nothing
  dialog.RightClickAt(Fill(3, 3));
  EXPECT_EQ(dialog.Grid().Cell(1, 1).colour, 0xFFu);
  EXPECT_EQ(dialog.GridSurfaceImage().pixel(Fill(0, 0)), kWhite);
  EXPECT_EQ(dialog.GridSurfaceImage().pixel(Outline(5, 5)), kWhite);
}

}  // namespace
}  // namespace velmara
