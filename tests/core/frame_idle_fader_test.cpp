#include "frame/idle_fader.h"

#include <gtest/gtest.h>

using namespace parvex;

TEST(IdleFader, DefaultsFadeFrom255To128AfterSixtySeconds) {
    Idle_Fader f;
    Idle_Fade_Settings s{true, 60, 128};
    EXPECT_EQ(f.idle(1000, s), Idle_Fader::Event::Armed);
    EXPECT_EQ(f.deadline(), 61'000);
    EXPECT_TRUE(f.blending());
    EXPECT_EQ(f.idle(1000, s), Idle_Fader::Event::None); // already armed
    EXPECT_EQ(f.tick(60'999, s), Idle_Fader::Event::None);
    EXPECT_EQ(f.level(), 255);
    int steps = 0;
    Idle_Fader::Event e = Idle_Fader::Event::None;
    while ((e = f.tick(61'000 + steps * 50, s)) == Idle_Fader::Event::None)
        ++steps;
    EXPECT_EQ(e, Idle_Fader::Event::Reached);
    EXPECT_EQ(steps, 127);
    EXPECT_EQ(f.level(), 128);
    EXPECT_FALSE(f.timer_on());
    EXPECT_FALSE(f.armed());
    EXPECT_TRUE(f.blending());
    // It stays faded: arming needs full opacity again.
    EXPECT_EQ(f.idle(200'000, s), Idle_Fader::Event::None);
    f.set_back(255, s);
    EXPECT_EQ(f.idle(200'000, s), Idle_Fader::Event::Armed);
}

TEST(IdleFader, SwitchedOffNeverArmsAndSetBackEndsBlending) {
    Idle_Fader f;
    Idle_Fade_Settings on{true, 1, 200};
    Idle_Fade_Settings off{false, 1, 200};
    EXPECT_EQ(f.idle(0, off), Idle_Fader::Event::None);
    EXPECT_FALSE(f.blending());
    ASSERT_EQ(f.idle(0, on), Idle_Fader::Event::Armed);
    f.tick(5000, on);
    EXPECT_EQ(f.level(), 254);
    f.set_back(0, off); // 0 keeps the level
    EXPECT_EQ(f.level(), 254);
    EXPECT_FALSE(f.blending());
    EXPECT_FALSE(f.timer_on());
}

TEST(IdleFader, ElapsedTimeWrapsAfterADay) {
    EXPECT_EQ(Elapsed_Day_Seconds(1000, 1999), 0);
    EXPECT_EQ(Elapsed_Day_Seconds(0, 5'000), 5);
    EXPECT_EQ(Elapsed_Day_Seconds(0, (86'400 + 65) * 1000LL), 65);
    EXPECT_EQ(Elapsed_Day_Seconds(5000, 0), 0); // a clock set back shows no negative time
}
