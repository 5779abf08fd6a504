#pragma once
// Replacing a whole file without ever leaving it half written: the bytes go to a temporary file
// beside it, which is then renamed over the old one.

#include <filesystem>
#include <functional>
#include <string_view>
#include <system_error>

namespace velmara {

// Writes `bytes` as the whole content of `path`. On failure the old file, if any, is untouched,
// no temporary file is left behind, and `error` tells why. Refuses to replace anything but a
// regular file (a folder, a device), so a careless name can never clobber them.
bool ReplaceFileContent(const std::filesystem::path& path, std::string_view bytes, std::error_code& error);

// Creates a new file beside `path` under a name nobody can guess (".NAME.<random>.tmp"), never
// through a link and never one that exists already; returns its descriptor, or -1 and why.
int CreateTemporaryBeside(const std::filesystem::path& path, unsigned mode, std::filesystem::path& temporary,
                          std::error_code& error);
// Writes all of `bytes` to the descriptor (again after an interruption); false and why otherwise.
bool WriteAll(int descriptor, std::string_view bytes, std::error_code& error);

// For tests: called with the temporary file once the bytes are in it, before it gets its final
// mode and is renamed over the old file.
extern std::function<void(const std::filesystem::path&)> replaceFileWrittenHook;

// Deletes a file, read-only or not; a folder of that name is left alone. Failures are ignored.
void DeleteFileQuietly(const std::filesystem::path& path);

}  // namespace velmara
