#pragma once
// The options dialog "Configuración": push-like toggles for the four options kept in the
// configuration file, stored the moment they are clicked. "Salir" is the only way out.

#include <QDialog>
#include <map>
#include <string>
#include <vector>

#include "app/configuration.h"

class QComboBox;
class QPushButton;

namespace velmara {

struct AppState;

class OptionsDialog : public QDialog {
  Q_OBJECT

 public:
  // Control ids of the toggles; the three without a setting are always disabled and released.
  static constexpr int kCaseSensitive = 1004;
  static constexpr int kAutoReplace = 1005;
  static constexpr int kClipboard = 1006;
  static constexpr int kTiming = 1007;
  static constexpr int kDifficulty = 1008;
  static constexpr int kCapitalsAfterPunctuation = 1011;
  static constexpr int kIntellisense = 1025;
  static constexpr int kQuietNotice = 1026;  // "Avisar sin interrumpir"
  static constexpr int kContextAdvice = 1027;  // accent advice from the words around

  explicit OptionsDialog(Settings& settings, QWidget* parent = nullptr);

  QPushButton* Toggle(int id) const;
  QPushButton* ExitButton() const { return exit_; }

  // The drop-down "País" beside "Salir": the installed countries (es_MX, …), `current` chosen;
  // a choice is stored in settings.Pais at once.
  void OfferCountries(const std::vector<std::string>& installed, const std::string& current);
  QComboBox* CountryList() const { return countries_; }

 public slots:
  // Escape has no meaning here: only "Salir" closes the dialog.
  void reject() override {}

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QPushButton* AddToggle(int id, const QString& caption, int y, int height);
  void Bind(int id, std::int32_t Settings::*option);

  Settings& settings_;
  std::map<int, QPushButton*> toggles_;
  QPushButton* exit_ = nullptr;
  QComboBox* countries_ = nullptr;
};

// Shows the dialog without owner until "Salir" closes it. True when a setting was changed. The
// menu command keeps it from opening twice and re-arms the clipboard poll after it; a country
// chosen other than the one loaded is loaded then (state.reloadDatabase), unless a check runs.
bool ShowOptionsDialog(AppState& state);

}  // namespace velmara
