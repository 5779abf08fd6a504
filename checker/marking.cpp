#include "checker/marking.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "checker/characters.h"
#include "ui/text.h"

namespace velmara {
namespace {

void MergeFormat(QTextEdit& box, std::size_t start, std::size_t length, const QTextCharFormat& format) {
  QTextCursor cursor(box.document());
  cursor.setPosition(static_cast<int>(start));
  cursor.setPosition(static_cast<int>(start + length), QTextCursor::KeepAnchor);
  cursor.mergeCharFormat(format);
}

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

}  // namespace

void SetBoxText(QTextEdit& box, const std::string& windows1252) {
  // Formatting a long text word by word would otherwise fill an undo history nobody can use.
  box.document()->setUndoRedoEnabled(false);
  box.setPlainText(ToQString(windows1252));
  QTextCursor cursor(box.document());
  cursor.select(QTextCursor::Document);
  cursor.setCharFormat(PlainFormat());
}

void ResetMainBoxFormat(QTextEdit& mainBox) {
  QTextCursor cursor(mainBox.document());
  cursor.select(QTextCursor::Document);
  cursor.mergeCharFormat(PlainFormat());
}

void ColourMainSelection(QTextEdit& mainBox, std::size_t start, std::size_t length, std::uint32_t textColour,
                         std::uint32_t backColour) {
  MergeFormat(mainBox, start, length, Colours(textColour, backColour));
}

void ColourResultSelection(QTextEdit& resultBox, std::size_t start, std::size_t length, std::uint32_t textColour,
                           std::uint32_t backColour) {
  MergeFormat(resultBox, start, length, Colours(textColour, backColour));
}

void StrikeResultSelection(QTextEdit& resultBox, std::size_t start, std::size_t length, std::uint32_t textColour,
                           std::uint32_t backColour) {
  QTextCharFormat format = Colours(textColour, backColour);
  format.setFontStrikeOut(true);
  MergeFormat(resultBox, start, length, format);
}

void UnderlineResultSelection(QTextEdit& resultBox, std::size_t start, std::size_t length,
                              std::uint32_t textColour, std::uint32_t backColour) {
  QTextCharFormat format = Colours(textColour, backColour);
  format.setFontUnderline(true);
  MergeFormat(resultBox, start, length, format);
}

std::string ResultText(const CheckState& state) {
  std::string text;
  for (const TokenEntry& entry : state.result) text += entry.text;
  return text;
}

void ShowResults(QTextEdit& resultBox, const CheckState& state, const Settings& settings,
                 const std::function<void()>& pump) {
  const std::string text = ResultText(state);
  SetBoxText(resultBox, text);
  std::size_t previousStart = 0;
  std::size_t previousLength = 0;
  for (const TokenEntry& entry : state.result) {
    const std::string word = TrimSpaces(entry.text);
    if (word.empty()) continue;
    std::size_t position = FindAfter(text, word, previousStart + previousLength);
    if (position == 0) continue;  // cannot happen: every result is part of the text
    previousStart = position - 1;
    previousLength = word.size();
    const auto colour = [](std::int32_t setting) { return static_cast<std::uint32_t>(setting); };
    switch (entry.verdict) {
      case Verdict::Accepted: break;
      case Verdict::Missing:
        StrikeResultSelection(resultBox, previousStart, previousLength, colour(settings.MissingColour), kWhite);
        break;
      case Verdict::Corrected:
        UnderlineResultSelection(resultBox, previousStart, previousLength, colour(settings.Corregidos), kWhite);
        break;
      case Verdict::VerbForm:
        ColourResultSelection(resultBox, previousStart, previousLength, colour(settings.Verbos_Bien), kWhite);
        break;
      case Verdict::FalsePositive:
        ColourResultSelection(resultBox, previousStart, previousLength, colour(settings.FalsePositiveColour),
                              kWhite);
        break;
      case Verdict::DoubtfulVerbForm:
        ColourResultSelection(resultBox, previousStart, previousLength, colour(settings.Verbos_Duda), kWhite);
        break;
    }
    if (pump) pump();
  }
}

}  // namespace velmara
