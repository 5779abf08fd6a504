#pragma once
// The command ids of the notification-area menu.

#include <string_view>

namespace velmara::command {

inline constexpr int kShow = 202;
inline constexpr int kHide = 203;
inline constexpr int kQuit = 204;
inline constexpr int kOptions = 206;
inline constexpr int kCheck = 207;
inline constexpr int kExport = 209;
inline constexpr int kAbout = 210;
inline constexpr int kFavouriteColours = 211;
inline constexpr int kCorrectedColour = 212;
inline constexpr int kMissingColour = 213;
inline constexpr int kVerbColour = 214;
inline constexpr int kFinder = 215;
inline constexpr int kFalsePositiveColour = 216;
inline constexpr int kRulesFirst = 217;  // "La b" ... "La y"
inline constexpr int kRulesLast = 225;
inline constexpr int kDoubtfulVerbColour = 226;
inline constexpr int kBibliography = 227;

// The letter code of the rules page of a "La ..." item: "b", "v", "cz", "g", "h", "j", "mn", "rr", "y".
inline std::string_view RulesPageCode(int id) {
  constexpr std::string_view codes[] = {"b", "v", "cz", "g", "h", "j", "mn", "rr", "y"};
  return id >= kRulesFirst && id <= kRulesLast ? codes[id - kRulesFirst] : std::string_view();
}

}  // namespace velmara::command
