// The whole-file writer over any old and new content and any permissions of the old file: the
// file ends holding exactly the new bytes with the old file's permissions, and nothing else is
// left in the folder.

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "fuzz_support.h"
#include "tools/replace_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmara;
  namespace fs = std::filesystem;
  if (size < 3) return 0;
  // Two bytes of permissions (owner read and write kept, so the test can read the file back), then
  // the old and the new content around the first zero byte.
  const mode_t mode = static_cast<mode_t>(((data[0] << 8) | data[1]) & 0777) | 0600;
  const std::string_view rest = fuzz::AsText(data + 2, size - 2);
  const std::size_t split = rest.find('\0');
  const std::string_view before = rest.substr(0, split);
  const std::string_view after = split == std::string_view::npos ? std::string_view{} : rest.substr(split + 1);

  const fs::path folder = fuzz::TemporaryFolder() / "replace";
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  fs::create_directories(folder);
  const fs::path file = folder / "Configuracion.ini";
  const bool existed = !before.empty();
  if (existed) {
    fuzz::WriteFile(file, before);
    FUZZ_CHECK(::chmod(file.c_str(), mode) == 0);
  }
  std::error_code error;
  FUZZ_CHECK(ReplaceFileContent(file, after, error));
  FUZZ_CHECK(fuzz::ReadFile(file) == after);
  struct stat status {};
  FUZZ_CHECK(::stat(file.c_str(), &status) == 0);
  if (existed) FUZZ_CHECK((status.st_mode & 07777) == mode);
  std::size_t entries = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    (void)entry;
    ++entries;
  }
  FUZZ_CHECK(entries == 1);
  return 0;
}
