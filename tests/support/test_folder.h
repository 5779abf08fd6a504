#pragma once
// A fresh temporary folder per test, removed when the test ends.

#include <filesystem>
#include <string>
#include <string_view>

namespace velmara::testing {

class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Writes bytes to a file below the folder (creating folders) and returns its path.
  std::filesystem::path Write(const std::filesystem::path& relative, std::string_view bytes) const;
  std::string Read(const std::filesystem::path& relative) const;

 private:
  std::filesystem::path path_;
};

}  // namespace velmara::testing
