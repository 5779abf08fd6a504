#pragma once
// "Exportar con formato": writes the corrected text of the last check run into a text file the
// user chooses.

#include <filesystem>
#include <string>
#include <system_error>

#include "app/app_state.h"
#include "checker/encoding.h"
#include "ui/interaction.h"

namespace velmara {

inline constexpr const char* kExportDoneMessage = "Texto Exportado con formato ...";
// Asked before anything is written when the text holds characters Windows-1252 cannot hold.
inline constexpr const char* kExportUtf8Question =
    "El texto tiene caracteres que no caben en Windows-1252.\r\n"
    "\xBF" "Desea guardarlo en UTF-8 ? (No : no se guarda)";

// The file types of the save dialog. The first, the default, suits this platform: UTF-8 with the
// text's own line ends. The second is the classic Windows file: Windows-1252, every line ended by
// CR LF, the last one too.
inline constexpr const char* kExportFilterUtf8 = "Texto UTF-8 (*)";
inline constexpr const char* kExportFilterWindows = "Texto Windows-1252 con CR LF (*)";

enum class ExportFormat { Utf8, Windows1252 };

// The bytes of the export file for a corrected text: in UTF-8 with the text's own line ends and
// one line end after the last line (none added when the text ends with one); in Windows-1252
// with CR LF after every line. Characters Windows-1252 lacks (`unheld`, from the start) are put
// back in UTF-8; in Windows-1252 they stay the placeholder, so the caller asks first.
std::string ExportFileContent(const std::string& corrected, const UnheldCharacters& unheld, ExportFormat format);

// The whole command: save dialog, overwrite question, the file, the closing message.
void ExportFormattedText(AppState& state, Interaction& ui);

// Shows the save dialog starting from the folder, name and file type of the last export and
// remembers the answer; a cancelled dialog forgets the name (the folder stays where the user last
// saved). Returns the chosen path, empty when cancelled.
std::filesystem::path ChooseExportFile(AppState& state, Interaction& ui);

// Writes the text exactly as it is, then CR LF. Replaces any regular file there.
bool WriteTextFile(const std::string& text, const std::filesystem::path& path, std::error_code& error);

}  // namespace velmara
