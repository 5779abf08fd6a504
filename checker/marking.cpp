#include "checker/marking.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "checker/characters.h"
#include "ui/text.h"

namespace velmara {
namespace {

QTextCharFormat Colours(std::uint32_t textColour, std::uint32_t backColour) {
  QTextCharFormat format;
  format.setForeground(ToQColor(textColour));
  format.setBackground(ToQColor(backColour));
  return format;
}

QTextCharFormat PlainFormat() {
  QTextCharFormat format = Colours(kBlack, kWhite);
  format.setFontWeight(QFont::Normal);
  return format;
}

std::uint32_t ColourValue(std::int32_t setting) { return static_cast<std::uint32_t>(setting); }

}  // namespace

QTextCharFormat VerdictFormat(Verdict verdict, const Settings& settings) {
  QTextCharFormat format = PlainFormat();
  switch (verdict) {
    case Verdict::Accepted: break;
    case Verdict::Missing:
      format.setForeground(ToQColor(ColourValue(settings.MissingColour)));
      format.setFontStrikeOut(true);
      break;
    case Verdict::Corrected:
      format.setForeground(ToQColor(ColourValue(settings.Corregidos)));
      format.setFontUnderline(true);
      break;
    case Verdict::VerbForm: format.setForeground(ToQColor(ColourValue(settings.Verbos_Bien))); break;
    case Verdict::FalsePositive: format.setForeground(ToQColor(ColourValue(settings.FalsePositiveColour))); break;
    case Verdict::DoubtfulVerbForm: format.setForeground(ToQColor(ColourValue(settings.Verbos_Duda))); break;
  }
  return format;
}

void SetBoxText(QTextEdit& box, const std::string& windows1252, UnheldCharacters unheld) {
  box.document()->setUndoRedoEnabled(false);
  box.setExtraSelections({});
  unheld.next = 0;
  box.clear();
  // One insertion that carries its format: the text is not formatted a second time.
  QTextCursor cursor(box.document());
  cursor.insertText(ToQString(windows1252, unheld), PlainFormat());
}

void ResetMainBoxFormat(QTextEdit& mainBox) {
  mainBox.setExtraSelections({});
  QTextCursor cursor(mainBox.document());
  cursor.select(QTextCursor::Document);
  cursor.mergeCharFormat(PlainFormat());
}

void ColourMainSelection(QTextEdit& mainBox, std::size_t start, std::size_t length, std::uint32_t textColour,
                         std::uint32_t backColour) {
  QTextEdit::ExtraSelection selection;
  selection.cursor = QTextCursor(mainBox.document());
  selection.cursor.setPosition(static_cast<int>(start));
  selection.cursor.setPosition(static_cast<int>(start + length), QTextCursor::KeepAnchor);
  selection.format = Colours(textColour, backColour);
  mainBox.setExtraSelections({selection});
}

QTextCharFormat AdviceFormat(const Advice& advice, Verdict verdict, const Settings& settings) {
  QTextCharFormat format = VerdictFormat(verdict, settings);
  format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
  format.setUnderlineColor(QColor(0, 102, 204));
  format.setToolTip(ToQString(advice.message));
  return format;
}

void ShowResults(QTextEdit& resultBox, const CheckState& state, const Settings& settings) {
  resultBox.document()->setUndoRedoEnabled(false);
  resultBox.clear();
  const QTextCharFormat plain = PlainFormat();
  UnheldCharacters unheld = state.unheld;
  unheld.next = 0;
  QTextCursor cursor(resultBox.document());
  cursor.beginEditBlock();
  // Unmarked text gathers into one run until the next marked word, so a long text goes in as a
  // few large insertions rather than one per token. A result's spaces, if any, stay unmarked.
  std::string run;
  auto flush = [&] {
    if (run.empty()) return;
    cursor.insertText(ToQString(run, unheld), plain);
    run.clear();
  };
  auto advised = state.advice.begin();
  for (std::size_t i = 0; i < state.result.size(); ++i) {
    const TokenEntry& entry = state.result[i];
    while (advised != state.advice.end() && advised->token < i) ++advised;
    if (advised != state.advice.end() && advised->token == i) {
      // Advice: a wavy underline over the word as the verdict marks it, the advice as its tooltip.
      const std::string word = TrimSpaces(entry.text);
      const std::size_t lead = word.empty() ? 0 : entry.text.find(word);
      run.append(lead, ' ');
      flush();
      cursor.insertText(ToQString(word), AdviceFormat(*advised, entry.verdict, settings));
      run.append(entry.text.size() - lead - word.size(), ' ');
      continue;
    }
    if (entry.verdict == Verdict::Accepted) {
      run += entry.text;
      continue;
    }
    const std::string word = TrimSpaces(entry.text);
    if (word.empty()) {
      run += entry.text;
      continue;
    }
    const std::size_t lead = entry.text.find(word);
    run.append(lead, ' ');
    flush();
    cursor.insertText(ToQString(word), VerdictFormat(entry.verdict, settings));
    run.append(entry.text.size() - lead - word.size(), ' ');
  }
  flush();
  cursor.endEditBlock();
}

}  // namespace velmara
