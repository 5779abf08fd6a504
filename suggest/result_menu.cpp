#include "suggest/result_menu.h"

#include <QAction>
#include <QMenu>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>
#include <optional>

#include "app/app_state.h"
#include "checker/characters.h"
#include "checker/marking.h"
#include "ui/text.h"

namespace velmara {
namespace {

QTextCursor Selecting(QTextEdit& box, const ResultSpan& span) {
  QTextCursor cursor(box.document());
  cursor.setPosition(static_cast<int>(span.start));
  cursor.setPosition(static_cast<int>(span.start + span.length), QTextCursor::KeepAnchor);
  return cursor;
}

// The token at `position` when it is a missing word and the box shows it there.
std::optional<ResultSpan> MissingWordAt(QTextEdit& box, const CheckState& check, std::size_t position) {
  std::optional<ResultSpan> span = ResultTokenAt(check, position);
  if (!span || check.result[span->token].verdict != Verdict::Missing) return std::nullopt;
  // The box is emptied while a check runs and filled at its end: until then the list and the box
  // do not agree.
  if (span->start + span->length >= static_cast<std::size_t>(box.document()->characterCount())) return std::nullopt;
  if (Selecting(box, *span).selectedText() != ToQString(check.result[span->token].text)) return std::nullopt;
  return span;
}

// The advice on the token at `position` when the box shows the token there as the check left it.
const Advice* AdviceAt(QTextEdit& box, const CheckState& check, std::size_t position, ResultSpan& span) {
  std::optional<ResultSpan> found = ResultTokenAt(check, position);
  if (!found) return nullptr;
  const auto advice = std::find_if(check.advice.begin(), check.advice.end(),
                                   [&](const Advice& a) { return a.token == found->token; });
  if (advice == check.advice.end() || check.result[found->token].verdict == Verdict::Corrected) return nullptr;
  if (found->start + found->length >= static_cast<std::size_t>(box.document()->characterCount())) return nullptr;
  if (Selecting(box, *found).selectedText() != ToQString(check.result[found->token].text)) return nullptr;
  span = *found;
  return &*advice;
}

// The advised word in the case the result box shows the word in (a capital at a sentence's start).
std::string AdvisedInShownCase(const CheckState& check, const Advice& advice, std::size_t token) {
  const std::string lower = LowerCase(advice.replacement);
  switch (CasePatternOf(check.result[token].text)) {
    case CasePattern::AllCaps: return UpperCase(lower);
    case CasePattern::Capitalised: return MixedCase(lower);
    case CasePattern::Other: break;
  }
  return lower;
}

}  // namespace

QMenu* NewSuggestionMenu(QTextEdit& resultBox, AppState& state, int position) {
  if (position < 0) return nullptr;
  // A word with accent advice: the advised word first, and only it.
  ResultSpan advisedSpan;
  const Advice* advice = AdviceAt(resultBox, state.check, static_cast<std::size_t>(position), advisedSpan);
  if (advice == nullptr && position > 0)
    advice = AdviceAt(resultBox, state.check, static_cast<std::size_t>(position - 1), advisedSpan);
  if (advice != nullptr) {
    auto* menu = new QMenu(&resultBox);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const std::string written = state.check.result[advisedSpan.token].text.str();
    const std::string word = AdvisedInShownCase(state.check, *advice, advisedSpan.token);
    QAction* action = menu->addAction(ToQString(word).replace(QLatin1Char('&'), QStringLiteral("&&")));
    action->setToolTip(ToQString(advice->message));
    QObject::connect(action, &QAction::triggered, &resultBox, [&resultBox, &state, at = advisedSpan, written, word] {
      ChooseAdvice(resultBox, state, at, written, word);
    });
    return menu;
  }
  std::optional<ResultSpan> span = MissingWordAt(resultBox, state.check, static_cast<std::size_t>(position));
  if (!span && position > 0) span = MissingWordAt(resultBox, state.check, static_cast<std::size_t>(position - 1));
  if (!span) return nullptr;

  auto* menu = new QMenu(&resultBox);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  const std::string missing = state.check.result[span->token].text.str();
  std::vector<std::string> words = state.Suggestions(missing);
  if (words.size() > kMenuSuggestions) words.resize(kMenuSuggestions);
  for (const std::string& word : words) {
    QAction* action = menu->addAction(ToQString(word).replace(QLatin1Char('&'), QStringLiteral("&&")));
    QObject::connect(action, &QAction::triggered, &resultBox,
                     [&resultBox, &state, at = *span, missing, word] {
                       ChooseSuggestion(resultBox, state, at, missing, word);
                     });
  }
  if (words.empty()) menu->addAction(QStringLiteral("Sin sugerencias"))->setEnabled(false);
  return menu;
}

bool ChooseAdvice(QTextEdit& resultBox, AppState& state, const ResultSpan& span, const std::string& written,
                  const std::string& word) {
  ResultSpan now;
  if (AdviceAt(resultBox, state.check, span.start, now) == nullptr || now.token != span.token ||
      now.start != span.start || state.check.result[span.token].text != written)
    return false;
  Selecting(resultBox, span).insertText(ToQString(word), VerdictFormat(Verdict::Corrected, state.settings));
  PutChosenWord(state.check, span.token, word);
  return true;
}

bool ChooseSuggestion(QTextEdit& resultBox, AppState& state, const ResultSpan& span, const std::string& missing,
                      const std::string& word) {
  std::optional<ResultSpan> now = MissingWordAt(resultBox, state.check, span.start);
  if (!now || now->token != span.token || now->start != span.start || state.check.result[span.token].text != missing)
    return false;
  Selecting(resultBox, span).insertText(ToQString(word), VerdictFormat(Verdict::Corrected, state.settings));
  PutChosenWord(state.check, span.token, word);
  return true;
}

}  // namespace velmara
