// The Enchant provider loaded as Enchant loads it (dlopen, init_enchant_provider), used as a GTK
// program uses it: several dictionaries at once on several threads, each call's answer the same
// as on one thread, a replacement stored only while Intellisense is on.

#include <dlfcn.h>
#include <enchant-provider.h>
#include <glib.h>
#include <stdlib.h>

#include <cstring>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/fixture_database.h"
#include "support/test_folder.h"

namespace {

using velmara::testing::TestFolder;

struct Answer {
  int verdict;
  std::vector<std::string> offered;
  bool operator==(const Answer&) const = default;
};

Answer Ask(EnchantDict* dict, const std::string& word) {
  Answer answer{dict->check(dict, word.data(), word.size()), {}};
  size_t count = 0;
  char** offered = dict->suggest(dict, word.data(), word.size(), &count);
  for (size_t i = 0; i < count; ++i) answer.offered.emplace_back(offered[i]);
  g_strfreev(offered);
  return answer;
}

class Module : public testing::Test {
 protected:
  void SetUp() override {
    velmara::testing::WriteFixtureDatabase(folder_.path() / "palabrasbd",
                                           {"hola", "cami\xF3n", "camino", "excelente", "casa", "ordenador"},
                                           {"lleg\xF3"}, {"madrid"}, {"wifi"});
    // Mexico: the base's words without "ordenador", with "computadora".
    const std::string magic = "VELMARA-DIF 1\n";
    auto entry = [](char kind, std::string_view word) {
      return std::string{kind, '\0', static_cast<char>(word.size())} + std::string(word);
    };
    folder_.Write("paises/es_MX/diccionario.dif", magic + entry('-', "ordenador") + entry('+', "computadora"));
    for (const char* name : {"verbos.dif", "npropios.dif", "Falsos Positivos.txt"})
      folder_.Write(std::string("paises/es_MX/") + name, name[0] == 'F' ? "" : magic);
    setenv("VELMARA_DB", (folder_.path() / "palabrasbd").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder_.path() / "config").c_str(), 1);
    setenv("XDG_CACHE_HOME", (folder_.path() / "cache").c_str(), 1);
    module_ = dlopen(VELMARA_ENCHANT_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module_, nullptr) << dlerror();
    auto init = reinterpret_cast<EnchantProvider* (*)()>(dlsym(module_, "init_enchant_provider"));
    ASSERT_NE(init, nullptr);
    provider_ = init();
    ASSERT_NE(provider_, nullptr);
  }
  void TearDown() override {
    if (provider_ != nullptr) provider_->dispose(provider_);
    if (module_ != nullptr) dlclose(module_);
    unsetenv("VELMARA_DB");
    unsetenv("VELMARA_COUNTRY");
  }
  EnchantDict* Dict(const char* tag) { return provider_->request_dict(provider_, tag); }

  TestFolder folder_;
  void* module_ = nullptr;
  EnchantProvider* provider_ = nullptr;
};

TEST_F(Module, DictionariesAndThreadsAtOnceAnswerAsOneDoes) {
  EXPECT_EQ(Dict("fr"), nullptr);
  EnchantDict* dicts[] = {Dict("es"), Dict("es"), Dict(VELMARA_COUNTRY)};
  for (EnchantDict* dict : dicts) ASSERT_NE(dict, nullptr);

  const std::vector<std::string> words = {"hola", "camion", "Camion", "exelente", "xyzzyq", "lleg\xC3\xB3", "wifi",
                                          "\xC5\x81\xC3\xB3" "d\xC5\xBA", "HOLA"};
  std::vector<Answer> alone;
  for (const std::string& word : words) alone.push_back(Ask(dicts[0], word));
  EXPECT_EQ(alone[0], (Answer{0, alone[0].offered}));
  EXPECT_EQ(alone[1].verdict, 1);
  ASSERT_FALSE(alone[1].offered.empty());
  EXPECT_EQ(alone[1].offered[0], "cami\xC3\xB3n");  // our correction first, in UTF-8
  EXPECT_EQ(alone[2].offered[0], "Cami\xC3\xB3n");
  EXPECT_EQ(alone[3].offered[0], "excelente");
  EXPECT_EQ(alone[4].verdict, 1);
  EXPECT_EQ(alone[5].verdict, 0);
  EXPECT_EQ(alone[6].verdict, 0);
  EXPECT_EQ(alone[7].verdict, 1);  // a character no list holds

  std::vector<std::thread> threads;
  std::vector<int> wrong(6, 0);
  for (int t = 0; t < 6; ++t) {
    threads.emplace_back([&, t] {
      EnchantDict* dict = dicts[t % 3];
      for (int round = 0; round < 30; ++round)
        for (std::size_t k = 0; k < words.size(); ++k)
          if (!(Ask(dict, words[k]) == alone[k])) ++wrong[t];
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < 6; ++t) EXPECT_EQ(wrong[t], 0) << "thread " << t;

  // The user's list takes a word for every dictionary, characters outside Windows-1252 kept.
  const std::string city = "\xC5\x81\xC3\xB3" "d\xC5\xBA";
  dicts[0]->add_to_personal(dicts[0], city.data(), city.size());
  EXPECT_EQ(dicts[2]->check(dicts[2], city.data(), city.size()), 0);
  EXPECT_EQ(folder_.Read("palabrasbd/Palabras del usuario.txt"), city + "\n");
  const std::string word = "tuiteo";
  dicts[1]->add_to_session(dicts[1], word.data(), word.size());
  EXPECT_EQ(dicts[1]->check(dicts[1], word.data(), word.size()), 0);
  EXPECT_EQ(dicts[0]->check(dicts[0], word.data(), word.size()), 1);

  // Intellisense is off: a chosen replacement is not stored.
  dicts[0]->store_replacement(dicts[0], "exelente", 8, "excelente", 9);
  EXPECT_FALSE(std::filesystem::exists(folder_.path() / "palabrasbd/Intellisense.txt"));
  for (EnchantDict* dict : dicts) provider_->dispose_dict(provider_, dict);
}

// Every installed country is a dictionary of its own words; "es" is the country the user chose;
// the user's words are every country's.
TEST_F(Module, EachCountryChecksWithItsOwnWords) {
  size_t count = 0;
  char** tags = provider_->list_dicts(provider_, &count);
  std::vector<std::string> listed(tags, tags + count);
  g_strfreev(tags);
  EXPECT_EQ(listed, (std::vector<std::string>{"es", "es_ES", "es_MX"}));
  EXPECT_EQ(provider_->dictionary_exists(provider_, "es_MX"), 1);
  EXPECT_EQ(provider_->dictionary_exists(provider_, "es_AR"), 0);
  EXPECT_EQ(Dict("es_AR"), nullptr);

  EnchantDict* spain = Dict("es_ES");
  EnchantDict* mexico = Dict("es-MX");
  setenv("VELMARA_COUNTRY", "es_MX", 1);
  EnchantDict* chosen = Dict("es");
  const struct {
    EnchantDict* dict;
    const char* word;
    int verdict;
  } cases[] = {
      {spain, "ordenador", 0}, {spain, "computadora", 1}, {mexico, "computadora", 0},
      {mexico, "ordenador", 1}, {chosen, "computadora", 0}, {mexico, "camino", 0},
  };
  for (const auto& c : cases) {
    ASSERT_NE(c.dict, nullptr);
    EXPECT_EQ(c.dict->check(c.dict, c.word, std::strlen(c.word)), c.verdict) << c.word;
  }
  const std::string word = "tuitero";
  spain->add_to_personal(spain, word.data(), word.size());
  EXPECT_EQ(mexico->check(mexico, word.data(), word.size()), 0);
  for (EnchantDict* dict : {spain, mexico, chosen}) provider_->dispose_dict(provider_, dict);
}

TEST_F(Module, NoDatabaseNoDictionary) {
  setenv("VELMARA_DB", (folder_.path() / "nada").c_str(), 1);
  EXPECT_EQ(provider_->dictionary_exists(provider_, "es"), 0);
  size_t count = 7;
  EXPECT_EQ(provider_->list_dicts(provider_, &count), nullptr);
  EXPECT_EQ(count, 0u);
}

}  // namespace
