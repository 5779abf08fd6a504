#include "tools/string_finder_dialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringList>

#include "app/app_state.h"
#include "tools/string_search.h"
#include "ui/dialog_support.h"
#include "ui/interaction.h"
#include "ui/text.h"

namespace velmara {

namespace {
// Wide enough for the caption "Buscador de cadenas" beside the title bar's buttons.
constexpr int kFrameWidth = 190;
}  // namespace

StringFinderDialog::StringFinderDialog(AppState& state, Interaction& interaction, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      state_(state),
      interaction_(interaction) {
  SetUpDialogFrame(*this, QStringLiteral("Buscador de cadenas"), QRect(70, 70, kFrameWidth, 295));
  setFont(DialogFont("MS Sans Serif", 8, true));

  mode_ = new QComboBox(this);
  mode_->setGeometry(DialogUnitsToPixels(5, 1, kFrameWidth - 9, 13));
  for (const char* caption : kFinderModeCaptions) mode_->addItem(QString::fromLatin1(caption));
  mode_->setCurrentIndex(static_cast<int>(state_.finderMode) - 1);

  search_ = new QLineEdit(this);
  search_->setGeometry(DialogUnitsToPixels(5, 20, kFrameWidth - 9, 13));

  results_ = new QListWidget(this);
  results_->setGeometry(DialogUnitsToPixels(5, 35, kFrameWidth - 9, 235));
  results_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  results_->setUniformItemSizes(true);  // a lone "-" can list every word

  searchButton_ = new QPushButton(QStringLiteral("Buscar"), this);
  searchButton_->setGeometry(DialogUnitsToPixels(5, 275, kFrameWidth - 9, 15));
  // Enter searches only from the text box; elsewhere (the result list) it does nothing.
  searchButton_->setAutoDefault(false);

  connect(mode_, &QComboBox::currentIndexChanged, this, &StringFinderDialog::ChangeMode);
  connect(search_, &QLineEdit::returnPressed, this, &StringFinderDialog::StartSearch);
  connect(searchButton_, &QPushButton::clicked, this, &StringFinderDialog::StartSearch);
  connect(results_, &QListWidget::itemSelectionChanged, this, &StringFinderDialog::PickResult);
  connect(results_, &QListWidget::itemDoubleClicked, this, &StringFinderDialog::PickResult);
}

void StringFinderDialog::closeEvent(QCloseEvent* event) {
  done(QDialog::Rejected);
  event->accept();
}

void StringFinderDialog::ChangeMode(int index) {
  if (index < 0) return;
  state_.finderMode = static_cast<FinderMode>(index + 1);
  StartSearch();
}

void StringFinderDialog::StartSearch() {
  const std::string text = ToWindows1252(search_->text());
  if (text.empty()) return;
  StringSearchResult result = RunStringSearch(state_.database, state_.finderMode, text);
  // A text outside the finder's letters is ignored without a word; the last results stay.
  if (!result.valid) return;

  QStringList rows;
  rows.reserve(static_cast<qsizetype>(result.entries.size()));
  for (const std::string& entry : result.entries) rows.append(ToQString(entry));
  {
    const QSignalBlocker blocker(results_);
    results_->clear();
    results_->addItems(rows);
  }
  entries_ = std::move(result.entries);
  interaction_.ShowMessageBox(result.message);
}

void StringFinderDialog::PickResult() {
  const int row = results_->currentRow();
  if (row < 0 || row >= static_cast<int>(entries_.size()) || !results_->currentItem()->isSelected()) return;
  if (state_.suggestionsOpen && state_.setSuggestionReplacement) state_.setSuggestionReplacement(entries_[row]);
}

void ShowStringFinder(AppState& state, Interaction& interaction) {
  StringFinderDialog dialog(state, interaction);
  RunOwnerlessDialog(dialog);
}

}  // namespace velmara
