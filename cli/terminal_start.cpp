#include "cli/terminal_start.h"

#include <system_error>

#include "worddb/word_database.h"

namespace velmara::cli {

std::filesystem::path ProgramFolder(const char* argv0) {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) exe = std::filesystem::absolute(argv0, error);
  return exe.parent_path();
}

TerminalStart PrepareTerminalStart(const char* argv0, const std::optional<std::filesystem::path>& database,
                                   std::optional<bool> intellisense) {
  TerminalStart start;
  start.locations = DecideFileLocations(ProgramFolder(argv0), ProcessEnvironment());
  SetFixedColours(start.settings);
  Configuration("get", start.locations.configurationFile.parent_path(), start.settings);
  if (intellisense) start.settings.Inteligente = *intellisense ? 1 : 0;
  start.databaseFolder = database ? *database : start.locations.databaseFolder;
  start.intellisenseFile = database ? start.databaseFolder / kIntellisenseFile : start.locations.intellisenseFile;
  start.userWordsFile = database ? start.databaseFolder / kUserWordsFile : start.locations.userWordsFile;
  return start;
}

}  // namespace velmara::cli
