#include "app/term_signal.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include <csignal>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace parvex {

namespace {
int signal_fds[2] = {-1, -1};
volatile std::sig_atomic_t received = 0;

// A signal handler may do almost nothing: it writes one byte, and the event loop does the rest.
void on_signal(int) {
    received = 1;
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(signal_fds[0], &byte, 1);
}
} // namespace

void Close_On_Term_Signal(std::function<bool()> ready) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signal_fds) != 0)
        return;
    auto* notifier = new QSocketNotifier(signal_fds[1], QSocketNotifier::Read, qApp);
    auto close_when_ready = std::make_shared<std::function<void()>>();
    *close_when_ready = [ready, weak = std::weak_ptr(close_when_ready)] {
        if (ready && !ready()) {
            if (auto again = weak.lock())
                QTimer::singleShot(50, qApp, [again] { (*again)(); });
            return;
        }
        QApplication::closeAllWindows();
    };
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [close_when_ready] {
        char byte = 0;
        [[maybe_unused]] ssize_t n = ::read(signal_fds[1], &byte, 1);
        (*close_when_ready)();
    });
    struct sigaction action = {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

namespace {
class Quit_On_Close : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Close) {
            // The close may still be refused (a run that goes on): look once it is handled.
            QPointer<QWidget> w = qobject_cast<QWidget*>(watched);
            QTimer::singleShot(0, qApp, [w] {
                if (w && !w->isVisible())
                    QCoreApplication::quit();
            });
        }
        return false;
    }
};
} // namespace

void Quit_When_Closed(QWidget* main_window) {
    main_window->installEventFilter(new Quit_On_Close(main_window));
}

bool Term_Signal_Received() {
    return received != 0;
}

} // namespace parvex
