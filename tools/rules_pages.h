#pragma once
// Which spelling-rules page belongs to which menu command and letter code.

#include <string_view>

namespace velmara {

inline constexpr int kFirstRulesCommand = 217;  // "La b"
inline constexpr int kLastRulesCommand = 225;   // "La y"

// "b", "v", "cz", "g", "h", "j", "mn", "rr" or "y" for the commands 217 to 225; empty otherwise.
std::string_view RulesLetterCode(int command);

// The page picture (900 to 908) of a letter code, compared exactly; 0 when the code has no page.
int RulesPageNumber(std::string_view code);

}  // namespace velmara
