#pragma once
// Reading the terminal programs' input and writing their output with every error seen: a file
// that fails to read, standard input closed or a folder, standard output full or closed. An
// error is an exception carrying a message that names the file; the program prints it and exits
// with its error status.

#include <cstddef>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

namespace velmara::cli {

class StreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Standard input, output and error that the caller closed are opened on /dev/null, so no file
// the program opens takes their place. Returns which of the three were closed (bit 0 input,
// bit 1 output, bit 2 error).
int ReopenClosedStandardStreams();

// One input, "-" for standard input, read in blocks.
class InputFile {
 public:
  // Throws StreamError when the file cannot be opened; `closedStandardInput`: standard input was
  // closed by the caller and "-" cannot be read.
  InputFile(const std::string& name, bool closedStandardInput);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Appends up to `most` bytes to `buffer`; returns false at the end of the input. Throws
  // StreamError on a read error.
  bool ReadMore(std::string& buffer, std::size_t most);
  // The whole rest of the input.
  std::string ReadAll();

  const std::string& name() const { return name_; }

 private:
  [[noreturn]] void Fail(int error) const;
  std::string name_;
  int fd_ = -1;
  bool owned_ = false;
};

// Standard output through a buffer of our own; throws StreamError on a failed write.
class Output {
 public:
  explicit Output(int fd = 1) : fd_(fd) {}
  void Write(std::string_view text);
  void Flush();

 private:
  static constexpr std::size_t kBufferSize = 1 << 16;
  void WriteAll(std::string_view text);
  int fd_;
  std::string buffer_;
};

// Text kept for later, such as the corrected text a JSON document ends with: in a temporary file
// once it grows past a few megabytes, so it costs no memory however long the input is.
class SpillBuffer {
 public:
  SpillBuffer() = default;
  ~SpillBuffer();
  SpillBuffer(const SpillBuffer&) = delete;
  SpillBuffer& operator=(const SpillBuffer&) = delete;
  void Write(std::string_view text);
  // Writes everything kept to `out`, then keeps nothing.
  void CopyTo(Output& out);

 private:
  static constexpr std::size_t kInMemory = std::size_t{4} << 20;
  void Spill();
  std::string held_;
  std::FILE* file_ = nullptr;
};

}  // namespace velmara::cli
