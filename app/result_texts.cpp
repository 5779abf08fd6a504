#include "app/result_texts.h"

namespace velmara {
namespace {

std::uint64_t Magnitude(std::int64_t value) {
  return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

// numerator * scale / denominator rounded half away from zero, in whole units of 1/scale.
// Integer arithmetic keeps 1/8 = 12.50 exact where a binary fraction would wobble.
std::int64_t ScaledRatio(std::int64_t numerator, std::int64_t denominator, std::int64_t scale) {
  bool negative = (numerator < 0) != (denominator < 0);
  std::uint64_t num = Magnitude(numerator) * static_cast<std::uint64_t>(scale);
  std::uint64_t den = Magnitude(denominator);
  auto rounded = static_cast<std::int64_t>((2 * num + den) / (2 * den));
  return negative ? -rounded : rounded;
}

// `hundredths` as "<int>.<two decimals>": the integer part always has at least one digit.
std::string TwoDecimals(std::int64_t hundredths) {
  std::string sign = hundredths < 0 ? "-" : "";
  std::uint64_t magnitude = Magnitude(hundredths);
  std::string decimals = std::to_string(magnitude % 100);
  if (decimals.size() < 2) decimals.insert(0, "0");
  return sign + std::to_string(magnitude / 100) + "." + decimals;
}

}  // namespace

std::string TimeText(std::int64_t seconds) { return "Ha tardado " + std::to_string(seconds) + " seg."; }

// Mask "####.##": at most two decimals, trailing zeros and a bare point dropped (5.50 -> "5.5",
// 5.00 -> "5"); a value below 1 keeps its 0 ("0.5"). Without words there is nothing to divide: "0".
std::string DifficultyText(std::int64_t characterTotal, std::size_t wordCount) {
  std::string number = "0";
  if (wordCount > 0) {
    number = TwoDecimals(ScaledRatio(characterTotal, static_cast<std::int64_t>(wordCount), 100));
    while (number.back() == '0') number.pop_back();
    if (number.back() == '.') number.pop_back();
  }
  return number + " car./pal.";
}

// Mask "###.00" with the point shown as a comma; a value below 1 keeps its 0 ("0,50 %").
std::string PercentageText(std::int64_t part, std::int64_t total) {
  std::string number = TwoDecimals(total == 0 ? 0 : ScaledRatio(part, total, 10000));
  number[number.size() - 3] = ',';
  return number + " %";
}

std::string ResultMessage(std::int64_t correctedCount, std::int64_t missingCount, std::size_t wordCount) {
  auto words = static_cast<std::int64_t>(wordCount);
  return "Corregidos " + std::to_string(correctedCount) + " es " + PercentageText(correctedCount, words) +
         "\r\nFaltantes " + std::to_string(missingCount) + " es " + PercentageText(missingCount, words) +
         "\r\nN\xFAmero de palabras " + std::to_string(wordCount) + " es " + PercentageText(words, words);
}

}  // namespace velmara
