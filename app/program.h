#pragma once
// The program from start to end: the boxes shown at start, the settings read, the main window
// run until it closes, the settings written back.

#include <filesystem>

namespace velmara {

struct AppState;
struct FileLocations;
class Interaction;

// Creates the main window, plugs the commands in and returns when the window has closed, by
// "&Quitar" or by the end of the session (SIGTERM, SIGHUP, SIGINT), which writes the settings
// at once; the session manager's request to commit data writes them too.
void RunMainWindow(AppState& state, Interaction& interaction, bool notificationArea);

// The whole run; returns the exit code, always 0.
int RunProgram(const FileLocations& locations, Interaction& interaction, bool notificationArea);
// The same with every file in the program folder.
int RunProgram(const std::filesystem::path& programFolder, Interaction& interaction, bool notificationArea);

}  // namespace velmara
