// velmara-gui-bench: a check through the main window, from the menu command to the marked result,
// for texts of a given number of words made from a real text. Run offscreen by `make bench`.
// Usage: velmara-gui-bench PROGRAM_FOLDER TEXT_FILE [WORDS...]

#include <QApplication>
#include <QTextEdit>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "app/menu_ids.h"
#include "checker/encoding.h"
#include "ui/interaction.h"

namespace {

// Answers nothing and waits for no one; the clipboard holds the text under test.
class BenchInteraction : public velmara::Interaction {
 public:
  std::string clipboard;
  velmara::MessageAnswer ShowMessageBox(const std::string&, velmara::MessageButtons, bool,
                                        const std::string&) override {
    return velmara::MessageAnswer::Ok;
  }
  std::string ClipboardText() override { return clipboard; }
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  std::optional<std::filesystem::path> AskSaveFileName(const velmara::SaveFileRequest&) override { return {}; }
  std::optional<std::uint32_t> ChooseColour(std::uint32_t, std::array<std::uint32_t, 16>&) override { return {}; }
  void Beep(int, int) override {}
};

// The first `words` words of the text, repeated as often as needed, with its line breaks.
std::string TextOfWords(const std::string& base, std::size_t words) {
  std::string out;
  std::size_t count = 0;
  bool inWord = false;
  for (std::size_t i = 0; count < words || inWord; i = (i + 1) % base.size()) {
    const char c = base[i];
    const bool letter = static_cast<unsigned char>(c) >= 0x80 || std::isalpha(static_cast<unsigned char>(c));
    if (letter && !inWord) ++count;
    if (!letter && inWord && count >= words) break;
    inWord = letter;
    out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: velmara-gui-bench PROGRAM_FOLDER TEXT_FILE [WORDS...]\n";
    return 2;
  }
  QApplication application(argc, argv);
  std::ifstream file(argv[2], std::ios::binary);
  std::stringstream read;
  read << file.rdbuf();
  const std::string base = velmara::InputToWindows1252(read.str());
  if (base.empty()) {
    std::cerr << "velmara-gui-bench: empty text\n";
    return 2;
  }
  std::vector<std::size_t> sizes;
  for (int i = 3; i < argc; ++i) sizes.push_back(std::stoul(argv[i]));
  if (sizes.empty()) sizes = {10000, 200000};

  velmara::AppState state;
  state.programFolder = argv[1];
  BenchInteraction interaction;
  velmara::MainWindow window(state, interaction, true);
  if (!window.Initialise()) return 2;
  for (std::size_t words : sizes) {
    interaction.clipboard = TextOfWords(base, words);
    const auto started = std::chrono::steady_clock::now();
    const std::clock_t cpuStarted = std::clock();
    window.GetCommands().Run(velmara::command::kCheck);
    const auto took =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
    const double cpu = 1000.0 * static_cast<double>(std::clock() - cpuStarted) / CLOCKS_PER_SEC;
    // On a shared machine the processor time says more than the time on the clock.
    std::printf("check through the window, %zu words (%zu characters): %lld ms, %.0f ms of processor time\n",
                words, interaction.clipboard.size(), static_cast<long long>(took), cpu);
  }
  window.Quit();
  return 0;
}
