#pragma once
// The desktop's answers to the program's questions: Qt message boxes, clipboard, save dialog,
// colour chooser and beep.

#include "ui/interaction.h"

namespace velmara {

// Qt's own dialogs (save dialog, colour chooser) and buttons speak Spanish, from the
// translations installed with Qt. False when they could not be loaded; Qt then stays English.
bool InstallSpanishTranslations();

class QtInteraction : public Interaction {
 public:
  MessageAnswer ShowMessageBox(const std::string& text, MessageButtons buttons = MessageButtons::Ok,
                               bool topmost = true, const std::string& title = "Programador") override;
  // Empty when the clipboard holds no text.
  std::string ClipboardText() override;
  std::string ClipboardTextKeeping(UnheldCharacters& unheld) override;
  void SetClipboardText(const std::string& text) override;
  std::optional<std::filesystem::path> AskSaveFileName(const SaveFileRequest& request) override;
  std::optional<std::uint32_t> ChooseColour(std::uint32_t initial,
                                            std::array<std::uint32_t, 16>& customColours) override;
  // The desktop has no tone generator we can reach: one system beep per call.
  void Beep(int frequencyHz, int milliseconds) override;
};

}  // namespace velmara
