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
      WriteAll(text);
      return;
    }
  }
  buffer_.append(text);
}

void Output::Flush() {
  WriteAll(buffer_);
  buffer_.clear();
}

void Output::WriteAll(std::string_view text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = write(fd_, text.data() + done, text.size() - done);
    if (written == -1 && errno == EINTR) continue;
    if (written <= 0) throw StreamError(Described("cannot write standard output", written == -1 ? errno : EIO));
    done += static_cast<std::size_t>(written);
  }
}

SpillBuffer::~SpillBuffer() {
  if (file_) std::fclose(file_);
}

void SpillBuffer::Spill() {
  if (!file_) {
    file_ = std::tmpfile();
    if (!file_) return;  // no temporary file: kept in memory
  }
  if (std::fwrite(held_.data(), 1, held_.size(), file_) != held_.size())
    throw StreamError(Described("cannot write a temporary file", errno));
  held_.clear();
}

void SpillBuffer::Write(std::string_view text) {
  held_.append(text);
  if (held_.size() >= kInMemory) Spill();
}

void SpillBuffer::CopyTo(Output& out) {
  if (file_) {
    Spill();
    if (std::fflush(file_) != 0 || std::fseek(file_, 0, SEEK_SET) != 0)
      throw StreamError(Described("cannot read a temporary file", errno));
    std::string block(1 << 16, '\0');
    for (;;) {
      const std::size_t got = std::fread(block.data(), 1, block.size(), file_);
      out.Write(std::string_view(block).substr(0, got));
      if (got < block.size()) break;
    }
    if (std::ferror(file_)) throw StreamError(Described("cannot read a temporary file", errno));
    std::fclose(file_);
    file_ = nullptr;
  }
  out.Write(held_);
  held_.clear();
}

}  // namespace velmara::cli
