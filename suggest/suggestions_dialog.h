#pragma once
// The suggestions dialog "Elija o escriba una solución", shown after a clipboard check that left
// missing words: the user picks a missing word, types its replacement and adds the pair to the
// Intellisense list with "Manual". The words suggested for the selected word are listed beside
// it: a click puts one in the replacement box, a double click adds it at once. "Ya esta!!" is the
// only way out.

#include <QDialog>
#include <string>
#include <vector>

#include "suggest/suggester.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace velmara {

struct AppState;
class Interaction;

class SuggestionsDialog : public QDialog {
  Q_OBJECT

 public:
  // Fills the list with the missing words of the last check run and marks the dialog open.
  SuggestionsDialog(AppState& state, Interaction& interaction, QWidget* parent = nullptr);
  ~SuggestionsDialog() override;

  QLabel* WordLabel() const { return label_; }
  QListWidget* MissingList() const { return missing_; }
  QLineEdit* ReplacementBox() const { return replacement_; }
  QListWidget* SuggestionList() const { return suggestions_; }
  QPushButton* DoneButton() const { return done_; }
  QPushButton* SuggestButton() const { return suggest_; }
  QPushButton* ManualButton() const { return manual_; }

  // Puts a text into the replacement box (the string finder's picked result).
  void SetReplacement(const std::string& text);

 public slots:
  // Neither Escape nor the window's close command ends the dialog.
  void reject() override {}

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SelectWord();
  void AddEntry();
  // Fills the suggestion list for a word; false when there is none.
  bool ListSuggestions(const std::string& word);
  Neighbours NeighboursOfMissing(const std::string& word) const;
  void ShowSuggestions();
  void TakeSuggestion(int row);
  void AddSuggestion(int row);
  void Finish();
  void RemoveWord(const std::string& word);

  AppState& state_;
  Interaction& interaction_;
  std::vector<std::string> words_;  // the rows of the missing-word list, in Windows-1252
  std::vector<std::string> offered_;  // the rows of the suggestion list
  QLabel* label_ = nullptr;
  QListWidget* missing_ = nullptr;
  QLineEdit* replacement_ = nullptr;
  QPushButton* done_ = nullptr;
  QPushButton* suggest_ = nullptr;
  QListWidget* suggestions_ = nullptr;
  QPushButton* manual_ = nullptr;
};

// Shows the dialog without owner and returns when "Ya esta!!" has closed it.
void ShowSuggestionsDialog(AppState& state, Interaction& interaction);

}  // namespace velmara
