// A configuration file of any bytes: read it, save changed values, read again. The stored values
// survive, every line that is not one of the stored keys is still there in its order, and saving
// the same values again leaves the file as it is.

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "app/configuration.h"
#include "fuzz_support.h"

namespace {

using velmara::Settings;

constexpr std::array<std::int32_t Settings::*, 9> kStored = {
    &Settings::Corregidos, &Settings::Verbos_Bien, &Settings::Hay_clipboard, &Settings::Crono,
    &Settings::Dificultad, &Settings::Inteligente, &Settings::Verbos_Duda, &Settings::Avisar_sin_interrumpir,
    &Settings::Contexto};
constexpr std::array<std::string_view, 9> kKeys = {"corregidos", "verbos_bien", "hay_clipboard", "crono",
                                                   "dificultad", "inteligente", "verbos_duda",
                                                   "avisar_sin_interrumpir", "contexto"};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The lines as a person reads them: a UTF-8 byte-order mark is no text, and a line ends at LF,
// CR LF or a CR alone.
std::vector<std::string> Lines(std::string_view bytes) {
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) bytes.remove_prefix(kByteOrderMark.size());
  std::vector<std::string> lines;
  while (!bytes.empty()) {
    std::size_t end = bytes.find_first_of("\r\n");
    lines.emplace_back(bytes.substr(0, end));
    if (end == std::string_view::npos) break;
    std::size_t endLength = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1;
    bytes.remove_prefix(end + endLength);
  }
  return lines;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A line the save may rewrite: one of the stored keys, in whatever section and spelling.
bool IsStoredKeyLine(std::string_view line) {
  std::string_view trimmed = Trimmed(line);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return false;
  std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  std::string name(Trimmed(line.substr(0, equals)));
  for (char& c : name)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  for (auto key : kKeys)
    if (name == key) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmara;
  const auto& folder = fuzz::TemporaryFolder();
  const auto file = folder / kConfigurationFile;
  const std::string original(fuzz::AsText(data, size));
  fuzz::WriteFile(file, original);

  Settings read;
  FUZZ_CHECK(Configuration("get", folder, read));
  Settings changed = read;
  for (auto member : kStored) {
    std::int32_t& value = changed.*member;
    value = value == std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::min() : value + 1;
  }
  FUZZ_CHECK(Configuration("save", folder, changed));
  const std::string saved = fuzz::ReadFile(file);
  // A byte-order mark stays where it was.
  FUZZ_CHECK((original.rfind(kByteOrderMark, 0) == 0) == (saved.rfind(kByteOrderMark, 0) == 0));

  Settings again;
  FUZZ_CHECK(Configuration("get", folder, again));
  for (auto member : kStored) FUZZ_CHECK(again.*member == changed.*member);

  // Every other line keeps its text and its place among the others.
  const auto savedLines = Lines(saved);
  std::size_t next = 0;
  for (const auto& line : Lines(original)) {
    if (IsStoredKeyLine(line)) continue;
    while (next < savedLines.size() && savedLines[next] != line) ++next;
    FUZZ_CHECK(next < savedLines.size());
    ++next;
  }

  FUZZ_CHECK(Configuration("save", folder, changed));
  FUZZ_CHECK(fuzz::ReadFile(file) == saved);
  return 0;
}
