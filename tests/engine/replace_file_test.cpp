#include "tools/replace_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/test_folder.h"

namespace velmara {
namespace {

using testing::TestFolder;

mode_t ModeOf(const std::filesystem::path& path) {
  struct stat status {};
  EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
  return status.st_mode & 07777;
}

// The content is never, not even for a moment, readable by more people than the file it replaces.
TEST(ReplaceFile, TheTemporaryFileIsNeverWiderThanTheFileItReplaces) {
  TestFolder folder;
  const mode_t oldMask = ::umask(0);
  struct Seen {
    std::filesystem::path temporary;
    mode_t mode = 0;
  } seen;
  replaceFileWrittenHook = [&seen](const std::filesystem::path& temporary) {
    seen = {temporary, ModeOf(temporary)};
  };
  for (mode_t mode : {mode_t{0600}, mode_t{0400}, mode_t{0640}, mode_t{0644}}) {
    const auto file = folder.Write("privado.ini", "viejo");
    ASSERT_EQ(::chmod(file.c_str(), mode), 0);
    std::error_code error;
    ASSERT_TRUE(ReplaceFileContent(file, "nuevo", error)) << error.message();
    EXPECT_EQ(seen.temporary.parent_path(), folder.path());
    EXPECT_EQ(seen.mode & ~mode & 0777, 0u) << std::oct << "temporary " << seen.mode << " for a file of " << mode;
    EXPECT_EQ(seen.mode & 0077, 0u) << std::oct << "temporary " << seen.mode;
    EXPECT_EQ(ModeOf(file), mode);
    EXPECT_EQ(folder.Read("privado.ini"), "nuevo");
    EXPECT_FALSE(std::filesystem::exists(seen.temporary));
    ::chmod(file.c_str(), 0600);
  }
  // A new file is made with the mode of any file the program creates.
  std::error_code error;
  ASSERT_TRUE(ReplaceFileContent(folder.path() / "nuevo.ini", "x", error));
  EXPECT_EQ(ModeOf(folder.path() / "nuevo.ini"), 0644u);
  replaceFileWrittenHook = nullptr;
  ::umask(oldMask);
}

}  // namespace
}  // namespace velmara
