#include "tools/rules_pages.h"

#include <array>

namespace velmara {

namespace {

// In menu order: command 217 + i shows page 900 + i.
constexpr std::array<std::string_view, 9> kLetterCodes = {"b", "v", "cz", "g", "h", "j", "mn", "rr", "y"};

}  // namespace

std::string_view RulesLetterCode(int command) {
  if (command < kFirstRulesCommand || command > kLastRulesCommand) return {};
  return kLetterCodes[static_cast<std::size_t>(command - kFirstRulesCommand)];
}

int RulesPageNumber(std::string_view code) {
  for (std::size_t i = 0; i < kLetterCodes.size(); ++i) {
    if (kLetterCodes[i] == code) return 900 + static_cast<int>(i);
  }
  return 0;
}

}  // namespace velmara
