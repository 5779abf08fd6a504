#pragma once
// Reading a whole data file without ever throwing: a read error (a folder, a device that fails,
// a file we may not read) gives no content at all, as a missing file does.

#include <filesystem>
#include <optional>
#include <string>

namespace velmara {

// The whole content of a regular file, or nothing when the path is missing, not a regular file
// (a folder, a pipe, a device) or fails to read at any point. Symbolic links are followed.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

}  // namespace velmara
