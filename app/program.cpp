#include "app/program.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <memory>
#include <thread>

#include "app/app_state.h"
#include "app/command_wiring.h"
#include "app/main_window.h"
#include "app/session_end.h"
#include "suggest/suggester.h"

namespace velmara {

void RunMainWindow(AppState& state, Interaction& interaction, bool notificationArea) {
  MainWindow window(state, interaction, notificationArea);
  WireCommands(window, state, interaction);
  QEventLoop loop;
  QObject::connect(&window, &MainWindow::WindowClosed, &loop, &QEventLoop::quit);
  // Logout, a signal or the session manager: the settings are written as "&Quitar" writes them.
  SessionEnd sessionEnd;
  const auto save = [&state] { Configuration("save", state.Files().configurationFile.parent_path(), state.settings); };
  QObject::connect(&sessionEnd, &SessionEnd::CommitRequested, &window, save);
  QObject::connect(&sessionEnd, &SessionEnd::EndRequested, &window, [&window, save] {
    save();
    window.Quit();
    // A dialog or message box left open would hold its own loop: every loop ends, and any box the
    // unwinding code still opens closes at once.
    bool dialogOpen = QApplication::activePopupWidget() != nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      dialogOpen |= widget->isVisible() && qobject_cast<QDialog*>(widget) != nullptr;
    }
    if (dialogOpen) QCoreApplication::exit(0);
  });
  if (!window.Initialise()) return;
  // Over the loaded lists; what it builds beyond them is built beside the window, so the first
  // word asked about seldom waits for it (a word asked sooner waits until it is ready).
  std::unique_ptr<const Suggester> suggester;
  std::jthread preparing;  // declared after the suggester: it ends before the suggester goes
  auto prepare = [&] {
    suggester = std::make_unique<const Suggester>(state.database);
    preparing = std::jthread([ready = suggester.get()] { ready->Prepare(); });
  };
  prepare();
  state.suggest = [&suggester](std::string_view word, Neighbours neighbours) {
    return suggester ? suggester->Suggest(word, kMaxSuggestions, neighbours) : std::vector<std::string>();
  };
  // Another country: the suggester lets go of the old lists before they are replaced.
  state.reloadDatabase = [&] {
    if (preparing.joinable()) preparing.join();
    suggester.reset();
    window.LoadDatabase();
    prepare();
  };
  loop.exec();
  state.reloadDatabase = nullptr;
  state.suggest = nullptr;
}

int RunProgram(const FileLocations& locations, Interaction& interaction, bool notificationArea) {
  CreateUserFolders(locations);
  ShowStartUpBoxes(interaction);
  AppState state;
  state.programFolder = locations.programFolder;
  state.locations = locations;
  const std::filesystem::path configurationFolder = locations.configurationFile.parent_path();
  SetFixedColours(state.settings);
  Configuration("get", configurationFolder, state.settings);
  RunMainWindow(state, interaction, notificationArea);
  Configuration("save", configurationFolder, state.settings);
  return 0;
}

int RunProgram(const std::filesystem::path& programFolder, Interaction& interaction, bool notificationArea) {
  return RunProgram(ProgramFolderLocations(programFolder), interaction, notificationArea);
}

}  // namespace velmara
