#pragma once
// "Tus Colores Favoritos Cargalos y Guardalos": a palette of 13 x 10 favourite colours kept in
// "Mis Colores.log". A left click on a cell gives it a colour, a right click picks the colour under
// the mouse as the selected colour that the colour commands of the menu take.

#include <QDialog>
#include <QImage>
#include <QPoint>

#include "app/app_state.h"
#include "tools/colours_file.h"
#include "ui/interaction.h"

class QPushButton;

namespace velmara {

class ColourSurface;

class FavouriteColoursDialog : public QDialog {
 public:
  FavouriteColoursDialog(AppState& state, Interaction& ui, QWidget* parent = nullptr);

  // What the mouse does over the grid surface; positions are within the surface's drawing area.
  void HoverAt(QPoint position);
  void LeftClickAt(QPoint position);
  void RightClickAt(QPoint position);

  // The three buttons.
  void Archive();  // "Archivar"
  void Leave();    // "Salir"
  void Reset();    // "Reseteo"

  const ColourGrid& Grid() const { return grid_; }
  bool HasUnsavedChanges() const { return unsaved_; }
  QPushButton* ArchiveButton() const { return archiveButton_; }
  QPushButton* LeaveButton() const { return leaveButton_; }
  QPushButton* ResetButton() const { return resetButton_; }
  QImage GridSurfaceImage() const;
  QImage PreviewImage() const;

 private:
  std::filesystem::path ColoursFile() const { return state_.Files().coloursFile; }
  void LoadOrResetGrid();
  void ShowGrid();
  void HighlightCell(int column, int row);
  void ShowPreview();
  void SetUnsaved(bool unsaved);
  bool SaveGrid();

  AppState& state_;
  Interaction& ui_;
  ColourGrid grid_;
  QImage gridPicture_;
  bool unsaved_ = false;
  bool choosing_ = false;  // the colour chooser is open
  ColourSurface* gridSurface_ = nullptr;
  ColourSurface* previewSurface_ = nullptr;
  QPushButton* archiveButton_ = nullptr;
  QPushButton* leaveButton_ = nullptr;
  QPushButton* resetButton_ = nullptr;
};

// Draws the 130 shown cells on a white picture: each a box inset by 3 pixels, outlined in black.
void DrawColourGrid(QImage& picture, const ColourGrid& grid);

// The command "Colores Favoritos": the dialog, modal, centred on the screen.
void ShowFavouriteColours(AppState& state, Interaction& ui);

}  // namespace velmara
