#pragma once
// A load of the word database whose lists are changed after they are read and before they are
// indexed: how another country's lists differ from the base's (worddb/countries.h), applied with
// one index and no second copy of a list.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "worddb/word_database.h"

namespace velmara {

// Changes the words of one list, named by its file. False when it could not (its message shown);
// the list then keeps the words as read.
using WordListEdit = std::function<bool(const std::string& fileName, std::vector<std::string>& words)>;

// LoadRecordFiles with `edit` applied to each list; false also when an edit failed.
bool LoadEditedRecordFiles(const std::filesystem::path& databaseFolder, WordDatabase& database, LoadHooks& hooks,
                           const WordListEdit& edit);

// The same for a folder that holds its compiled file alone (CompiledAlone): the lists are copied
// out of it and changed, and its false positives kept. False, with the loader's message, when the
// compiled file cannot be trusted; `verifiedNote` as for UseCompiledDatabase.
bool LoadEditedCompiledLists(const std::filesystem::path& databaseFolder, WordDatabase& database, LoadHooks& hooks,
                             const WordListEdit& edit, const std::filesystem::path& verifiedNote = {});

}  // namespace velmara
