// The busy state around runs, the stop request from Escape, and idle fading.
#include "frame_stand_in.h"

#include "frame/directory_edit.h"
#include "frame/ini_file.h"
#include "platform/open_document.h"
#include "png_dump.h"
#include "temp_dir.h"
#include "widgets/gradient_caption.h"
#include "widgets/sgx.h"
#include "widgets/shadow_label.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdio>
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

// Movement over any child control, a click and a key each bring a faded window back, and a
// movement while waiting starts the wait again.
TEST_F(WorkTest, AnyActivityOverTheWindowEndsIdleFading) {
    w->fb_chk_14->setChecked(true);
    w->fb_cnt_T02->setValue(250);
    auto fade = [&] {
        w->fb_AEIdle();
        clock_ms += 60'000;
        for (int i = 0; i < 10 && w->fb_Timer_Idle->isActive(); ++i)
            w->fb_Timer_IdleTimer();
        ASSERT_EQ(w->idle_fader().level(), 250);
    };
    QWindow* handle = w->windowHandle();
    ASSERT_NE(handle, nullptr);
    const QPoint over_child = w->ed_ext_1->mapTo(w.get(), QPoint(5, 5));
    const std::function<void()> activities[] = {
        // The platform's movement over a child: delivered to the window handle.
        [&] {
            QMouseEvent move(QEvent::MouseMove, over_child, w->mapToGlobal(over_child),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(handle, &move);
        },
        [&] { QTest::mouseClick(w->chk_ext_1, Qt::LeftButton); },
        [&] { QTest::keyClick(w->ed_ext_1, Qt::Key_A); },
        [&] {
            QWheelEvent wheel(QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), QPoint(),
                              QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(w->ed_ext_1, &wheel);
        },
    };
    for (const auto& activity : activities) {
        fade();
        activity();
        EXPECT_EQ(w->idle_fader().level(), 255);
        EXPECT_NEAR(w->windowOpacity(), 1.0, 0.001);
        EXPECT_FALSE(w->idle_fader().armed());
    }
    // Waiting, not yet faded: a movement pushes the deadline out again.
    w->fb_AEIdle();
    ASSERT_TRUE(w->idle_fader().armed());
    QTest::keyClick(w->ed_ext_1, Qt::Key_B);
    EXPECT_FALSE(w->idle_fader().armed());
}

namespace {
// The window height the settings file holds ("NormPos" = left,top,right,bottom).
int stored_height(const std::string& settings_file) {
    IniFile ini;
    if (!IniFile::load(settings_file, ini))
        return -1;
    const std::string pos = ini.read("TForm1", "NormPos", "");
    int l = 0, t = 0, r = 0, b = 0;
    if (std::sscanf(pos.c_str(), "%d,%d,%d,%d", &l, &t, &r, &b) != 4)
        return -1;
    return b - t;
}
} // namespace

TEST_F(WorkTest, ClosingDuringARunAsksStopsRestoresThenCloses) {
    const int height = w->height();
    bool visible_after_close = false;
    const int done = w->job(10, [&](int step) {
        if (step == 1) {
            w->close();
            visible_after_close = w->isVisible();
        }
    });
    EXPECT_TRUE(visible_after_close);                    // the run ends first
    EXPECT_EQ(done, 2);                                  // the close stopped it
    ASSERT_EQ(questions, std::vector<QString>{"Close"}); // no key was pressed
    QApplication::processEvents();                       // the close waits for the event loop
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->events.back(), "saved");
    EXPECT_EQ(stored_height(w->settings_file()), height); // not the collapsed 28
    const std::string text = log();
    const auto end_of_run = text.find("\tof Process");
    const auto end_of_program = text.find("Proper END");
    ASSERT_NE(end_of_run, std::string::npos);
    ASSERT_NE(end_of_program, std::string::npos);
    EXPECT_LT(end_of_run, end_of_program);
    // "Proper END / of Program" is the last line.
    EXPECT_EQ(text.find("\r\n", end_of_program), text.size() - 2);
}

TEST_F(WorkTest, ClosingDuringARunAnsweredNoKeepsRunAndWindow) {
    answer_ok = false;
    const int done = w->job(5, [&](int step) {
        if (step == 1)
            w->close();
    });
    EXPECT_EQ(done, 5);
    QApplication::processEvents();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(log().find("Proper END"), std::string::npos);
    // Without a run the window closes at once, without a question.
    questions.clear();
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(questions.empty());
}

TEST_F(WorkTest, ClosingWhileAMessageOrQuestionIsShownClosesOnceItHasEnded) {
    struct Case {
        const char* what;
        std::function<bool()> show; // what the program shows; gives the answer
        bool answer;
    } cases[] = {
        {"timed message", [&] { return w->facade().M_Mess("Note", "^C:read me"); }, true},
        {"question", [&] { return w->facade().Question("Ask", "^C:sure ?"); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        w = std::make_unique<StandInForm>(dir.dir(), &dlg);
        w->show();
        QApplication::processEvents();
        auto ends = [&] {
            const std::string text = log();
            std::size_t n = 0;
            for (auto at = text.find("Proper END"); at != std::string::npos;
                 at = text.find("Proper END", at + 1))
                ++n;
            return n;
        };
        const std::size_t ends_before = ends();
        bool open_during = false;
        std::size_t ends_during = 0;
        dlg.setModalHook([&](TDlgs& d) {
            w->close(); // the window's close button while the message is up
            QApplication::processEvents();
            open_during = w->isVisible() && d.isVisible();
            ends_during = ends();
            (c.answer ? d.xdlg_btn_OK : d.xdlg_btn_No)->click();
        });
        EXPECT_EQ(c.show(), c.answer); // the caller still gets its answer
        EXPECT_TRUE(open_during);
        EXPECT_EQ(ends_during, ends_before);
        EXPECT_TRUE(w->closing_after_message());
        QApplication::processEvents(); // the close waits for the event loop
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(w->events.back(), "saved");
        EXPECT_EQ(ends(), ends_before + 1);
        dlg.setModalHook({});
    }
}

TEST_F(WorkTest, F1WithoutAProgramForTheHelpPageSaysSoOnce) {
    dir.write("help/index.htm", "<html></html>");
    Set_Document_Opener([](const QUrl&) { return false; });
    int shown = 0;
    dlg.setModalHook([&](TDlgs& d) {
        ++shown;
        d.xdlg_btn_break_OK->click();
    });
    // When the message has gone the window system may not have given the focus back yet.
    QObject::connect(&dlg, &TDlgs::modalEnded, w.get(), [] {
        if (QWidget* focus = QApplication::focusWidget())
            focus->clearFocus();
    });
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    w->ed_ext_1->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), w->ed_ext_1);
    QTest::keyClick(w->ed_ext_1, Qt::Key_F1);
    EXPECT_EQ(shown, 1);
    const std::string text = log();
    std::size_t lines = 0;
    for (std::size_t at = text.find("F1 - Help"); at != std::string::npos;
         at = text.find("F1 - Help", at + 1))
        ++lines;
    EXPECT_EQ(lines, 1u) << text;
    Set_Document_Opener({});
}

TEST_F(WorkTest, TheEndOfARunLogsItsFileName) {
    w->job(3, [&](int step) {
        if (step == 0)
            w->facade().Mess("working ...", "^C:^P:scanning^^F:/src/Unit1.pas^working on file", 0);
    });
    // The end entry: title, the elapsed text (empty for a short run) and the file name.
    EXPECT_NE(log().find("\tworking ...\t\t/src/Unit1.pas\r\n"), std::string::npos) << log();
}

TEST_F(WorkTest, LogViewerKeepsFieldsApart) {
    w->job(1, [&](int) { w->facade().Mess("working", "^C:^F:/src/u.pas^working on file", 0); });
    w->fb_loadLOGClick();
    bool found = false;
    for (int i = 0; i < w->fb_tlb_Log->count(); ++i) {
        const QString line = w->fb_tlb_Log->item(i)->text();
        EXPECT_FALSE(line.contains('\t')) << line.toStdString();
        if (line.contains("working on file")) {
            found = true;
            EXPECT_TRUE(
                line.contains(QRegularExpression("working {2,}working on file {2,}/src/u.pas")))
                << line.toStdString();
        }
    }
    EXPECT_TRUE(found);
}

TEST_F(WorkTest, F1OpensTheHelpPageOrSaysWhyNot) {
    std::vector<QUrl> opened;
    bool opener_works = true;
    Set_Document_Opener([&](const QUrl& url) {
        opened.push_back(url);
        return opener_works;
    });
    // No help page: a message says so.
    press(Qt::Key_F1);
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(questions, std::vector<QString>{"F1 - Help"});
    EXPECT_TRUE(dlg.messageText().contains("help/index.htm")) << dlg.messageText().toStdString();

    // The page shipped with the program, beside it.
    dir.write("help/index.htm", test::read_bytes(PARVEX_DATA_DIR "/help/index.htm"));
    questions.clear();
    press(Qt::Key_F1);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].toLocalFile().toStdString(), (dir.path() / "help/index.htm").string());
    EXPECT_TRUE(questions.empty());

    // The system has no program for it: a message again.
    opener_works = false;
    press(Qt::Key_F1);
    EXPECT_EQ(questions, std::vector<QString>{"F1 - Help"});
    Set_Document_Opener({});
}

TEST(HelpPage, ShippedPageExplainsTheProgram) {
    const std::string page = test::read_bytes(PARVEX_DATA_DIR "/help/index.htm");
    EXPECT_NE(page.find("<title>Zivadu-Zedu Parvex"), std::string::npos);
    EXPECT_NE(page.find("create NEW-List"), std::string::npos);
    EXPECT_NE(page.find("Save to Sourcepath"), std::string::npos);
}
