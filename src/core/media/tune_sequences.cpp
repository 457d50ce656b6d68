#include "media/tune_sequences.h"

#include <array>
#include <initializer_list>

namespace parvex {

namespace {

constexpr std::uint16_t P = Pause_Frequency;

// Frequencies that all last the same time.
std::vector<Tone> even(std::initializer_list<std::uint16_t> freqs, std::int32_t ms) {
    std::vector<Tone> t;
    for (std::uint16_t f : freqs)
        t.push_back({f, ms});
    return t;
}

std::vector<Tone> repeated(const std::vector<Tone>& part, int times) {
    std::vector<Tone> t;
    for (int i = 0; i < times; ++i)
        t.insert(t.end(), part.begin(), part.end());
    return t;
}

std::vector<Tone> joined(std::initializer_list<std::vector<Tone>> parts) {
    std::vector<Tone> t;
    for (const auto& p : parts)
        t.insert(t.end(), p.begin(), p.end());
    return t;
}

std::array<std::vector<Tone>, Preset_Sound_Count> make_tunes() {
    std::array<std::vector<Tone>, Preset_Sound_Count> t;
    t[0] = {{932, 100}, {988, 100}, {1046, 100}};
    t[1] = {{92, 150}, {P, 200}, {65, 500}};
    t[2] = {{932, 100}, {988, 100}, {1046, 100}, {P, 100}, {1046, 100}, {988, 100}, {932, 100}};
    t[3] = repeated({{698, 200}, {494, 200}}, 4);
    t[4] = joined({{{261, 150}},
                   even({247, 233, 220, 207, 196, 189, 174, 165, 155, 149, 138}, 50),
                   {{131, 100}, {65, 200}}});
    t[5] = {{196, 650}, {P, 100}, {165, 500}};
    t[6] = joined({repeated({{196, 200}, {P, 50}}, 3),
                   {{165, 700}, {P, 100}},
                   repeated({{261, 200}, {P, 50}}, 3),
                   {{131, 700}}});
    t[7] = repeated(even({329, 311, 293, 311}, 100), 3);
    t[8] = even({329, 311, 293, 311, 349, 329, 311, 329, 370, 349, 329, 349}, 100);
    t[9] = even({494, 466, 440, 415, 392, 370, 349, 329, 311, 293, 277, 261}, 80);
    t[10] = even({523, 698, 784, 1046}, 80);
    t[11] = even({784, 1046, 830, 1109, 880, 1174, 932, 1244, 988, 1318, 1046, 1397}, 80);
    t[12] = even({261, 277, 293, 311, 329, 349, 370, 392, 415, 440, 466, 494}, 80);
    return t;
}

// Speaker sound numbers 1 .. 13 in the alphabetical order of the tune names.
constexpr std::array<TPresetSound, Preset_Sound_Count> Alphabetical{
    TPresetSound::psCall, TPresetSound::psChord,     TPresetSound::psClimb,
    TPresetSound::psDaze, TPresetSound::psEmergency, TPresetSound::psError,
    TPresetSound::psFall, TPresetSound::psHanging,   TPresetSound::psOfficial,
    TPresetSound::psOK,   TPresetSound::psWelcome,   TPresetSound::psWhisle,
    TPresetSound::psWrong};

constexpr std::array<Tone, 5> Single_Tones{
    {{293, 10}, {131, 50}, {65, 50}, {82, 100}, {1318, 100}}};

constexpr std::array<const char*, Preset_Sound_Count> Names{
    "psOK",   "psError", "psWelcome", "psEmergency", "psWrong",   "psCall", "psOfficial",
    "psDaze", "psFall",  "psChord",   "psWhisle",    "psHanging", "psClimb"};

} // namespace

int Beat_Length(TBeatDuration beat) {
    switch (beat) {
    case TBeatDuration::bd_500:
        return 500;
    case TBeatDuration::bd_1000:
        return 1000;
    case TBeatDuration::bd_1500:
        return 1500;
    case TBeatDuration::bd_2000:
        return 2000;
    }
    return 1000;
}

const std::vector<Tone>& Preset_Tune(int ordinal) {
    static const std::array<std::vector<Tone>, Preset_Sound_Count> tunes = make_tunes();
    static const std::vector<Tone> none;
    if (ordinal < 0 || ordinal >= Preset_Sound_Count)
        return none;
    return tunes[static_cast<std::size_t>(ordinal)];
}

std::int64_t Tune_Duration(const std::vector<Tone>& tune) {
    std::int64_t sum = 0;
    for (const Tone& t : tune)
        sum += t.duration_ms > 0 ? t.duration_ms : 0;
    return sum;
}

Speaker_Sound Speaker_Sound_For(int number) {
    Speaker_Sound s;
    if (number >= 1 && number <= Preset_Sound_Count)
        s.preset = Alphabetical[static_cast<std::size_t>(number - 1)];
    else if (number > Preset_Sound_Count && number <= Speaker_Sound_Count)
        s.tone = Single_Tones[static_cast<std::size_t>(number - Preset_Sound_Count - 1)];
    return s;
}

const char* Preset_Name(TPresetSound sound) {
    const int i = static_cast<int>(sound);
    return i >= 0 && i < Preset_Sound_Count ? Names[static_cast<std::size_t>(i)] : "";
}

} // namespace parvex
