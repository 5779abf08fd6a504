#include "worddb/user_words.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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
  const auto characters = std::count_if(word.begin(), word.end(), [](char c) { return (c & 0xC0) != 0x80; });
  if (static_cast<std::size_t>(characters) > kUserWordMostCharacters)
    return "a word of more than " + std::to_string(kUserWordMostCharacters) + " characters is not kept";
  for (char c : word)
    if (static_cast<unsigned char>(c) < 32) return "a word with a control character cannot be kept";
  std::error_code error;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), error);
  // Opened without waiting, so a pipe or a device of that name is refused rather than written to.
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0644);
  if (fd < 0) return std::strerror(errno);
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return "it is not a regular file";
  }

  std::string line;
  // A last line the user left without its end must not run into the new word.
  if (status.st_size > 0) {
    char last = '\n';
    if (::pread(fd, &last, 1, status.st_size - 1) == 1 && last != '\n') line += '\n';
  }
  line += word;
  line += '\n';

  // The whole line in one write, with the signals that stop a program held back until it is
  // done: an interrupted append leaves the list as it was or with the whole word.
  sigset_t stopping, before;
  sigemptyset(&stopping);
  for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) sigaddset(&stopping, signal);
  pthread_sigmask(SIG_BLOCK, &stopping, &before);
  std::string failure;
  ssize_t n;
  do {
    n = ::write(fd, line.data(), line.size());
  } while (n < 0 && errno == EINTR);
  if (n != static_cast<ssize_t>(line.size())) {
    failure = std::strerror(n < 0 ? errno : ENOSPC);
    // Part of a word would read as a word of its own.
    if (n > 0 && ::ftruncate(fd, status.st_size) != 0) failure += " (the list keeps part of the word)";
  }
  if (failure.empty() && ::fsync(fd) != 0 && errno != EINVAL) failure = std::strerror(errno);
  pthread_sigmask(SIG_SETMASK, &before, nullptr);
  if (::close(fd) != 0 && failure.empty()) failure = std::strerror(errno);
  return failure;
}

}  // namespace velmara
