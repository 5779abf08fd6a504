#pragma once
// Word classification: the verdict and the replacement of one lowercased word.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/configuration.h"
#include "checker/check_state.h"
#include "suggest/intellisense.h"
#include "worddb/word_database.h"

namespace velmara {

// How a word was written, as far as classification cares: a proper name accepts a word only
// when it is written as a name is, with a leading capital (Unión, UNIÓN); a word with capitals
// inside among small letters (McLuhan, iPhone, PCs) is a name or a brand, never missing.
enum class WrittenCase { Name, Lower, Mixed };
WrittenCase WrittenCaseOf(std::string_view written);

// Counts a word that ends as missing and keeps its first characters in the missing-word list
// while the list has room.
void RecordMissingWord(CheckState& state, std::string_view word);

class Classifier {
 public:
  // `intellisenseFile` is read only while the Intellisense option is on.
  Classifier(const WordDatabase& database, const Settings& settings, std::filesystem::path intellisenseFile,
             CheckState& state);
  // The same with a list read already (a copy of a server's, which shares its entries).
  Classifier(const WordDatabase& database, const Settings& settings, IntellisenseList intellisense,
             CheckState& state);

  // Returns the replacement text (the word itself when nothing replaces it) for the lowercased
  // `word` and leaves the verdict in state().lastVerdict; updates the counts and the missing-word
  // list. `written` tells how the word stood in the text; a caller that cannot tell passes Name.
  std::string ClassifyWord(std::string_view word, WrittenCase written = WrittenCase::Name);
  // Accent corrections, then the Intellisense list; otherwise the word is missing.
  std::string ResolveUnknownWord(std::string_view word);
  // The same without the last step: false when nothing corrects the word.
  bool CorrectUnknownWord(std::string_view word, std::string& replacement);

  CheckState& state() { return state_; }
  const Settings& settings() const { return settings_; }
  const WordDatabase& database() const { return database_; }

 private:
  const WordDatabase& database_;
  const Settings& settings_;
  IntellisenseList intellisense_;
  CheckState& state_;

  // The accent variants of an unknown word that differ from it, kept from word to word with the
  // buffer they are made in; a variant's query reads that buffer, which holds the variant while
  // it is looked up.
  struct AccentVariant {
    WordQuery query;
    std::size_t position;  // of the accented character, from 1
    char accented;         // the character there
  };
  std::vector<AccentVariant> accentVariants_;
  std::string variantBuffer_;
};

}  // namespace velmara
