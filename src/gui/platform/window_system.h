#pragma once
// What Qt leaves to the window system's own timing, made to happen now: requests queued for the
// window system are sent at once, and a close request for a window that a message box blocks
// (which Qt drops) is handed to the window.

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>

#include <cstdint>

namespace parvex {

// Sends the requests queued for the window system. Qt sends them when its event loop next reads
// from the window system, which may not happen for a long time while nothing is painted: a new
// window opacity would only show when the mouse moves.
void Flush_Window_System();

// Watches for the window manager's close request for one window. While a modal message blocks
// the window, Qt drops that request; the watch closes the window (QWidget::close) instead, once
// the current event has been handled, so the window decides when to close.
class Close_Request_Watch : public QAbstractNativeEventFilter {
public:
    explicit Close_Request_Watch(QWidget* window);
    ~Close_Request_Watch() override;
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

private:
    QPointer<QWidget> window_;
    std::uint32_t protocols_atom_ = 0;
    std::uint32_t delete_atom_ = 0;
};

} // namespace parvex
