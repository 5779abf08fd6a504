#include "cli/ispell_pipe.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <utility>

#include "app/country_choice.h"
#include "app/file_locations.h"
#include "app/version.h"
#include "checker/characters.h"
#include "checker/encoding.h"
#include "worddb/countries.h"
#include "worddb/user_words.h"

namespace velmara::cli {
namespace {

constexpr int kExitClean = 0;
constexpr int kExitError = 2;

// A longer line is not held in memory: its answer is an error.
constexpr std::size_t kMaxLineBytes = std::size_t{64} << 20;

// Stands for a character Windows-1252 lacks inside a word: it is in no list, so such a word is
// looked up, and found only where the user accepted it spelt the same way.
constexpr char kStandIn = '\x81';

std::string Lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
  return text;
}

std::optional<PipeEncoding> EncodingNamed(const std::string& name) {
  const std::string lower = Lowered(name);
  if (lower == "utf-8" || lower == "utf8") return PipeEncoding::Utf8;
  for (const char* known : {"iso-8859-1", "iso8859-1", "latin1", "latin-1", "windows-1252", "cp1252"})
    if (lower == known) return PipeEncoding::Windows1252;
  return std::nullopt;
}

// The name of the version the build was given, with the protocol's own first words.
const char* const kVersionLine = "@(#) International Ispell Version 3.2.06 (but really Velmara " VELMARA_VERSION ")";

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// An editor that reads our standard output often gets standard error on the same pipe; a note
// there would be read as an answer, so notes are kept back when both are one file.
bool StandardErrorIsOutput() {
  struct stat out {}, err {};
  if (::fstat(STDOUT_FILENO, &out) != 0 || ::fstat(STDERR_FILENO, &err) != 0) return false;
  return out.st_dev == err.st_dev && out.st_ino == err.st_ino;
}

class Notes {
 public:
  Notes() : quiet_(StandardErrorIsOutput()) {}
  void Note(const std::string& text) const {
    if (!quiet_) std::cerr << "velmara-check: " << text << std::endl;
  }

 private:
  bool quiet_;
};

class QuietLoadHooks : public LoadHooks {
 public:
  explicit QuietLoadHooks(const Notes& notes) : notes_(notes) {}
  void Note(const std::string& text) override { notes_.Note(text); }
  void ShowMessageBox(const std::string& text) override {
    std::string line;
    for (char c : Windows1252ToUtf8(text)) line += c == '\r' || c == '\n' ? ' ' : c;
    std::cerr << "velmara-check: " << line << std::endl;
  }

 private:
  const Notes& notes_;
};

}  // namespace

IspellOptions ParseIspellOptions(const std::vector<std::string>& args) {
  IspellOptions options;
  auto setMode = [&options](IspellMode mode) {
    // The version wins: an editor asks for it with -vv beside the other options.
    if (options.mode != IspellMode::Version) options.mode = mode;
  };
  auto setEncoding = [&options](const std::string& name) {
    if (std::optional<PipeEncoding> encoding = EncodingNamed(name)) {
      options.encoding = *encoding;
    } else {
      options.notes.push_back("encoding '" + name + "' is not known; UTF-8 is used");
    }
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // The value of an option: glued to it ("-dnombre", "--db=x") or the next argument.
    auto value = [&](std::size_t glued) -> std::optional<std::string> {
      if (arg.size() > glued) return arg.substr(glued + (arg[glued] == '=' ? 1 : 0));
      if (i + 1 < args.size()) return args[++i];
      options.notes.push_back(arg + " needs a value; ignored");
      return std::nullopt;
    };
    if (arg.empty()) continue;  // Emacs passes an empty argument in place of -m for some peers
    if (arg == "-a") {
      setMode(IspellMode::Pipe);
    } else if (arg == "-l") {
      setMode(IspellMode::List);
    } else if (arg == "-v" || arg == "-vv") {
      options.mode = IspellMode::Version;
    } else if (arg == "--intellisense" || arg == "--no-intellisense") {
      options.intellisense = arg == "--intellisense";
    } else if (arg == "--no-context" || arg == "--context") {
      options.context = arg == "--context";
    } else if (arg == "--db" || arg.rfind("--db=", 0) == 0) {
      if (auto folder = value(4)) options.database = *folder;
    } else if (arg == "--country" || arg.rfind("--country=", 0) == 0) {
      if (auto country = value(9)) options.country = *country;
    } else if (arg == "--encoding" || arg.rfind("--encoding=", 0) == 0) {
      if (auto name = value(10)) setEncoding(*name);
    } else if (arg == "--personal" || arg.rfind("--personal=", 0) == 0) {
      if (auto file = value(10)) options.userWordsFile = *file;
    } else if (arg.rfind("--", 0) == 0) {
      options.notes.push_back("option " + arg + " ignored");
    } else if (arg.size() >= 2 && arg[0] == '-') {
      switch (arg[1]) {
        case 'i':
          if (auto name = value(2)) setEncoding(*name);
          break;
        case 'p':
          if (auto file = value(2)) options.userWordsFile = *file;
          break;
        case 'd':
          // A country's name (es_MX, es-AR) chooses that country; a folder that holds a word
          // database is used; any other dictionary name means nothing to us.
          if (auto name = value(2)) {
            if (CountryCode(*name)) {
              options.country = *name;
            } else if (CheckWordDatabasePresent(*name)) {
              options.database = *name;
            } else {
              options.notes.push_back("dictionary '" + *name + "' ignored: the Spanish word database is used");
            }
          }
          break;
        case 'T': case 'w': case 'W':
          if (auto ignored = value(2)) options.notes.push_back("option " + arg.substr(0, 2) + " " + *ignored + " ignored");
          break;
        default:
          options.notes.push_back("option " + arg + " ignored");
      }
    } else {
      options.notes.push_back("argument '" + arg + "' ignored: the text is read from standard input");
    }
  }
  return options;
}

std::string IspellVersionLine() { return kVersionLine; }

struct IspellSession::Word {
  std::string_view written;   // as received
  std::string windows1252;    // the same word for the lists
  std::size_t offset = 0;     // in characters, from the start of the line
  bool writtenIsUtf8 = false; // `written` can be sent as it is in UTF-8
  std::string before, after;  // the words beside it with only spaces between, for suggestions
};

namespace {

// The word that starts after the spaces at `from` of the line, in Windows-1252; empty when
// anything else comes first.
std::string WordAfter(std::string_view line, std::size_t from, bool utf8) {
  while (from < line.size() && line[from] == ' ') ++from;
  std::size_t end = from;
  while (end < line.size() && line[end] != '\0' &&
         (static_cast<unsigned char>(line[end]) >= 0x80 ? utf8 || !IsSeparatorChar(static_cast<unsigned char>(line[end]))
                                                        : !IsSeparatorChar(static_cast<unsigned char>(line[end]))))
    ++end;
  const std::string_view word = line.substr(from, end - from);
  return utf8 ? InputToWindows1252(word) : std::string(word);
}

}  // namespace

IspellSession::IspellSession(WordDatabase& database, const Settings& settings, std::filesystem::path intellisenseFile,
                             std::filesystem::path userWordsFile, PipeEncoding encoding)
    : database_(database),
      check_(database_, settings, std::move(intellisenseFile)),
      suggester_(database_),
      userWordsFile_(std::move(userWordsFile)),
      encoding_(encoding),
      advisor_(database_) {}

std::string IspellSession::TakeFailure() { return std::exchange(failure_, std::string()); }

std::string IspellSession::ToOutput(std::string_view windows1252) const {
  return encoding_ == PipeEncoding::Utf8 ? Windows1252ToUtf8(windows1252) : std::string(windows1252);
}

void IspellSession::Answer(std::string_view line, std::string& out) {
  if (line.empty()) {
    out += '\n';
    return;
  }
  const std::string_view rest = line.substr(1);
  switch (line[0]) {
    case '^': CheckLine(rest, 1, out, false); return;
    case '*': case '&': AddUserWord(rest); return;
    case '@': {
      std::string word = encoding_ == PipeEncoding::Utf8 ? InputToWindows1252(rest) : std::string(rest);
      if (!word.empty() && word.back() == '\r') word.pop_back();
      if (!word.empty()) sessionWords_.insert(LowerCase(word));
      return;
    }
    case '#': return;  // every word is saved as soon as it is added
    case '!': terse_ = true; return;
    case '%':
      terse_ = false;
      verboseCorrection_ = false;
      return;
    case '`': verboseCorrection_ = true; return;
    case '+': tex_ = rest.rfind("nroff", 0) != 0; return;
    case '-': tex_ = false; return;
    case '~': return;  // a formatter's character set: every text is read the same way
    case '$':
      // Aspell's extended commands ($$ra, $$cs, ...): nothing here depends on them.
      if (rest.rfind("$", 0) == 0) return;
      break;
    default:
      break;
  }
  CheckLine(line, 0, out, false);
}

void IspellSession::ListRejected(std::string_view line, std::string& out) { CheckLine(line, 0, out, true); }

void IspellSession::AddUserWord(std::string_view text) {
  std::string word = encoding_ == PipeEncoding::Utf8 ? InputToWindows1252(text) : std::string(text);
  while (!word.empty() && (word.back() == '\r' || word.back() == ' ')) word.pop_back();
  if (word.empty()) return;
  if (word.size() > kUserWordMostCharacters) {
    failure_ = "cannot add a word of more than " + std::to_string(kUserWordMostCharacters) + " characters";
    return;
  }
  // Accepted for the session whether or not the file takes it: the error says it was not kept.
  sessionWords_.insert(LowerCase(word));
  std::string failure = AppendUserWord(userWordsFile_, word);
  if (failure.empty()) return;
  // Told on standard error, never among the answers: an editor reads every line there as one.
  failure_ = "cannot add '" + Windows1252ToUtf8(word) + "' to " + userWordsFile_.string() + ": " + failure;
}

void IspellSession::CheckLine(std::string_view line, std::size_t offsetBase, std::string& out, bool listOnly) {
  // The words of the line with their places, read as UTF-8 unless the session speaks
  // Windows-1252 or the line is not valid UTF-8.
  const bool utf8 = encoding_ == PipeEncoding::Utf8 && IsValidUtf8(line);
  // A question opened on one line ends with it: an editor sends lines and words in any order.
  check_.SetOpenQuestion(false);
  // Suggestions are kept within a line only: a word added to the user's list in between changes
  // what a later line is offered.
  lineSuggestions_.clear();
  Word word;
  bool inWord = false;
  bool afterBackslash = false;
  bool controlWord = false;
  std::size_t characters = 0;
  std::size_t wordStart = 0;
  // The line's tokens for the accent advice, and where each accepted word's answer lies in `out`.
  const bool advise = context_ && !listOnly;
  TokenList tokens;
  struct Answered {
    std::size_t token, start, end;
    Word word;
  };
  std::vector<Answered> accepted;
  std::string previous;         // the last word of the line so far
  bool previousBeside = false;  // and nothing but spaces after it
  // The advice for the words read so far, put in place of their answers. A very long line is
  // advised a part at a time, so what it holds stays bounded; a word at the seam of two parts is
  // advised without the words on the other side.
  auto advisePart = [&] {
    if (!accepted.empty()) {
      const std::vector<Advice> advice = advisor_.Advise(tokens, TokenList());
      // From the last to the first, so the places of the answers before stay where they were.
      auto answered = accepted.rbegin();
      for (auto advised = advice.rbegin(); advised != advice.rend(); ++advised) {
        while (answered != accepted.rend() && answered->token > advised->token) ++answered;
        if (answered == accepted.rend() || answered->token != advised->token) continue;
        const std::string shownWord =
            answered->word.writtenIsUtf8 ? std::string(answered->word.written) : ToOutput(answered->word.written);
        out.replace(answered->start, answered->end - answered->start,
                    "& " + shownWord + " 1 " + std::to_string(answered->word.offset) + ": " +
                        ToOutput(advised->replacement) + '\n');
      }
    }
    accepted.clear();
    tokens.clear();
  };
  auto finish = [&](std::size_t end) {
    if (!inWord) return;
    inWord = false;
    word.written = line.substr(wordStart, end - wordStart);
    word.writtenIsUtf8 = utf8;
    word.before = previousBeside ? std::move(previous) : std::string();
    word.after = listOnly ? std::string() : WordAfter(line, end, utf8);
    const std::size_t start = out.size();
    const bool wordAccepted = AnswerWord(word, out, listOnly);
    previous = word.windows1252;
    previousBeside = true;
    if (advise) {
      if (wordAccepted) accepted.push_back({tokens.size(), start, out.size(), word});
      tokens.push_back(TokenEntry{word.windows1252, Verdict::Accepted});
      if (tokens.size() >= kAdvisedTokensAtMost) advisePart();
    }
    // The answers of a very long line go out as they are made rather than all at its end.
    if (out.size() >= kAnswerSpillBytes && spill_) {
      advisePart();
      if (!spill_(out)) spillFailed_ = true;
      out.clear();
    }
  };
  for (std::size_t i = 0, length = 1; i < line.size(); i += length, ++characters) {
    char byte = line[i];
    bool wordCharacter;
    length = 1;
    if (!inWord && byte != '\0' && !IsSeparatorChar(static_cast<unsigned char>(byte))) {
      // A web or e-mail address is passed over whole, unchecked.
      std::size_t address = AddressLength(line, i);
      // Read as UTF-8, an address is taken as far as it is ASCII: its characters are its bytes.
      for (std::size_t k = 0; utf8 && k < address; ++k)
        if (static_cast<unsigned char>(line[i + k]) >= 0x80) address = k;
      if (address != 0) {
        length = address;
        characters += address - 1;
        afterBackslash = false;
        controlWord = false;
        continue;
      }
    }
    if (utf8 && static_cast<unsigned char>(byte) >= 0x80) {
      char32_t code = 0;
      DecodeUtf8Character(line.substr(i), code, length);
      // An accent written after its letter (o and U+0301) makes one letter with it.
      if (inWord && !word.windows1252.empty() && ComposeAccent(word.windows1252.back(), code)) continue;
      if (!Windows1252Of(code, byte)) {
        // Letters of other alphabets and combining marks sit below U+2000; above it are spaces,
        // punctuation and symbols.
        wordCharacter = code < 0x2000;
        byte = kStandIn;
      } else {
        wordCharacter = !IsSeparatorChar(static_cast<unsigned char>(byte));
      }
    } else {
      // A NUL ends a word too: it must never be echoed back inside one.
      wordCharacter = byte != '\0' && !IsSeparatorChar(static_cast<unsigned char>(byte));
    }
    if (!wordCharacter) {
      finish(i);
      if (advise) tokens.push_back(TokenEntry{std::string(1, byte), Verdict::Accepted});
      if (byte != ' ') previousBeside = false;
      if (byte == '\xBF' || byte == '\xA1') check_.SetOpenQuestion(true);
      if (byte == '?' || byte == '!') check_.SetOpenQuestion(false);
      afterBackslash = byte == '\\';
      controlWord = false;
      continue;
    }
    // In TeX mode a control word (\begin, \emph) is not text.
    if (!inWord && tex_ && (afterBackslash || controlWord) && std::isalpha(static_cast<unsigned char>(byte))) {
      controlWord = true;
      afterBackslash = false;
      continue;
    }
    afterBackslash = false;
    controlWord = false;
    if (!inWord) {
      inWord = true;
      wordStart = i;
      word.offset = offsetBase + characters;
      word.windows1252.clear();
    }
    // Only so much of a word is classified: a word as long as the line is not copied whole.
    if (word.windows1252.size() < kMaxTokenLength) word.windows1252 += byte;
  }
  finish(line.size());
  advisePart();
  if (!listOnly) out += '\n';
}

bool IspellSession::AnswerWord(const Word& word, std::string& out, bool listOnly) {
  const std::string_view written = std::string_view(word.windows1252).substr(0, kMaxTokenLength);
  lowered_.assign(written);
  for (char& c : lowered_) c = static_cast<char>(LowerChar(static_cast<unsigned char>(c)));

  std::string correction;
  const bool accepted = sessionWords_.count(lowered_) != 0 || check_.Accepted(written, correction);
  const std::string shownWord = word.writtenIsUtf8 ? std::string(word.written) : ToOutput(word.written);
  if (accepted) {
    if (listOnly || terse_) return true;
    out += '*';
    if (verboseCorrection_) out += ' ' + shownWord;
    out += '\n';
    return true;
  }
  if (listOnly) {
    out += shownWord + '\n';
    return false;
  }

  // A word misspelled all through a long line, between the same words, is offered its
  // suggestions once.
  std::string asked(written);
  asked.append(1, '\0').append(word.before).append(1, '\0').append(word.after);
  auto known = lineSuggestions_.find(asked);
  if (known == lineSuggestions_.end()) {
    if (lineSuggestions_.size() >= kLineSuggestionsAtMost) lineSuggestions_.clear();
    known = lineSuggestions_
                .emplace(std::move(asked), suggester_.Suggest(written, kMaxSuggestions, {word.before, word.after}))
                .first;
  }
  std::vector<std::string> offered = OfferedWords(std::move(correction), known->second);
  // ", " separates the offers, and a line end would end the answer.
  std::erase_if(offered, [](const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c == ',' || static_cast<unsigned char>(c) < 32; });
  });

  const std::string offset = std::to_string(word.offset);
  if (offered.empty()) {
    out += "# " + shownWord + ' ' + offset + '\n';
    return false;
  }
  out += "& " + shownWord + ' ' + std::to_string(offered.size()) + ' ' + offset + ':';
  for (std::size_t i = 0; i < offered.size(); ++i) out += (i == 0 ? " " : ", ") + ToOutput(offered[i]);
  out += '\n';
  return false;
}

int RunIspell(const IspellOptions& options, const FileLocations& locations) {
  // A reader that went away is a write error of ours, not a signal.
  std::signal(SIGPIPE, SIG_IGN);
  const Notes notes;
  for (const std::string& note : options.notes) notes.Note(note);

  if (options.mode == IspellMode::Version) {
    if (WriteAll(STDOUT_FILENO, IspellVersionLine() + "\n")) return kExitClean;
    notes.Note(std::string("cannot write to standard output: ") + std::strerror(errno));
    return kExitError;
  }

  Settings settings;
  SetFixedColours(settings);
  Configuration("get", locations.configurationFile.parent_path(), settings);
  if (options.intellisense) settings.Inteligente = *options.intellisense ? 1 : 0;
  const std::filesystem::path databaseFolder = options.database.value_or(locations.databaseFolder);
  if (!CheckWordDatabasePresent(databaseFolder)) {
    // Before the version line, so an editor shows it as the reason the checker did not start.
    std::cerr << "velmara-check: No puedo cargar bd ... (" << databaseFolder.string() << ")" << std::endl;
    return kExitError;
  }
  const CountryChoice country = ChooseCountry(databaseFolder, options.country, ProcessEnvironment(), settings);
  if (!country.error.empty()) {
    std::cerr << "velmara-check: " << country.error << std::endl;
    return kExitError;
  }
  WordDatabase database;
  QuietLoadHooks hooks(notes);
  LoadCountryDatabase(databaseFolder, country.differences, database, hooks, locations.traceFile.parent_path());
  // A database named on the command line brings its own lists; the editor may name the user's.
  const std::filesystem::path intellisenseFile =
      options.database ? databaseFolder / kIntellisenseFile : locations.intellisenseFile;
  const std::filesystem::path userWords =
      options.userWordsFile.value_or(options.database ? databaseFolder / kUserWordsFile : locations.userWordsFile);
  std::error_code userWordsError;
  const auto userWordsStatus = std::filesystem::status(userWords, userWordsError);
  // A pipe or a device there would block every word added: it is neither read nor written.
  if (std::filesystem::exists(userWordsStatus) && !std::filesystem::is_regular_file(userWordsStatus))
    notes.Note("the word list " + userWords.string() + " is not a regular file: words added are not kept");
  LoadUserWords(userWords, database);

  IspellSession session(database, settings, intellisenseFile, userWords, options.encoding);
  session.SetContextAdvice(options.context);
  const bool list = options.mode == IspellMode::List;
  auto fail = [&notes](const char* what) {
    notes.Note(std::string("cannot ") + what + ": " + std::strerror(errno));
    return kExitError;
  };
  if (!list && !WriteAll(STDOUT_FILENO, IspellVersionLine() + "\n")) return fail("write to standard output");

  std::string line;
  std::string answer;
  bool overlong = false;
  session.SpillAnswersTo([](const std::string& part) { return WriteAll(STDOUT_FILENO, part); });
  auto answerLine = [&]() {
    answer.clear();
    if (overlong) {
      answer = "Error: a line longer than " + std::to_string(kMaxLineBytes >> 20) + " MiB was not checked\n";
      notes.Note(answer.substr(7, answer.size() - 8));
      if (!list) answer += '\n';
    } else if (list) {
      session.ListRejected(line, answer);
    } else {
      session.Answer(line, answer);
    }
    if (std::string failure = session.TakeFailure(); !failure.empty()) notes.Note(failure);
    line.clear();
    overlong = false;
    // After a very long line the buffers go back to an ordinary size.
    if (line.capacity() > (std::size_t{1} << 20)) line.shrink_to_fit();
    const bool written = !session.TakeSpillFailure() && (answer.empty() || WriteAll(STDOUT_FILENO, answer));
    if (answer.capacity() > (std::size_t{1} << 20)) std::string().swap(answer);
    return written;
  };

  char buffer[1 << 16];
  bool pending = false;  // a line has begun and not ended
  for (;;) {
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail("read standard input");
    if (n == 0) break;
    std::string_view chunk(buffer, static_cast<std::size_t>(n));
    while (!chunk.empty()) {
      const std::size_t end = chunk.find('\n');
      const std::string_view piece = chunk.substr(0, end);
      if (!overlong && line.size() + piece.size() > kMaxLineBytes) {
        overlong = true;
        line.clear();
        line.shrink_to_fit();
      }
      if (!overlong) line.append(piece);
      pending = true;
      if (end == std::string_view::npos) break;
      chunk.remove_prefix(end + 1);
      pending = false;
      if (!answerLine()) return fail("write to standard output");
    }
  }
  if (pending && !answerLine()) return fail("write to standard output");
  return kExitClean;
}

}  // namespace velmara::cli
