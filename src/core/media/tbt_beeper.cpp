#include "media/tbt_beeper.h"

namespace parvex {

void TBTBeeper::SetBeatDuration(TBeatDuration beat) {
    if (beat == beat_)
        return;
    beat_ = beat;
    beat_ms_ = Beat_Length(beat);
}

void TBTBeeper::PlayTone(std::uint16_t frequency, std::int32_t duration_ms) {
    play({Tone{frequency, duration_ms}});
}

void TBTBeeper::PlayPreset(int ordinal) {
    play(Preset_Tune(ordinal));
}

void TBTBeeper::Stop() {
    if (!playing_)
        return;
    stopped_ = true;
    sink_->Stop_Tone();
    clock_->Interrupt();
}

void TBTBeeper::play(const std::vector<Tone>& tones) {
    // Events run during every wait; one of them may ask for a sound. It is dropped, so a tune
    // is never cut in two by another and the caller's wait stays the one that counts.
    if (playing_ || tones.empty())
        return;
    playing_ = true;
    stopped_ = false;
    for (const Tone& t : tones) {
        if (stopped_)
            break;
        tone(t);
    }
    playing_ = false;
    stopped_ = false;
}

void TBTBeeper::tone(const Tone& t) {
    if (t.duration_ms <= 0)
        return;
    // A frequency the speaker cannot play keeps the tune's timing as a pause of its length.
    const bool audible = t.frequency != Pause_Frequency && t.frequency >= Min_Frequency &&
                         t.frequency <= Max_Frequency;
    if (audible)
        sink_->Start_Tone(t.frequency, t.duration_ms);
    wait(t.duration_ms);
}

void TBTBeeper::wait(std::int64_t ms) {
    const std::int64_t start = clock_->Now_Ms();
    while (!stopped_) {
        const std::int64_t passed = clock_->Now_Ms() - start;
        if (passed >= ms)
            break;
        clock_->Wait(ms - passed);
    }
}

} // namespace parvex
