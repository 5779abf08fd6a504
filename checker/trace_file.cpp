#include "checker/trace_file.h"

#include <fcntl.h>
#include <unistd.h>

namespace velmara {

TraceWriter::TraceWriter(const std::optional<std::filesystem::path>& file) : path_(file) {
  if (!path_) return;
  namespace fs = std::filesystem;
  std::error_code ignored;
  const fs::file_status status = fs::symlink_status(*path_, ignored);
  // A link is removed itself, never what it names.
  if (fs::is_regular_file(status) || fs::is_symlink(status)) fs::remove(*path_, ignored);
  // Only a trace of our own is replaced: a folder, a device or a pipe of that name is left as it
  // is and gets no trace (opening a pipe would wait for a reader for ever).
  failed_ = fs::exists(fs::symlink_status(*path_, ignored));
}

void TraceWriter::Line(std::string_view left, std::string_view right) {
  if (!Wanted()) return;
  if (!file_) {
    // A new file or none, readable by the user alone (it holds the whole text checked, a copied
    // password too): whatever was made at the path since it was cleared (a link to a file
    // elsewhere, a file of someone else's) is left alone and the run goes without a trace.
    const int descriptor = ::open(path_->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (descriptor >= 0) {
      file_.reset(::fdopen(descriptor, "wb"));
      if (!file_) ::close(descriptor);
    }
    if (!file_) {
      failed_ = true;
      return;
    }
  }
  std::fwrite(left.data(), 1, left.size(), file_.get());
  std::fwrite(" = ", 1, 3, file_.get());
  std::fwrite(right.data(), 1, right.size(), file_.get());
  std::fwrite("\r\n", 1, 2, file_.get());
}

}  // namespace velmara
