#pragma once
// What the menu commands do, the check run as the shell drives it (from the menu and from the
// clipboard poll) and the display of its figures.

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "checker/encoding.h"

namespace velmara {

struct AppState;
class Interaction;
class MainWindow;

class Commands {
 public:
  // How a command is kept from running twice: the shared busy flag, the options dialog's own
  // flag, or not at all (show, hide, quit and the colours act at once).
  enum class Guard { Busy, Options, None };
  enum class CheckKind { Menu, Clipboard };
  using Clock = std::function<std::chrono::milliseconds()>;

  Commands(AppState& state, Interaction& interaction, MainWindow& window);

  static Guard GuardOf(int id);

  // Runs the command of a menu id through its guard. Ids without a handler do nothing.
  void Run(int id);
  void SetCommand(int id, std::function<void()> handler);
  bool HasCommand(int id) const { return handlers_.count(id) != 0; }
  // Opened after a clipboard check that left missing words.
  void SetSuggestions(std::function<void()> handler) { suggestions_ = std::move(handler); }
  // The clock that times a check (for the "Ha tardado" figure).
  void SetClock(Clock clock) { clock_ = std::move(clock); }

  // One tick of the clipboard poll: a non-empty text is checked when it is a new copy (the desktop
  // reported a change since the last tick) or differs from the last one seen. A tick during a
  // check is skipped and nothing of it remembered, so the first tick after the run still sees it
  // as new.
  void ClipboardTick();
  // Takes what the clipboard holds now as seen, without touching it: only a later copy is new.
  void RememberClipboard();
  const std::string& LastClipboardText() const { return lastClipboardText_; }

  // Opens the suggestions of the last check made without interrupting, when it left missing words
  // and no check runs (a click on its notification).
  void OfferSuggestions();

  // The whole check of one text: boxes, run, marking, figures, message and, after a clipboard
  // check with missing words, the suggestions. Does nothing while another check runs.
  void CheckText(const std::string& sourceText, CheckKind kind, const UnheldCharacters& unheld = {});

 private:
  void SetColourAndQuit(int id);

  AppState& state_;
  Interaction& interaction_;
  MainWindow& window_;
  std::map<int, std::function<void()>> handlers_;
  std::function<void()> suggestions_;
  Clock clock_;
  std::string lastClipboardText_;
  std::vector<char32_t> lastClipboardUnheld_;
  std::uint64_t seenClipboardChanges_ = 0;
  // The last check was started by a different text before the desktop's report of that copy came;
  // the report, when it comes, is of the copy already checked.
  bool clipboardReportDue_ = false;
  bool suggestionsPending_ = false;
};

}  // namespace velmara
