#pragma once
// The tone sink of the program: each tone is synthesized (a sine with short fades, so nothing
// clicks) and played through Qt's audio output. Make_Tone_Sink gives the silent sink instead
// when the system has no audio output.

#include "media/tone_sink.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QBuffer>
#include <QByteArray>

#include <memory>

class QAudioSink;

namespace parvex {

class Audio_Tone_Sink final : public Tone_Sink {
public:
    explicit Audio_Tone_Sink(const QAudioDevice& device);
    ~Audio_Tone_Sink() override;
    void Start_Tone(int frequency, int duration_ms) override;
    void Stop_Tone() override;

private:
    QAudioDevice device_;
    QAudioFormat format_;
    std::unique_ptr<QAudioSink> sink_;
    QBuffer buffer_;
    QByteArray pcm_;
};

// The samples of one tone in the given format (16-bit or float, any channel count).
QByteArray Synthesize_Tone(int frequency, int duration_ms, const QAudioFormat& format);

// The sink for this system: the audio output when there is one, else the silent sink.
std::unique_ptr<Tone_Sink> Make_Tone_Sink();

} // namespace parvex
