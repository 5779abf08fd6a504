#pragma once
// The menu a right click opens over a word marked missing in the result box (or one with accent
// advice): its first suggestions (the advised word); choosing one puts it in the word's place, in the box and in the check state (so
// the export writes it), marked as corrected.

#include <cstddef>
#include <string>

#include "suggest/chosen_word.h"

class QMenu;
class QTextEdit;

namespace velmara {

struct AppState;

inline constexpr std::size_t kMenuSuggestions = 7;

// Over a missing word at character `position` of the result box, or just before it (where a
// click on the right half of its last letter lands): a menu of its first kMenuSuggestions
// suggestions, or the disabled item "Sin sugerencias". The box owns the menu, which goes once it
// closes. nullptr anywhere else.
QMenu* NewSuggestionMenu(QTextEdit& resultBox, AppState& state, int position);

// Over a word with accent advice the menu offers the advised word alone; choosing it puts it in
// the word's place as choosing a suggestion does. False, and nothing changes, when the box no
// longer shows `written` there with its advice.
bool ChooseAdvice(QTextEdit& resultBox, AppState& state, const ResultSpan& span, const std::string& written,
                  const std::string& word);

// Puts `word` in place of the word `missing` at `span`, in the box and in the check state. False,
// and nothing changes, when the box no longer shows that word there as missing: a check ran
// since the menu opened.
bool ChooseSuggestion(QTextEdit& resultBox, AppState& state, const ResultSpan& span, const std::string& missing,
                      const std::string& word);

}  // namespace velmara
