#include "tools/favourite_colours_dialog.h"

#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <functional>

#include "tools/replace_file.h"
#include "ui/dialog_support.h"

namespace velmara {
namespace {

constexpr const char* kCaption = "Tus Colores Favoritos Cargalos y Guardalos";
constexpr const char* kArchivedMessage = "Mis Colores Favoritos han sido Archivados";
constexpr const char* kSaveQuestion = "Desea guardar los cambios antes de Salir ?";
constexpr const char* kResetQuestion = "Realmente desea RESETEAR ?\r\nSe perderan todos tus colores favoritos";
constexpr const char* kPreviewCaption = "Color Seleccionado";
constexpr int kContentWidth = 350;  // the grid, the preview and the buttons
constexpr int kGridPictureWidth = 336;
constexpr int kGridPictureHeight = 312;
constexpr std::uint32_t kChooserStart = 0x808080;  // grey
constexpr QRgb kBlackPixel = 0xFF000000;
constexpr QRgb kWhitePixel = 0xFFFFFFFF;

QRgb ToPixel(std::uint32_t colour) { return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }
std::uint32_t FromPixel(QRgb pixel) {
  return static_cast<std::uint32_t>(qRed(pixel)) | static_cast<std::uint32_t>(qGreen(pixel)) << 8 |
         static_cast<std::uint32_t>(qBlue(pixel)) << 16;
}

// The box of a cell, from (left + 3, top + 3) up to but not including (right, bottom). The
// numbers come from a file, so they are widened and kept near the picture before use.
void DrawCellBox(QImage& picture, const ColourCell& cell, QRgb outline) {
  auto clampX = [&](std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, -1, picture.width() + 1)); };
  auto clampY = [&](std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, -1, picture.height() + 1)); };
  int x0 = clampX(std::int64_t{cell.left} + kCellInset);
  int y0 = clampY(std::int64_t{cell.top} + kCellInset);
  int x1 = clampX(std::int64_t{cell.right} - 1);
  int y1 = clampY(std::int64_t{cell.bottom} - 1);
  if (x1 < x0 || y1 < y0) return;
  QPainter painter(&picture);
  painter.fillRect(QRect(QPoint(x0, y0), QPoint(x1, y1)), QColor::fromRgb(outline));
  if (x1 - x0 >= 2 && y1 - y0 >= 2) {
    painter.fillRect(QRect(QPoint(x0 + 1, y0 + 1), QPoint(x1 - 1, y1 - 1)), QColor::fromRgb(ToPixel(cell.colour)));
  }
}

}  // namespace

// A bordered surface that shows a picture and reports the mouse within its drawing area.
class ColourSurface : public QFrame {
 public:
  explicit ColourSurface(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
  }

  QImage image;
  std::function<void(QPoint)> onMove;
  std::function<void(QPoint)> onLeftClick;
  std::function<void(QPoint)> onRightClick;

  QSize DrawingSize() const { return contentsRect().size(); }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.drawImage(contentsRect().topLeft(), image);
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (onMove) onMove(Inside(event));
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && onLeftClick) onLeftClick(Inside(event));
    if (event->button() == Qt::RightButton && onRightClick) onRightClick(Inside(event));
  }

 private:
  QPoint Inside(QMouseEvent* event) const { return event->position().toPoint() - contentsRect().topLeft(); }
};

void DrawColourGrid(QImage& picture, const ColourGrid& grid) {
  picture.fill(kWhitePixel);
  for (int row = 0; row < kGridRows; ++row)
    for (int column = 0; column < kGridColumns; ++column) DrawCellBox(picture, grid.Cell(column, row), kBlackPixel);
}

FavouriteColoursDialog::FavouriteColoursDialog(AppState& state, Interaction& ui, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      state_(state),
      ui_(ui),
      gridPicture_(kGridPictureWidth, kGridPictureHeight, QImage::Format_RGB32) {
  setWindowTitle(QString::fromLatin1(kCaption));
  KeepInFront(*this);
  // Wide enough for the whole caption in the title bar; the grid and buttons stay centred.
  const int width = std::max(kContentWidth, WidthForCaption(QString::fromLatin1(kCaption)));
  const int left = (width - kContentWidth) / 2;
  setFixedSize(width, 357);

  gridSurface_ = new ColourSurface(this);
  gridSurface_->setGeometry(left + 8, 8, 336, 260);
  gridSurface_->setMouseTracking(true);
  gridSurface_->onMove = [this](QPoint at) { HoverAt(at); };
  gridSurface_->onLeftClick = [this](QPoint at) { LeftClickAt(at); };
  gridSurface_->onRightClick = [this](QPoint at) { RightClickAt(at); };
  previewSurface_ = new ColourSurface(this);
  previewSurface_->setGeometry(left + 8, 270, 336, 50);

  QFont buttonFont(QStringLiteral("MS Sans Serif"), 10, QFont::Bold);
  auto makeButton = [&](const char* caption, int x) {
    auto* button = new QPushButton(QString::fromLatin1(caption), this);
    button->setGeometry(left + x, 328, 72, 24);
    button->setFont(buttonFont);
    button->setAutoDefault(false);
    return button;
  };
  archiveButton_ = makeButton("Archivar", 8);
  resetButton_ = makeButton("Reseteo", 136);
  leaveButton_ = makeButton("Salir", 272);
  connect(archiveButton_, &QPushButton::clicked, this, [this] { Archive(); });
  connect(resetButton_, &QPushButton::clicked, this, [this] { Reset(); });
  connect(leaveButton_, &QPushButton::clicked, this, [this] { Leave(); });

  SetUnsaved(false);
  LoadOrResetGrid();
  ShowGrid();
  ShowPreview();
}

QImage FavouriteColoursDialog::GridSurfaceImage() const { return gridSurface_->image; }
QImage FavouriteColoursDialog::PreviewImage() const { return previewSurface_->image; }

void FavouriteColoursDialog::LoadOrResetGrid() {
  std::error_code ignored;
  bool present = std::filesystem::exists(ColoursFile(), ignored);
  // A file that is there but cannot be read gives the default grid rather than an empty one.
  if (!present || !LoadColourGrid(grid_, ColoursFile())) ResetColourGrid(grid_);
}

void FavouriteColoursDialog::ShowGrid() {
  DrawColourGrid(gridPicture_, grid_);
  QSize size = gridSurface_->DrawingSize();
  gridSurface_->image = gridPicture_.copy(0, 0, size.width(), size.height());
  gridSurface_->update();
}

void FavouriteColoursDialog::HighlightCell(int column, int row) {
  DrawCellBox(gridSurface_->image, grid_.Cell(column, row), kWhitePixel);
  gridSurface_->update();
}

void FavouriteColoursDialog::ShowPreview() {
  QSize size = previewSurface_->DrawingSize();
  QImage preview(size, QImage::Format_RGB32);
  preview.fill(ToPixel(state_.selectedColour));
  QPainter painter(&preview);
  painter.setFont(QFont(QStringLiteral("Tahoma"), 12, QFont::Bold));
  painter.setPen(state_.selectedColour == 0 ? Qt::white : Qt::black);
  painter.drawText(QRect(0, 12, size.width(), size.height() - 12), Qt::AlignHCenter | Qt::AlignTop,
                   QString::fromLatin1(kPreviewCaption));
  painter.end();
  previewSurface_->image = preview;
  previewSurface_->update();
}

void FavouriteColoursDialog::SetUnsaved(bool unsaved) {
  unsaved_ = unsaved;
  archiveButton_->setEnabled(unsaved);
}

void FavouriteColoursDialog::HoverAt(QPoint position) {
  auto cell = ColourGrid::CellAt(position.x(), position.y());
  if (!cell) return;
  ShowGrid();
  HighlightCell(cell->first, cell->second);
}

void FavouriteColoursDialog::LeftClickAt(QPoint position) {
  auto cell = ColourGrid::CellAt(position.x(), position.y());
  if (!cell || choosing_) return;
  choosing_ = true;
  std::optional<std::uint32_t> chosen = ui_.ChooseColour(kChooserStart, state_.customColours);
  choosing_ = false;
  if (!chosen) return;
  grid_.Cell(cell->first, cell->second).colour = *chosen & 0xFFFFFF;
  SetUnsaved(true);
  ShowGrid();
  HighlightCell(cell->first, cell->second);
}

void FavouriteColoursDialog::RightClickAt(QPoint position) {
  const QImage& shown = gridSurface_->image;
  if (!shown.rect().contains(position)) return;
  state_.selectedColour = FromPixel(shown.pixel(position));
  ShowPreview();
}

bool FavouriteColoursDialog::SaveGrid() {
  if (auto error = SaveColourGrid(grid_, ColoursFile())) {
    ui_.ShowMessageBox(SaveErrorText(*error), MessageButtons::Ok, false);
    return false;
  }
  return true;
}

void FavouriteColoursDialog::Archive() {
  // A failed save keeps the changes pending instead of announcing them as archived.
  if (!SaveGrid()) return;
  SetUnsaved(false);
  ui_.ShowMessageBox(kArchivedMessage, MessageButtons::Ok, false);
}

void FavouriteColoursDialog::Leave() {
  if (unsaved_ && ui_.ShowMessageBox(kSaveQuestion, MessageButtons::YesNo, false) == MessageAnswer::Yes) {
    // The dialog stays open when the save failed, so the changes are not lost unnoticed.
    if (!SaveGrid()) return;
  }
  accept();
}

void FavouriteColoursDialog::Reset() {
  if (ui_.ShowMessageBox(kResetQuestion, MessageButtons::YesNo, false) != MessageAnswer::Yes) return;
  DeleteFileQuietly(ColoursFile());
  ResetColourGrid(grid_);
  ShowGrid();
  state_.selectedColour = kWhite;
  ShowPreview();
}

void ShowFavouriteColours(AppState& state, Interaction& ui) {
  FavouriteColoursDialog dialog(state, ui);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area = screen->availableGeometry();
    dialog.move(area.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
  }
  dialog.exec();
}

}  // namespace velmara
