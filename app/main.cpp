// Detector Velmara: a spelling detector for Spanish that lives in the notification area and
// checks the text copied to the clipboard.

#include <QApplication>
#include <QFile>
#include <QSystemTrayIcon>

#include <iostream>
#include <string_view>

#include "app/file_locations.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/single_instance.h"
#include "cli/command_line.h"
#include "ui/qt_interaction.h"

namespace {

const char* const kHelp =
    "usage: velmara [--help] [--version] [QT OPTION]...\n"
    "\n"
    "Detector Velmara: checks the Spanish text copied to the clipboard from the notification area.\n"
    "\n"
    "Options:\n"
    "  -h, --help                show this help and exit\n"
    "      --version             show the version and exit\n"
    "Qt's own options are taken too, among them:\n"
    "  -platform NAME            the display platform (xcb, wayland, offscreen)\n"
    "  -display DISPLAY          the X display\n"
    "  -style NAME               the widget style\n";

}  // namespace

int main(int argc, char* argv[]) {
  // Answered before Qt starts, so they work without a display.
  for (int i = 1; i < argc && std::string_view(argv[i]) != "--"; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kHelp;
      return 0;
    }
    if (arg == "--version") {
      std::cout << velmara::cli::VersionLine("velmara") << '\n';
      return 0;
    }
  }
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
