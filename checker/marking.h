#pragma once
// The marks of a check on the two rich-text boxes: the highlight that walks over the main box
// while a run works, and the result box coloured by verdict afterwards.

#include <QColor>
#include <cstddef>
#include <cstdint>
#include <functional>
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
void SetBoxText(QTextEdit& box, const std::string& windows1252);

// The whole text of the main box black on white, not bold.
void ResetMainBoxFormat(QTextEdit& mainBox);

// Text and background colour of the characters [start, start + length) of a box; nothing else
// changes. The Strike and Underline variants also turn that effect on.
void ColourMainSelection(QTextEdit& mainBox, std::size_t start, std::size_t length, std::uint32_t textColour,
                         std::uint32_t backColour);
void ColourResultSelection(QTextEdit& resultBox, std::size_t start, std::size_t length, std::uint32_t textColour,
                           std::uint32_t backColour);
void StrikeResultSelection(QTextEdit& resultBox, std::size_t start, std::size_t length, std::uint32_t textColour,
                           std::uint32_t backColour);
void UnderlineResultSelection(QTextEdit& resultBox, std::size_t start, std::size_t length,
                              std::uint32_t textColour, std::uint32_t backColour);

// The result texts of the last run joined without anything between them.
std::string ResultText(const CheckState& state);

// Fills the result box with the result text and marks every word by its verdict: missing words
// struck out, corrected words underlined, each verdict in its colour from the settings, always on
// white. `pump` is called after every marked word.
void ShowResults(QTextEdit& resultBox, const CheckState& state, const Settings& settings,
                 const std::function<void()>& pump);

}  // namespace velmara
