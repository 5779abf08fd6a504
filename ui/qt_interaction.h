#pragma once
// The desktop's answers to the program's questions: Qt message boxes, clipboard, save dialog,
// colour chooser and beep.

#include <QString>
#include <memory>

#include "ui/interaction.h"

namespace velmara {

// Qt's own dialogs (save dialog, colour chooser) and buttons speak Spanish, from the
// translations installed with Qt. False when they could not be loaded; Qt then stays English.
bool InstallSpanishTranslations();

// Before the application object exists. On a Wayland session whose compositor tells no program
// without focus of a new copy (GNOME's offers no data-control protocol), the program runs through
// XWayland when it is there, where the clipboard can be watched. A platform the user chose
// (QT_QPA_PLATFORM) is kept.
void ChooseDesktopPlatform();

class WaylandClipboardWatcher;

class QtInteraction : public Interaction {
 public:
  // On a Wayland session whose compositor offers it, the clipboard is watched through the
  // data-control protocol (ui/wayland_clipboard.h).
  QtInteraction();
  ~QtInteraction() override;
  MessageAnswer ShowMessageBox(const std::string& text, MessageButtons buttons = MessageButtons::Ok,
                               bool topmost = true, const std::string& title = "Programador") override;
  // Empty when the clipboard holds no text.
  std::string ClipboardText() override;
  std::string ClipboardTextKeeping(UnheldCharacters& unheld) override;
  void SetClipboardText(const std::string& text) override;
  // Counts the reports of a new clipboard owner.
  std::uint64_t ClipboardChanges() override;
  // False on a Wayland session that does not tell a program without focus of a new copy.
  bool CanWatchClipboard() override;
  std::optional<std::filesystem::path> AskSaveFileName(const SaveFileRequest& request) override;
  std::optional<std::uint32_t> ChooseColour(std::uint32_t initial,
                                            std::array<std::uint32_t, 16>& customColours) override;
  // The desktop has no tone generator we can reach: one system beep per call.
  void Beep(int frequencyHz, int milliseconds) override;

 private:
  QString ClipboardQString() const;

  std::uint64_t clipboardChanges_ = 0;
  std::unique_ptr<WaylandClipboardWatcher> watcher_;
};

}  // namespace velmara
