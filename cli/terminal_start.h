#pragma once
// What a terminal program settles before it loads the word database: where the files are, the
// settings, and which database folder, Intellisense list and user's words it reads.

#include <filesystem>
#include <optional>

#include "app/configuration.h"
#include "app/file_locations.h"

namespace velmara::cli {

struct TerminalStart {
  FileLocations locations;
  Settings settings;
  std::filesystem::path databaseFolder;
  std::filesystem::path intellisenseFile;
  std::filesystem::path userWordsFile;
};

// The folder of the running executable.
std::filesystem::path ProgramFolder(const char* argv0);

// The files of the program or the user's folders, and the settings read from them. A database
// named on the command line brings its own Intellisense list and user's words; `intellisense`,
// when given, overrides the stored option.
TerminalStart PrepareTerminalStart(const char* argv0, const std::optional<std::filesystem::path>& database,
                                   std::optional<bool> intellisense);

}  // namespace velmara::cli
