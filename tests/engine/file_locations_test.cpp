#include "app/file_locations.h"

#include <gtest/gtest.h>

#include <map>

#include "app/configuration.h"
#include "support/test_folder.h"

namespace velmara {
namespace {

namespace fs = std::filesystem;
using testing::TestFolder;

Environment Fake(std::map<std::string, std::string> values) {
  return [values](const char* name) -> std::optional<std::string> {
    auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second;
  };
}

TEST(FileLocations, AProgramWithItsOwnDatabaseKeepsEverythingInItsFolder) {
  TestFolder folder;
  fs::create_directories(folder.path() / "bin" / "palabrasbd");
  fs::create_directories(folder.path() / "share" / "velmara" / "palabrasbd");  // ignored: it has its own
  const fs::path bin = folder.path() / "bin";
  FileLocations locations = DecideFileLocations(bin, Fake({{"HOME", "/home/ana"}}));
  EXPECT_FALSE(locations.installed);
  EXPECT_EQ(locations.databaseFolder, bin / "palabrasbd");
  EXPECT_EQ(locations.configurationFile, bin / "Configuracion.ini");
  EXPECT_EQ(locations.coloursFile, bin / "Mis Colores.log");
  EXPECT_EQ(locations.intellisenseFile, bin / "palabrasbd" / "Intellisense.txt");
  EXPECT_EQ(locations.userWordsFile, bin / "palabrasbd" / kUserWordsFile);
  EXPECT_EQ(locations.traceFile, bin / "sucio.txt");
  EXPECT_EQ(locations.swatchFile, bin / "color.bmp");
  EXPECT_EQ(locations.cacheFolder, bin);

  // A folder with no database anywhere stays as it is too: the missing database is reported there.
  TestFolder bare;
  EXPECT_FALSE(DecideFileLocations(bare.path(), Fake({{"HOME", "/home/ana"}})).installed);
}

TEST(FileLocations, AnInstalledProgramReadsTheSharedDatabaseAndWritesTheXdgFolders) {
  TestFolder folder;
  fs::create_directories(folder.path() / "usr" / "bin");
  fs::create_directories(folder.path() / "usr" / "share" / "velmara" / "palabrasbd");
  const fs::path bin = folder.path() / "usr" / "bin";
  const fs::path database = folder.path() / "usr" / "share" / "velmara" / "palabrasbd";

  struct Case {
    std::map<std::string, std::string> environment;
    fs::path config, data, cache, state;
  };
  const Case cases[] = {
      {{{"HOME", "/home/ana"}}, "/home/ana/.config/velmara", "/home/ana/.local/share/velmara/palabrasbd",
       "/home/ana/.cache/velmara", "/home/ana/.local/state/velmara"},
      {{{"HOME", "/home/ana"},
        {"XDG_CONFIG_HOME", "/c"},
        {"XDG_DATA_HOME", "/d"},
        {"XDG_CACHE_HOME", "/k"},
        {"XDG_STATE_HOME", "/s"}},
       "/c/velmara", "/d/velmara/palabrasbd", "/k/velmara", "/s/velmara"},
      // Empty or relative values do not count.
      {{{"HOME", "/home/ana"}, {"XDG_CONFIG_HOME", ""}, {"XDG_DATA_HOME", "rel"}, {"XDG_CACHE_HOME", "./k"}},
       "/home/ana/.config/velmara", "/home/ana/.local/share/velmara/palabrasbd", "/home/ana/.cache/velmara",
       "/home/ana/.local/state/velmara"},
  };
  for (const Case& c : cases) {
    FileLocations locations = DecideFileLocations(bin, Fake(c.environment));
    SCOPED_TRACE(c.config.string());
    EXPECT_TRUE(locations.installed);
    EXPECT_EQ(locations.programFolder, bin);
    EXPECT_EQ(locations.databaseFolder, database);
    EXPECT_EQ(locations.configurationFile, c.config / "Configuracion.ini");
    EXPECT_EQ(locations.coloursFile, c.config / "Mis Colores.log");
    EXPECT_EQ(locations.intellisenseFile, c.data / "Intellisense.txt");
    EXPECT_EQ(locations.userWordsFile, c.data / kUserWordsFile);
    EXPECT_EQ(locations.traceFile, c.state / "sucio.txt");
    EXPECT_EQ(locations.swatchFile, c.cache / "color.bmp");
    EXPECT_EQ(locations.cacheFolder, c.cache);
  }

  // The folders exist before the first write, and the settings come back from where they went.
  TestFolder home;
  FileLocations locations = DecideFileLocations(bin, Fake({{"HOME", home.path().string()}}));
  CreateUserFolders(locations);
  for (const fs::path* file : {&locations.configurationFile, &locations.intellisenseFile, &locations.traceFile}) {
    EXPECT_TRUE(fs::is_directory(file->parent_path())) << *file;
  }
  Settings settings;
  settings.Crono = 1;
  ASSERT_TRUE(Configuration("save", locations.configurationFile.parent_path(), settings));
  Settings read;
  Configuration("get", locations.configurationFile.parent_path(), read);
  EXPECT_EQ(read.Crono, 1);
  EXPECT_FALSE(fs::exists(bin / "Configuracion.ini"));
}

}  // namespace
}  // namespace velmara
