#include "tools/rules_pages.h"

#include "app/menu_ids.h"

namespace velmara {

// The pages are numbered in menu order: "La b" shows 900, "La y" 908.
int RulesPageNumber(std::string_view code) {
  for (int id = command::kRulesFirst; id <= command::kRulesLast; ++id) {
    if (command::RulesPageCode(id) == code) return 900 + (id - command::kRulesFirst);
  }
  return 0;
}

}  // namespace velmara
