#include "suggest/neighbours.h"

#include <string_view>

#include "checker/characters.h"

namespace velmara {
namespace {

// The word reached from `token` going by `step` over spaces only; empty at anything else.
std::string_view WordBeside(const TokenList& tokens, std::size_t token, int step) {
  std::size_t i = token;
  while (true) {
    if (step < 0 ? i == 0 : i + 1 >= tokens.size()) return {};
    i = step < 0 ? i - 1 : i + 1;
    const std::string_view text = tokens[i].text;
    if (text == " ") continue;
    return IsSeparator(text) ? std::string_view() : text;
  }
}

}  // namespace

Neighbours NeighboursAt(const TokenList& tokens, std::size_t token) {
  if (token >= tokens.size()) return {};
  return {WordBeside(tokens, token, -1), WordBeside(tokens, token, 1)};
}

}  // namespace velmara
