#include "checker/marking.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/widgets.h"
#include "ui/text.h"

namespace velmara {
namespace {

using testing::FormatAt;

struct Token {
  std::string text;
  Verdict verdict = Verdict::Accepted;
};

CheckState Tokens(const std::vector<Token>& tokens) {
  CheckState state;
  for (const Token& token : tokens) state.result.push_back({token.text, token.verdict});
  return state;
}

// One letter a character of the box: 's' struck out, 'u' underlined, 'b' both, '.' neither.
std::string Marks(QTextEdit& box) {
  std::string marks;
  for (int position = 0; position < box.document()->characterCount() - 1; ++position) {
    const QTextCharFormat format = FormatAt(box, position);
    marks += format.fontStrikeOut() ? (format.fontUnderline() ? 'b' : 's') : (format.fontUnderline() ? 'u' : '.');
  }
  return marks;
}

TEST(ShowResults, MarksEveryVerdictWithItsColourOnWhite) {
  Settings settings;
  settings.Corregidos = 0x0000AA;
  settings.Verbos_Bien = 0x00BB00;
  settings.Verbos_Duda = 0xCC0000;
  QTextEdit box;
  ShowResults(box,
              Tokens({{"Hola"}, {" "}, {"xyz", Verdict::Missing}, {" "}, {"canci\xF3n", Verdict::Corrected}, {","},
                      {"canta", Verdict::VerbForm}, {" "}, {"wifi", Verdict::FalsePositive}, {" "},
                      {"cantalo", Verdict::DoubtfulVerbForm}}),
              settings);
  EXPECT_EQ(box.toPlainText(), ToQString("Hola xyz canci\xF3n,canta wifi cantalo"));
  EXPECT_EQ(Marks(box), "....." "sss." "uuuuuuu." "..................");
  // Hola, the missing word, the corrected one, the comma, the verb form, the neologism, the doubtful verb form.
  const std::pair<int, QColor> colours[] = {{0, QColor(0, 0, 0)},    {5, QColor(255, 0, 0)},  {9, QColor(0xAA, 0, 0)},
                                            {16, QColor(0, 0, 0)},   {17, QColor(0, 0xBB, 0)}, {23, QColor(205, 96, 144)},
                                            {28, QColor(0, 0, 0xCC)}};
  for (const auto& [position, colour] : colours) {
    EXPECT_EQ(FormatAt(box, position).foreground().color(), colour) << position;
    EXPECT_EQ(FormatAt(box, position).background().color(), QColor(255, 255, 255)) << position;
  }
}

// Each case: what the box showed before (if anything), the tokens shown, the text and its marks.
TEST(ShowResults, MarksEachResultWholeAndNothingAroundIt) {
  const struct {
    const char* what;
    std::vector<Token> before, tokens;
    const char* text;
    std::string marks;
    QColor first;  // of the first character
  } cases[] = {
      // The accepted word in between, which begins with the same letters, stays plain.
      {"a repeated word, at each of its places",
       {},
       {{"xyz", Verdict::Missing}, {" "}, {"xyza"}, {" "}, {"xyz", Verdict::Missing}},
       "xyz xyza xyz",
       "sss......sss",
       QColor(255, 0, 0)},
      {"a replacement of several words, as a whole",
       {},
       {{"De El", Verdict::Corrected}, {" "}, {"casa"}},
       "De El casa",
       "uuuuu.....",
       ToQColor(static_cast<std::uint32_t>(Settings{}.Corregidos))},
      // The space inside the result is part of it; those around it are not.
      {"spaces around a result", {}, {{" de el ", Verdict::Corrected}, {"x", Verdict::Missing}}, " de el x", ".uuuuu.s",
       QColor(0, 0, 0)},
      {"a result replacing the previous one", {{"xyz", Verdict::Missing}}, {{"casa"}}, "casa", "....", QColor(0, 0, 0)},
  };
  for (const auto& c : cases) {
    QTextEdit box;
    if (!c.before.empty()) ShowResults(box, Tokens(c.before), Settings{});
    ShowResults(box, Tokens(c.tokens), Settings{});
    EXPECT_EQ(box.toPlainText(), QString(c.text)) << c.what;
    EXPECT_EQ(Marks(box), c.marks) << c.what;
    EXPECT_EQ(FormatAt(box, 0).foreground().color(), c.first) << c.what;
  }
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
