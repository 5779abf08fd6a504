#pragma once
// Verb forms with attached pronouns (dime, dámelo, diciéndoselas).

#include <string>
#include <string_view>

#include "worddb/word_list.h"

namespace velmara {

// The word without its longest recognised pronoun ending; empty when no ending is recognised.
std::string EncliticStem(std::string_view word);

// The word as the general accent rules write it when it is the verb form `stem` (the start of the
// word, as EncliticStem gives it) with pronouns attached: the stress stays where the verb form has
// it (haga + lo: hágalo; acuesta + te: acuéstate; hacer + lo: hacerlo).
std::string WithPronounsAccented(std::string_view word, std::string_view stem);

// Whether the word reads right as a voseo imperative with pronouns (decime, acordate: decí + me,
// acordá + te): `stem` ends in a, e or i, the Verb list holds it followed by r (the infinitive),
// and the word is written as the stress on the stem's last vowel wants it.
bool ReadsAsVoseo(std::string_view word, std::string_view stem, const WordList& verbs);

}  // namespace velmara
