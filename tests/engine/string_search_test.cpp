#include "tools/string_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

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

TEST_F(StringSearch, PrefixInEveryList) {
  auto result = RunStringSearch(database, FinderMode::All, "cas");
  ASSERT_TRUE(result.valid);
  // Dictionary words that are not verbs, each verb once, proper names in mixed case.
  EXPECT_EQ(result.entries,
            (Words{" casita ", "cas", "casa", "Casandra", "casar", "casaron", "cas\xE9", "caso"}));
  EXPECT_EQ(result.foundCount, 8u);
  EXPECT_EQ(result.message, "Termine de buscar ...\r\nEncontrados 8 palabras con cas-");
}

TEST_F(StringSearch, ModesSelectTheLists) {
  EXPECT_EQ(RunStringSearch(database, FinderMode::Dictionary, "cas").entries,
            (Words{" casita ", "cas", "casa", "caso"}));  // casar is a verb: never from the Dictionary
  EXPECT_EQ(RunStringSearch(database, FinderMode::Verbs, "cas").entries, (Words{"casar", "casaron", "cas\xE9"}));
  EXPECT_EQ(RunStringSearch(database, FinderMode::ProperNames, "cas").entries, (Words{"Casandra"}));
  auto none = RunStringSearch(database, FinderMode::Verbs, "zzz");
  EXPECT_TRUE(none.valid);
  EXPECT_TRUE(none.entries.empty());
  EXPECT_EQ(none.message, "Termine de buscar ...\r\nEncontrados 0 palabras con zzz-");
}

TEST_F(StringSearch, CapitalsOnlyFindProperNames) {
  auto result = RunStringSearch(database, FinderMode::All, "Cas");
  EXPECT_EQ(result.entries, (Words{"Casandra"}));
  EXPECT_EQ(result.message, "Termine de buscar ...\r\nEncontrados 1 palabras con Cas-");
}

TEST_F(StringSearch, Suffix) {
  auto result = RunStringSearch(database, FinderMode::All, "-ci\xF3n");
  ASSERT_TRUE(result.valid);
  EXPECT_EQ(result.entries, (Words{"Asunci\xF3n", "canci\xF3n"}));
  EXPECT_EQ(result.message, "Termine de buscar ...\r\nEncontrados 2 palabras con -ci\xF3n");
  // The trimmed word stands whole for a suffix as long as itself; a shorter word never matches.
  EXPECT_EQ(RunStringSearch(database, FinderMode::Dictionary, "-casita").entries, (Words{" casita "}));
  EXPECT_EQ(RunStringSearch(database, FinderMode::Dictionary, "-acasa").entries, Words{});
  EXPECT_EQ(RunStringSearch(database, FinderMode::ProperNames, "-IRO").entries, (Words{"San Casimiro"}));
}

TEST_F(StringSearch, LoneMinusListsEveryWord) {
  auto result = RunStringSearch(database, FinderMode::All, "-");
  ASSERT_TRUE(result.valid);
  // 7 Dictionary words that are not verbs, 4 distinct verbs, 4 proper names.
  EXPECT_EQ(result.foundCount, 15u);
  EXPECT_EQ(result.message, "Termine de buscar ...\r\nEncontrados 15 palabras con -");
}

TEST_F(StringSearch, InvalidTextsDoNothing) {
  for (const char* text : {"cas2", "cas a", "ca-s", "--", "-cas-", "\xE0", "cas.", ""}) {
    auto result = RunStringSearch(database, FinderMode::All, text);
    EXPECT_FALSE(result.valid) << text;
    EXPECT_TRUE(result.entries.empty()) << text;
    EXPECT_EQ(result.message, "") << text;
  }
  // Capital letters of the set are valid once lowercased, accented and ñ included.
  EXPECT_TRUE(RunStringSearch(database, FinderMode::All, "\xD1\xC1\xDC").valid);
}

TEST(StringSearchOrder, SpanishCollation) {
  auto database = Database({"cantar", "c\xE1ntaro", "canto", "c\xE1nula", "ca\xF1" "a", "cana", "canal", "papa",
                            "pap\xE1", "cazo", "ca"},
                           {}, {"papa"});
  EXPECT_EQ(RunStringSearch(database, FinderMode::All, "-").entries,
            (Words{"ca", "cana", "canal", "cantar", "c\xE1ntaro", "canto", "c\xE1nula", "ca\xF1" "a", "cazo", "papa",
                   "Papa", "pap\xE1"}));
}

// The same results as the rules written out plainly, without the hash structures.
Words PlainSearch(const WordDatabase& database, const std::string& prefix) {
  auto matches = [&](const std::string& word) { return word.compare(0, prefix.size(), prefix) == 0; };
  Words found;
  for (const auto& word : database.dictionary.Words())
    if (matches(word) && std::find(database.verbs.Words().begin(), database.verbs.Words().end(), word) ==
                             database.verbs.Words().end())
      found.push_back(word);
  Words fromVerbs;
  for (const auto& word : database.verbs.Words())
    if (matches(word) && std::find(fromVerbs.begin(), fromVerbs.end(), word) == fromVerbs.end())
      fromVerbs.push_back(word);
  found.insert(found.end(), fromVerbs.begin(), fromVerbs.end());
  std::sort(found.begin(), found.end());
  return found;
}

TEST(StringSearchOrder, AgreesWithThePlainRules) {
  std::mt19937 random(11);
  auto word = [&] { return std::string(1 + random() % 3, static_cast<char>('a' + random() % 3)); };
  for (int round = 0; round < 20; ++round) {
    Words dictionary, verbs;
    for (int i = 0; i < 60; ++i) dictionary.push_back(word());
    for (int i = 0; i < 60; ++i) verbs.push_back(word());
    auto database = Database(dictionary, verbs, {});
    for (const char* prefix : {"a", "ab", "c"}) {
      auto entries = RunStringSearch(database, FinderMode::All, prefix).entries;
      EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end()));  // plain letters: code order
      EXPECT_EQ(entries, PlainSearch(database, prefix));
    }
  }
}

// A lone "-" lists every word: any per-word scan of the results or of the Verb list would not end.
TEST(StringSearchOrder, EveryWordOfALargeList) {
  constexpr long long N = 200000;
  Words dictionary, verbs;
  dictionary.reserve(N);
  for (long long i = 0; i < N; ++i) dictionary.push_back("p" + std::to_string(i * 7919 % N));
  for (long long i = 0; i < N / 10; ++i) verbs.push_back("p" + std::to_string(i));
  auto database = Database(std::move(dictionary), std::move(verbs), {});
  auto result = RunStringSearch(database, FinderMode::All, "-");
  EXPECT_EQ(result.foundCount, static_cast<std::size_t>(N));
  EXPECT_EQ(result.entries.front(), "p0");
  EXPECT_EQ(result.entries[1], "p1");
  EXPECT_EQ(result.entries[2], "p10");
  EXPECT_EQ(result.entries.back(), "p99999");
}

}  // namespace
}  // namespace velmara
