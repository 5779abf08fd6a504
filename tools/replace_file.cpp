#include "tools/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <string>

namespace velmara {
namespace {

std::error_code LastError() { return {errno, std::generic_category()}; }

}  // namespace

bool WriteAll(int descriptor, std::string_view bytes, std::error_code& error) {
  while (!bytes.empty()) {
    ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      error = LastError();
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

int CreateTemporaryBeside(const std::filesystem::path& path, unsigned mode, std::filesystem::path& temporary,
                          std::error_code& error) {
  std::random_device random;
  int descriptor = -1;
  for (int attempt = 0; attempt < 20 && descriptor < 0; ++attempt) {
    // Appended piece by piece: GCC 12 takes "." + a string for an overlapping copy (-Wrestrict).
    std::string name(".");
    name += path.filename().string();
    name += '.';
    name += std::to_string(random());
    name += std::to_string(random());
    name += ".tmp";
    temporary = path.parent_path() / name;
    descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, static_cast<mode_t>(mode));
    if (descriptor < 0 && errno != EEXIST) break;
  }
  if (descriptor < 0) error = LastError();
  return descriptor;
}

std::function<void(const std::filesystem::path&)> replaceFileWrittenHook;

bool ReplaceFileContent(const std::filesystem::path& path, std::string_view bytes, std::error_code& error) {
  namespace fs = std::filesystem;
  error.clear();
  std::error_code statusError;
  fs::file_status status = fs::status(path, statusError);
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    error = std::make_error_code(fs::is_directory(status) ? std::errc::is_a_directory
                                                          : std::errc::operation_not_permitted);
    return false;
  }

  // A symbolic link is replaced by the file itself, as deleting and writing anew would do.
  fs::path folder = path.parent_path();
  // The new file gets the old one's permissions; until it has them it is private to its owner and
  // never wider than the old file, so the content is never readable by anyone the old file kept it
  // from. A new file is made at once with the mode of any file the program creates (0644 less the
  // umask).
  const bool replacing = fs::is_regular_file(status);
  const mode_t finalMode = replacing ? static_cast<mode_t>(status.permissions()) & 07777 : 0644;
  const mode_t creationMode = replacing ? finalMode & 0600 : finalMode;
  fs::path temporary;
  const int descriptor = CreateTemporaryBeside(path, creationMode, temporary, error);
  if (descriptor < 0) return false;
  bool written = WriteAll(descriptor, bytes, error);
  if (written && replaceFileWrittenHook) replaceFileWrittenHook(temporary);
  if (written && finalMode != creationMode) ::fchmod(descriptor, finalMode);
  if (written && ::fsync(descriptor) != 0) {
    error = LastError();
    written = false;
  }
  if (::close(descriptor) != 0 && written) {
    error = LastError();
    written = false;
  }
  if (written && std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = LastError();
    written = false;
  }
  if (!written) {
    ::unlink(temporary.c_str());
    return false;
  }
  // The rename itself is on disk only once the folder is: a crash then leaves the new file.
  const int folderDescriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderDescriptor >= 0) {
    ::fsync(folderDescriptor);
    ::close(folderDescriptor);
  }
  return true;
}

void DeleteFileQuietly(const std::filesystem::path& path) {
  std::error_code ignored;
  if (!std::filesystem::is_directory(std::filesystem::symlink_status(path, ignored))) {
    std::filesystem::remove(path, ignored);
  }
}

}  // namespace velmara
