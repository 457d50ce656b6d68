#include "media/tbt_beeper.h"
#include "media/tune_sequences.h"

#include "recording_tone_sink.h"

#include <gtest/gtest.h>

#include <string>

using namespace parvex;
using parvex::test::Fake_Beeper_Clock;
using parvex::test::Played_Tone;
using parvex::test::Recording_Tone_Sink;

namespace {

struct Bench {
    Fake_Beeper_Clock clock;
    Recording_Tone_Sink sink{clock};
    TBTBeeper beeper{sink, clock};

    // Plays and gives how long the call took by the clock.
    template <class F> std::int64_t timed(F&& play) {
        const std::int64_t start = clock.now;
        play(beeper);
        return clock.now - start;
    }
};

// The tones a sequence makes (pauses left out), each with its start relative to the first.
std::vector<Played_Tone> expected_tones(const std::vector<Tone>& tune) {
    std::vector<Played_Tone> out;
    std::int64_t at = 0;
    for (const Tone& t : tune) {
        if (t.frequency != Pause_Frequency)
            out.push_back({t.frequency, t.duration_ms, at});
        at += t.duration_ms;
    }
    return out;
}

std::vector<Played_Tone> relative(std::vector<Played_Tone> tones, std::int64_t start) {
    for (auto& t : tones)
        t.at_ms -= start;
    return tones;
}

} // namespace

TEST(TBTBeeper, EveryPresetPlaysItsSequenceForItsWholeLength) {
    struct Case {
        TPresetSound sound;
        std::int64_t ms;
        std::size_t tones;
    } cases[] = {
        {TPresetSound::psOK, 300, 3},        {TPresetSound::psError, 850, 2},
        {TPresetSound::psWelcome, 700, 6},   {TPresetSound::psEmergency, 1600, 8},
        {TPresetSound::psWrong, 1000, 14},   {TPresetSound::psCall, 1250, 2},
        {TPresetSound::psOfficial, 3000, 8}, {TPresetSound::psDaze, 1200, 12},
        {TPresetSound::psFall, 1200, 12},    {TPresetSound::psChord, 960, 12},
        {TPresetSound::psWhisle, 320, 4},    {TPresetSound::psHanging, 960, 12},
        {TPresetSound::psClimb, 960, 12},
    };
    for (const Case& c : cases) {
        Bench b;
        const std::int64_t start = b.clock.now;
        const std::int64_t took = b.timed([&](TBTBeeper& p) { p.PlayPreset(c.sound); });
        SCOPED_TRACE(Preset_Name(c.sound));
        EXPECT_EQ(took, c.ms);
        EXPECT_EQ(b.sink.tones.size(), c.tones);
        EXPECT_EQ(relative(b.sink.tones, start),
                  expected_tones(Preset_Tune(static_cast<int>(c.sound))));
        EXPECT_FALSE(b.beeper.Playing());
    }
}

TEST(TBTBeeper, SequencesAsWritten) {
    const std::vector<Tone> official{{196, 200}, {1, 50},    {196, 200}, {1, 50},    {196, 200},
                                     {1, 50},    {165, 700}, {1, 100},   {261, 200}, {1, 50},
                                     {261, 200}, {1, 50},    {261, 200}, {1, 50},    {131, 700}};
    EXPECT_EQ(Preset_Tune(6), official);
    const std::vector<Tone> wrong{{261, 150}, {247, 50}, {233, 50},  {220, 50}, {207, 50},
                                  {196, 50},  {189, 50}, {174, 50},  {165, 50}, {155, 50},
                                  {149, 50},  {138, 50}, {131, 100}, {65, 200}};
    EXPECT_EQ(Preset_Tune(4), wrong);
    const std::vector<Tone> error{{92, 150}, {1, 200}, {65, 500}};
    EXPECT_EQ(Preset_Tune(1), error);
    EXPECT_EQ(Preset_Tune(3).front(), (Tone{698, 200}));
    EXPECT_EQ(Preset_Tune(3).back(), (Tone{494, 200}));
}

TEST(TBTBeeper, PausesSitBetweenTheTones) {
    Bench b;
    const std::int64_t start = b.clock.now;
    b.beeper.PlayPreset(TPresetSound::psError);
    // 92 Hz for 150 ms, 200 ms of silence, then 65 Hz.
    EXPECT_EQ(relative(b.sink.tones, start),
              (std::vector<Played_Tone>{{92, 150, 0}, {65, 500, 350}}));
}

TEST(TBTBeeper, OrdinalsOutsideTheTunesReturnAtOnce) {
    for (int ordinal : {13, 14, 255, -1}) {
        Bench b;
        EXPECT_EQ(b.timed([&](TBTBeeper& p) { p.PlayPreset(ordinal); }), 0) << ordinal;
        EXPECT_TRUE(b.sink.tones.empty());
        EXPECT_EQ(b.clock.waits, 0);
    }
}

TEST(TBTBeeper, ToneEdges) {
    struct Case {
        std::uint16_t f;
        std::int32_t d;
        std::int64_t took;
        bool sounds;
    } cases[] = {
        {1, 200, 200, false},   // a pause: silent, but its whole length
        {30, 100, 100, false},  // too low for the speaker: a pause of the same length
        {0, 100, 100, false},   //
        {5001, 80, 80, false},  // too high
        {65535, 80, 80, false}, //
        {40, 50, 50, true},     // the range's edges sound
        {5000, 50, 50, true},   //
        {440, 0, 0, false},     // no duration: back at once
        {440, -500, 0, false},  //
        {1, -1, 0, false},      //
    };
    for (const Case& c : cases) {
        Bench b;
        EXPECT_EQ(b.timed([&](TBTBeeper& p) { p.PlayTone(c.f, c.d); }), c.took)
            << c.f << "/" << c.d;
        EXPECT_EQ(b.sink.tones.size(), c.sounds ? 1u : 0u) << c.f << "/" << c.d;
    }
}

TEST(TBTBeeper, AWaitThatReturnsEarlyIsRepeatedUntilTheToneIsDone) {
    Bench b;
    b.clock.step_ms = 7; // events keep coming: every wait ends after 7 ms
    EXPECT_EQ(b.timed([](TBTBeeper& p) { p.PlayTone(440, 100); }), 100);
    EXPECT_EQ(b.clock.waits, 15); // 14 * 7 = 98, then the last 2 ms
}

TEST(TBTBeeper, ASoundAskedForDuringATuneIsDropped) {
    Bench b;
    int asked = 0;
    b.clock.during = [&](std::int64_t) {
        if (asked++ == 1) {
            b.beeper.PlayPreset(TPresetSound::psWrong); // from an event handled in a pause
            b.beeper.PlayTone(880, 1000);
        }
    };
    EXPECT_EQ(b.timed([](TBTBeeper& p) { p.PlayPreset(TPresetSound::psEmergency); }), 1600);
    EXPECT_EQ(b.sink.tones.size(), 8u);
    // Once the tune is over, the next call plays again.
    b.clock.during = {};
    b.beeper.PlayTone(880, 10);
    EXPECT_EQ(b.sink.tones.size(), 9u);
}

TEST(TBTBeeper, StopCutsTheTuneOffAtOnce) {
    Bench b;
    b.clock.step_ms = 50;
    b.clock.during = [&](std::int64_t now) {
        if (now - 1000 == 450)
            b.beeper.Stop(); // the window closes 450 ms into the tune
    };
    EXPECT_EQ(b.timed([](TBTBeeper& p) { p.PlayPreset(TPresetSound::psOfficial); }), 450);
    EXPECT_EQ(b.sink.tones.size(), 2u);
    EXPECT_EQ(b.sink.cut_at, (std::vector<std::int64_t>{1450}));
    EXPECT_EQ(b.clock.interrupts, 1);
    EXPECT_FALSE(b.beeper.Playing());
    // A stop when nothing plays changes nothing for the next tune.
    b.clock.during = {};
    b.beeper.Stop();
    EXPECT_EQ(b.timed([](TBTBeeper& p) { p.PlayPreset(TPresetSound::psOK); }), 300);
}

TEST(TBTBeeper, BeatDurationSetsTheBeatButNoTune) {
    Bench b;
    EXPECT_EQ(b.beeper.BeatDuration(), TBeatDuration::bd_1000);
    EXPECT_EQ(b.beeper.Beat_Length_Ms(), 1000);
    EXPECT_EQ(b.beeper.DefaultSound, TPresetSound::psOK);
    const std::pair<TBeatDuration, int> beats[] = {{TBeatDuration::bd_500, 500},
                                                   {TBeatDuration::bd_1500, 1500},
                                                   {TBeatDuration::bd_2000, 2000},
                                                   {TBeatDuration::bd_1000, 1000}};
    for (auto [beat, ms] : beats) {
        b.beeper.SetBeatDuration(beat);
        EXPECT_EQ(b.beeper.Beat_Length_Ms(), ms);
        EXPECT_EQ(b.timed([](TBTBeeper& p) { p.PlayPreset(TPresetSound::psOK); }), 300);
    }
}

TEST(SpeakerSounds, NumbersPlayTunesAlphabeticallyThenTones) {
    const char* names[] = {"psCall",    "psChord",  "psClimb",   "psDaze",     "psEmergency",
                           "psError",   "psFall",   "psHanging", "psOfficial", "psOK",
                           "psWelcome", "psWhisle", "psWrong"};
    for (int n = 1; n <= 13; ++n) {
        Speaker_Sound s = Speaker_Sound_For(n);
        ASSERT_TRUE(s.preset) << n;
        EXPECT_EQ(std::string(Preset_Name(*s.preset)), names[n - 1]);
        EXPECT_FALSE(s.tone);
    }
    const Tone tones[] = {{293, 10}, {131, 50}, {65, 50}, {82, 100}, {1318, 100}};
    for (int n = 14; n <= 18; ++n) {
        Speaker_Sound s = Speaker_Sound_For(n);
        ASSERT_TRUE(s.tone) << n;
        EXPECT_EQ(*s.tone, tones[n - 14]);
    }
    for (int n : {0, -3, 19, 1000})
        EXPECT_TRUE(Speaker_Sound_For(n).plays_nothing()) << n;
}
