// The busy state around runs, the stop request from Escape, and idle fading.
#include "frame_stand_in.h"

#include "frame/directory_edit.h"
#include "png_dump.h"
#include "temp_dir.h"
#include "widgets/gradient_caption.h"
#include "widgets/sgx.h"
#include "widgets/shadow_label.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace parvex;
using parvex::test::StandInForm;

namespace {

struct WorkTest : ::testing::Test {
    test::TempDir dir;
    TDlgs dlg;
    std::unique_ptr<StandInForm> w;
    std::int64_t clock_ms = 1'000'000;
    std::vector<QString> questions; // titles of the questions asked
    bool answer_ok = true;

    WorkTest() {
        w = std::make_unique<StandInForm>(dir.dir(), &dlg);
        w->setClock([this] { return clock_ms; });
        w->show();
        dlg.setModalHook([this](TDlgs& d) {
            questions.push_back(d.titleText());
            (answer_ok ? d.xdlg_btn_OK : d.xdlg_btn_No)->click();
        });
    }
    ~WorkTest() override {
        dlg.setModalHook({});
        dlg.hide();
    }
    // A key as the user types it: to the control with the focus, else to the window.
    void press(int key) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus && focus->window() == w.get() ? focus : w.get(),
                        static_cast<Qt::Key>(key));
    }
    std::string log() const { return test::read_bytes(dir.path() / "Data/Logfile.txt"); }
};

} // namespace

TEST_F(WorkTest, RunCollapsesTheWindowDisablesInputAndRestoresEverything) {
    EXPECT_EQ(w->btn_Off->property("tag").toInt() & TFormBase::Keep_Enabled_Tag,
              TFormBase::Keep_Enabled_Tag);
    w->fb_chk_14->setEnabled(false); // disabled after the start-up: runs enable it again
    bool checked = false;
    w->job(3, [&](int step) {
        if (step != 0)
            return;
        checked = true;
        EXPECT_TRUE(w->working());
        EXPECT_EQ(w->height(), TFormBase::Work_Height);
        for (QWidget* c : std::initializer_list<QWidget*>{
                 w->ed_ext_1, w->chk_ext_1, w->btn_Work, w->fb_cnt_T01, w->fb_SG_News,
                 w->fb_DE_GData, w->fb_tlb_Log, w->fb_cb_Predef})
            EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
        EXPECT_TRUE(w->fb_Work_Timer->isActive());
        EXPECT_EQ(dlg.titleText(), "working");
        clock_ms += 5'000;
        w->fb_Work_TimerTimer();
        EXPECT_EQ(w->fb_CC->partText(Caption_Items::Status), "working 00:00:05");
        EXPECT_EQ(dlg.xdlg_GCap->partText(3), "working 00:00:05");
        test::save_png(*w, "frame_running");
    });
    EXPECT_TRUE(checked);
    EXPECT_FALSE(w->working());
    EXPECT_EQ(w->height(), TFormBase::Form_Height);
    for (QWidget* c :
         std::initializer_list<QWidget*>{w->ed_ext_1, w->btn_Work, w->fb_chk_14, w->fb_SG_News})
        EXPECT_TRUE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_FALSE(w->btn_Off->isEnabled()); // disabled when the start-up ended: stays so
    EXPECT_FALSE(w->fb_Work_Timer->isActive());
    EXPECT_EQ(w->fb_CC->partText(Caption_Items::Status), "");
    EXPECT_EQ(dlg.xdlg_GCap->partText(3), "");
    EXPECT_FALSE(dlg.isVisible());
    const std::string text = log();
    EXPECT_NE(text.find("working\tworking 00:00:05"), std::string::npos);
    EXPECT_NE(text.find("End\tof Process"), std::string::npos);
}

TEST_F(WorkTest, RunShorterThanATickLogsAnEmptyText) {
    w->job(2);
    EXPECT_NE(log().find("\tworking\t\r\n"), std::string::npos);
}

TEST_F(WorkTest, ConfirmedEscapeStopsTheRunAndTheNextRunStartsClear) {
    answer_ok = true;
    const int done = w->job(50, [&](int step) {
        if (step == 2)
            press(Qt::Key_Escape);
    });
    EXPECT_EQ(done, 3); // the step that was running finishes, the next one does not start
    EXPECT_EQ(questions, std::vector<QString>{"ESCAPE-KEY"});
    EXPECT_TRUE(w->stop_requested());
    EXPECT_EQ(w->height(), TFormBase::Form_Height);
    EXPECT_TRUE(w->btn_Work->isEnabled());

    EXPECT_EQ(w->job(10), 10);
    EXPECT_FALSE(w->stop_requested());
}

TEST_F(WorkTest, EscapeAnsweredNoGoesOnAndAsksAgainLater) {
    answer_ok = false;
    QString after;
    const int done = w->job(10, [&](int step) {
        if (step == 2 || step == 5)
            press(Qt::Key_Escape);
        if (step == 2)
            after = dlg.titleText();
    });
    EXPECT_EQ(done, 10);
    EXPECT_EQ(after, "after ESCAPE");
    EXPECT_EQ(questions.size(), 2u);
    EXPECT_FALSE(w->stop_requested());
}

TEST_F(WorkTest, EscapeWithoutARunAsksNothing) {
    press(Qt::Key_Escape);
    w->FormKeyDown(Qt::Key_Escape);
    EXPECT_TRUE(questions.empty());
    EXPECT_FALSE(w->stop_requested());
}

TEST_F(WorkTest, EscapeHandedOnByTheDialogReachesTheRun) {
    answer_ok = true;
    const int done = w->job(10, [&](int step) {
        if (step == 1)
            QTest::keyClick(&dlg, Qt::Key_Escape);
    });
    EXPECT_EQ(done, 2);
    EXPECT_EQ(questions.size(), 1u);
}

TEST_F(WorkTest, IdleFadingArmsFadesAndComesBack) {
    w->sounds.clear();
    w->fb_AEIdle();
    EXPECT_FALSE(w->idle_fader().armed()); // "use Transparency" is off
    EXPECT_FALSE(w->idle_fader().blending());

    w->fb_chk_14->setChecked(true);
    w->fb_cnt_T02->setValue(250);
    w->fb_AEIdle();
    ASSERT_TRUE(w->idle_fader().armed());
    EXPECT_TRUE(w->fb_Timer_Idle->isActive());
    EXPECT_EQ(w->fb_Timer_Idle->interval(), 50);
    EXPECT_EQ(w->sounds.back(), "As");
    w->fb_Timer_IdleTimer();
    EXPECT_EQ(w->idle_fader().level(), 255); // before the deadline
    clock_ms += 60'000;
    for (int i = 0; i < 10 && w->fb_Timer_Idle->isActive(); ++i)
        w->fb_Timer_IdleTimer();
    EXPECT_EQ(w->idle_fader().level(), 250);
    EXPECT_FALSE(w->fb_Timer_Idle->isActive());
    EXPECT_EQ(w->sounds.back(), "Ad");
    EXPECT_NEAR(w->windowOpacity(), 250 / 255.0, 0.01);
    w->fb_AEIdle();
    EXPECT_FALSE(w->idle_fader().armed()); // faded: waits for the mouse

    // A changed blend level brings full opacity back.
    w->fb_cnt_T02->setValue(200);
    EXPECT_EQ(w->idle_fader().level(), 255);
    w->fb_chk_14->setChecked(false);
    EXPECT_FALSE(w->idle_fader().blending());
}
