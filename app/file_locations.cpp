#include "app/file_locations.h"

#include "app/configuration.h"
#include "checker/check_run.h"
#include "tools/colour_swatch.h"
#include "tools/colours_file.h"
#include "worddb/word_database.h"

namespace velmara {

FileLocations ProgramFolderLocations(const std::filesystem::path& programFolder) {
  FileLocations locations;
  locations.programFolder = programFolder;
  locations.databaseFolder = WordDatabaseFolder(programFolder);
  locations.configurationFile = programFolder / kConfigurationFile;
  locations.coloursFile = programFolder / kColoursFile;
  locations.intellisenseFile = locations.databaseFolder / kIntellisenseFile;
  locations.userWordsFile = locations.databaseFolder / kUserWordsFile;
  locations.traceFile = programFolder / kTraceFile;
  locations.swatchFile = programFolder / kSwatchFile;
  return locations;
}

}  // namespace velmara
