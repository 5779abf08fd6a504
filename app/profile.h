#pragma once
// A small INI reader and writer: section and key names match without regard to case, a missing
// file or key gives the default, and writing keeps every other line of the file as it was.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace velmara {

// One reading of a whole file, for several keys: a large file is read and split once.
class ProfileFile {
 public:
  // A missing or unreadable file gives every key its default.
  static ProfileFile Read(const std::filesystem::path& file);
  std::string Get(std::string_view section, std::string_view key, std::string_view defaultValue) const;

  ProfileFile();
  ProfileFile(ProfileFile&&) noexcept;
  ProfileFile& operator=(ProfileFile&&) noexcept;
  ~ProfileFile();

 private:
  struct Content;
  std::unique_ptr<Content> content_;
};

std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    const std::filesystem::path& file);

// Creates the file and the section when missing. Returns false when the file could not be written.
bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               const std::filesystem::path& file);

struct ProfileEntry {
  std::string_view section;
  std::string_view key;
  std::string_view value;
};

// Writes several keys in one rewrite of the file, with the same result as writing them one by one.
bool WritePrivateProfileStrings(std::span<const ProfileEntry> entries, const std::filesystem::path& file);

// The leading decimal number of a text ("-12abc" gives -12; no number gives 0), as a 32-bit value.
std::int32_t LeadingNumber(std::string_view text);

}  // namespace velmara
