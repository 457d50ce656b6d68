#include "platform/window_system.h"

#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

#ifdef PARVEX_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

namespace parvex {

namespace {

#ifdef PARVEX_HAVE_XCB
xcb_connection_t* x11_connection() {
    if (auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        return x11->connection();
    return nullptr;
}

std::uint32_t intern_atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    if (!reply)
        return 0;
    const std::uint32_t atom = reply->atom;
    std::free(reply);
    return atom;
}
#endif

} // namespace

void Flush_Window_System() {
#ifdef PARVEX_HAVE_XCB
    if (xcb_connection_t* c = x11_connection())
        xcb_flush(c);
#endif
}

Close_Request_Watch::Close_Request_Watch(QWidget* window) : window_(window) {
#ifdef PARVEX_HAVE_XCB
    if (xcb_connection_t* c = x11_connection()) {
        protocols_atom_ = intern_atom(c, "WM_PROTOCOLS");
        delete_atom_ = intern_atom(c, "WM_DELETE_WINDOW");
    }
#endif
    if (qGuiApp && delete_atom_ != 0)
        qGuiApp->installNativeEventFilter(this);
}

Close_Request_Watch::~Close_Request_Watch() {
    if (qGuiApp)
        qGuiApp->removeNativeEventFilter(this);
}

bool Close_Request_Watch::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
#ifdef PARVEX_HAVE_XCB
    if (type != "xcb_generic_event_t" || !window_ || delete_atom_ == 0)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* client = static_cast<const xcb_client_message_event_t*>(message);
    if (client->type != protocols_atom_ || client->data.data32[0] != delete_atom_ ||
        client->window != static_cast<xcb_window_t>(window_->winId()))
        return false;
    // Qt hands the request on itself unless a modal window blocks this one.
    QWindow* modal = QGuiApplication::modalWindow();
    if (!modal || modal == window_->windowHandle())
        return false;
    QPointer<QWidget> target = window_;
    QTimer::singleShot(0, target, [target] {
        if (target)
            target->close();
    });
#else
    (void)type;
    (void)message;
#endif
    return false;
}

} // namespace parvex
