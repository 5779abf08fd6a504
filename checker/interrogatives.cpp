#include "checker/interrogatives.h"

namespace velmara {
namespace {

struct InterrogativePair {
  std::string_view plain;
  std::string_view accented;
};

constexpr InterrogativePair kInterrogatives[] = {
    {"que", "qu\xE9"},       {"quien", "qui\xE9n"}, {"como", "c\xF3mo"},     {"cuanto", "cu\xE1nto"},
    {"cual", "cu\xE1l"},     {"donde", "d\xF3nde"}, {"cuando", "cu\xE1ndo"},
};

}  // namespace

bool IsPlainInterrogative(std::string_view word) {
  for (const auto& pair : kInterrogatives)
    if (word == pair.plain) return true;
  return false;
}

bool IsAccentedInterrogative(std::string_view word) {
  for (const auto& pair : kInterrogatives)
    if (word == pair.accented) return true;
  return false;
}

std::string AccentInterrogative(std::string_view word) {
  for (const auto& pair : kInterrogatives)
    if (word == pair.plain) return std::string(pair.accented);
  return {};
}

}  // namespace velmara
