#include "tools/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace velmara {

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  // Not blocking at the open: a pipe of that name would otherwise wait for a writer for ever.
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (descriptor < 0) return std::nullopt;
  std::optional<std::string> bytes;
  struct stat status {};
  if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)) {
    std::string content;
    // The size is only a hint: the file may grow or shrink while it is read.
    if (status.st_size > 0) content.reserve(static_cast<std::size_t>(status.st_size));
    char buffer[65536];
    bool failed = false;
    for (;;) {
      const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
      if (got < 0) {
        if (errno == EINTR) continue;
        failed = true;
        break;
      }
      if (got == 0) break;
      content.append(buffer, static_cast<std::size_t>(got));
    }
    if (!failed) bytes = std::move(content);
  }
  ::close(descriptor);
  return bytes;
}

}  // namespace velmara
