#pragma once
// The trace of the last check run, "sucio.txt": one line per token, each ended by CR LF.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

namespace velmara {

// Removes the trace of the previous run at once; the new file is created at the first line, so an
// empty text leaves no file, and only its owner may read it. The file is always one this writer created: a link or any other file
// that appears at the path in between is never followed, written or truncated. Write errors are
// ignored: the trace is a diagnostic and the run does not depend on it.
class TraceWriter {
 public:
  explicit TraceWriter(const std::optional<std::filesystem::path>& file);

  // False once nothing more will be written: the caller can skip making the line.
  bool Wanted() const { return path_ && !failed_; }

  void Line(std::string_view left, std::string_view right);

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::optional<std::filesystem::path> path_;
  std::unique_ptr<std::FILE, Closer> file_;
  bool failed_ = false;
};

}  // namespace velmara
