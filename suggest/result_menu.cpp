#include "suggest/result_menu.h"

#include <QAction>
#include <QMenu>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <optional>

#include "app/app_state.h"
#include "checker/marking.h"
#include "suggest/neighbours.h"
#include "ui/text.h"

namespace velmara {
namespace {

QTextCursor Selecting(QTextEdit& box, const ResultSpan& span) {
  QTextCursor cursor(box.document());
  cursor.setPosition(static_cast<int>(span.start));
  cursor.setPosition(static_cast<int>(span.start + span.length), QTextCursor::KeepAnchor);
  return cursor;
}

// The token at `position` when it is a missing word (or a verb form left in doubt, which has its
// accented form to offer) and the box shows it there.
std::optional<ResultSpan> MissingWordAt(QTextEdit& box, const CheckState& check, std::size_t position) {
  std::optional<ResultSpan> span = ResultTokenAt(check, position);
  if (!span) return std::nullopt;
  const Verdict verdict = check.result[span->token].verdict;
  if (verdict != Verdict::Missing && verdict != Verdict::DoubtfulVerbForm) return std::nullopt;
  // The box is emptied while a check runs and filled at its end: until then the list and the box
  // do not agree.
  if (span->start + span->length >= static_cast<std::size_t>(box.document()->characterCount())) return std::nullopt;
  if (Selecting(box, *span).selectedText() != ToQString(check.result[span->token].text)) return std::nullopt;
  return span;
}

}  // namespace

QMenu* NewSuggestionMenu(QTextEdit& resultBox, AppState& state, int position) {
  if (position < 0) return nullptr;
  std::optional<ResultSpan> span = MissingWordAt(resultBox, state.check, static_cast<std::size_t>(position));
  if (!span && position > 0) span = MissingWordAt(resultBox, state.check, static_cast<std::size_t>(position - 1));
  if (!span) return nullptr;

  auto* menu = new QMenu(&resultBox);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  const std::string missing = state.check.result[span->token].text.str();
  std::vector<std::string> words = state.Suggestions(missing, NeighboursAt(state.check.source, span->token));
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
