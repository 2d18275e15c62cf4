#include "WindowGone.h"

#include <xcb/xcb.h>

namespace zorsim {

bool WindowGoneWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || message == nullptr) return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // The top bit marks an event another client sent; a destruction is real either way.
    if ((event->response_type & 0x7F) != XCB_DESTROY_NOTIFY) return false;
    const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
    const WId own = window_.internalWinId();
    if (own != 0 && destroyed->window == own) gone_();
    // The toolkit sees the event as well; it only learns that the window is gone.
    return false;
}

}  // namespace zorsim
