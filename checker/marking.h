#pragma once
// The marks of a check on the two rich-text boxes: the highlight that walks over the main box
// while a run works, and the result box coloured by verdict afterwards.

#include <QColor>
#include <QTextCharFormat>
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/configuration.h"
#include "checker/check_state.h"

class QTextEdit;

namespace velmara {

// Colours are 0x00BBGGRR, as in the settings.
inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;
inline constexpr std::uint32_t kHighlightColour = 0x00C9EE;  // red 238, green 201, blue 0

// Replaces the whole text of a box, black on white, not bold. Character positions in the box are
// the byte positions of the Windows-1252 text.
// The characters of `unheld` stand where the text has kUnheldCharacter.
void SetBoxText(QTextEdit& box, const std::string& windows1252, UnheldCharacters unheld = {});

// The whole text of the main box black on white, not bold, and no highlight.
void ResetMainBoxFormat(QTextEdit& mainBox);

// Shows the characters [start, start + length) of the main box in the given text and background
// colours. It is drawn over the text rather than stored in it: changing the text's own format
// would lay out the whole paragraph again for every word of a run. Only the last one shows.
void ColourMainSelection(QTextEdit& mainBox, std::size_t start, std::size_t length, std::uint32_t textColour,
                         std::uint32_t backColour);

// How a word of this verdict is marked in the result box.
QTextCharFormat VerdictFormat(Verdict verdict, const Settings& settings);

// A word with accent advice: marked as its verdict marks it, with a wavy blue underline and the
// advice's message as its tooltip.
QTextCharFormat AdviceFormat(const Advice& advice, Verdict verdict, const Settings& settings);

// Fills the result box with the result text and marks every word by its verdict: missing words
// struck out, corrected words underlined, each verdict in its colour from the settings, always on
// white; separators and accepted words stay black on white. The text goes in already marked, in
// one edit, so a long text is laid out once and not once per word.
void ShowResults(QTextEdit& resultBox, const CheckState& state, const Settings& settings);

}  // namespace velmara
