#include "app/file_locations.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "app/configuration.h"
#include "checker/check_run.h"
#include "tools/colour_swatch.h"
#include "tools/colours_file.h"
#include "worddb/word_database.h"

namespace velmara {

namespace fs = std::filesystem;

namespace {

constexpr const char* kProgramName = "velmara";

// An XDG variable counts only when it holds an absolute path; otherwise HOME + fallback.
fs::path XdgFolder(const Environment& environment, const char* name, const fs::path& home, const char* fallback) {
  if (auto value = environment(name); value && !value->empty() && fs::path(*value).is_absolute()) return *value;
  return home / fallback;
}

bool Writable(const fs::path& folder) { return ::access(folder.c_str(), W_OK) == 0; }

}  // namespace

FileLocations ProgramFolderLocations(const fs::path& programFolder) {
  FileLocations locations;
  locations.programFolder = programFolder;
  locations.databaseFolder = WordDatabaseFolder(programFolder);
  locations.configurationFile = programFolder / kConfigurationFile;
  locations.coloursFile = programFolder / kColoursFile;
  locations.intellisenseFile = locations.databaseFolder / kIntellisenseFile;
  locations.userWordsFile = locations.databaseFolder / kUserWordsFile;
  locations.traceFile = programFolder / kTraceFile;
  locations.swatchFile = programFolder / kSwatchFile;
  locations.cacheFolder = programFolder;
  return locations;
}

Environment ProcessEnvironment() {
  return [](const char* name) -> std::optional<std::string> {
    if (const char* value = std::getenv(name)) return std::string(value);
    if (std::string_view(name) == "HOME") {
      if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return std::string(entry->pw_dir);
    }
    return std::nullopt;
  };
}

FileLocations UserFolderLocations(const fs::path& programFolder, const fs::path& databaseFolder,
                                  const Environment& environment) {
  const fs::path home = environment("HOME").value_or("");
  const fs::path config = XdgFolder(environment, "XDG_CONFIG_HOME", home, ".config") / kProgramName;
  const fs::path data = XdgFolder(environment, "XDG_DATA_HOME", home, ".local/share") / kProgramName /
                        kWordDatabaseFolderName;
  const fs::path cache = XdgFolder(environment, "XDG_CACHE_HOME", home, ".cache") / kProgramName;
  const fs::path state = XdgFolder(environment, "XDG_STATE_HOME", home, ".local/state") / kProgramName;
  FileLocations locations;
  locations.programFolder = programFolder;
  locations.databaseFolder = databaseFolder;
  locations.configurationFile = config / kConfigurationFile;
  locations.coloursFile = config / kColoursFile;
  locations.intellisenseFile = data / kIntellisenseFile;
  locations.userWordsFile = data / kUserWordsFile;
  locations.traceFile = state / kTraceFile;
  locations.swatchFile = cache / kSwatchFile;
  locations.cacheFolder = cache;
  locations.installed = true;
  return locations;
}

FileLocations DecideFileLocations(const fs::path& programFolder, const Environment& environment) {
  std::error_code error;
  const fs::path installedDatabase = (programFolder / kInstalledDatabaseFolder).lexically_normal();
  // Run by root from /usr/bin, the folder is writable, but it holds no database of its own and
  // must not receive the user's files.
  const bool ownDatabase = fs::exists(WordDatabaseFolder(programFolder), error);
  const bool installed = !Writable(programFolder) || (!ownDatabase && fs::is_directory(installedDatabase, error));
  if (!installed) return ProgramFolderLocations(programFolder);
  // A copy on a read-only medium still reads its own word lists.
  return UserFolderLocations(programFolder, ownDatabase ? WordDatabaseFolder(programFolder) : installedDatabase,
                             environment);
}

void CreateUserFolders(const FileLocations& locations) {
  if (!locations.installed) return;
  std::error_code error;
  for (const fs::path* file :
       {&locations.configurationFile, &locations.intellisenseFile, &locations.traceFile, &locations.swatchFile}) {
    fs::create_directories(file->parent_path(), error);
  }
  // Earlier versions left the trace, the whole text of the last check, in the cache folder and
  // readable by everyone.
  const fs::path oldTrace = locations.swatchFile.parent_path() / kTraceFile;
  if (oldTrace != locations.traceFile && fs::is_regular_file(fs::symlink_status(oldTrace, error))) {
    fs::remove(oldTrace, error);
  }
}

}  // namespace velmara
