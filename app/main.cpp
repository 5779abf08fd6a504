// Detector Velmara: a spelling detector for Spanish that lives in the notification area and
// checks the text copied to the clipboard.

#include <QApplication>
#include <QFile>
#include <QSystemTrayIcon>

#include "app/file_locations.h"
#include "app/program.h"
#include "ui/qt_interaction.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // The program lives in the notification area: closing a window does not end it.
  QApplication::setQuitOnLastWindowClosed(false);
  velmara::QtInteraction interaction;
  const std::filesystem::path programFolder = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
  return velmara::RunProgram(velmara::DecideFileLocations(programFolder, velmara::ProcessEnvironment()), interaction,
                             QSystemTrayIcon::isSystemTrayAvailable());
}
