#include "ui/wayland_clipboard.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <QSocketNotifier>
#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "ext-data-control-v1-client-protocol.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

namespace velmara {

namespace {

// Both protocols have the same requests and events in the same order; only their names differ.
static_assert(EXT_DATA_CONTROL_MANAGER_V1_GET_DATA_DEVICE == ZWLR_DATA_CONTROL_MANAGER_V1_GET_DATA_DEVICE);
static_assert(EXT_DATA_CONTROL_DEVICE_V1_DESTROY == ZWLR_DATA_CONTROL_DEVICE_V1_DESTROY);
static_assert(EXT_DATA_CONTROL_OFFER_V1_RECEIVE == ZWLR_DATA_CONTROL_OFFER_V1_RECEIVE);
static_assert(EXT_DATA_CONTROL_OFFER_V1_DESTROY == ZWLR_DATA_CONTROL_OFFER_V1_DESTROY);

struct Protocol {
  const wl_interface* manager;
  const wl_interface* device;
};
const Protocol kExt{&ext_data_control_manager_v1_interface, &ext_data_control_device_v1_interface};
const Protocol kWlr{&zwlr_data_control_manager_v1_interface, &zwlr_data_control_device_v1_interface};

// The text types a selection may be read as, best first.
constexpr std::array<const char*, 5> kTextTypes = {"text/plain;charset=utf-8", "UTF8_STRING", "text/plain", "TEXT",
                                                   "STRING"};

// The events of the device and of an offer, in protocol order.
struct DeviceListener {
  void (*dataOffer)(void* data, wl_proxy* device, wl_proxy* offer);
  void (*selection)(void* data, wl_proxy* device, wl_proxy* offer);
  void (*finished)(void* data, wl_proxy* device);
  void (*primarySelection)(void* data, wl_proxy* device, wl_proxy* offer);
};
struct OfferListener {
  void (*offer)(void* data, wl_proxy* offer, const char* mimeType);
};

}  // namespace

struct WaylandClipboardWatcher::Connection {
  wl_display* display = nullptr;
  wl_registry* registry = nullptr;
  wl_seat* seat = nullptr;
  wl_proxy* manager = nullptr;
  const Protocol* protocol = nullptr;
  wl_proxy* device = nullptr;
  wl_proxy* selection = nullptr;  // the offer of the current selection
  std::map<wl_proxy*, std::vector<std::string>> offeredTypes;
  WaylandClipboardWatcher* watcher = nullptr;

  ~Connection() {
    for (auto& [offer, types] : offeredTypes) DestroyOffer(offer);
    if (device) wl_proxy_marshal_flags(device, ZWLR_DATA_CONTROL_DEVICE_V1_DESTROY, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
    if (manager) {
      wl_proxy_marshal_flags(manager, ZWLR_DATA_CONTROL_MANAGER_V1_DESTROY, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
    }
    if (seat) wl_seat_destroy(seat);
    if (registry) wl_registry_destroy(registry);
    if (display) wl_display_disconnect(display);
  }

  static void DestroyOffer(wl_proxy* offer) {
    wl_proxy_marshal_flags(offer, ZWLR_DATA_CONTROL_OFFER_V1_DESTROY, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
  }

  static void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                     std::uint32_t) {
    auto* self = static_cast<Connection*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !self->seat) {
      self->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
      return;
    }
    // The standard protocol wins over the wlroots one when a compositor offers both.
    for (const Protocol* protocol : {&kExt, &kWlr}) {
      if (std::strcmp(interface, protocol->manager->name) != 0) continue;
      if (self->manager && self->protocol == &kExt) return;
      if (self->manager) wl_proxy_destroy(self->manager);
      self->manager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, protocol->manager, 1));
      self->protocol = protocol;
    }
  }
  static void GlobalRemove(void*, wl_registry*, std::uint32_t) {}

  // Connects and learns the globals; false when the session has no compositor or no protocol.
  bool Open() {
    display = wl_display_connect(nullptr);
    if (!display) return false;
    static const wl_registry_listener kRegistry{Global, GlobalRemove};
    registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistry, this);
    if (wl_display_roundtrip(display) < 0) return false;
    return seat && manager;
  }

  static void DataOffer(void* data, wl_proxy*, wl_proxy* offer) {
    static const OfferListener kOffer{[](void* data, wl_proxy* offer, const char* type) {
      static_cast<Connection*>(data)->offeredTypes[offer].emplace_back(type);
    }};
    auto* self = static_cast<Connection*>(data);
    self->offeredTypes[offer];
    wl_proxy_add_listener(offer, reinterpret_cast<void (**)(void)>(const_cast<OfferListener*>(&kOffer)), self);
  }

  static void Selection(void* data, wl_proxy*, wl_proxy* offer) {
    auto* self = static_cast<Connection*>(data);
    if (self->selection && self->selection != offer) {
      self->offeredTypes.erase(self->selection);
      DestroyOffer(self->selection);
    }
    self->selection = offer;
    int descriptor = -1;
    if (offer) {
      const std::vector<std::string>& types = self->offeredTypes[offer];
      for (const char* wanted : kTextTypes) {
        if (std::find(types.begin(), types.end(), wanted) == types.end()) continue;
        int pipe[2];
        if (::pipe2(pipe, O_CLOEXEC | O_NONBLOCK) != 0) break;
        wl_proxy_marshal_flags(offer, ZWLR_DATA_CONTROL_OFFER_V1_RECEIVE, nullptr, 1, 0, wanted, pipe[1]);
        wl_display_flush(self->display);
        ::close(pipe[1]);
        descriptor = pipe[0];
        break;
      }
    }
    self->watcher->Receive(descriptor);
  }

  static void PrimarySelection(void* data, wl_proxy*, wl_proxy* offer) {
    // Only the clipboard is watched; the primary selection's offers are let go at once.
    auto* self = static_cast<Connection*>(data);
    if (offer && offer != self->selection) {
      self->offeredTypes.erase(offer);
      DestroyOffer(offer);
    }
  }

  static void Finished(void* data, wl_proxy*) {
    auto* self = static_cast<Connection*>(data);
    wl_proxy_marshal_flags(self->device, ZWLR_DATA_CONTROL_DEVICE_V1_DESTROY, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
    self->device = nullptr;
  }

  bool Watch() {
    static const DeviceListener kDevice{DataOffer, Selection, Finished, PrimarySelection};
    device = wl_proxy_marshal_flags(manager, ZWLR_DATA_CONTROL_MANAGER_V1_GET_DATA_DEVICE, protocol->device, 1, 0,
                                    nullptr, seat);
    if (!device) return false;
    wl_proxy_add_listener(device, reinterpret_cast<void (**)(void)>(const_cast<DeviceListener*>(&kDevice)), this);
    return wl_display_flush(display) >= 0;
  }
};

bool WaylandOffersDataControl() {
  WaylandClipboardWatcher::Connection connection;
  return connection.Open();
}

std::unique_ptr<WaylandClipboardWatcher> WaylandClipboardWatcher::Start() {
  auto connection = std::make_unique<Connection>();
  if (!connection->Open()) return nullptr;
  std::unique_ptr<WaylandClipboardWatcher> watcher(new WaylandClipboardWatcher(std::move(connection)));
  if (!watcher->connection_->Watch()) return nullptr;
  // What the clipboard holds at the start is read now, so it is there when the program first
  // looks and is not taken for a new copy.
  if (wl_display_roundtrip(watcher->connection_->display) < 0) return nullptr;
  watcher->WaitForText(500);
  return watcher;
}

WaylandClipboardWatcher::WaylandClipboardWatcher(std::unique_ptr<Connection> connection)
    : connection_(std::move(connection)) {
  connection_->watcher = this;
  events_ = new QSocketNotifier(wl_display_get_fd(connection_->display), QSocketNotifier::Read, this);
  connect(events_, &QSocketNotifier::activated, this, &WaylandClipboardWatcher::Dispatch);
}

WaylandClipboardWatcher::~WaylandClipboardWatcher() { Finish(false); }

void WaylandClipboardWatcher::Dispatch() {
  if (wl_display_dispatch(connection_->display) < 0) {
    // The compositor has gone: nothing more will come.
    events_->setEnabled(false);
    return;
  }
  wl_display_flush(connection_->display);
}

void WaylandClipboardWatcher::Receive(int descriptor) {
  Finish(false);
  if (descriptor < 0) {
    // A selection without text, or none at all: the clipboard holds no text now.
    incoming_.clear();
    Finish(true);
    return;
  }
  reading_ = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
  connect(reading_, &QSocketNotifier::activated, this, &WaylandClipboardWatcher::ReadMore);
}

void WaylandClipboardWatcher::ReadMore() {
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(static_cast<int>(reading_->socket()), buffer, sizeof buffer);
    if (got > 0) {
      incoming_.append(buffer, got);
      continue;
    }
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) return;
    Finish(true);  // the end of the data (or a failed read: what came is what there is)
    return;
  }
}

void WaylandClipboardWatcher::WaitForText(int milliseconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (reading_) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    pollfd ready{static_cast<int>(reading_->socket()), POLLIN, 0};
    if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) return;
    ReadMore();
  }
}

void WaylandClipboardWatcher::Finish(bool complete) {
  if (reading_) {
    const int descriptor = static_cast<int>(reading_->socket());
    delete reading_;
    reading_ = nullptr;
    ::close(descriptor);
  }
  if (!complete) {
    incoming_.clear();
    return;
  }
  text_ = QString::fromUtf8(incoming_);
  incoming_.clear();
  if (first_) {
    first_ = false;
    return;
  }
  ++changes_;
  emit Changed();
}

}  // namespace velmara
