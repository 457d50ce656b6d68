#include "frame/idle_fader.h"

#include <algorithm>

namespace parvex {

Idle_Fader::Event Idle_Fader::idle(std::int64_t now_ms, const Idle_Fade_Settings& settings) {
    if (!settings.enabled || deadline_ != 0 || timer_on_ || level_ != Opaque)
        return Event::None;
    // A deadline of exactly 0 would read as "not armed".
    deadline_ = std::max<std::int64_t>(1, now_ms + std::int64_t{settings.wait_secs} * 1000);
    blending_ = true;
    timer_on_ = true;
    return Event::Armed;
}

Idle_Fader::Event Idle_Fader::tick(std::int64_t now_ms, const Idle_Fade_Settings& settings) {
    if (!timer_on_ || now_ms < deadline_)
        return Event::None;
    if (level_ > settings.blend_level) {
        --level_;
        return Event::None;
    }
    set_back(0, settings);
    return Event::Reached;
}

void Idle_Fader::set_back(int level, const Idle_Fade_Settings& settings) {
    if (level != 0)
        level_ = std::clamp(level, 0, Opaque);
    deadline_ = 0;
    timer_on_ = false;
    if (!settings.enabled)
        blending_ = false;
}

int Elapsed_Day_Seconds(std::int64_t start_ms, std::int64_t now_ms) {
    std::int64_t secs = std::max<std::int64_t>(0, (now_ms - start_ms) / 1000);
    return static_cast<int>(secs % 86400);
}

} // namespace parvex
