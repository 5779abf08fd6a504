#pragma once
// Verb forms with attached pronouns (dime, dámelo, diciéndoselas).

#include <string>
#include <string_view>

namespace velmara {

// The word without its longest recognised pronoun ending; empty when no ending is recognised.
std::string EncliticStem(std::string_view word);

}  // namespace velmara
