#include "cli/ispell_pipe.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/test_folder.h"
#include "worddb/user_words.h"

namespace velmara::cli {
namespace {

// An answer line reduced to what does not depend on the suggester: the kind, the word, the
// offset and, for "&", the first offer. A missing word is "? word offset" whether it comes with
// suggestions or not.
std::string Summary(const std::string& line) {
  if (line.empty() || (line[0] != '&' && line[0] != '#')) return line;
  std::istringstream in(line);
  std::string kind, word, count, offset;
  in >> kind >> word;
  if (kind == "#") {
    in >> offset;
    return "? " + word + " " + offset;
  }
  in >> count >> offset;
  offset.pop_back();  // its colon
  std::string first;
  in >> first;
  if (!first.empty() && first.back() == ',') first.pop_back();
  return "& " + word + " " + offset + " " + first;
}

// Answers as Summary gives them, "|" between lines, against what is expected: "? word offset"
// stands for a missing word, which the suggester may or may not have suggestions for.
::testing::AssertionResult Agree(const std::string& expected, const std::string& actual) {
  std::istringstream want(expected), got(actual);
  std::string a, b;
  while (std::getline(want, a, '|')) {
    if (!std::getline(got, b, '|')) return ::testing::AssertionFailure() << actual;
    const bool missing = a.rfind("? ", 0) == 0 && b.rfind("& " + a.substr(2) + " ", 0) == 0;
    if (a != b && !missing) return ::testing::AssertionFailure() << actual;
  }
  if (std::getline(got, b, '|')) return ::testing::AssertionFailure() << actual;
  return ::testing::AssertionSuccess();
}

class IspellSessionTest : public ::testing::Test {
 protected:
  IspellSessionTest() {
    database.dictionary = WordList({"hola", "casa", "mundo", "cami\xF3n", "d\xF3nde", "donde", "\xE1rbol", "el", "\xE9l"});
    database.verbs = WordList({"est\xE1s", "canta"});
    database.falsePositives.entries.Assign(std::vector<std::string>(FalsePositiveList::kCapacity));
  }

  // The summaries of the answer to each line, "|" between lines.
  std::string Answers(IspellSession& session, const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) session.Answer(line, out);
    std::string joined;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) joined += Summary(line) + "|";
    return joined;
  }

  IspellSession Session(PipeEncoding encoding = PipeEncoding::Utf8) {
    return IspellSession(database, settings, folder.path() / "Intellisense.txt", folder.path() / "palabras.txt",
                         encoding);
  }

  testing::TestFolder folder;
  WordDatabase database;
  Settings settings;
};

TEST_F(IspellSessionTest, AnswersEveryWordWithItsKindAndCharacterOffset) {
  IspellSession session = Session();
  struct Case {
    std::string line, answers;
  } cases[] = {
      {"hola camion mundo", "*|& camion 5 camión|*||"},
      // "^" is counted, accents are one character each, and the case of the word is kept.
      {"^\xC3\xA1rbol Camion CAMION xyzzy", "*|& Camion 7 Camión|& CAMION 14 CAMIÓN|? xyzzy 21||"},
      // Inside a question the interrogative takes its accent; the question ends with the line.
      {"\xC2\xBF" "donde est\xC3\xA1s? donde", "& donde 1 dónde|*|*||"},
      {"donde", "*||"},
      // Digits and punctuation separate words; a NUL too; letters Windows-1252 lacks are kept.
      {std::string("casa2mundo ho\0la Erd\xC5\x91s", 23), "*|*|? ho 11|? la 14|? Erdős 17||"},
      {"", "|"},
      {"  ,;", "|"},
  };
  for (const Case& c : cases) EXPECT_TRUE(Agree(c.answers, Answers(session, {c.line}))) << c.line;
}

TEST_F(IspellSessionTest, AccentAdviceFromTheLineComesFirstUnlessSwitchedOff) {
  IspellSession session = Session();
  EXPECT_TRUE(Agree("& el 0 \xC3\xA9l|*||", Answers(session, {"el canta"})));
  EXPECT_TRUE(Agree("*||", Answers(session, {"el"})));
  session.SetContextAdvice(false);
  EXPECT_TRUE(Agree("*|*||", Answers(session, {"el canta"})));
}

TEST_F(IspellSessionTest, CommandsChangeTheSessionAndAnswerNothing) {
  IspellSession session = Session();
  // Terse mode leaves out accepted words; "%" brings them back, "`" names them.
  EXPECT_TRUE(Agree("& camion 5 camión||*||* hola||", Answers(session, {"!", "hola camion", "%", "hola", "`", "hola", "%"})));
  // TeX mode skips control words; "-" ends it. Aspell's and formatter commands are taken quietly.
  EXPECT_TRUE(Agree("*|? xyzzy 18||? begin 1||", Answers(session, {"+", "\\begin casa \\emph{xyzzy}", "-", "\\begin"})));
  EXPECT_TRUE(Agree("? xyzzy 1||", Answers(session, {"~tex", "$$ra camion,camión", "#", "$xyzzy"})));
  // "@" accepts for the session only; "*" and "&" also keep the word in the user's list.
  EXPECT_TRUE(Agree("*|*|*||", Answers(session, {"@xyzzy", "*Blogueo", "&wifi", "xyzzy blogueo WIFI"})));
  EXPECT_EQ(folder.Read("palabras.txt"), "Blogueo\nwifi\n");
  WordDatabase reloaded = database;
  LoadUserWords(folder.path() / "palabras.txt", reloaded);
  IspellSession next(reloaded, settings, folder.path() / "Intellisense.txt", folder.path() / "palabras.txt",
                     PipeEncoding::Utf8);
  EXPECT_TRUE(Agree("*|? xyzzy 8||", Answers(next, {"blogueo xyzzy"})));
}

TEST_F(IspellSessionTest, AUserWordThatCannotBeKeptIsReportedAndStillAccepted) {
  folder.Write("palabras.txt/dentro", "");  // a folder where the list should be
  IspellSession session = Session();
  std::string out;
  session.Answer("*blogueo", out);
  EXPECT_EQ(out, "");  // never among the answers: the program tells it on standard error
  EXPECT_EQ(session.TakeFailure().rfind("cannot add 'blogueo' to ", 0), 0u);
  EXPECT_EQ(session.TakeFailure(), "");
  EXPECT_TRUE(Agree("*||", Answers(session, {"blogueo"})));
}

TEST_F(IspellSessionTest, EncodingsInAndOut) {
  // A line that is not UTF-8 is read as Windows-1252; the answer is still UTF-8.
  IspellSession utf8 = Session();
  EXPECT_TRUE(Agree("*|& camion 6 camión|? xyzñ 13||", Answers(utf8, {"\xE1rbol camion xyz\xF1"})));
  // A Windows-1252 session answers in Windows-1252.
  IspellSession windows = Session(PipeEncoding::Windows1252);
  EXPECT_TRUE(Agree("*|& camion 6 cami\xF3n||", Answers(windows, {"\xE1rbol camion"})));

  std::string out;
  utf8.ListRejected("hola camion xyzzy", out);
  EXPECT_EQ(out, "camion\nxyzzy\n");
}

TEST(IspellOptions, WhatEditorsPassIsAcceptedNeverFatal) {
  struct Case {
    std::vector<std::string> args;
    IspellMode mode;
    PipeEncoding encoding;
    std::size_t notes;
  } cases[] = {
      {{"--db", "x"}, IspellMode::None, PipeEncoding::Utf8, 0},
      {{"-vv"}, IspellMode::Version, PipeEncoding::Utf8, 0},
      // Emacs with an ispell-like program, with Hunspell's and with Aspell's arguments.
      {{"-a", "-m", "-B", "-d", "castellano", "-p", "/tmp/p", "--db", "x"}, IspellMode::Pipe, PipeEncoding::Utf8, 3},
      // A country's name chooses that country.
      {{"-a", "", "-d", "es_ES", "-i", "ISO-8859-1"}, IspellMode::Pipe, PipeEncoding::Windows1252, 0},
      {{"-a", "--encoding=utf-8", "--lang=es", "--sug-mode=ultra", "-C", "-S", "-w", "'", "-W3"},
       IspellMode::Pipe, PipeEncoding::Utf8, 6},
      {{"-l", "-Tlatin1", "-i", "koi8-r", "fichero", "-p"}, IspellMode::List, PipeEncoding::Utf8, 4},
  };
  for (const Case& c : cases) {
    const IspellOptions options = ParseIspellOptions(c.args);
    EXPECT_EQ(options.mode, c.mode) << c.args.size();
    EXPECT_EQ(options.encoding, c.encoding) << c.args.size();
    EXPECT_EQ(options.notes.size(), c.notes) << ::testing::PrintToString(options.notes);
  }
  const IspellOptions emacs = ParseIspellOptions({"-a", "-p", "/tmp/p", "--db=/db"});
  EXPECT_EQ(emacs.userWordsFile, std::filesystem::path("/tmp/p"));
  EXPECT_EQ(emacs.database, std::filesystem::path("/db"));
  EXPECT_EQ(ParseIspellOptions({"-a", "-d", "es-MX"}).country, "es-MX");
  EXPECT_EQ(ParseIspellOptions({"-a", "--country=es_AR"}).country, "es_AR");
}

}  // namespace
}  // namespace velmara::cli
