#pragma once
// The main window: the main box with the text under check, the result box, the status bar with
// the figures of the last check, the notification-area icon with the menu of every command, and
// the clipboard poll. It starts hidden; a check or "&Mostrar" shows it.
//
// Plugging a command in (for the dialogs of the side tools; see app/command_wiring.cpp):
//   window.SetCommand(id, handler)  enables the item of `id` (app/menu_ids.h) and runs `handler`
//                                   when it is chosen, behind the shared busy flag for the guarded
//                                   commands (a second guarded command is ignored while one
//                                   runs), behind its own flag for "Configuración" (after which
//                                   the clipboard poll is re-armed), unguarded otherwise.
//                                   "Exportar con formato" stays disabled until a check has ended.
//   window.Action(id)               the menu item, e.g. to set the swatch icon of a colour item.
//   window.SetSuggestions(handler)  opened after a clipboard check that left missing words.

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QPoint;
class QTextEdit;
class QTimer;

namespace velmara {

struct AppState;
class Commands;
class Interaction;
class TrayMenu;

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr int kClipboardPollMs = 1000;
  // Told once when automatic correction is on in a session where it cannot see new copies.
  static constexpr const char* kClipboardUnwatchedMessage =
      "La correcci\xF3n autom\xE1tica no puede vigilar el portapapeles en esta sesi\xF3n "
      "(Wayland sin acceso al portapapeles para programas en segundo plano).\r\n"
      "La orden \xAB" "Detector Velmara\xBB del men\xFA s\xED comprueba el texto copiado.";

  // Without a notification area the window shows itself at start and carries the menu in its
  // menu bar and on the right button.
  MainWindow(AppState& state, Interaction& interaction, bool notificationArea);
  ~MainWindow() override;

  // Before the window is first shown: the clipboard poll, the word database (false, with the
  // window closed, when it is missing), the notification-area icon and the menu's swatches.
  bool Initialise();
  // Loads the word lists of the country chosen in the settings (and the user's words), with the
  // loading animation.
  void LoadDatabase();

  void SetCommand(int id, std::function<void()> handler);
  QAction* Action(int id) const;
  void SetSuggestions(std::function<void()> handler);
  QMenu* Menu() const;
  Commands& GetCommands() { return *commands_; }

  QTextEdit& MainBox() { return *mainBox_; }
  QTextEdit& ResultBox() { return *resultBox_; }
  // Status-bar part 1 (word count or progress), 2 (time) or 3 (difficulty).
  QLabel& StatusPart(int part);
  // Both boxes back at the start of their texts, so they are in step after a check.
  void ScrollBoxesToStart();
  void ShowStatusIcon();
  bool StatusIconShown() const;

  // Shows (restored) or hides the window and moves the check marks of "&Mostrar" and "&Ocultar".
  void ShowWindow();
  void HideWindow();
  // Closes the window for good; the program then ends.
  void Quit();
  bool Closed() const { return closed_; }

  // With automatic correction on: takes the clipboard's content as seen (leaving it as it is) and
  // (re)starts the poll; otherwise stops it.
  void RearmClipboardTimer();
  bool ClipboardPollActive() const;
  void SetExportEnabled(bool enabled);

  // Tells the user something without raising the window or taking the focus: a notification from
  // the icon, or without one the status bar. A click on the notification offers the suggestions
  // of the last check (Commands::OfferSuggestions).
  void Notify(const std::string& text);
  const std::string& LastNotice() const { return lastNotice_; }

 signals:
  void WindowClosed();

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateBoxes();
  void CreateStatusBar();
  void OfferMenuInWindow();
  void OpenResultBoxMenu(const QPoint& at);

  AppState& state_;
  Interaction& interaction_;
  bool notificationArea_;
  bool closed_ = false;
  bool toldClipboardUnwatched_ = false;
  std::string lastNotice_;
  QTextEdit* mainBox_ = nullptr;
  QTextEdit* resultBox_ = nullptr;
  QLabel* statusIcon_ = nullptr;
  QLabel* statusParts_[3] = {};
  QTimer* clipboardPoll_ = nullptr;
  TrayMenu* tray_ = nullptr;
  std::unique_ptr<Commands> commands_;
};

}  // namespace velmara
