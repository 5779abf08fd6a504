#pragma once
// An Interaction whose answers a test scripts in advance, and which records what was shown.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/interaction.h"

namespace velmara::testing {

class ScriptedInteraction : public Interaction {
 public:
  struct Shown {
    std::string text;
    MessageButtons buttons;
    bool topmost;
    std::string title;
  };

  // Answers given to Yes/No boxes in order; when none is left the answer is No.
  std::deque<MessageAnswer> answers;
  std::deque<std::optional<std::filesystem::path>> saveAnswers;
  // The file type chosen with each path answered; when none is left, the one offered first.
  std::deque<std::string> filterAnswers;
  std::vector<SaveFileRequest> saveRequests;
  std::deque<std::optional<std::uint32_t>> colourAnswers;
  std::vector<Shown> messages;
  // The texts of the messages shown, in order.
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const Shown& shown : messages) texts.push_back(shown.text);
    return texts;
  }
  std::string clipboard;
  int beeps = 0;

  MessageAnswer ShowMessageBox(const std::string& text, MessageButtons buttons, bool topmost,
                               const std::string& title) override {
    messages.push_back({text, buttons, topmost, title});
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (answers.empty()) return MessageAnswer::No;
    MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::string ClipboardText() override { return clipboard; }
  // When set, the clipboard holds this UTF-8 text instead, as the desktop's clipboard would.
  std::optional<std::string> clipboardUtf8;
  std::string ClipboardTextKeeping(UnheldCharacters& unheld) override {
    return clipboardUtf8 ? Utf8ToWindows1252(*clipboardUtf8, unheld) : clipboard;
  }
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  // A copy as the desktop reports it: the text and one more change of hands.
  std::uint64_t clipboardChanges = 0;
  void Copy(std::string text) {
    clipboard = std::move(text);
    ++clipboardChanges;
  }
  std::uint64_t ClipboardChanges() override { return clipboardChanges; }
  bool canWatchClipboard = true;
  bool CanWatchClipboard() override { return canWatchClipboard; }
  std::optional<std::filesystem::path> AskSaveFileName(const SaveFileRequest& request) override {
    saveRequests.push_back(request);
    if (saveAnswers.empty()) return std::nullopt;
    auto answer = saveAnswers.front();
    saveAnswers.pop_front();
    if (request.chosenFilter && answer) {
      *request.chosenFilter = request.selectedFilter;
      if (!filterAnswers.empty()) {
        *request.chosenFilter = filterAnswers.front();
        filterAnswers.pop_front();
      }
    }
    return answer;
  }
  std::optional<std::uint32_t> ChooseColour(std::uint32_t, std::array<std::uint32_t, 16>&) override {
    if (colourAnswers.empty()) return std::nullopt;
    auto answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
  }
  void Beep(int, int) override { ++beeps; }
};

}  // namespace velmara::testing
