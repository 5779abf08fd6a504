#include "app/command_wiring.h"

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/menu_ids.h"
#include "tools/about_box.h"
#include "tools/apology_box.h"
#include "tools/export.h"
#include "tools/favourite_colours_dialog.h"
#include "tools/rules_viewer.h"
#include "ui/interaction.h"

namespace velmara {

void ShowStartUpBoxes(Interaction& interaction) {
  (void)interaction;
  ShowApologyBox();
}

void WireCommands(MainWindow& window, AppState& state, Interaction& interaction) {
  window.SetCommand(command::kExport, [&] { ExportFormattedText(state, interaction); });
  window.SetCommand(command::kFavouriteColours, [&] { ShowFavouriteColours(state, interaction); });
  window.SetCommand(command::kAbout, [&state] { ShowAboutBox(state); });
  for (int id = command::kRulesFirst; id <= command::kRulesLast; ++id)
    window.SetCommand(id, [id] { ShowRulesViewer(command::RulesPageCode(id)); });
  // Each side tool adds its line here. The window keeps the busy flags and re-arms the clipboard
  // poll after the options dialog, so a handler only opens its dialog. For example:
  //   window.SetCommand(command::kOptions, [&state] { ShowOptionsDialog(state); });
  //   window.SetCommand(command::kFinder, [&] { ShowStringFinder(state, interaction); });
  //   window.SetSuggestions([&] { ShowSuggestionsDialog(state, interaction); });
}

}  // namespace velmara
