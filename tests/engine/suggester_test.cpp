// Suggestions: a small list built here for the rules that hold whatever the words, and the word
// database the build generates (skipped when absent) for what a Spanish writer gets wrong.

#include "suggest/suggester.h"
#include "suggest/neighbours.h"
#include "support/generated_database.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "checker/characters.h"
#include "checker/encoding.h"

#ifndef VELMARA_MISSPELLINGS
#define VELMARA_MISSPELLINGS ""
#endif

namespace velmara {
namespace {

std::string W(const char* utf8) { return Utf8ToWindows1252(utf8); }

TEST(SuggesterTest, OffersNearWordsFromEveryListInTheCaseWritten) {
  WordDatabase database;
  database.dictionary.Assign({W("cami\u00f3n"), W("camino"), W("ni\u00f1o"), "casa", "cosa", "por", "favor"});
  database.verbs.Assign({W("comi\u00f3"), "como"});
  database.properNames.Assign({"madrid"});
  database.falsePositives.entries.Assign({"wifi"});
  const Suggester suggester(database);

  struct Case {
    const char* written;
    const char* first;
  };
  const Case cases[] = {
      {"camion", "cami\u00f3n"}, {"Camion", "Cami\u00f3n"}, {"CAMION", "CAMI\u00d3N"}, {"comio", "comi\u00f3"},
      {"nino", "ni\u00f1o"},     {"madrd", "Madrid"},       {"MADRID", "MADRID"},      {"wiffi", "wifi"},
      {"porfavor", "por favor"}, {"Porfavor", "Por favor"}, {"PORFABOR", "POR FAVOR"},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> offered = suggester.Suggest(W(c.written));
    ASSERT_FALSE(offered.empty()) << c.written;
    EXPECT_EQ(offered.front(), W(c.first)) << c.written;
  }
  // Nothing near, nothing written, a limit, a text far too long: answers, never a crash.
  EXPECT_TRUE(suggester.Suggest("zzzzqqqq").empty());
  EXPECT_TRUE(suggester.Suggest("").empty());
  EXPECT_EQ(suggester.Suggest("cosa", 1).size(), 1u);
  EXPECT_TRUE(suggester.Suggest(std::string(5000, 'a')).empty());

  // The index is built once, whichever thread asks first.
  std::vector<std::thread> threads;
  std::vector<std::string> firsts(4);
  for (std::size_t t = 0; t < firsts.size(); ++t)
    threads.emplace_back([&, t] { firsts[t] = suggester.Suggest("cassa").at(0); });
  for (std::thread& thread : threads) thread.join();
  for (const std::string& first : firsts) EXPECT_EQ(first, "casa");
}

TEST(SuggesterTest, NeighboursAreTheWordsBesideWithOnlySpacesBetween) {
  TokenList tokens;
  Tokenise("Yo  actuo, bien.\nmal", tokens);
  struct Case {
    std::size_t token;
    const char* before;
    const char* after;
  };
  // Tokens: Yo, ' ', ' ', actuo, ',', ' ', bien, '.', LF, mal.
  const Case cases[] = {{0, "", "actuo"}, {3, "Yo", ""}, {6, "", ""}, {9, "", ""}, {42, "", ""}};
  for (const Case& c : cases) {
    const Neighbours found = NeighboursAt(tokens, c.token);
    EXPECT_EQ(found.before, c.before) << c.token;
    EXPECT_EQ(found.after, c.after) << c.token;
  }
}

class GeneratedSuggesterTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    database_ = velmara::testing::GeneratedDatabase();
    if (database_ != nullptr) suggester_ = new Suggester(*database_);
  }
  static void TearDownTestSuite() {
    delete suggester_;
    suggester_ = nullptr;
  }
  void SetUp() override {
    if (database_ == nullptr) GTEST_SKIP() << "no generated word database at " << VELMARA_GENERATED_DATABASE;
  }

  static const WordDatabase* database_;
  static Suggester* suggester_;
};

const WordDatabase* GeneratedSuggesterTest::database_ = nullptr;
Suggester* GeneratedSuggesterTest::suggester_ = nullptr;

// What a writer expects, kind by kind: the meant text within the first `within` suggestions
// (1: first), every suggestion once.
TEST_F(GeneratedSuggesterTest, OffersWhatTheWriterMeantForEachKindOfError) {
  struct Case {
    const char* kind;
    const char* written;
    const char* meant;
    std::size_t within = 1;
    const char* before = "";
    const char* after = "";
  };
  const Case cases[] = {
      {"typical", "comio", "comi\u00f3"},      {"typical", "nino", "ni\u00f1o"},
      {"typical", "exelente", "excelente"},    {"typical", "manana", "ma\u00f1ana"},
      {"typical", "Camion", "Cami\u00f3n"},    {"typical", "CAMION", "CAMI\u00d3N"},
      {"typical", "abrira", "abrir\u00e1"},    {"typical", "acerquese", "ac\u00e9rquese"},
      {"typical", "bentana", "ventana"},       {"typical", "aber", "haber"},
      {"typical", "yave", "llave"},            {"typical", "kiero", "quiero"},
      {"typical", "pelicla", "pel\u00edcula"}, {"typical", "ciudda", "ciudad"},
      {"typical", "prgrama", "programa"},      {"typical", "informacon", "informaci\u00f3n"},
      {"typical", "dezicion", "decisi\u00f3n"}, {"typical", "Madird", "Madrid"},
      {"run together", "porfavor", "por favor"},   {"run together", "Porfavor", "Por favor"},
      {"run together", "sinembargo", "sin embargo"}, {"run together", "atravez", "a trav\u00e9s"},
      {"run together", "alomejor", "a lo mejor"},  {"run together", "talvez", "tal vez"},
      {"run together", "derepente", "de repente"}, {"run together", "apesar", "a pesar"},
      {"run together", "almenos", "al menos"},     {"run together", "deacuerdo", "de acuerdo"},
      {"run together", "porsupuesto", "por supuesto"}, {"run together", "enfin", "en fin"},
      {"run together", "amenudo", "a menudo"},     {"run together", "alfinal", "al final"},
      {"lost letter", "hobre", "hombre", 5},       {"lost letter", "diero", "dinero", 5},
      {"lost letter", "saemos", "sabemos", 5},     {"lost letter", "cube", "cubre", 5},
      {"lost letter", "biicleta", "bicicleta"},    {"lost letter", "reeticion", "repetici\u00f3n"},
      {"lost letter", "utiidad", "utilidad"},
      {"verb in doubt", "acuerdate", "acu\u00e9rdate"}, {"verb in doubt", "cuentame", "cu\u00e9ntame"},
      {"verb in doubt", "Dimelo", "D\u00edmelo"},
      {"neighbours", "actuo", "act\u00fao", 1, "yo"}, {"neighbours", "confio", "conf\u00edo", 1, "Yo"},
      {"neighbours", "actuo", "actu\u00f3", 1, "\u00e9l"},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> offered = suggester_->Suggest(W(c.written), kMaxSuggestions,
                                                                 {W(c.before), W(c.after)});
    const auto found = std::find(offered.begin(), offered.end(), W(c.meant));
    EXPECT_TRUE(found != offered.end() && std::size_t(found - offered.begin()) < c.within)
        << c.kind << ": " << c.written << " gave " << (offered.empty() ? "nothing" : Windows1252ToUtf8(offered[0]));
    std::set<std::string> once(offered.begin(), offered.end());
    EXPECT_EQ(once.size(), offered.size()) << c.kind << ": " << c.written << " offers a word twice";
  }
}

// The misspellings kept beside the tests: real words of Spanish manual pages, each written with
// an error of one kind, and everyday words run together. A change that makes suggestions worse
// shows here first; the floors sit a little under what the suggester reaches.
TEST_F(GeneratedSuggesterTest, FindsMostMeantWordsOfTheMisspellingSet) {
  struct Floor {
    double first, five;
  };
  const std::map<std::string, Floor> floors = {
      {"tipica", {95.0, 99.0}}, {"tilde", {97.0, 99.0}}, {"perdida", {82.0, 98.0}}, {"juntas", {95.0, 99.0}}};
  std::ifstream in(VELMARA_MISSPELLINGS);
  ASSERT_TRUE(in) << VELMARA_MISSPELLINGS;
  struct Count {
    std::size_t words = 0, first = 0, five = 0;
  };
  std::map<std::string, Count> counts;
  for (std::string line; std::getline(in, line);) {
    const std::size_t a = line.find('\t'), b = line.find('\t', a + 1), c = line.find('\t', b + 1);
    if (b == std::string::npos) continue;
    const std::string meant = LowerCase(Utf8ToWindows1252(line.substr(a + 1, b - a - 1)));
    const std::vector<std::string> offered = suggester_->Suggest(Utf8ToWindows1252(line.substr(0, a)), 5);
    Count& count = counts[c == std::string::npos ? "tipica" : line.substr(c + 1)];
    ++count.words;
    for (std::size_t i = 0; i < offered.size(); ++i) {
      if (LowerCase(offered[i]) != meant) continue;
      count.first += i == 0 ? 1 : 0;
      ++count.five;
    }
  }
  for (const auto& [kind, floor] : floors) {
    const Count& count = counts[kind];
    ASSERT_GT(count.words, 100u) << kind;
    EXPECT_GE(100.0 * double(count.first) / double(count.words), floor.first) << kind;
    EXPECT_GE(100.0 * double(count.five) / double(count.words), floor.five) << kind;
  }
}

}  // namespace
}  // namespace velmara
