#pragma once
// The tune player's clock in the program: a monotonic timer, and waits that run the window's
// event loop so clicks, timers and a close are handled while a tone or pause lasts.

#include "media/beeper_clock.h"

#include <QElapsedTimer>
#include <QPointer>

class QEventLoop;

namespace parvex {

class Event_Loop_Clock final : public Beeper_Clock {
public:
    Event_Loop_Clock();
    std::int64_t Now_Ms() override;
    void Wait(std::int64_t max_ms) override;
    void Interrupt() override;

private:
    QElapsedTimer timer_;
    QPointer<QEventLoop> loop_;
};

} // namespace parvex
