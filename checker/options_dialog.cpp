#include "checker/options_dialog.h"

#include <algorithm>

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "app/app_state.h"
#include "ui/dialog_support.h"
#include "ui/text.h"
#include "worddb/countries.h"

namespace velmara {

namespace {
// Captions sit on the left, and a pressed toggle must read as on at a glance.
const QString kToggleStyle = QStringLiteral(
    "QPushButton { text-align: left; padding: 2px 6px; border: 1px solid #8c8c8c; border-radius: 2px;"
    " background: #f4f4f4; }"
    "QPushButton:checked { background: #c6d4ec; border: 2px inset #4a5c80; }"
    "QPushButton:focus { border-color: #3a6fc4; }"
    "QPushButton:disabled { color: #a0a0a0; background: #f0f0f0; border-color: #c8c8c8; }");
}  // namespace

OptionsDialog::OptionsDialog(Settings& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      settings_(settings) {
  // Tall enough for the nine toggles with "Salir" (and "País") below them and a margin under it.
  SetUpDialogFrame(*this, QStringLiteral("Configuración"), QRect(70, 70, 397, 228));

  // Creation order is the tab order.
  AddToggle(kCaseSensitive, QStringLiteral("Sensible a mayúsculas y minúsculas"), 10, 20);
  AddToggle(kAutoReplace, QStringLiteral("Sustitución automática de palabras (faltas de ortografía) "), 31, 19);
  AddToggle(kClipboard, QStringLiteral("Corrección automática (detecta cuando hay texto nuevo en clipboard)"), 51, 20);
  AddToggle(kTiming, QStringLiteral("Incluir el tiempo que tarda"), 72, 20);
  AddToggle(kDifficulty, QStringLiteral("Incluir dificultad del texto"), 94, 20);
  exit_ = new QPushButton(QStringLiteral("Salir"), this);
  exit_->setGeometry(DialogUnitsToPixels(15, 204, 50, 15));
  exit_->setFont(DialogFont("MS Sans Serif", 10, true));
  exit_->setDefault(true);
  connect(exit_, &QPushButton::clicked, this, &QDialog::accept);
  AddToggle(kCapitalsAfterPunctuation, QStringLiteral("Arreglar mayúsculas después de signo de puntuación"), 116, 20);
  AddToggle(kIntellisense, QStringLiteral("Corregir Ortografía con Intellisense"), 138, 20);
  AddToggle(kQuietNotice, QStringLiteral("Avisar sin interrumpir"), 160, 20);
  AddToggle(kContextAdvice, QStringLiteral("Avisar de tildes según el contexto"), 182, 20);

  // Words are always classified in lower case and capitals after punctuation are always
  // fixed, so these three have nothing to switch.
  for (int id : {kCaseSensitive, kAutoReplace, kCapitalsAfterPunctuation}) toggles_[id]->setEnabled(false);
  Bind(kClipboard, &Settings::Hay_clipboard);
  Bind(kTiming, &Settings::Crono);
  Bind(kDifficulty, &Settings::Dificultad);
  Bind(kIntellisense, &Settings::Inteligente);
  Bind(kQuietNotice, &Settings::Avisar_sin_interrumpir);
  Bind(kContextAdvice, &Settings::Contexto);
}

QPushButton* OptionsDialog::Toggle(int id) const {
  auto found = toggles_.find(id);
  return found == toggles_.end() ? nullptr : found->second;
}

QPushButton* OptionsDialog::AddToggle(int id, const QString& caption, int y, int height) {
  auto* toggle = new QPushButton(caption, this);
  toggle->setCheckable(true);
  toggle->setAutoDefault(false);  // Enter belongs to "Salir"
  toggle->setGeometry(DialogUnitsToPixels(15, y, 360, height));
  toggle->setFont(DialogFont("Palatino Linotype", 10, true));
  toggle->setStyleSheet(kToggleStyle);
  toggles_[id] = toggle;
  return toggle;
}

void OptionsDialog::Bind(int id, std::int32_t Settings::*option) {
  QPushButton* toggle = toggles_[id];
  toggle->setChecked(settings_.*option != 0);
  connect(toggle, &QPushButton::toggled, this,
          [this, option](bool pressed) { settings_.*option = pressed ? 1 : 0; });
}

void OptionsDialog::OfferCountries(const std::vector<std::string>& installed, const std::string& current) {
  // On the row of "Salir", wherever the dialog has put it: the label 15 dialog units to its
  // right, 25 wide, then the list, 150 wide.
  const QRect exit = exit_->geometry();
  const QRect label = DialogUnitsToPixels(15, 0, 25, 0);
  const QRect list = DialogUnitsToPixels(0, 0, 150, 16);
  auto* caption = new QLabel(QStringLiteral("País"), this);
  caption->setGeometry(exit.right() + 1 + label.x(), exit.y(), label.width(), exit.height());
  caption->setFont(DialogFont("MS Sans Serif", 10, true));
  countries_ = new QComboBox(this);
  countries_->setObjectName(QStringLiteral("pais"));
  countries_->setGeometry(caption->geometry().right() + 1, exit.y() + (exit.height() - list.height()) / 2, list.width(),
                          list.height());
  caption->setBuddy(countries_);
  for (const std::string& code : installed) {
    countries_->addItem(ToQString(CountryName(code)) + QStringLiteral(" (") + QString::fromStdString(code) +
                            QStringLiteral(")"),
                        QString::fromStdString(code));
  }
  countries_->setCurrentIndex(std::max(0, countries_->findData(QString::fromStdString(current))));
  connect(countries_, &QComboBox::currentIndexChanged, this,
          [this](int index) { settings_.Pais = countries_->itemData(index).toString().toStdString(); });
}

void OptionsDialog::closeEvent(QCloseEvent* event) { event->ignore(); }

void OptionsDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized)) {
    // Minimising is refused as closing is: the dialog comes straight back.
    QTimer::singleShot(0, this, [this] {
      setWindowState(windowState() & ~Qt::WindowMinimized);
      show();
    });
  }
}

bool ShowOptionsDialog(AppState& state) {
  const Settings before = state.settings;
  OptionsDialog dialog(state.settings);
  dialog.OfferCountries(InstalledCountries(state.DatabaseFolder()), state.country);
  RunOwnerlessDialog(dialog);
  const Settings& after = state.settings;
  const bool otherCountry = !after.Pais.empty() && after.Pais != state.country;
  if (otherCountry && state.reloadDatabase && !state.busy && !state.checking) state.reloadDatabase();
  return before.Hay_clipboard != after.Hay_clipboard || before.Crono != after.Crono ||
         before.Dificultad != after.Dificultad || before.Inteligente != after.Inteligente ||
         before.Avisar_sin_interrumpir != after.Avisar_sin_interrumpir || before.Contexto != after.Contexto ||
         before.Pais != after.Pais;
}

}  // namespace velmara
