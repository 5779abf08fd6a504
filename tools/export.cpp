#include "tools/export.h"

#include "checker/encoding.h"
#include "tools/replace_file.h"

namespace velmara {
namespace {

constexpr const char* kCrLf = "\r\n";

std::string TrimSpaces(const std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// File names are spelled by the file system (UTF-8 here); messages are Windows-1252.
std::string ShownName(const std::filesystem::path& path) { return InputToWindows1252(path.string()); }

void ReportFailure(Interaction& ui, const std::filesystem::path& path, const std::error_code& error) {
  ui.ShowMessageBox("No se pudo exportar el fichero : " + std::string(kCrLf) + ShownName(path) + kCrLf +
                    InputToWindows1252(error.message()));
}

}  // namespace

std::filesystem::path ChooseExportFile(AppState& state, Interaction& ui) {
  SaveFileRequest request;
  request.filter = "Texto (*)";  // every file, as "*.*" means elsewhere
  request.defaultExtension = "txt";
  request.initialFolder = state.lastExportFolder;
  request.initialName = state.lastExportName;

  std::filesystem::path chosen(TrimSpaces(ui.AskSaveFileName(request).value_or(std::filesystem::path()).string()));
  if (chosen.empty()) {
    state.lastExportFolder.clear();
    state.lastExportName.clear();
    return {};
  }
  state.lastExportFolder = chosen.parent_path();
  state.lastExportName = chosen.filename().string();
  return chosen;
}

bool WriteTextFile(const std::string& text, const std::filesystem::path& path, std::error_code& error) {
  return ReplaceFileContent(path, text + kCrLf, error);
}

void ExportFormattedText(AppState& state, Interaction& ui) {
  std::filesystem::path path = ChooseExportFile(state, ui);
  if (path.empty()) return;

  // Nothing is replaced silently: a text with characters Windows-1252 lacks goes out whole, as
  // UTF-8, or not at all.
  UnheldCharacters unheld = state.check.unheld;
  unheld.next = 0;
  const bool asUtf8 = !unheld.empty() && state.check.correctedText.find(kUnheldCharacter) != std::string::npos;
  if (asUtf8 && ui.ShowMessageBox(kExportUtf8Question, MessageButtons::YesNo) != MessageAnswer::Yes) return;

  std::error_code ignored;
  if (std::filesystem::exists(std::filesystem::symlink_status(path, ignored))) {
    MessageAnswer answer = ui.ShowMessageBox("El fichero : " + std::string(kCrLf) + ShownName(path) + kCrLf +
                                                 "Existe .." + kCrLf + "Desea sobrescribir ?",
                                             MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) return;
  }

  // The old file is only replaced once the new content is safely written; a failure leaves it as
  // it was and says why instead of claiming success.
  std::error_code error;
  const std::string text = asUtf8 ? Windows1252ToUtf8(state.check.correctedText, unheld) : state.check.correctedText;
  if (!WriteTextFile(text, path, error)) {
    ReportFailure(ui, path, error);
    return;
  }
  ui.ShowMessageBox(kExportDoneMessage);
}

}  // namespace velmara
