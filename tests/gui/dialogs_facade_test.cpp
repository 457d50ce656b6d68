#include "dialogs/tdlgs.h"
#include "frame/message_facade.h"
#include "widgets/speed_button.h"

#include <QCheckBox>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

using namespace parvex;

namespace {

struct FacadeTest : ::testing::Test {
    QWidget main;
    TDlgs dlg{&main};
    MessageFacade facade{&dlg, &main};
    std::vector<std::string> sounds;
    std::vector<int> count_downs; // Count_Down when each modal display began

    FacadeTest() {
        facade.setSoundPlayer([this](const std::string& s) { sounds.push_back(s); });
        dlg.setModalHook([this](TDlgs& d) {
            count_downs.push_back(d.Count_Down);
            (d.xdlg_btn_break_OK->isVisible() ? d.xdlg_btn_break_OK : d.xdlg_btn_OK)->click();
        });
    }
    ~FacadeTest() override {
        dlg.setModalHook({});
        dlg.hide();
    }
};

} // namespace

TEST_F(FacadeTest, TimedOperationsPassTheDisplayTimesAndPlaySounds) {
    using Op = bool (MessageFacade::*)(const QString&, const QString&);
    struct Case {
        Op op;
        int secs;
        const char* sound;
        int kind;
    } cases[] = {
        {&MessageFacade::S_Mess, 2, "DM", TDlgs::Kind_Info},
        {&MessageFacade::M_Mess, 5, "DM", TDlgs::Kind_Info},
        {&MessageFacade::L_Mess, 10, "DM", TDlgs::Kind_Info},
        {&MessageFacade::S_Error, 2, "DE", TDlgs::Kind_Stop},
        {&MessageFacade::M_Error, 5, "DE", TDlgs::Kind_Stop},
        {&MessageFacade::L_Error, 10, "DE", TDlgs::Kind_Stop},
    };
    for (const auto& c : cases) {
        sounds.clear();
        count_downs.clear();
        EXPECT_TRUE((facade.*c.op)("Predefined Colors", "text"));
        EXPECT_EQ(count_downs, std::vector<int>{c.secs});
        EXPECT_EQ(sounds, std::vector<std::string>{c.sound});
        EXPECT_EQ(dlg.kind(), c.kind);
    }
}

TEST_F(FacadeTest, DisplayTimesFollowTheSettingsWithinTheirRange) {
    facade.setDisplayTimes(1, 0, 99);
    EXPECT_EQ(facade.settings().short_secs, 1);
    EXPECT_EQ(facade.settings().medium_secs, 1);
    EXPECT_EQ(facade.settings().long_secs, 30);
    EXPECT_TRUE(facade.S_Mess("T", "one second"));
    EXPECT_TRUE(facade.L_Error("T", "thirty"));
    EXPECT_EQ(count_downs, (std::vector<int>{1, 30}));

    // Settings written directly still never turn a short message into one left open.
    facade.settings().medium_secs = 0;
    facade.settings().short_secs = -4;
    EXPECT_TRUE(facade.M_Mess("T", "at least a second"));
    EXPECT_TRUE(facade.S_Error("T", "at least a second"));
    EXPECT_EQ(count_downs, (std::vector<int>{1, 30, 1, 1}));
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(FacadeTest, OpenMessageAndItsClosingCall) {
    EXPECT_TRUE(facade.Mess("I N I T", "^C:starting", 0));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(facade.Mess("", "", 0));
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(sounds, (std::vector<std::string>{"DM", "Dm"}));

    sounds.clear();
    facade.settings().sound_at_end = false;
    EXPECT_TRUE(facade.Error("", "", 0));
    EXPECT_TRUE(sounds.empty());
    facade.settings().sound_at_end = true;
    EXPECT_TRUE(facade.Error("", "", 0));
    EXPECT_EQ(sounds, std::vector<std::string>{"De"});

    sounds.clear();
    facade.settings().sound_at_start = false;
    EXPECT_TRUE(facade.Mess("title", "no start sound", 0));
    EXPECT_TRUE(sounds.empty());
    facade.Mess("", "", 0);
}

TEST_F(FacadeTest, QuestionsReturnTheAnswerAndPlayTheirSound) {
    using Op = bool (MessageFacade::*)(const QString&, const QString&);
    struct Case {
        Op op;
        const char* sound;
        int kind;
    } cases[] = {
        {&MessageFacade::Stop, "DS", TDlgs::Kind_Stop},
        {&MessageFacade::INFO, "DI", TDlgs::Kind_Info},
        {&MessageFacade::Warning, "DW", TDlgs::Kind_Warning},
        {&MessageFacade::Question, "DQ", TDlgs::Kind_Confirm},
    };
    for (const auto& c : cases) {
        for (bool ok : {true, false}) {
            sounds.clear();
            dlg.setModalHook([ok](TDlgs& d) { (ok ? d.xdlg_btn_OK : d.xdlg_btn_No)->click(); });
            EXPECT_EQ((facade.*c.op)("", "sure?"), ok) << c.sound; // sound even without a title
            EXPECT_EQ(sounds, std::vector<std::string>{c.sound});
            EXPECT_EQ(dlg.kind(), c.kind);
        }
    }
    facade.settings().sound_at_start = false;
    sounds.clear();
    EXPECT_FALSE(facade.Question("Q", "no sound"));
    EXPECT_TRUE(sounds.empty());
}

TEST_F(FacadeTest, LogSwitchReachesTheDialogsLog) {
    facade.setLogEnabled(true);
    EXPECT_TRUE(dlg.log().Log_Enabled);
    EXPECT_TRUE(facade.logEnabled());
    facade.setLogEnabled(false);
    EXPECT_FALSE(facade.logEnabled());
}

TEST_F(FacadeTest, ResetBtnStatusRunsTheLeaveHandlerOfSpeedButtonsOnly) {
    bool working = false;
    facade.setWorkInProgress([&] { return working; });
    SpeedButton button("create NEW-List");
    QObject* left = nullptr;
    int leaves = 0;
    button.setMouseLeaveHandler([&](QObject* sender) {
        left = sender;
        ++leaves;
    });
    QCheckBox check("switch");
    QPushButton plain("plain");
    SpeedButton without_handler("none");

    facade.Reset_Btn_Status(&check);
    facade.Reset_Btn_Status(&plain);
    facade.Reset_Btn_Status(&without_handler);
    facade.Reset_Btn_Status(nullptr);
    EXPECT_EQ(leaves, 0);
    facade.Reset_Btn_Status(&button);
    EXPECT_EQ(leaves, 1);
    EXPECT_EQ(left, &button);
    working = true;
    facade.Reset_Btn_Status(&button);
    EXPECT_EQ(leaves, 1);
}

TEST(FacadeWithoutSounds, PlaySoundDoesNothingUntilAPlayerExists) {
    QWidget main;
    TDlgs dlg(&main);
    MessageFacade facade(&dlg, &main);
    facade.fb_Play_Sound("DM"); // no player yet: nothing happens, nothing breaks
    EXPECT_EQ(dlg.mainWindow(), &main);
    EXPECT_EQ(facade.mainWindow(), &main);
}
