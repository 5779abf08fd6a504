#pragma once
// The word database the build generates (about a million words), loaded once for every test of
// the binary that reads it. Null where the build made none; tests then skip.

#include <filesystem>
#include <memory>

#include "worddb/word_database.h"

#ifndef VELMARA_GENERATED_DATABASE
#define VELMARA_GENERATED_DATABASE ""
#endif

namespace velmara::testing {

inline const WordDatabase* GeneratedDatabase() {
  static const std::unique_ptr<WordDatabase> database = [] {
    const std::filesystem::path folder = VELMARA_GENERATED_DATABASE;
    if (folder.empty() || !CheckWordDatabasePresent(folder)) return std::unique_ptr<WordDatabase>();
    auto loaded = std::make_unique<WordDatabase>();
    LoadHooks hooks;
    LoadWordDatabase(folder, *loaded, hooks);
    return loaded;
  }();
  return database.get();
}

}  // namespace velmara::testing
