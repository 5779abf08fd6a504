#pragma once
// Where every data file of the program lives. One object decides it and the rest receive it, so
// each test can point it at a temporary folder.

#include <filesystem>

namespace velmara {

// The user's own accepted words, one per line, read beside "Falsos Positivos.txt" and never
// touched by a rebuild of the word database.
inline constexpr const char* kUserWordsFile = "Palabras del usuario.txt";

struct FileLocations {
  std::filesystem::path programFolder;      // the folder of the executable
  std::filesystem::path databaseFolder;     // the word lists and "Falsos Positivos.txt"
  std::filesystem::path configurationFile;  // "Configuracion.ini"
  std::filesystem::path coloursFile;        // "Mis Colores.log"
  std::filesystem::path intellisenseFile;   // "Intellisense.txt"
  std::filesystem::path userWordsFile;      // kUserWordsFile
  std::filesystem::path traceFile;          // "sucio.txt"
  std::filesystem::path swatchFile;         // "color.bmp"
};

// Everything in the program folder and its "palabrasbd" folder.
FileLocations ProgramFolderLocations(const std::filesystem::path& programFolder);

}  // namespace velmara
