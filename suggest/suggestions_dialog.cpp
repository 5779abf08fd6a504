#include "suggest/suggestions_dialog.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

#include "app/app_state.h"
#include "suggest/intellisense.h"
#include "tools/string_search.h"
#include "ui/dialog_support.h"
#include "ui/interaction.h"
#include "ui/text.h"

namespace velmara {

namespace {

QListWidget* NewWordList(QWidget* parent, QRect geometry) {
  auto* list = new QListWidget(parent);
  list->setGeometry(geometry);
  list->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  return list;
}

QPushButton* NewButton(const QString& caption, QWidget* parent, QRect geometry) {
  auto* button = new QPushButton(caption, parent);
  button->setGeometry(geometry);
  button->setAutoDefault(false);  // Enter presses nothing here
  return button;
}

// The missing words of the last run; a word missing several times is listed several times.
std::vector<std::string> SortedMissingWords(const CheckState& check) {
  const std::size_t stored = check.missingWords.size();
  const std::size_t count = check.MissingCount > 0 ? std::min<std::size_t>(check.MissingCount, stored) : 0;
  std::vector<std::string> words(check.missingWords.begin(), check.missingWords.begin() + count);
  std::stable_sort(words.begin(), words.end(), ListOrderLess);
  return words;
}

}  // namespace

SuggestionsDialog::SuggestionsDialog(AppState& state, Interaction& interaction, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      state_(state),
      interaction_(interaction) {
  SetUpDialogFrame(*this, QStringLiteral("Elija o escriba una solución"), QRect(134, 85, 279, 166));
  setFont(DialogFont("Comic Sans MS", 10, true));

  label_ = new QLabel(this);
  label_->setGeometry(DialogUnitsToPixels(5, 5, 270, 20));
  label_->setFrameStyle(QFrame::Box | QFrame::Plain);
  label_->setAutoFillBackground(true);
  QPalette colours = label_->palette();
  colours.setColor(QPalette::WindowText, QColor(255, 0, 0));
  colours.setColor(QPalette::Window, QColor(236, 207, 91));
  label_->setPalette(colours);

  missing_ = NewWordList(this, DialogUnitsToPixels(5, 25, 135, 95));
  replacement_ = new QLineEdit(this);
  replacement_->setGeometry(DialogUnitsToPixels(4, 120, 271, 20));
  replacement_->installEventFilter(this);
  done_ = NewButton(QStringLiteral("Ya esta!!"), this, DialogUnitsToPixels(5, 145, 50, 15));
  suggest_ = NewButton(QStringLiteral("Sugerencias"), this, DialogUnitsToPixels(65, 145, 60, 15));
  suggestions_ = NewWordList(this, DialogUnitsToPixels(140, 25, 135, 95));
  manual_ = NewButton(QStringLiteral("Manual"), this, DialogUnitsToPixels(135, 145, 45, 15));

  connect(missing_, &QListWidget::itemSelectionChanged, this, &SuggestionsDialog::SelectWord);
  connect(missing_, &QListWidget::itemDoubleClicked, this, &SuggestionsDialog::SelectWord);
  connect(done_, &QPushButton::clicked, this, &SuggestionsDialog::Finish);
  connect(suggest_, &QPushButton::clicked, this, &SuggestionsDialog::ShowSuggestions);
  connect(suggestions_, &QListWidget::currentRowChanged, this, &SuggestionsDialog::TakeSuggestion);
  connect(suggestions_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { TakeSuggestion(suggestions_->row(item)); });
  connect(suggestions_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { AddSuggestion(suggestions_->row(item)); });
  connect(manual_, &QPushButton::clicked, this, &SuggestionsDialog::AddEntry);
  // Enter in the replacement box does what "Manual" does.
  connect(replacement_, &QLineEdit::returnPressed, this, &SuggestionsDialog::AddEntry);

  state_.suggestionsOpen = true;
  state_.setSuggestionReplacement = [this](const std::string& text) { SetReplacement(text); };
  if (state_.check.MissingCount > 0) {
    words_ = SortedMissingWords(state_.check);
    for (const std::string& word : words_) missing_->addItem(ToQString(word));
  }
  FitWholeRows(*missing_);
  FitWholeRows(*suggestions_);
}

SuggestionsDialog::~SuggestionsDialog() {
  // The finder must never reach a dialog that is gone.
  state_.suggestionsOpen = false;
  state_.setSuggestionReplacement = nullptr;
}

void SuggestionsDialog::SetReplacement(const std::string& text) { replacement_->setText(ToQString(text)); }

void SuggestionsDialog::closeEvent(QCloseEvent* event) { event->ignore(); }

bool SuggestionsDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == replacement_ && event->type() == QEvent::FocusIn) {
    // Clicking or tabbing into the box starts a new replacement. Coming back to the window
    // does not, or a result picked in the string finder meanwhile would be lost.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) replacement_->clear();
  }
  return QDialog::eventFilter(watched, event);
}

void SuggestionsDialog::SelectWord() {
  const int row = missing_->currentRow();
  if (row < 0 || row >= static_cast<int>(words_.size()) || !missing_->currentItem()->isSelected()) return;
  state_.suggestionWord = words_[row];
  label_->setText(ToQString(state_.suggestionWord));
  ListSuggestions(state_.suggestionWord);
}

bool SuggestionsDialog::ListSuggestions(const std::string& word) {
  // Refilling moves the current row; that is not the user picking a suggestion.
  const QSignalBlocker blocker(suggestions_);
  suggestions_->clear();
  offered_ = word.empty() ? std::vector<std::string>() : state_.Suggestions(word);
  for (const std::string& offered : offered_) suggestions_->addItem(ToQString(offered));
  return !offered_.empty();
}

void SuggestionsDialog::ShowSuggestions() {
  const std::string& word = state_.suggestionWord;
  if (word.empty()) {
    interaction_.ShowMessageBox("Elija primero una palabra de la lista.");
    return;
  }
  label_->setText(ToQString(word));
  if (!ListSuggestions(word)) interaction_.ShowMessageBox("No hay sugerencias para \xAB" + word + "\xBB.");
}

void SuggestionsDialog::TakeSuggestion(int row) {
  if (row >= 0 && row < static_cast<int>(offered_.size())) SetReplacement(offered_[row]);
}

void SuggestionsDialog::AddSuggestion(int row) {
  if (row < 0 || row >= static_cast<int>(offered_.size())) return;
  SetReplacement(offered_[row]);
  AddEntry();
}

void SuggestionsDialog::AddEntry() {
  std::string typed = ToWindows1252(replacement_->text());
  std::string& word = state_.suggestionWord;
  if (word.empty() || typed.empty()) return;
  // A line break in the replacement would split the entry into two lines of the file.
  std::replace_if(typed.begin(), typed.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');

  const std::filesystem::path file = state_.IntellisensePath();
  if (IntellisenseHasKey(file, word)) return;
  if (!IntellisenseAppend(file, word + "|" + typed)) {
    // The word stays listed: nothing was saved for it.
    interaction_.ShowMessageBox("No se ha podido guardar la soluci\xF3n en " + std::string(kIntellisenseFile) +
                                ".\r\nLa palabra sigue en la lista.");
    return;
  }
  RemoveWord(word);
  ListSuggestions(std::string());
  replacement_->clear();
  label_->clear();
  word.clear();
}

void SuggestionsDialog::RemoveWord(const std::string& word) {
  // Removing rows moves the current row; that is not the user choosing another word.
  const QSignalBlocker blocker(missing_);
  for (auto it = std::find(words_.begin(), words_.end(), word); it != words_.end();
       it = std::find(words_.begin(), words_.end(), word)) {
    delete missing_->takeItem(static_cast<int>(it - words_.begin()));
    words_.erase(it);
  }
  missing_->clearSelection();
  missing_->setCurrentRow(-1);
}

void SuggestionsDialog::Finish() {
  state_.suggestionsOpen = false;
  state_.setSuggestionReplacement = nullptr;
  done(0);
}

void ShowSuggestionsDialog(AppState& state, Interaction& interaction) {
  SuggestionsDialog dialog(state, interaction);
  RunOwnerlessDialog(dialog);
}

}  // namespace velmara
