#pragma once
// A tone sink that writes down what it is asked to play, and a clock that tests move forward:
// together they measure a tune's tones, pauses and length without waiting for any of them.

#include "media/beeper_clock.h"
#include "media/tone_sink.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace parvex::test {

// Time moves only when the player waits; each wait jumps to its end (or by `step_ms` when set),
// after running `during` as the events that a real wait would let through.
class Fake_Beeper_Clock : public Beeper_Clock {
public:
    std::int64_t Now_Ms() override { return now; }
    void Wait(std::int64_t max_ms) override {
        ++waits;
        now += step_ms > 0 && step_ms < max_ms ? step_ms : max_ms;
        if (during)
            during(now);
    }
    void Interrupt() override { ++interrupts; }

    std::int64_t now = 1000;
    std::int64_t step_ms = 0;
    int waits = 0;
    int interrupts = 0;
    std::function<void(std::int64_t)> during;
};

struct Played_Tone {
    int frequency = 0;
    int duration_ms = 0;
    std::int64_t at_ms = 0; // by the clock, when the tone started
    friend bool operator==(const Played_Tone&, const Played_Tone&) = default;
};

class Recording_Tone_Sink : public Tone_Sink {
public:
    explicit Recording_Tone_Sink(Beeper_Clock& clock) : clock_(clock) {}
    void Start_Tone(int frequency, int duration_ms) override {
        tones.push_back({frequency, duration_ms, clock_.Now_Ms()});
    }
    void Stop_Tone() override { cut_at.push_back(clock_.Now_Ms()); }

    std::vector<Played_Tone> tones;
    std::vector<std::int64_t> cut_at;

private:
    Beeper_Clock& clock_;
};

} // namespace parvex::test
