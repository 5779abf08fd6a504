#pragma once
// The seven interrogatives and their accented forms (que/qué, quien/quién, ...).

#include <string>
#include <string_view>

namespace velmara {

bool IsPlainInterrogative(std::string_view word);
bool IsAccentedInterrogative(std::string_view word);
// The accented form of a plain interrogative; empty for any other word.
std::string AccentInterrogative(std::string_view word);

}  // namespace velmara
