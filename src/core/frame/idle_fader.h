#pragma once
// Idle fading of the window: after a period without mouse movement the window's opacity falls
// step by step to a chosen level; a movement brings it back. Times are milliseconds of any clock.

#include <cstdint>

namespace parvex {

struct Idle_Fade_Settings {
    bool enabled = false;  // "use Transparency"
    int wait_secs = 60;    // "Seconds to wait before action"
    int blend_level = 128; // "Count down to BLEND-Level ( from 255 )"
};

class Idle_Fader {
public:
    static constexpr int Opaque = 255;
    enum class Event { None, Armed, Reached };

    // The program's message queue ran empty: arms the deadline when fading is on and nothing
    // is armed, running or faded.
    Event idle(std::int64_t now_ms, const Idle_Fade_Settings& settings);
    // One step of the fading timer: nothing before the deadline, then one level down per step
    // until the chosen level is reached.
    Event tick(std::int64_t now_ms, const Idle_Fade_Settings& settings);
    // Ends fading: a level other than 0 becomes the new level; blending goes off when fading
    // is switched off.
    void set_back(int level, const Idle_Fade_Settings& settings);

    int level() const { return level_; }
    bool blending() const { return blending_; }
    bool timer_on() const { return timer_on_; }
    bool armed() const { return deadline_ != 0; }
    std::int64_t deadline() const { return deadline_; }

private:
    int level_ = Opaque;
    bool blending_ = false;
    bool timer_on_ = false;
    std::int64_t deadline_ = 0; // 0: not armed
};

// Seconds of a run shown as a time of day: a run longer than a day shows the remainder.
int Elapsed_Day_Seconds(std::int64_t start_ms, std::int64_t now_ms);

} // namespace parvex
