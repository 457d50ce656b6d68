#include "media/audio_tone_sink.h"

#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace parvex {

namespace {

constexpr double Volume = 0.25;
constexpr int Fade_Ms = 5;

QAudioFormat tone_format(const QAudioDevice& device) {
    QAudioFormat f = device.preferredFormat();
    QAudioFormat want = f;
    want.setSampleFormat(QAudioFormat::Int16);
    if (device.isFormatSupported(want))
        return want;
    return f;
}

} // namespace

QByteArray Synthesize_Tone(int frequency, int duration_ms, const QAudioFormat& format) {
    const int rate = format.sampleRate();
    const int channels = std::max(1, format.channelCount());
    const auto kind = format.sampleFormat();
    if (rate <= 0 || duration_ms <= 0 ||
        (kind != QAudioFormat::Int16 && kind != QAudioFormat::Float))
        return {};
    const qsizetype frames = static_cast<qsizetype>(rate) * duration_ms / 1000;
    const qsizetype fade =
        std::min<qsizetype>(static_cast<qsizetype>(rate) * Fade_Ms / 1000, frames / 2);
    const int bytes = format.bytesPerSample();
    QByteArray pcm(frames * channels * bytes, '\0');
    char* out = pcm.data();
    const double step = 2.0 * std::numbers::pi * frequency / rate;
    for (qsizetype i = 0; i < frames; ++i) {
        double gain = Volume;
        if (fade > 0 && i < fade)
            gain *= static_cast<double>(i) / fade;
        else if (fade > 0 && frames - i <= fade)
            gain *= static_cast<double>(frames - i - 1) / fade;
        const double v = gain * std::sin(step * static_cast<double>(i));
        for (int c = 0; c < channels; ++c) {
            if (kind == QAudioFormat::Int16) {
                const auto s = static_cast<qint16>(std::lround(v * 32767.0));
                std::memcpy(out, &s, sizeof s);
            } else {
                const auto s = static_cast<float>(v);
                std::memcpy(out, &s, sizeof s);
            }
            out += bytes;
        }
    }
    return pcm;
}

Audio_Tone_Sink::Audio_Tone_Sink(const QAudioDevice& device)
    : device_(device), format_(tone_format(device)) {}

Audio_Tone_Sink::~Audio_Tone_Sink() {
    Stop_Tone();
}

void Audio_Tone_Sink::Start_Tone(int frequency, int duration_ms) {
    if (!sink_)
        sink_ = std::make_unique<QAudioSink>(device_, format_);
    // A tone still draining from the device's buffer gives way to the next one; both fade at
    // their edges, so the cut does not click.
    sink_->stop();
    buffer_.close();
    pcm_ = Synthesize_Tone(frequency, duration_ms, format_);
    if (pcm_.isEmpty())
        return;
    buffer_.setBuffer(&pcm_);
    buffer_.open(QIODevice::ReadOnly);
    sink_->start(&buffer_);
}

void Audio_Tone_Sink::Stop_Tone() {
    if (sink_)
        sink_->stop();
    buffer_.close();
}

std::unique_ptr<Tone_Sink> Make_Tone_Sink() {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return std::make_unique<Silent_Tone_Sink>();
    return std::make_unique<Audio_Tone_Sink>(device);
}

} // namespace parvex
