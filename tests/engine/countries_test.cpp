#include "worddb/countries.h"

#include <gtest/gtest.h>

#include "app/country_choice.h"
#include "support/fixture_database.h"
#include "support/test_folder.h"

namespace velmara {
namespace {

using testing::TestFolder;

// One entry of a difference file: kind, shared bytes, then the rest of the word.
std::string Entry(char kind, int shared, std::string_view rest) {
  return std::string{kind, static_cast<char>(shared), static_cast<char>(rest.size())} + std::string(rest);
}

std::vector<std::string> Words(const WordList& list) {
  std::vector<std::string> words;
  for (std::size_t i = 1; i <= list.Count(); ++i) words.emplace_back(list.At(i));
  return words;
}

TEST(CountryDifferences, ReadsFrontCodedWordsAndRefusesDamage) {
  TestFolder folder;
  const std::string magic = kDifferencesMagic;
  const std::string good = magic + Entry('-', 0, "hab\xE1is") + Entry('-', 3, "l\xE1is") + Entry('+', 0, "fr\xEDjol");
  WordDifferences read;
  ASSERT_TRUE(ReadWordDifferences(folder.Write("good.dif", good), read));
  EXPECT_EQ(read.removed, (std::vector<std::string>{"hab\xE1is", "habl\xE1is"}));
  EXPECT_EQ(read.added, (std::vector<std::string>{"fr\xEDjol"}));
  ASSERT_TRUE(ReadWordDifferences(folder.Write("empty.dif", magic), read));
  EXPECT_TRUE(read.removed.empty() && read.added.empty());

  const struct {
    const char* what;
    std::string bytes;
  } damaged[] = {
      {"another format", "VELMARA-DIF 2\n" + Entry('-', 0, "a")},
      {"a truncated entry", magic + Entry('-', 0, "casa").substr(0, 5)},
      {"a truncated header", magic + "-"},
      {"an unknown kind", magic + Entry('*', 0, "casa")},
      {"a removal after the additions", magic + Entry('+', 0, "a") + Entry('-', 0, "b")},
      {"more shared than the word before", magic + Entry('-', 0, "ab") + Entry('-', 3, "c")},
      {"an empty word", magic + Entry('-', 0, "")},
      {"a word longer than a record", magic + Entry('+', 0, std::string(41, 'a'))},
  };
  for (const auto& file : damaged) {
    EXPECT_FALSE(ReadWordDifferences(folder.Write("bad.dif", file.bytes), read)) << file.what;
  }
  EXPECT_FALSE(ReadWordDifferences(folder.path() / "missing.dif", read));
}

TEST(CountryDifferences, ApplyingThemRemovesInAnyOrderAndKeepsTheListSorted) {
  std::vector<std::string> words{"a", "b", "c", "e"};
  ApplyWordDifferences({{"a", "c"}, {"d", "f"}}, words);
  EXPECT_EQ(words, (std::vector<std::string>{"b", "d", "e", "f"}));
  words = {"a", "b", "c", "e"};
  ApplyWordDifferences({{"e", "a"}, {}}, words);  // not in the list's order
  EXPECT_EQ(words, (std::vector<std::string>{"b", "c"}));
}

TEST(CountryDifferences, LoadedCountryIsTheBaseWithItsDifferences) {
  TestFolder folder;
  const auto base = folder.path() / "palabrasbd";
  testing::WriteFixtureDatabase(base, {"casa", "ordenador", "perro"}, {"hab\xE1is", "hablar", "ten\xE9is"},
                                {"madrid"}, {"wifi"});
  folder.Write("palabrasbd/pais.txt", "es_ES\n");
  const std::string magic = kDifferencesMagic;
  folder.Write("paises/es_MX/diccionario.dif", magic + Entry('+', 0, "computadora"));
  folder.Write("paises/es_MX/verbos.dif", magic + Entry('-', 0, "hab\xE1is") + Entry('-', 0, "ten\xE9is"));
  folder.Write("paises/es_MX/npropios.dif", magic + Entry('-', 0, "madrid") + Entry('+', 0, "jalisco"));
  folder.Write("paises/es_MX/Falsos Positivos.txt", "guey\r\n");
  // Damaged: offered (its files are there) but its list is refused when loaded.
  for (const char* name : {"diccionario.dif", "verbos.dif", "npropios.dif", "Falsos Positivos.txt"})
    folder.Write(std::string("paises/es_AR/") + name, "roto");
  // Incomplete: not offered.
  folder.Write("paises/es_CL/verbos.dif", magic);

  EXPECT_EQ(InstalledCountries(base), (std::vector<std::string>{"es_ES", "es_AR", "es_MX"}));
  LoadHooks hooks;
  WordDatabase mexico;
  ASSERT_TRUE(LoadCountryDatabase(base, *CountryDifferencesFolder(base, "es_MX"), mexico, hooks));
  EXPECT_EQ(Words(mexico.dictionary), (std::vector<std::string>{"casa", "computadora", "ordenador", "perro"}));
  EXPECT_EQ(Words(mexico.verbs), (std::vector<std::string>{"hablar"}));
  EXPECT_EQ(Words(mexico.properNames), (std::vector<std::string>{"jalisco"}));
  EXPECT_EQ(mexico.falsePositives.entries.At(1), "guey");

  WordDatabase argentina;
  EXPECT_FALSE(LoadCountryDatabase(base, *CountryDifferencesFolder(base, "es_AR"), argentina, hooks));
  EXPECT_EQ(argentina.verbs.Count(), 3u) << "a refused difference leaves the base's list";

  // The choice: the command line, then the environment, then the configuration, then the base.
  const Environment none = [](const char*) { return std::optional<std::string>(); };
  const Environment mexicanEnvironment = [](const char* name) {
    return std::string_view(name) == kCountryVariable ? std::optional<std::string>("es-mx") : std::nullopt;
  };
  Settings stored;
  stored.Pais = "es_MX";
  Settings removed;
  removed.Pais = "es_CL";
  const struct {
    std::optional<std::string> requested;
    const Environment* environment;
    const Settings* settings;
    const char* country;  // nullptr: an error
  } choices[] = {
      {std::nullopt, &none, &removed, "es_ES"},  // a stored country no longer installed gives way
      {std::nullopt, &none, &stored, "es_MX"},
      {std::nullopt, &mexicanEnvironment, &removed, "es_MX"},
      {"es_ES", &mexicanEnvironment, &stored, "es_ES"},
      {"ES-mx", &none, &removed, "es_MX"},
      {"es_CL", &none, &stored, nullptr},
      {"fr_FR", &none, &stored, nullptr},
  };
  for (const auto& choice : choices) {
    const CountryChoice chosen = ChooseCountry(base, choice.requested, *choice.environment, *choice.settings);
    if (choice.country == nullptr) {
      EXPECT_NE(chosen.error.find("installed: es_ES es_AR es_MX"), std::string::npos) << chosen.error;
      continue;
    }
    EXPECT_EQ(chosen.error, "");
    EXPECT_EQ(chosen.country, choice.country) << choice.requested.value_or("-");
    EXPECT_EQ(chosen.differences.empty(), std::string_view(choice.country) == "es_ES");
  }
}

}  // namespace
}  // namespace velmara
