#pragma once
// "Exportar con formato": writes the corrected text of the last check run into a text file the
// user chooses.

#include <filesystem>
#include <string>
#include <system_error>

#include "app/app_state.h"
#include "ui/interaction.h"

namespace velmara {

inline constexpr const char* kExportDoneMessage = "Texto Exportado con formato ...";
// Asked before anything is written when the text holds characters Windows-1252 cannot hold.
inline constexpr const char* kExportUtf8Question =
    "El texto tiene caracteres que no caben en Windows-1252.\r\n"
    "\xBF" "Desea guardarlo en UTF-8 ? (No : no se guarda)";

// The whole command: save dialog, overwrite question, the file, the closing message.
void ExportFormattedText(AppState& state, Interaction& ui);

// Shows the save dialog starting from the folder and name of the last export and remembers the
// answer; a cancelled dialog forgets them. Returns the chosen path, empty when cancelled.
std::filesystem::path ChooseExportFile(AppState& state, Interaction& ui);

// The export file format: the text exactly as it is, then CR LF. Replaces any regular file there.
bool WriteTextFile(const std::string& text, const std::filesystem::path& path, std::error_code& error);

}  // namespace velmara
