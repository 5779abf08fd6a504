#pragma once
// Which spelling-rules page belongs to which letter code (see command::RulesPageCode for the
// code of each menu item).

#include <string_view>

namespace velmara {

// The page picture (900 to 908) of a letter code, compared exactly; 0 when the code has no page.
int RulesPageNumber(std::string_view code);

}  // namespace velmara
