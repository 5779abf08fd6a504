#include "cli/stream_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace velmara::cli {
namespace {

std::string Described(const std::string& what, int error) { return what + ": " + std::strerror(error); }

}  // namespace

int ReopenClosedStandardStreams() {
  int closed = 0;
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    closed |= 1 << fd;
    const int opened = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (opened != -1 && opened != fd) {
      dup2(opened, fd);
      close(opened);
    }
  }
  return closed;
}

InputFile::InputFile(const std::string& name, bool closedStandardInput) : name_(name) {
  if (name == "-") {
    if (closedStandardInput) Fail(EBADF);
    fd_ = 0;
    return;
  }
  do {
    fd_ = open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
  } while (fd_ == -1 && errno == EINTR);
  if (fd_ == -1) Fail(errno);
  owned_ = true;
  struct stat status;
  if (fstat(fd_, &status) == 0 && S_ISDIR(status.st_mode)) Fail(EISDIR);
}

InputFile::~InputFile() {
  if (owned_) close(fd_);
}

void InputFile::Fail(int error) const {
  throw StreamError(Described("cannot read '" + (name_ == "-" ? std::string("standard input") : name_) + "'", error));
}

bool InputFile::ReadMore(std::string& buffer, std::size_t most) {
  const std::size_t held = buffer.size();
  buffer.resize(held + most);
  ssize_t got;
  do {
    got = read(fd_, buffer.data() + held, most);
  } while (got == -1 && errno == EINTR);
  if (got == -1) {
    const int error = errno;
    buffer.resize(held);
    Fail(error);
  }
  buffer.resize(held + static_cast<std::size_t>(got));
  return got > 0;
}

std::string InputFile::ReadAll() {
  std::string bytes;
  while (ReadMore(bytes, std::size_t{1} << 20)) {
  }
  return bytes;
}

void Output::Write(std::string_view text) {
  if (buffer_.size() + text.size() > kBufferSize) {
    Flush();
    if (text.size() > kBufferSize) {
      buffer_.assign(text);
      Flush();
      return;
    }
  }
  buffer_.append(text);
}

void Output::Flush() {
  std::size_t done = 0;
  while (done < buffer_.size()) {
    const ssize_t written = write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (written == -1 && errno == EINTR) continue;
    if (written <= 0) {
      const int error = written == -1 ? errno : EIO;
      buffer_.clear();
      throw StreamError(Described("cannot write standard output", error));
    }
    done += static_cast<std::size_t>(written);
  }
  buffer_.clear();
}

}  // namespace velmara::cli
