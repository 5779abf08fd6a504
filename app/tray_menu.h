#pragma once
// The notification-area icon and the pop-up menu that carries every command of the program.

#include <QObject>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "app/configuration.h"

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace velmara {

class Interaction;

class TrayMenu : public QObject {
  Q_OBJECT
 public:
  explicit TrayMenu(Interaction& interaction, QObject* parent = nullptr);
  ~TrayMenu() override;

  QMenu* Menu() const { return menu_.get(); }
  // The item of a command id, or nullptr.
  QAction* Action(int id) const;

  // Adds the icon to the notification area with its tooltip and welcome balloon.
  void ShowIcon();
  void HideIcon();
  bool IconShown() const;
  // Opens the menu with its bottom-right corner at the mouse cursor.
  void Popup();
  // The marks of "&Mostrar" and "&Ocultar" tell whether the window is shown.
  void SetShownMarks(bool shown);
  // A notification from the icon, for the figures of a check made without interrupting; a click
  // on it emits NotificationClicked. False when there is no icon to show it from.
  bool Notify(const std::string& title, const std::string& text);
  // The swatches beside the five colour items, made through "color.bmp" in the program folder.
  void ShowColourSwatches(const Settings& settings, const std::filesystem::path& swatchFolder);

 signals:
  void CommandChosen(int id);
  void NotificationClicked();

 private:
  static constexpr int kBalloonPlacementTries = 20;
  static constexpr int kBalloonPlacementWaitMs = 100;
  void ShowWelcomeBalloon(int triesLeft);
  QAction* AddItem(QMenu* menu, const char* windows1252Text, int id);
  void BuildMenu();

  Interaction& interaction_;
  std::unique_ptr<QMenu> menu_;
  QSystemTrayIcon* tray_ = nullptr;
  std::map<int, QAction*> actions_;
  bool noticeShown_ = false;  // the last message shown is a notification, not the welcome
};

}  // namespace velmara
