#include "checker/marking.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <gtest/gtest.h>

#include "ui/text.h"

namespace velmara {
namespace {

// The format of the character at a 0-based position.
QTextCharFormat FormatAt(QTextEdit& box, int position) {
  QTextCursor cursor(box.document());
  cursor.setPosition(position + 1);
  return cursor.charFormat();
}

void AddToken(CheckState& state, const std::string& text, Verdict verdict = Verdict::Accepted) {
  state.result.push_back({text, verdict});
}

TEST(ShowResults, MarksEveryVerdictWithItsColourOnWhite) {
  Settings settings;
  settings.Corregidos = 0x0000AA;
  settings.Verbos_Bien = 0x00BB00;
  settings.Verbos_Duda = 0xCC0000;
  CheckState state;
  AddToken(state, "Hola");
  AddToken(state, " ");
  AddToken(state, "xyz", Verdict::Missing);
  AddToken(state, " ");
  AddToken(state, "canci\xF3n", Verdict::Corrected);
  AddToken(state, ",");
  AddToken(state, "canta", Verdict::VerbForm);
  AddToken(state, " ");
  AddToken(state, "wifi", Verdict::FalsePositive);
  AddToken(state, " ");
  AddToken(state, "cantalo", Verdict::DoubtfulVerbForm);
  QTextEdit box;
  ShowResults(box, state, settings);

  EXPECT_EQ(box.toPlainText(), ToQString("Hola xyz canci\xF3n,canta wifi cantalo"));

  QTextCharFormat hola = FormatAt(box, 0);
  EXPECT_EQ(hola.foreground().color(), QColor(0, 0, 0));
  EXPECT_EQ(hola.background().color(), QColor(255, 255, 255));
  EXPECT_FALSE(hola.fontStrikeOut());
  EXPECT_FALSE(hola.fontUnderline());

  QTextCharFormat missing = FormatAt(box, 5);
  EXPECT_EQ(missing.foreground().color(), QColor(255, 0, 0));
  EXPECT_TRUE(missing.fontStrikeOut());
  EXPECT_FALSE(missing.fontUnderline());

  QTextCharFormat corrected = FormatAt(box, 9);
  EXPECT_EQ(corrected.foreground().color(), QColor(0xAA, 0, 0));
  EXPECT_TRUE(corrected.fontUnderline());
  EXPECT_FALSE(corrected.fontStrikeOut());

  QTextCharFormat comma = FormatAt(box, 16);
  EXPECT_EQ(comma.foreground().color(), QColor(0, 0, 0));
  EXPECT_FALSE(comma.fontUnderline());

  EXPECT_EQ(FormatAt(box, 17).foreground().color(), QColor(0, 0xBB, 0));
  EXPECT_EQ(FormatAt(box, 23).foreground().color(), QColor(205, 96, 144));
  EXPECT_EQ(FormatAt(box, 28).foreground().color(), QColor(0, 0, 0xCC));
  for (int position : {5, 9, 17, 23, 28}) EXPECT_EQ(FormatAt(box, position).background().color(), Qt::white);
}

TEST(ShowResults, MarksARepeatedWordAtEachOfItsPlaces) {
  CheckState state;
  AddToken(state, "xyz", Verdict::Missing);
  AddToken(state, " ");
  AddToken(state, "xyza");
  AddToken(state, " ");
  AddToken(state, "xyz", Verdict::Missing);
  QTextEdit box;
  ShowResults(box, state, Settings{});
  EXPECT_TRUE(FormatAt(box, 0).fontStrikeOut());
  EXPECT_TRUE(FormatAt(box, 2).fontStrikeOut());
  // The accepted word in between, which begins with the same letters, stays plain.
  for (int position = 4; position < 8; ++position) EXPECT_FALSE(FormatAt(box, position).fontStrikeOut());
  EXPECT_TRUE(FormatAt(box, 9).fontStrikeOut());
  EXPECT_TRUE(FormatAt(box, 11).fontStrikeOut());
}

TEST(ShowResults, MarksAReplacementOfSeveralWordsAsAWhole) {
  CheckState state;
  AddToken(state, "De El", Verdict::Corrected);
  AddToken(state, " ");
  AddToken(state, "casa");
  QTextEdit box;
  ShowResults(box, state, Settings{});
  for (int position = 0; position < 5; ++position) EXPECT_TRUE(FormatAt(box, position).fontUnderline());
  EXPECT_FALSE(FormatAt(box, 6).fontUnderline());
}

TEST(ShowResults, LeavesTheSpacesAroundAMarkedResultUnmarked) {
  CheckState state;
  AddToken(state, " de el ", Verdict::Corrected);
  AddToken(state, "x", Verdict::Missing);
  QTextEdit box;
  ShowResults(box, state, Settings{});
  EXPECT_EQ(box.toPlainText(), QString(" de el x"));
  EXPECT_FALSE(FormatAt(box, 0).fontUnderline());
  EXPECT_TRUE(FormatAt(box, 1).fontUnderline());
  EXPECT_TRUE(FormatAt(box, 3).fontUnderline());  // the space inside the result is part of it
  EXPECT_TRUE(FormatAt(box, 5).fontUnderline());
  EXPECT_FALSE(FormatAt(box, 6).fontUnderline());
  EXPECT_TRUE(FormatAt(box, 7).fontStrikeOut());
}

TEST(ShowResults, ReplacesThePreviousResult) {
  CheckState state;
  AddToken(state, "xyz", Verdict::Missing);
  QTextEdit box;
  ShowResults(box, state, Settings{});
  state.result.clear();
  AddToken(state, "casa");
  ShowResults(box, state, Settings{});
  EXPECT_EQ(box.toPlainText(), QString("casa"));
  EXPECT_FALSE(FormatAt(box, 0).fontStrikeOut());
  EXPECT_EQ(FormatAt(box, 0).foreground().color(), QColor(0, 0, 0));
}

TEST(MainBoxFormat, HighlightIsDrawnOverTheTextAndResetLeavesBlackOnWhite) {
  QTextEdit box;
  SetBoxText(box, "una dos tres");
  ColourMainSelection(box, 4, 3, kBlack, kHighlightColour);
  ASSERT_EQ(box.extraSelections().size(), 1);
  const QTextEdit::ExtraSelection highlight = box.extraSelections()[0];
  EXPECT_EQ(highlight.cursor.selectionStart(), 4);
  EXPECT_EQ(highlight.cursor.selectionEnd(), 7);
  EXPECT_EQ(highlight.format.background().color(), QColor(238, 201, 0));
  EXPECT_EQ(highlight.format.foreground().color(), QColor(0, 0, 0));
  ColourMainSelection(box, 8, 4, kBlack, kHighlightColour);
  ASSERT_EQ(box.extraSelections().size(), 1);  // only the last word is highlighted

  QTextCursor cursor(box.document());
  cursor.setPosition(0);
  cursor.setPosition(3, QTextCursor::KeepAnchor);
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  bold.setBackground(Qt::red);
  cursor.mergeCharFormat(bold);

  ResetMainBoxFormat(box);
  EXPECT_TRUE(box.extraSelections().isEmpty());
  for (int position = 0; position < 12; ++position) {
    QTextCharFormat format = FormatAt(box, position);
    EXPECT_EQ(format.background().color(), Qt::white) << position;
    EXPECT_EQ(format.foreground().color(), Qt::black) << position;
    EXPECT_NE(format.fontWeight(), QFont::Bold) << position;
  }
}

TEST(BoxText, KeepsOneCharacterPerWindows1252Byte) {
  QTextEdit box;
  const std::string text = "\x80uro \x93" "a\x94 \xF1" "and\xFA";
  SetBoxText(box, text);
  EXPECT_EQ(box.toPlainText().size(), static_cast<int>(text.size()));
  EXPECT_EQ(ToWindows1252(box.toPlainText()), text);
}

}  // namespace
}  // namespace velmara
