// A whole desktop run of an installed program: the word lists come from the shared database
// folder and every file the run writes lands in the user's folders, none beside the program.

#include <QApplication>
#include <QMenuBar>
#include <QTimer>
#include <gtest/gtest.h>

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

TEST(InstalledRun, WritesTheSettingsAndTheTraceIntoTheXdgFolders) {
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
      main->GetCommands().Run(command::kQuit);
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
  EXPECT_TRUE(fs::exists(home.path() / ".cache" / "velmara" / "sucio.txt"));
  EXPECT_TRUE(fs::is_directory(home.path() / ".local" / "share" / "velmara" / "palabrasbd"));
  for (const auto& entry : fs::directory_iterator(bin)) ADD_FAILURE() << "written beside the program: " << entry.path();
}

}  // namespace
}  // namespace velmara
