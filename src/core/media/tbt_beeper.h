#pragma once
// TBTBeeper, the speaker-tune player: single tones and the thirteen preset tunes, each call
// returning when its sound has ended. Tones go to a Tone_Sink; every tone and pause is timed by
// a Beeper_Clock whose wait keeps the window handling events.

#include "media/beeper_clock.h"
#include "media/tone_sink.h"
#include "media/tune_sequences.h"

#include <cstdint>

namespace parvex {

class TBTBeeper {
public:
    // Lowest and highest frequency the speaker plays; anything else is silence of its length.
    static constexpr int Min_Frequency = 40;
    static constexpr int Max_Frequency = 5000;

    TBTBeeper(Tone_Sink& sink, Beeper_Clock& clock) : sink_(&sink), clock_(&clock) {}

    void Set_Sink(Tone_Sink& sink) { sink_ = &sink; }
    void Set_Clock(Beeper_Clock& clock) { clock_ = &clock; }

    // One tone, or a pause when the frequency is 1. A duration of 0 or less returns at once.
    void PlayTone(std::uint16_t frequency, std::int32_t duration_ms);
    // The tune of that ordinal; any ordinal outside 0 .. 12 plays nothing.
    void PlayPreset(int ordinal);
    void PlayPreset(TPresetSound sound) { PlayPreset(static_cast<int>(sound)); }

    // True while a tone or tune plays. Another call meanwhile (from an event handled during a
    // pause) returns at once: tunes do not nest.
    bool Playing() const { return playing_; }
    // Cuts off the tone or tune that plays; nothing when none does.
    void Stop();

    TBeatDuration BeatDuration() const { return beat_; }
    void SetBeatDuration(TBeatDuration beat);
    int Beat_Length_Ms() const { return beat_ms_; }
    TPresetSound DefaultSound = TPresetSound::psOK;

private:
    void play(const std::vector<Tone>& tones);
    void tone(const Tone& t);
    void wait(std::int64_t ms);

    Tone_Sink* sink_;
    Beeper_Clock* clock_;
    TBeatDuration beat_ = TBeatDuration::bd_1000;
    int beat_ms_ = 1000;
    bool playing_ = false;
    bool stopped_ = false;
};

} // namespace parvex
