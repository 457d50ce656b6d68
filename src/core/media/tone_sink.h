#pragma once
// Where the tune player's tones go: the sound card, nothing at all, or a test's record. The
// player keeps the time itself; a sink only starts and cuts off the sound.

namespace parvex {

class Tone_Sink {
public:
    virtual ~Tone_Sink() = default;
    // Starts a tone of `frequency` Hz that lasts `duration_ms` by itself; returns at once.
    virtual void Start_Tone(int frequency, int duration_ms) = 0;
    // Cuts off a tone that is still sounding (the tune was stopped).
    virtual void Stop_Tone() = 0;
};

// The sink where there is no audio device: the tune still takes its time.
class Silent_Tone_Sink final : public Tone_Sink {
public:
    void Start_Tone(int, int) override {}
    void Stop_Tone() override {}
};

} // namespace parvex
