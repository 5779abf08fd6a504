// The terminal program's input over any bytes: decoded and checked in pieces as it reads a file,
// a few bytes at a time, the text, coloured text, TSV and JSON reports are byte for byte those of
// one check of the whole decoded text, and every report is valid UTF-8.
// The first byte chooses how many bytes are read at a time and whether a question is open.

#include <cstdint>
#include <string>

#include "checker/characters.h"
#include "checker/check_run.h"
#include "checker/encoding.h"
#include "cli/report.h"
#include "fuzz_database.h"
#include "fuzz_support.h"

namespace {

using namespace velmara;

struct Reports {
  std::string text, coloured, tsv, json;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t readSize = 1 + (data[0] & 15);
  const bool openQuestion = (data[0] & 16) != 0;
  const std::string_view bytes = fuzz::AsText(data + 1, size - 1);
  Settings settings;
  SetFixedColours(settings);

  Reports whole;
  {
    CheckState state;
    state.openQuestion = openQuestion;
    Classifier classifier(fuzz::SmallDatabase(), settings, fuzz::TemporaryFolder() / "none.txt", state);
    CheckObserver quiet;
    CheckText(classifier, InputToWindows1252(bytes), quiet, std::nullopt);
    whole = {Windows1252ToUtf8(state.correctedText), cli::TextReport(state, settings, true), cli::TsvReport(state),
             cli::JsonReport(state)};
  }

  Reports pieces;
  CheckState state;
  state.openQuestion = openQuestion;
  Classifier classifier(fuzz::SmallDatabase(), settings, fuzz::TemporaryFolder() / "none.txt", state);
  PiecewiseCheck check(classifier, std::nullopt);
  std::string raw, text, corrected;
  std::size_t tokens = 0, words = 0;
  InputEncodings seen;
  auto piece = [&](std::string_view source) {
    check.Check(source);
    pieces.text += Windows1252ToUtf8(state.correctedText);
    pieces.coloured += cli::TextReport(state, settings, true);
    pieces.tsv += cli::TsvReport(state, tokens);
    pieces.json += cli::JsonTokens(state, tokens == 0);
    corrected += cli::JsonContent(Windows1252ToUtf8(state.correctedText));
    tokens += state.result.size();
    words += CountWords(state.source);
  };
  for (std::size_t at = 0; at < bytes.size(); at += readSize) {
    raw += bytes.substr(at, readSize);
    const std::size_t decodable = ComposablePrefix(raw);
    text += InputToWindows1252(std::string_view(raw).substr(0, decodable), seen);
    raw.erase(0, decodable);
    if (const std::size_t end = PieceEnd(text); end > 0) {
      piece(std::string_view(text).substr(0, end));
      text.erase(0, end);
    }
  }
  piece(text + InputToWindows1252(raw, seen));
  pieces.json = cli::kJsonStart + pieces.json + cli::JsonEnd(state, corrected, words);

  FUZZ_CHECK(pieces.text == whole.text);
  FUZZ_CHECK(pieces.coloured == whole.coloured);
  FUZZ_CHECK(pieces.tsv == whole.tsv);
  FUZZ_CHECK(pieces.json == whole.json);
  FUZZ_CHECK(IsValidUtf8(whole.coloured) && IsValidUtf8(whole.tsv) && IsValidUtf8(whole.json));
  return 0;
}
