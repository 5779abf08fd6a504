// Built where the Wayland client library is absent: no session is watched this way.
#include "ui/wayland_clipboard.h"

namespace velmara {

struct WaylandClipboardWatcher::Connection {};

bool WaylandOffersDataControl() { return false; }

std::unique_ptr<WaylandClipboardWatcher> WaylandClipboardWatcher::Start() { return nullptr; }

WaylandClipboardWatcher::~WaylandClipboardWatcher() = default;

}  // namespace velmara
