// A whole desktop run of an installed program: the word lists come from the shared database
// folder and every file the run writes lands in the user's folders, none beside the program.

#include <QApplication>
#include <QMenuBar>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>

#include "app/commands.h"
#include "app/file_locations.h"
#include "app/main_window.h"
#include "app/menu_ids.h"
#include "app/program.h"
#include "support/fixture_database.h"
#include "support/modal_dialog.h"
#include "support/scripted_interaction.h"
#include "support/test_folder.h"
#include "tools/apology_box.h"

namespace velmara {
namespace {

namespace fs = std::filesystem;

TEST(InstalledRun, WritesTheSettingsAtLogoutAndTheTraceIntoTheXdgFolders) {
  testing::TestFolder root, home;
  const fs::path bin = root.path() / "usr" / "bin";
  fs::create_directories(bin);
  testing::WriteFixtureDatabase(root.path() / "usr" / "share" / "velmara" / "palabrasbd", {"hola", "mundo"}, {}, {},
                                {});
  const FileLocations locations = DecideFileLocations(bin, [&](const char* name) -> std::optional<std::string> {
    if (std::string_view(name) == "HOME") return home.path().string();
    return std::nullopt;
  });
  ASSERT_TRUE(locations.installed);

  fs::create_directories(home.path() / ".cache" / "velmara");
  std::ofstream(home.path() / ".cache" / "velmara" / "sucio.txt") << "hola = Hola\r\n";
  testing::ScriptedInteraction interaction;
  interaction.clipboard = "hola mundo";
  // Once the word lists are loaded (the menu reaches the window's menu bar), check and quit.
  QTimer poll;
  bool checked = false;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* main = qobject_cast<MainWindow*>(widget);
      if (!main || main->Closed() || main->menuBar()->actions().isEmpty() || QApplication::activeModalWidget()) continue;
      poll.stop();
      main->GetCommands().Run(command::kCheck);
      checked = true;
      // The desktop ends the program at logout; the settings are written as by "&Quitar".
      std::raise(SIGTERM);
    }
  });
  int exitCode = -1;
  testing::WhileModal<ApologyBox>([&] { exitCode = RunProgram(locations, interaction, false); },
                                  [&](ApologyBox& box) {
                                    poll.start(20);
                                    box.close();
                                  });
  EXPECT_EQ(exitCode, 0);
  EXPECT_TRUE(checked);
  const fs::path config = home.path() / ".config" / "velmara";
  EXPECT_TRUE(fs::exists(config / "Configuracion.ini"));
  // The trace holds the text checked: the user's alone, an earlier version's world-readable one gone.
  const fs::path trace = home.path() / ".local" / "state" / "velmara" / "sucio.txt";
  ASSERT_TRUE(fs::exists(trace));
  EXPECT_EQ(fs::status(trace).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_FALSE(fs::exists(home.path() / ".cache" / "velmara" / "sucio.txt"));
  EXPECT_TRUE(fs::is_directory(home.path() / ".local" / "share" / "velmara" / "palabrasbd"));
  for (const auto& entry : fs::directory_iterator(bin)) ADD_FAILURE() << "written beside the program: " << entry.path();
}

}  // namespace
}  // namespace velmara
