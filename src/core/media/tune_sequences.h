#pragma once
// The speaker's repertoire as plain data: the thirteen preset tunes with their tone and pause
// sequences, the beat lengths, and what each of the eighteen speaker sound numbers plays.

#include <cstdint>
#include <optional>
#include <vector>

namespace parvex {

enum class TPresetSound {
    psOK,
    psError,
    psWelcome,
    psEmergency,
    psWrong,
    psCall,
    psOfficial,
    psDaze,
    psFall,
    psChord,
    psWhisle,
    psHanging,
    psClimb,
};
inline constexpr int Preset_Sound_Count = 13;

enum class TBeatDuration { bd_500, bd_1000, bd_1500, bd_2000 };

// 500, 1000, 1500 or 2000 ms.
int Beat_Length(TBeatDuration beat);

// One step of a tune: a tone of `frequency` Hz, or a pause when the frequency is 1.
struct Tone {
    std::uint16_t frequency = 1;
    std::int32_t duration_ms = 0;
    friend bool operator==(const Tone&, const Tone&) = default;
};
inline constexpr std::uint16_t Pause_Frequency = 1;

// The sequence of a preset by its ordinal; empty for an ordinal outside 0 .. 12.
const std::vector<Tone>& Preset_Tune(int ordinal);
// The sum of a sequence's durations (pauses included).
std::int64_t Tune_Duration(const std::vector<Tone>& tune);

// What a speaker sound number plays: 1 .. 13 a preset (in the alphabetical order of the tune
// names), 14 .. 18 a single tone; any other number plays nothing.
struct Speaker_Sound {
    std::optional<TPresetSound> preset;
    std::optional<Tone> tone;
    bool plays_nothing() const { return !preset && !tone; }
};
inline constexpr int Speaker_Sound_Count = 18;
Speaker_Sound Speaker_Sound_For(int number);

// The tune's name ("psCall", ...).
const char* Preset_Name(TPresetSound sound);

} // namespace parvex
