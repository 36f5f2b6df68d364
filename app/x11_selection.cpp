#include "x11_selection.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <string_view>

namespace morvane {
namespace {

using Clock = std::chrono::steady_clock;

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> reply(T* pointer) {
  return Reply<T>(pointer, &std::free);
}

xcb_atom_t intern(xcb_connection_t* connection, std::string_view name) {
  const auto answer = reply(xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.data()),
      nullptr));
  return answer ? answer->atom : xcb_atom_t{XCB_ATOM_NONE};
}

class Connection {
 public:
  Connection() : connection_(xcb_connect(nullptr, &screen_number_)) {}
  ~Connection() { xcb_disconnect(connection_); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  [[nodiscard]] bool ok() const { return xcb_connection_has_error(connection_) == 0; }
  xcb_connection_t* get() const { return connection_; }

  xcb_screen_t* screen() const {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screen_number_ && it.rem > 0; ++i) xcb_screen_next(&it);
    return it.rem > 0 ? it.data : nullptr;
  }

  // The next event of `type` (response type without the sent bit) before
  // `deadline`, or null.
  Reply<xcb_generic_event_t> wait_for(uint8_t type, Clock::time_point deadline) const {
    for (;;) {
      while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        if ((event->response_type & 0x7F) == type) return reply(event);
        std::free(event);
      }
      if (!ok()) break;
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (left.count() <= 0) break;
      pollfd descriptor{xcb_get_file_descriptor(connection_), POLLIN, 0};
      poll(&descriptor, 1, static_cast<int>(left.count()));
    }
    return reply<xcb_generic_event_t>(nullptr);
  }

 private:
  int screen_number_ = 0;
  xcb_connection_t* connection_;
};

// The whole property, deleted afterwards; null when it cannot be read.
Reply<xcb_get_property_reply_t> take_property(xcb_connection_t* connection, xcb_window_t window,
                                              xcb_atom_t property) {
  return reply(
      xcb_get_property_reply(connection,
                             xcb_get_property(connection, 1, window, property,
                                              XCB_GET_PROPERTY_TYPE_ANY, 0, UINT32_MAX / 4),
                             nullptr));
}

void append_value(std::string& text, const xcb_get_property_reply_t& property) {
  const auto* value = static_cast<const char*>(
      xcb_get_property_value(const_cast<xcb_get_property_reply_t*>(&property)));
  text.append(value, static_cast<std::size_t>(xcb_get_property_value_length(&property)));
}

}  // namespace

SelectionText read_clipboard_selection_utf8(std::chrono::milliseconds timeout) {
  const Clock::time_point deadline = Clock::now() + timeout;
  const Connection x;
  if (!x.ok()) return {};
  xcb_connection_t* c = x.get();
  const xcb_screen_t* screen = x.screen();
  if (screen == nullptr) return {};

  const xcb_atom_t clipboard = intern(c, "CLIPBOARD");
  const xcb_atom_t utf8_string = intern(c, "UTF8_STRING");
  const xcb_atom_t incr = intern(c, "INCR");
  const xcb_atom_t property = intern(c, "MORVANE_SELECTION");
  if (clipboard == XCB_ATOM_NONE || utf8_string == XCB_ATOM_NONE || property == XCB_ATOM_NONE) {
    return {};
  }

  // An input-only window to receive the transfer; it goes with the connection.
  const xcb_window_t window = xcb_generate_id(c);
  const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
  xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, XCB_CW_EVENT_MASK, &events);
  xcb_convert_selection(c, window, clipboard, utf8_string, property, XCB_CURRENT_TIME);
  xcb_flush(c);

  const auto notify = x.wait_for(XCB_SELECTION_NOTIFY, deadline);
  if (!notify) return {};
  const auto* selection = reinterpret_cast<const xcb_selection_notify_event_t*>(notify.get());
  if (selection->property == XCB_ATOM_NONE) return {SelectionRead::kNotOffered, {}};

  auto value = take_property(c, window, property);
  if (!value) return {};
  SelectionText result{SelectionRead::kText, {}};
  if (value->type != incr) {
    append_value(result.text, *value);
    return result;
  }
  // Large texts come in pieces: each new value of the property is the next
  // piece, and an empty one ends the transfer. Deleting a piece asks for the
  // next.
  xcb_flush(c);
  for (;;) {
    const auto event = x.wait_for(XCB_PROPERTY_NOTIFY, deadline);
    if (!event) return {};
    const auto* change = reinterpret_cast<const xcb_property_notify_event_t*>(event.get());
    if (change->atom != property || change->state != XCB_PROPERTY_NEW_VALUE) continue;
    value = take_property(c, window, property);
    if (!value) return {};
    xcb_flush(c);
    if (xcb_get_property_value_length(value.get()) == 0) return result;
    append_value(result.text, *value);
  }
}

}  // namespace morvane
