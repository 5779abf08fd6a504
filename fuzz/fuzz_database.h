#pragma once
// A small word database for the fuzz targets that check or search text.

#include <string>
#include <utility>
#include <vector>

#include "worddb/word_database.h"

namespace velmara::fuzz {

inline const WordDatabase& SmallDatabase() {
  static const WordDatabase database = [] {
    WordDatabase d;
    d.dictionary = WordList({"hola", "mundo", "casa", "perro", "adi\xF3s", "que", "qu\xE9", "donde", "d\xF3nde", "el",
                             "cami\xF3n", "canci\xF3n", "antiguo", "papa", "pap\xE1", "cuando", "cu\xE1ndo"});
    d.verbs = WordList({"est\xE1s", "vienes", "da", "dame", "haga", "comer", "come", "canta"});
    d.properNames = WordList({"madrid", "mar\xED" "a"});
    std::vector<std::string> falsePositives(FalsePositiveList::kCapacity);
    falsePositives[0] = "wifi";
    falsePositives[1] = "blog";
    d.falsePositives.entries.Assign(std::move(falsePositives));
    d.falsePositives.count = 2;
    return d;
  }();
  return database;
}

}  // namespace velmara::fuzz
