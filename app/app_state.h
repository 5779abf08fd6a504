#pragma once
// Everything the program keeps for the whole run, one instance in the program. Each test builds
// its own.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/configuration.h"
#include "app/file_locations.h"
#include "checker/check_state.h"
#include "suggest/suggester.h"
#include "tools/string_search.h"
#include "worddb/word_database.h"

namespace velmara {

// Sets a flag for a scope and clears it however the scope is left.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

struct AppState {
  std::filesystem::path programFolder;  // the folder of the executable
  // Where the data files live; without it, everything in the program folder.
  std::optional<FileLocations> locations;
  Settings settings;
  WordDatabase database;
  std::string country;  // whose words `database` holds (es_MX)
  // Loads the database again for the country chosen in the settings, the suggester with it; set
  // by the running program.
  std::function<void()> reloadDatabase;
  CheckState check;

  bool busy = false;         // a guarded menu command is running
  bool optionsBusy = false;  // the options dialog is open
  bool checking = false;     // a check run is in progress
  // The word database is loading: the screen is drawn meanwhile, but nothing reads the lists
  // (no check, no suggestion, no guarded command) until they are whole.
  bool loading = false;
  bool exportEnabled = false;

  FinderMode finderMode = FinderMode::All;

  // The suggestions dialog, as the string finder sees it: whether it is open, and how to put a
  // picked word into its replacement box (set only while it is open). The selected missing word
  // survives the dialog: it is cleared only once an entry has been added.
  bool suggestionsOpen = false;
  std::function<void(const std::string&)> setSuggestionReplacement;
  std::string suggestionWord;

  // Suggestions for a word, best first, in the word's case pattern, with the words written
  // beside it where they are known; the program plugs in the suggester over the loaded
  // database, and tests a source of their own. Unset: none.
  std::function<std::vector<std::string>(std::string_view, Neighbours)> suggest;
  std::vector<std::string> Suggestions(std::string_view word, Neighbours neighbours = {}) const {
    return suggest && !loading ? suggest(word, neighbours) : std::vector<std::string>();
  }

  std::filesystem::path lastExportFolder;  // folder, name and file type of the last export
  std::string lastExportName;
  std::string lastExportFilter;

  std::uint32_t selectedColour = 0;  // chosen in the favourite colours, 0x00BBGGRR
  std::array<std::uint32_t, 16> customColours{};

  FileLocations Files() const { return locations ? *locations : ProgramFolderLocations(programFolder); }
  std::filesystem::path DatabaseFolder() const { return Files().databaseFolder; }
  std::filesystem::path IntellisensePath() const { return Files().intellisenseFile; }
};

}  // namespace velmara
