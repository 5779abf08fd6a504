#pragma once
// Suggestions for a word the lists do not hold: a ranked list of words from all four lists
// (dictionary, verbs, proper names, false positives), and of common sequences of two or three
// words for words run together (porfavor: por favor), best first, in the case pattern of the
// word as written. A verb form with an attached pronoun that lacks its accent (cuentame) gets the
// accented form first. Suggestions are only offered; nothing here changes a check.

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "worddb/word_database.h"

namespace velmara {

inline constexpr std::size_t kMaxSuggestions = 10;

// The words written either side of the one asked about (Windows-1252, any case; empty where
// there is none). They may move a suggestion up: after "yo", actúo comes before actuó.
struct Neighbours {
  std::string_view before;
  std::string_view after;
};

class Suggester {
 public:
  // Keeps a reference to the database, which must outlive the suggester. Whatever it needs
  // beyond the lists is built (or found in the compiled database) on the first call, not here.
  // `whileBuilding`, when given, is called every few milliseconds of that build, so a program
  // on screen can go on drawing meanwhile.
  explicit Suggester(const WordDatabase& database, std::function<void()> whileBuilding = {});
  ~Suggester();
  Suggester(const Suggester&) = delete;
  Suggester& operator=(const Suggester&) = delete;

  // At most `limit` (and kMaxSuggestions) Windows-1252 words, best first, each once; empty when
  // nothing is near enough. A suggestion may be two or three words separated by spaces. Safe to
  // call from several threads at once.
  std::vector<std::string> Suggest(std::string_view word, std::size_t limit = kMaxSuggestions,
                                   Neighbours neighbours = {}) const;

  // Builds what Suggest needs now (about two seconds and 95 MB for the full database) rather
  // than on the first call; for a caller that would rather do it on a thread of its own.
  // Nothing to build when the database came from a compiled file holding the index.
  void Prepare() const { (void)BuiltIndex(); }

  // The index in the form the compiled word database stores (built first if need be); a
  // suggester over a database loaded with it reads it in place instead of building it.
  std::string StoredIndex() const;

 private:
  struct Index;
  const Index& BuiltIndex() const;

  const WordDatabase& database_;
  std::function<void()> whileBuilding_;
  mutable std::once_flag built_;
  mutable std::unique_ptr<Index> index_;
};

// The stored index over `database` (Suggester(database, pump).StoredIndex()): what a loader that
// compiles a database into the cache folder is given, so the copy carries the index too.
std::string StoredSuggesterIndex(const WordDatabase& database, const std::function<void()>& pump = {});

}  // namespace velmara
