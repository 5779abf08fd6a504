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

void SetBoxText(QTextEdit& box, const std::string& windows1252) {
  box.document()->setUndoRedoEnabled(false);
  box.setExtraSelections({});
  box.setPlainText(ToQString(windows1252));
  QTextCursor cursor(box.document());
  cursor.select(QTextCursor::Document);
  cursor.setCharFormat(PlainFormat());
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

void ShowResults(QTextEdit& resultBox, const CheckState& state, const Settings& settings) {
  resultBox.document()->setUndoRedoEnabled(false);
  resultBox.clear();
  const QTextCharFormat plain = PlainFormat();
  QTextCursor cursor(resultBox.document());
  cursor.beginEditBlock();
  // Each result goes in at its own place; its spaces, if any, stay unmarked.
  for (const TokenEntry& entry : state.result) {
    const std::string word = TrimSpaces(entry.text);
    if (word.empty() || entry.verdict == Verdict::Accepted) {
      cursor.insertText(ToQString(entry.text), plain);
      continue;
    }
    const std::size_t lead = entry.text.find(word);
    cursor.insertText(ToQString(std::string(lead, ' ')), plain);
    cursor.insertText(ToQString(word), VerdictFormat(entry.verdict, settings));
    cursor.insertText(ToQString(std::string(entry.text.size() - lead - word.size(), ' ')), plain);
  }
  cursor.endEditBlock();
}

}  // namespace velmara
