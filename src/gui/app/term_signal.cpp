#include "app/term_signal.h"

#include <QApplication>
#include <QSocketNotifier>

#include <csignal>
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

void Close_On_Term_Signal() {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signal_fds) != 0)
        return;
    auto* notifier = new QSocketNotifier(signal_fds[1], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char byte = 0;
        [[maybe_unused]] ssize_t n = ::read(signal_fds[1], &byte, 1);
        QApplication::closeAllWindows();
    });
    struct sigaction action = {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

bool Term_Signal_Received() {
    return received != 0;
}

} // namespace parvex
