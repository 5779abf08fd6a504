#include "tools/rules_pages.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/menu_ids.h"

namespace velmara {
namespace {

TEST(RulesPages, EachMenuCommandHasItsOwnPage) {
  std::vector<int> pages;
  for (int id = command::kRulesFirst; id <= command::kRulesLast; ++id)
    pages.push_back(RulesPageNumber(command::RulesPageCode(id)));
  EXPECT_EQ(pages, (std::vector<int>{900, 901, 902, 903, 904, 905, 906, 907, 908}));
}

TEST(RulesPages, CodesMatchExactly) {
  for (std::string_view code : {"", "B", "c", "z", "zc", "cz ", "mnn", "r", "ll"})
    EXPECT_EQ(RulesPageNumber(code), 0) << '"' << code << '"';
  EXPECT_EQ(RulesPageNumber(std::string_view("y\0", 2)), 0);
}

}  // namespace
}  // namespace velmara
