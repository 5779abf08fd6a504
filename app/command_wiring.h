#pragma once
// The one place where the dialogs of the side tools are plugged into the program.

namespace velmara {

struct AppState;
class Interaction;
class MainWindow;

// Shown before anything else, every start.
void ShowStartUpBoxes(Interaction& interaction);

// Gives the menu items of the side tools their commands (see MainWindow::SetCommand); items
// left without one stay disabled.
void WireCommands(MainWindow& window, AppState& state, Interaction& interaction);

}  // namespace velmara
