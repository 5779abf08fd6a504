#pragma once
// The texts in which the figures of a check are shown.

#include <cstddef>
#include <cstdint>
#include <string>

namespace velmara {

// "Ha tardado 3 seg."
std::string TimeText(std::int64_t seconds);
// Characters per word with at most two decimals and a point, then " car./pal.". No words: "0 car./pal.".
std::string DifficultyText(std::int64_t characterTotal, std::size_t wordCount);
// 100 * part / total with two decimals and a comma, then " %" ("12,50 %"). A total of 0 gives "0,00 %".
std::string PercentageText(std::int64_t part, std::int64_t total);
// The three lines of the result message, joined by CR LF.
std::string ResultMessage(std::int64_t correctedCount, std::int64_t missingCount, std::size_t wordCount);

}  // namespace velmara
