#include "app/commands.h"

#include <QLabel>
#include <algorithm>
#include <iterator>

#include "app/app_state.h"
#include "app/bibliography.h"
#include "app/check_display.h"
#include "app/main_window.h"
#include "app/menu_ids.h"
#include "app/result_texts.h"
#include "checker/characters.h"
#include "checker/check_run.h"
#include "checker/context.h"
#include "checker/classify.h"
#include "checker/marking.h"
#include "ui/interaction.h"
#include "ui/pump.h"
#include "ui/text.h"

namespace velmara {

namespace {

std::chrono::milliseconds SteadyNow() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

}  // namespace

Commands::Commands(AppState& state, Interaction& interaction, MainWindow& window)
    : state_(state), interaction_(interaction), window_(window), clock_(SteadyNow) {
  using namespace command;
  handlers_[kCheck] = [this] {
    UnheldCharacters unheld;
    const std::string text = interaction_.ClipboardTextKeeping(unheld);
    CheckText(text, CheckKind::Menu, unheld);
  };
  handlers_[kBibliography] = [this] {
    interaction_.ShowMessageBox(BibliographyText(), MessageButtons::Ok, false);
  };
  handlers_[kCorrectedColour] = [this] { SetColourAndQuit(kCorrectedColour); };
  handlers_[kVerbColour] = [this] { SetColourAndQuit(kVerbColour); };
  // The colours of missing words and false positives are fixed at start; these items only keep
  // the screen alive, and the doubtful-verb colour comes from the configuration file alone.
  handlers_[kMissingColour] = [] { PumpPendingEvents(); };
  handlers_[kFalsePositiveColour] = [] { PumpPendingEvents(); };
  handlers_[kDoubtfulVerbColour] = [] {};
  handlers_[kShow] = [this] { window_.ShowWindow(); };
  handlers_[kHide] = [this] { window_.HideWindow(); };
  handlers_[kQuit] = [this] { window_.Quit(); };
}

Commands::Guard Commands::GuardOf(int id) {
  using namespace command;
  if (id == kOptions) return Guard::Options;
  if (id == kCheck || id == kBibliography || id == kFinder || id == kFavouriteColours || id == kAbout ||
      id == kExport || (id >= kRulesFirst && id <= kRulesLast)) {
    return Guard::Busy;
  }
  return Guard::None;
}

void Commands::SetCommand(int id, std::function<void()> handler) { handlers_[id] = std::move(handler); }

void Commands::Run(int id) {
  auto found = handlers_.find(id);
  if (found == handlers_.end()) return;
  // A copy: the handler may replace itself while it runs.
  std::function<void()> handler = found->second;
  switch (GuardOf(id)) {
    case Guard::Busy: {
      if (state_.busy || state_.loading) return;
      FlagScope busy(state_.busy);
      handler();
      break;
    }
    case Guard::Options: {
      if (state_.optionsBusy) return;
      {
        FlagScope busy(state_.optionsBusy);
        handler();
      }
      window_.RearmClipboardTimer();
      break;
    }
    case Guard::None: handler(); break;
  }
}

void Commands::ClipboardTick() {
  // A text copied meanwhile is checked at the first tick after.
  if (state_.checking || state_.loading) return;
  const std::uint64_t changes = interaction_.ClipboardChanges();
  UnheldCharacters unheld;
  std::string text = interaction_.ClipboardTextKeeping(unheld);
  const bool reported = changes != seenClipboardChanges_;
  const bool sameText = text == lastClipboardText_ && unheld.codes == lastClipboardUnheld_;
  seenClipboardChanges_ = changes;
  if (reported && sameText && clipboardReportDue_) {
    clipboardReportDue_ = false;
    return;
  }
  if (text.empty() || (!reported && sameText)) return;
  clipboardReportDue_ = !reported;
  lastClipboardText_ = text;
  lastClipboardUnheld_ = unheld.codes;
  CheckText(text, CheckKind::Clipboard, unheld);
}

void Commands::RememberClipboard() {
  seenClipboardChanges_ = interaction_.ClipboardChanges();
  clipboardReportDue_ = false;
  UnheldCharacters unheld;
  std::string text = interaction_.ClipboardTextKeeping(unheld);
  if (text.empty()) return;
  lastClipboardText_ = std::move(text);
  lastClipboardUnheld_ = unheld.codes;
}

void Commands::CheckText(const std::string& sourceText, CheckKind kind, const UnheldCharacters& unheld) {
  if (state_.checking || state_.loading) return;
  // Held through the message and the suggestions too: both read what this run left behind.
  FlagScope checking(state_.checking);
  const Settings& settings = state_.settings;
  // An automatic check may tell its figures without raising the window or taking the focus.
  const bool quiet = kind == CheckKind::Clipboard && settings.Avisar_sin_interrumpir == 1;
  suggestionsPending_ = false;
  const std::chrono::milliseconds started = clock_();
  if (settings.Dificultad == 1) state_.check.CharacterTotal = 0;
  window_.StatusPart(2).clear();
  window_.StatusPart(3).clear();
  window_.SetExportEnabled(false);
  if (!quiet) window_.ShowWindow();

  const std::string displayText = DisplayTextOf(sourceText);
  SetBoxText(window_.MainBox(), displayText, unheld);
  SetBoxText(window_.ResultBox(), std::string());
  PrepareCheck(state_.check, sourceText);
  state_.check.unheld = unheld;
  state_.check.unheld.next = 0;
  const std::size_t wordCount = CountWords(state_.check.source);
  if (kind == CheckKind::Menu) window_.StatusPart(1).setText(QString::number(wordCount));
  window_.ShowStatusIcon();

  CheckDisplay display(window_.MainBox(), window_.StatusPart(1), WidePositions(displayText, unheld));
  Classifier classifier(state_.database, state_.settings, state_.IntellisensePath(), state_.check);
  CheckRun(classifier, displayText, BuildCharacterNameTable(), display, state_.Files().traceFile);
  display.Finish();
  if (settings.Contexto == 1) state_.check.advice = ContextAdvisor(state_.database).Advise(state_.check);
  ShowResults(window_.ResultBox(), state_.check, settings);
  window_.ScrollBoxesToStart();
  PumpPendingEvents();
  // "&Quitar" or a colour command chosen during the run: the program is ending.
  if (window_.Closed()) return;

  window_.SetExportEnabled(true);
  if (!quiet) window_.ShowWindow();
  if (settings.Crono == 1) {
    window_.StatusPart(2).setText(ToQString(TimeText((clock_() - started).count() / 1000)));
  }
  if (settings.Dificultad == 1) {
    window_.StatusPart(3).setText(ToQString(DifficultyText(state_.check.CharacterTotal, wordCount)));
  }
  const std::string message = ResultMessage(state_.check.CorrectedCount, state_.check.MissingCount, wordCount);
  const bool offerSuggestions = kind == CheckKind::Clipboard && state_.check.MissingCount > 0 && suggestions_;
  if (quiet) {
    // One line a figure, as a notification shows lines.
    std::string notice;
    std::copy_if(message.begin(), message.end(), std::back_inserter(notice), [](char c) { return c != '\r'; });
    if (offerSuggestions) notice += "\nPulse aqu\xED para elegir las soluciones.";
    suggestionsPending_ = offerSuggestions;
    window_.Notify(notice);
    return;
  }
  interaction_.ShowMessageBox(message, MessageButtons::Ok, true);
  if (offerSuggestions) suggestions_();
}

void Commands::OfferSuggestions() {
  if (!suggestionsPending_ || state_.checking || !suggestions_) return;
  suggestionsPending_ = false;
  FlagScope checking(state_.checking);
  suggestions_();
}

void Commands::SetColourAndQuit(int id) {
  std::int32_t colour = static_cast<std::int32_t>(state_.selectedColour);
  if (id == command::kCorrectedColour) state_.settings.Corregidos = colour;
  if (id == command::kVerbColour) state_.settings.Verbos_Bien = colour;
  interaction_.ShowMessageBox("Salimos del programa, para configurar ...", MessageButtons::Ok, true);
  window_.Quit();
}

}  // namespace velmara
