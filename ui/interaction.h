#pragma once
// Every modal interaction with the user goes through this interface, so that tests can script
// the answers and never wait for a person. The desktop program implements it with Qt; texts are
// Windows-1252 on this side and converted at the edge.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "checker/encoding.h"

namespace velmara {

enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct SaveFileRequest {
  std::string filter;            // e.g. "Texto (*.txt)"; several are joined by ";;"
  std::string defaultExtension;  // "txt"
  std::filesystem::path initialFolder;  // empty: the user's documents folder
  std::string initialName;  // a file name as the file system spells it (UTF-8), like the folder
  std::string selectedFilter;  // the filter offered first; empty: the first
  // When set, receives the filter the user chose (the file type of the list).
  std::string* chosenFilter = nullptr;
};

class Interaction {
 public:
  virtual ~Interaction() = default;
  // Title is "Programador" unless given otherwise.
  virtual MessageAnswer ShowMessageBox(const std::string& text, MessageButtons buttons = MessageButtons::Ok,
                                       bool topmost = true, const std::string& title = "Programador") = 0;
  virtual std::string ClipboardText() = 0;
  // The clipboard text with the characters Windows-1252 cannot hold kept in `unheld` (see
  // checker/encoding.h). Without an override none is kept.
  virtual std::string ClipboardTextKeeping(UnheldCharacters&) { return ClipboardText(); }
  virtual void SetClipboardText(const std::string& text) = 0;
  // How many times the desktop has said that the clipboard changed hands (a new copy, even of the
  // same text); 0 where it cannot tell, and then only a different text counts as new.
  virtual std::uint64_t ClipboardChanges() { return 0; }
  // False when the desktop does not tell this program of new copies while it has no focus (a
  // Wayland session without the data-control protocol): automatic correction cannot work there.
  virtual bool CanWatchClipboard() { return true; }
  virtual std::optional<std::filesystem::path> AskSaveFileName(const SaveFileRequest& request) = 0;
  // Colours are 0x00BBGGRR; `customColours` are the chooser's 16 custom colours, kept between calls.
  virtual std::optional<std::uint32_t> ChooseColour(std::uint32_t initial,
                                                    std::array<std::uint32_t, 16>& customColours) = 0;
  virtual void Beep(int frequencyHz, int milliseconds) = 0;
};

}  // namespace velmara
