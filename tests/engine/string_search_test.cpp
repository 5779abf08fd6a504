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

TEST_F(StringSearch, PrefixInEveryList) {
  auto result = RunStringSearch(database, FinderMode::All, "cas");
  ASSERT_TRUE(result.valid);
  // Dictionary words that are not verbs, each verb once, proper names in mixed case.
  EXPECT_EQ(result.entries, (Words{" casita ", "cas", "casa", "Casandra", "casar", "casaron", "cas\xE9", "caso"}));
  EXPECT_EQ(result.foundCount, 8u);
  EXPECT_EQ(result.message, "Termine de buscar ...\r\nEncontrados 8 palabras con cas-");
}

TEST_F(StringSearch, ModesAndCapitals) {
  // casar is a verb: never listed from the Dictionary.
  EXPECT_EQ(RunStringSearch(database, FinderMode::Dictionary, "cas").entries,
            (Words{" casita ", "cas", "casa", "caso"}));
  EXPECT_EQ(RunStringSearch(database, FinderMode::Verbs, "cas").entries, (Words{"casar", "casaron", "cas\xE9"}));
  EXPECT_EQ(RunStringSearch(database, FinderMode::ProperNames, "cas").entries, (Words{"Casandra"}));
  // A capital matches no Dictionary or Verb word, only proper names.
  auto capital = RunStringSearch(database, FinderMode::All, "Cas");
  EXPECT_EQ(capital.entries, (Words{"Casandra"}));
  EXPECT_EQ(capital.message, "Termine de buscar ...\r\nEncontrados 1 palabras con Cas-");
  EXPECT_EQ(RunStringSearch(database, FinderMode::Verbs, "zzz").message,
            "Termine de buscar ...\r\nEncontrados 0 palabras con zzz-");
}

TEST_F(StringSearch, Suffix) {
  auto result = RunStringSearch(database, FinderMode::All, "-ci\xF3n");
  EXPECT_EQ(result.entries, (Words{"Asunci\xF3n", "canci\xF3n"}));
  EXPECT_EQ(result.message, "Termine de buscar ...\r\nEncontrados 2 palabras con -ci\xF3n");
  // The trimmed word stands whole for a suffix as long as itself; a shorter word never matches.
  EXPECT_EQ(RunStringSearch(database, FinderMode::Dictionary, "-casita").entries, (Words{" casita "}));
  EXPECT_EQ(RunStringSearch(database, FinderMode::Dictionary, "-acasa").entries, Words{});
  EXPECT_EQ(RunStringSearch(database, FinderMode::ProperNames, "-IRO").entries, (Words{"San Casimiro"}));
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
