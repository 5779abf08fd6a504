#include "tools/string_search.h"

#include <gtest/gtest.h>

namespace velmara {
namespace {

using Words = std::vector<std::string>;

WordDatabase Database(Words dictionary, Words verbs, Words properNames) {
  WordDatabase database;
  database.dictionary.Assign(std::move(dictionary));
  database.verbs.Assign(std::move(verbs));
  database.properNames.Assign(std::move(properNames));
  return database;
}

class StringSearch : public ::testing::Test {
 protected:
  WordDatabase database = Database({"casa", "caso", "cantar", "cas", "ca", "casar", " casita ", "canci\xF3n", "acaso"},
                                   {"casar", "cas\xE9", "casar", "cantar", "casar", "casaron"},
                                   {"casandra", "san casimiro", "cartagena", "asunci\xF3n"});
};

// Each search: the mode, the text, the words found and, where given, the message. A prefix lists
// the dictionary words that are not verbs (casar is a verb: never listed from the dictionary),
// each verb once, and proper names in mixed case; a capital matches only proper names. A suffix
// as long as a trimmed word stands for it whole; a shorter word never matches.
TEST_F(StringSearch, PrefixesAndSuffixesInEachMode) {
  const struct {
    FinderMode mode;
    const char* text;
    Words entries;
    const char* message;
  } cases[] = {
      {FinderMode::All, "cas", {" casita ", "cas", "casa", "Casandra", "casar", "casaron", "cas\xE9", "caso"},
       "Termine de buscar ...\r\nEncontrados 8 palabras con cas-"},
      {FinderMode::Dictionary, "cas", {" casita ", "cas", "casa", "caso"}, nullptr},
      {FinderMode::Verbs, "cas", {"casar", "casaron", "cas\xE9"}, nullptr},
      {FinderMode::ProperNames, "cas", {"Casandra"}, nullptr},
      {FinderMode::All, "Cas", {"Casandra"}, "Termine de buscar ...\r\nEncontrados 1 palabras con Cas-"},
      {FinderMode::Verbs, "zzz", {}, "Termine de buscar ...\r\nEncontrados 0 palabras con zzz-"},
      {FinderMode::All, "-ci\xF3n", {"Asunci\xF3n", "canci\xF3n"}, "Termine de buscar ...\r\nEncontrados 2 palabras con -ci\xF3n"},
      {FinderMode::Dictionary, "-casita", {" casita "}, nullptr},
      {FinderMode::Dictionary, "-acasa", {}, nullptr},
      {FinderMode::ProperNames, "-IRO", {"San Casimiro"}, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto result = RunStringSearch(database, c.mode, c.text);
    EXPECT_TRUE(result.valid);
    EXPECT_EQ(result.entries, c.entries);
    EXPECT_EQ(result.foundCount, c.entries.size());
    if (c.message) {
      EXPECT_EQ(result.message, c.message);
    }
  }
  // A lone "-": 7 Dictionary words that are not verbs, 4 distinct verbs, 4 proper names.
  auto every = RunStringSearch(database, FinderMode::All, "-");
  EXPECT_EQ(every.foundCount, 15u);
  EXPECT_EQ(every.message, "Termine de buscar ...\r\nEncontrados 15 palabras con -");
}

TEST_F(StringSearch, InvalidTextsDoNothing) {
  for (const char* text : {"cas2", "cas a", "ca-s", "--", "-cas-", "\xE0", ""}) {
    auto result = RunStringSearch(database, FinderMode::All, text);
    EXPECT_FALSE(result.valid) << text;
    EXPECT_TRUE(result.entries.empty() && result.message.empty()) << text;
  }
  EXPECT_TRUE(RunStringSearch(database, FinderMode::All, "\xD1\xC1\xDC").valid);  // ÑÁÜ lowercase into the set
}

TEST(StringSearchOrder, SpanishCollation) {
  auto database = Database({"cantar", "c\xE1ntaro", "canto", "c\xE1nula", "ca\xF1" "a", "cana", "canal", "papa",
                            "pap\xE1", "cazo", "ca"},
                           {}, {"papa"});
  EXPECT_EQ(RunStringSearch(database, FinderMode::All, "-").entries,
            (Words{"ca", "cana", "canal", "cantar", "c\xE1ntaro", "canto", "c\xE1nula", "ca\xF1" "a", "cazo", "papa",
                   "Papa", "pap\xE1"}));
}

// A lone "-" lists every word: any per-word scan of the results or of the Verb list would not end.
TEST(StringSearchOrder, EveryWordOfALargeList) {
  constexpr long long N = 200000;
  Words dictionary, verbs;
  for (long long i = 0; i < N; ++i) dictionary.push_back("p" + std::to_string(i * 7919 % N));
  for (long long i = 0; i < N / 10; ++i) verbs.push_back("p" + std::to_string(i));
  auto result = RunStringSearch(Database(std::move(dictionary), std::move(verbs), {}), FinderMode::All, "-");
  EXPECT_EQ(result.foundCount, static_cast<std::size_t>(N));
  EXPECT_EQ(Words(result.entries.begin(), result.entries.begin() + 3), (Words{"p0", "p1", "p10"}));
  EXPECT_EQ(result.entries.back(), "p99999");
}

}  // namespace
}  // namespace velmara
