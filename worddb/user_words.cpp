#include "worddb/user_words.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "checker/characters.h"
#include "checker/encoding.h"

namespace velmara {

void LoadUserWords(const std::filesystem::path& file, WordDatabase& database) {
  std::vector<std::string> words;
  std::error_code error;
  // Only a regular file: a pipe or a device of that name could block the load for ever.
  if (std::filesystem::is_regular_file(file, error)) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string_view rest = bytes;
    while (!rest.empty()) {
      const std::size_t end = rest.find('\n');
      std::string_view line = rest.substr(0, end);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (!line.empty()) words.push_back(LowerCase(InputToWindows1252(line)));
      rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
  }
  database.userWords.Assign(std::move(words));
}

std::string AppendUserWord(const std::filesystem::path& file, std::string_view word) {
  return AppendUserWordUtf8(file, Windows1252ToUtf8(word));
}

std::string AppendUserWordUtf8(const std::filesystem::path& file, std::string_view word) {
  for (char c : word)
    if (static_cast<unsigned char>(c) < 32) return "a word with a control character cannot be kept";
  std::error_code error;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), error);
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return std::strerror(errno);

  std::string line;
  // A last line the user left without its end must not run into the new word.
  struct stat status {};
  if (::fstat(fd, &status) == 0 && status.st_size > 0) {
    char last = '\n';
    if (::pread(fd, &last, 1, status.st_size - 1) == 1 && last != '\n') line += '\n';
  }
  line += word;
  line += '\n';

  std::string failure;
  std::size_t written = 0;
  while (written < line.size()) {
    const ssize_t n = ::write(fd, line.data() + written, line.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failure = std::strerror(n < 0 ? errno : EIO);
      break;
    }
    written += static_cast<std::size_t>(n);
  }
  if (failure.empty() && ::fsync(fd) != 0 && errno != EINVAL) failure = std::strerror(errno);
  if (::close(fd) != 0 && failure.empty()) failure = std::strerror(errno);
  return failure;
}

}  // namespace velmara
