#pragma once
// Where every data file of the program lives. One object decides it and the rest receive it, so
// each test can point it at a temporary folder.
//
// A program that runs from a folder it may write (the build folder, a copy the user unpacked)
// keeps everything there: the word lists in its "palabrasbd" folder, the configuration, the
// colours, the trace and the swatch beside the executable. An installed program (a folder it may
// not write, or one without its own "palabrasbd" next to an installed database) reads the word
// lists from <prefix>/share/velmara/palabrasbd (or its own "palabrasbd", when a folder it may
// not write holds one) and keeps the user's files in the XDG folders:
//   $XDG_CONFIG_HOME/velmara/          "Configuracion.ini", "Mis Colores.log"
//   $XDG_DATA_HOME/velmara/palabrasbd/ "Intellisense.txt", kUserWordsFile
//   $XDG_STATE_HOME/velmara/           "sucio.txt" (readable by the user alone)
//   $XDG_CACHE_HOME/velmara/           "color.bmp"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace velmara {

// The user's own accepted words, one per line, read beside "Falsos Positivos.txt" and never
// touched by a rebuild of the word database.
inline constexpr const char* kUserWordsFile = "Palabras del usuario.txt";

// The installed word database, relative to the folder of the executable.
inline constexpr const char* kInstalledDatabaseFolder = "../share/velmara/palabrasbd";

struct FileLocations {
  std::filesystem::path programFolder;      // the folder of the executable
  std::filesystem::path databaseFolder;     // the word lists and "Falsos Positivos.txt"
  std::filesystem::path configurationFile;  // "Configuracion.ini"
  std::filesystem::path coloursFile;        // "Mis Colores.log"
  std::filesystem::path intellisenseFile;   // "Intellisense.txt"
  std::filesystem::path userWordsFile;      // kUserWordsFile
  std::filesystem::path traceFile;          // "sucio.txt"
  std::filesystem::path swatchFile;         // "color.bmp"
  // What can be made again from the word database (its compiled copies, the note of those found
  // sound): the cache folder, or the program folder in the portable layout.
  std::filesystem::path cacheFolder;
  bool installed = false;                   // the user's files live in the XDG folders
};

// Everything in the program folder and its "palabrasbd" folder.
FileLocations ProgramFolderLocations(const std::filesystem::path& programFolder);

// The value of an environment variable, or nothing when it is not set.
using Environment = std::function<std::optional<std::string>(const char* name)>;

// The environment of this process (HOME falls back to the password database).
Environment ProcessEnvironment();

// The user's files in the XDG folders of `environment`, the word lists in `databaseFolder`.
FileLocations UserFolderLocations(const std::filesystem::path& programFolder,
                                  const std::filesystem::path& databaseFolder, const Environment& environment);

// Decides between the two layouts above for a program whose executable is in `programFolder`.
FileLocations DecideFileLocations(const std::filesystem::path& programFolder, const Environment& environment);

// Creates the folders that hold the user's files, so the first write finds them. Failures are
// left to the writes, which report them as they always do.
void CreateUserFolders(const FileLocations& locations);

}  // namespace velmara
