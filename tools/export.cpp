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

// The first line end of the text: CR LF, LF or CR; LF when it has none.
std::string_view OwnLineEnd(const std::string& text) {
  const std::size_t at = text.find_first_of("\r\n");
  if (at == std::string::npos || text[at] == '\n') return "\n";
  return at + 1 < text.size() && text[at + 1] == '\n' ? std::string_view(kCrLf) : "\r";
}

// Every line end (CR LF, LF or a lone CR) as CR LF.
std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      out += kCrLf;
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::string ExportFileContent(const std::string& corrected, const UnheldCharacters& unheld, ExportFormat format) {
  UnheldCharacters fromStart = unheld;
  fromStart.next = 0;
  if (format == ExportFormat::Windows1252) {
    const std::string windows = WithCrLf(corrected) + kCrLf;
    return fromStart.empty() ? windows : Windows1252ToUtf8(windows, fromStart);
  }
  std::string text = Windows1252ToUtf8(corrected, fromStart);
  if (text.empty() || (text.back() != '\n' && text.back() != '\r')) text += OwnLineEnd(corrected);
  return text;
}

std::filesystem::path ChooseExportFile(AppState& state, Interaction& ui) {
  SaveFileRequest request;
  // Both match every file, as "*.*" means elsewhere.
  request.filter = std::string(kExportFilterUtf8) + ";;" + kExportFilterWindows;
  request.defaultExtension = "txt";
  request.initialFolder = state.lastExportFolder;
  request.initialName = state.lastExportName;
  request.selectedFilter = state.lastExportFilter.empty() ? kExportFilterUtf8 : state.lastExportFilter;
  std::string chosenFilter;
  request.chosenFilter = &chosenFilter;

  std::filesystem::path chosen(TrimSpaces(ui.AskSaveFileName(request).value_or(std::filesystem::path()).string()));
  if (chosen.empty()) {
    state.lastExportName.clear();
    return {};
  }
  state.lastExportFolder = chosen.parent_path();
  state.lastExportName = chosen.filename().string();
  state.lastExportFilter = chosenFilter;
  return chosen;
}

bool WriteTextFile(const std::string& text, const std::filesystem::path& path, std::error_code& error) {
  return ReplaceFileContent(path, text + kCrLf, error);
}

void ExportFormattedText(AppState& state, Interaction& ui) {
  std::filesystem::path path = ChooseExportFile(state, ui);
  if (path.empty()) return;

  const ExportFormat format =
      state.lastExportFilter == kExportFilterWindows ? ExportFormat::Windows1252 : ExportFormat::Utf8;
  // Nothing is replaced silently: a text with characters Windows-1252 lacks goes out whole, as
  // UTF-8, or not at all.
  const bool unheld = !state.check.unheld.empty() &&
                      state.check.correctedText.find(kUnheldCharacter) != std::string::npos;
  if (format == ExportFormat::Windows1252 && unheld &&
      ui.ShowMessageBox(kExportUtf8Question, MessageButtons::YesNo) != MessageAnswer::Yes) {
    return;
  }

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
  if (!ReplaceFileContent(path, ExportFileContent(state.check.correctedText, state.check.unheld, format), error)) {
    ReportFailure(ui, path, error);
    return;
  }
  ui.ShowMessageBox(kExportDoneMessage);
}

}  // namespace velmara
