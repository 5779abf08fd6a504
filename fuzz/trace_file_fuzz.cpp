// The trace writer over any lines, with or without a link or a file planted at its path between
// the removal of the old trace and the first line: the trace holds exactly its lines, and what
// was planted (and the file a link names) is never written.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>

#include "checker/trace_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmara;
  namespace fs = std::filesystem;
  if (size < 1) return 0;
  const int plant = data[0] % 4;  // 0, 1: nothing; 2: a link to a file elsewhere; 3: a file
  const std::string_view text = fuzz::AsText(data + 1, size - 1);

  const fs::path folder = fuzz::TemporaryFolder();
  const fs::path path = folder / "sucio.txt";
  const fs::path elsewhere = folder / "ajeno.txt";
  fuzz::WriteFile(elsewhere, "ajeno");
  // The trace of a previous run, or a link to the other file, is at the path to begin with.
  if (data[0] & 4) {
    std::error_code ignored;
    fs::remove(path, ignored);
    fs::create_symlink(elsewhere, path);
  } else {
    fuzz::WriteFile(path, "viejo");
  }

  std::string expected;
  {
    TraceWriter trace(path);
    FUZZ_CHECK(!fs::exists(fs::symlink_status(path)));
    if (plant == 2) fs::create_symlink(elsewhere, path);
    if (plant == 3) fuzz::WriteFile(path, "plantado");
    // Lines of "left=right" split at every LF.
    std::string_view rest = text;
    while (!rest.empty()) {
      const std::string_view line = rest.substr(0, rest.find('\n'));
      rest.remove_prefix(std::min(rest.size(), line.size() + 1));
      const std::size_t equals = line.find('=');
      const std::string_view left = line.substr(0, equals);
      const std::string_view right = equals == std::string_view::npos ? std::string_view{} : line.substr(equals + 1);
      trace.Line(left, right);
      expected.append(left).append(" = ").append(right).append("\r\n");
    }
  }  // the trace is closed

  FUZZ_CHECK(fuzz::ReadFile(elsewhere) == "ajeno");
  if (plant == 3) FUZZ_CHECK(fuzz::ReadFile(path) == "plantado");
  if (plant == 2) FUZZ_CHECK(fs::is_symlink(fs::symlink_status(path)));
  if (plant < 2) FUZZ_CHECK(expected.empty() ? !fs::exists(fs::symlink_status(path)) : fuzz::ReadFile(path) == expected);
  std::error_code ignored;
  fs::remove(path, ignored);
  return 0;
}
