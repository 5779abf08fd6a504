// Suggestions: a small list built here for the rules that hold whatever the words, and the word
// database the build generates (skipped when absent) for what a Spanish writer gets wrong.

#include "suggest/suggester.h"
#include "support/generated_database.h"

#include <gtest/gtest.h>

#include <fstream>
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
  database.dictionary.Assign({W("cami\u00f3n"), W("camino"), W("ni\u00f1o"), "casa", "cosa"});
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

TEST_F(GeneratedSuggesterTest, PutsTheMeantWordFirstForTypicalErrors) {
  const std::pair<const char*, const char*> cases[] = {
      {"comio", "comi\u00f3"},          {"nino", "ni\u00f1o"},         {"exelente", "excelente"},
      {"manana", "ma\u00f1ana"},        {"Camion", "Cami\u00f3n"},     {"CAMION", "CAMI\u00d3N"},
      {"abrira", "abrir\u00e1"},        {"acerquese", "ac\u00e9rquese"}, {"bentana", "ventana"},
      {"aber", "haber"},                {"yave", "llave"},             {"kiero", "quiero"},
      {"pelicla", "pel\u00edcula"},     {"ciudda", "ciudad"},          {"prgrama", "programa"},
      {"informacon", "informaci\u00f3n"}, {"dezicion", "decisi\u00f3n"}, {"Madird", "Madrid"},
  };
  for (const auto& [written, meant] : cases) {
    const std::vector<std::string> offered = suggester_->Suggest(W(written));
    ASSERT_FALSE(offered.empty()) << written;
    EXPECT_EQ(Windows1252ToUtf8(offered.front()), meant) << written;
  }
}

// The misspellings kept beside the tests: real words of Spanish manual pages, each written with
// a typical error. A change that makes suggestions worse shows here first.
TEST_F(GeneratedSuggesterTest, FindsMostMeantWordsOfTheMisspellingSet) {
  std::ifstream in(VELMARA_MISSPELLINGS);
  ASSERT_TRUE(in) << VELMARA_MISSPELLINGS;
  std::size_t words = 0, first = 0, five = 0;
  for (std::string line; std::getline(in, line);) {
    const std::size_t a = line.find('\t'), b = line.find('\t', a + 1);
    if (b == std::string::npos) continue;
    const std::string meant = Utf8ToWindows1252(line.substr(a + 1, b - a - 1));
    const std::vector<std::string> offered = suggester_->Suggest(Utf8ToWindows1252(line.substr(0, a)), 5);
    ++words;
    for (std::size_t i = 0; i < offered.size(); ++i) {
      if (LowerCase(offered[i]) != meant) continue;
      first += i == 0 ? 1 : 0;
      ++five;
    }
  }
  ASSERT_GT(words, 1000u);
  EXPECT_GE(100.0 * double(first) / double(words), 88.0);
  EXPECT_GE(100.0 * double(five) / double(words), 95.0);
}

}  // namespace
}  // namespace velmara
