// Detector Velmara: a spelling detector for Spanish that lives in the notification area and
// checks the text copied to the clipboard.

#include <QApplication>
#include <QFile>
#include <QSystemTrayIcon>

#include "app/file_locations.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/single_instance.h"
#include "ui/qt_interaction.h"

int main(int argc, char* argv[]) {
  velmara::ChooseDesktopPlatform();
  QApplication application(argc, argv);
  // The program lives in the notification area: closing a window does not end it.
  QApplication::setQuitOnLastWindowClosed(false);
  // A second start shows the first one's window and ends.
  velmara::SingleInstance instance(velmara::SingleInstance::SessionName());
  if (instance.HandOverToRunningInstance()) return 0;
  QObject::connect(&instance, &velmara::SingleInstance::ShowRequested, [] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* window = qobject_cast<velmara::MainWindow*>(widget); window && !window->Closed()) {
        window->ShowWindow();
        window->activateWindow();
      } else if (widget->isVisible() && widget->isWindow()) {
        // Still starting ("Disculpas" is up): what is on screen comes to the front.
        widget->raise();
        widget->activateWindow();
      }
    }
  });
  velmara::InstallSpanishTranslations();
  velmara::QtInteraction interaction;
  const std::filesystem::path programFolder = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
  return velmara::RunProgram(velmara::DecideFileLocations(programFolder, velmara::ProcessEnvironment()), interaction,
                             QSystemTrayIcon::isSystemTrayAvailable());
}
