#pragma once
// The tune player's sense of time: a monotonic millisecond counter and a wait that lets the
// window handle its events. The program uses the event loop; tests use a clock they advance.

#include <cstdint>

namespace parvex {

class Beeper_Clock {
public:
    virtual ~Beeper_Clock() = default;
    // Milliseconds on a clock that never goes back.
    virtual std::int64_t Now_Ms() = 0;
    // Lets pending events run for at most `max_ms`; may return earlier.
    virtual void Wait(std::int64_t max_ms) = 0;
    // Ends a Wait in progress as soon as possible (the tune is stopped).
    virtual void Interrupt() {}
};

} // namespace parvex
