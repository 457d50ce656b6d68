#include "media/event_loop_clock.h"

#include <QEventLoop>
#include <QTimer>

namespace parvex {

Event_Loop_Clock::Event_Loop_Clock() {
    timer_.start();
}

std::int64_t Event_Loop_Clock::Now_Ms() {
    return timer_.elapsed();
}

void Event_Loop_Clock::Wait(std::int64_t max_ms) {
    if (max_ms <= 0)
        return;
    // A local loop sleeps until an event or the end of the wait, where polling would keep the
    // processor busy for the whole tune. A wait inside a wait (an event handled during this one
    // asks for a tone) is refused by the player before it gets here.
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(max_ms), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop_ = &loop;
    loop.exec();
    loop_ = nullptr;
}

void Event_Loop_Clock::Interrupt() {
    if (loop_)
        loop_->quit();
}

} // namespace parvex
