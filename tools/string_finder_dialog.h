#pragma once
// The string finder "Buscador de cadenas": words of the lists that begin with the typed letters,
// or end with the letters after a leading "-". A picked result goes into the suggestions
// dialog's replacement box while that dialog is open.

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace velmara {

struct AppState;
class Interaction;

class StringFinderDialog : public QDialog {
  Q_OBJECT

 public:
  StringFinderDialog(AppState& state, Interaction& interaction, QWidget* parent = nullptr);

  QComboBox* ModeBox() const { return mode_; }
  QLineEdit* SearchBox() const { return search_; }
  QListWidget* ResultList() const { return results_; }
  QPushButton* SearchButton() const { return searchButton_; }

  // Searches with the text box's text; an empty box does nothing.
  void StartSearch();

 public slots:
  // Only the close box ends the dialog.
  void reject() override {}

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ChangeMode(int index);
  void PickResult();

  AppState& state_;
  Interaction& interaction_;
  std::vector<std::string> entries_;  // the rows of the result list, in Windows-1252
  QComboBox* mode_ = nullptr;
  QLineEdit* search_ = nullptr;
  QListWidget* results_ = nullptr;
  QPushButton* searchButton_ = nullptr;
};

// Shows the finder without owner and returns when its close box has closed it.
void ShowStringFinder(AppState& state, Interaction& interaction);

}  // namespace velmara
