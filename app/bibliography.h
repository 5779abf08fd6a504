#pragma once
// The text of the bibliography box: the sources the word lists rest on.

#include <string>

namespace velmara {

// Windows-1252, lines joined by CR LF.
std::string BibliographyText();

}  // namespace velmara
