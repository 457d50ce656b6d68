#include "dialogs/tdlgs.h"

#include "png_dump.h"
#include "temp_dir.h"
#include "widgets/gradient_caption.h"
#include "widgets/gradient_panel.h"
#include "widgets/led_progress_bar.h"
#include "widgets/shadow_label.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

using namespace parvex;

namespace {

Log_Clock fixed_clock() {
    Log_Clock c;
    c.now = [] { return Local_Date_Time{2024, 5, 6, 7, 8, 9}; };
    c.short_date = [](const Local_Date_Time&) { return std::string("06.05.2024"); };
    c.long_time = [](const Local_Date_Time&) { return std::string("07:08:09"); };
    return c;
}

// A main window stand-in that records the keys handed to it.
class Key_Recorder : public QWidget {
public:
    std::vector<std::pair<int, Qt::KeyboardModifiers>> keys;

protected:
    void keyPressEvent(QKeyEvent* e) override { keys.emplace_back(e->key(), e->modifiers()); }
};

struct TDlgsTest : ::testing::Test {
    Key_Recorder main;
    TDlgs dlg{&main, fixed_clock()};
    test::TempDir dir;

    TDlgsTest() {
        main.setGeometry(100, 100, 800, 600);
        dlg.setLogFailureReporter([this](const QString& t) { reported.push_back(t); });
    }
    ~TDlgsTest() override {
        dlg.setModalHook({});
        dlg.hide();
    }
    void enable_log() {
        dlg.log().LogFile_Name = dir.dir() + "Logfile.txt";
        dlg.log().Log_Enabled = true;
        dlg.Open_Log();
    }
    std::string log_text() const { return test::read_bytes(dir.path() / "Logfile.txt"); }

    std::vector<QString> reported;
};

QLabel* visible_icon(TDlgs& d) {
    for (QLabel* img : {d.xdlg_img_Stop, d.xdlg_img_Info, d.xdlg_img_Warning, d.xdlg_img_Confirm})
        if (!img->isHidden())
            return img;
    return nullptr;
}

} // namespace

TEST_F(TDlgsTest, QuestionsReturnTheButtonPressedAndShowTheirKind) {
    using Op = bool (TDlgs::*)(const QString&, const QString&);
    struct Case {
        Op op;
        const char* kind_title;
        QLabel* TDlgs::*icon;
        const char* png;
    } cases[] = {
        {&TDlgs::Stop, "S T O P", &TDlgs::xdlg_img_Stop, "dialog_question_stop"},
        {&TDlgs::Info, "I N F O", &TDlgs::xdlg_img_Info, "dialog_question_info"},
        {&TDlgs::Warning, "Warning", &TDlgs::xdlg_img_Warning, "dialog_question_warning"},
        {&TDlgs::Question, "Confirm", &TDlgs::xdlg_img_Confirm, "dialog_question_confirm"},
    };
    for (const auto& c : cases) {
        for (bool press_ok : {false, true}) {
            dlg.Answer = !press_ok;
            bool checked = false;
            dlg.setModalHook([&](TDlgs& d) {
                checked = true;
                EXPECT_EQ(d.xdlg_GCap->caption(), QString("  [ %1 ]  ").arg(c.kind_title));
                EXPECT_EQ(visible_icon(d), d.*c.icon);
                EXPECT_TRUE(d.xdlg_btn_OK->isVisible());
                EXPECT_TRUE(d.xdlg_btn_No->isVisible());
                EXPECT_FALSE(d.xdlg_btn_break_OK->isVisible());
                EXPECT_FALSE(d.xdlg_lab_CntDwn->isVisible());
                if (press_ok)
                    test::save_png(d, c.png);
                (press_ok ? d.xdlg_btn_OK : d.xdlg_btn_No)->click();
            });
            bool answer =
                (dlg.*c.op)("Delete the Token?", "Do you really want to remove\r\nthis Token ?");
            EXPECT_TRUE(checked);
            EXPECT_EQ(answer, press_ok) << c.kind_title;
            EXPECT_FALSE(dlg.isVisible());
        }
    }
}

TEST_F(TDlgsTest, TimedMessageCountsDownAndClosesItself) {
    std::vector<QString> shown;
    dlg.setModalHook([&](TDlgs& d) {
        shown.push_back(d.xdlg_lab_CntDwn->text());
        for (int tick = 0; tick < 3; ++tick) {
            EXPECT_TRUE(d.isVisible()) << tick;
            d.xdlg_Down_TimerTimer();
            shown.push_back(d.xdlg_lab_CntDwn->text());
        }
        EXPECT_FALSE(d.xdlg_Down_Timer->isActive());
    });
    EXPECT_TRUE(dlg.Mess("Saved File", "^C:/tmp/Unit1.pas", 3));
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(shown, (std::vector<QString>{"3", "2", "1", "0"}));
    EXPECT_EQ(dlg.result(), TDlgs::Result_Yes);
    EXPECT_FALSE(dlg.xdlg_lab_CntDwn->isVisible());
}

TEST_F(TDlgsTest, TimedMessageClosesThroughItsOwnTimer) {
    dlg.setCountDownInterval(1); // the real timer path, run fast
    bool visible_when_shown = false;
    dlg.setModalHook([&](TDlgs& d) { visible_when_shown = d.isVisible(); });
    EXPECT_TRUE(dlg.Error("Predefined Colors", "you have not entered a SAVE as NAME", 2));
    EXPECT_TRUE(visible_when_shown);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.Count_Down, 0);
}

TEST_F(TDlgsTest, CentredOkEndsTheCountDownAtOnce) {
    dlg.Answer = false;
    dlg.setModalHook([](TDlgs& d) {
        EXPECT_TRUE(d.xdlg_btn_break_OK->isVisible());
        EXPECT_FALSE(d.xdlg_btn_OK->isVisible());
        EXPECT_FALSE(d.xdlg_btn_No->isVisible());
        d.xdlg_btn_break_OK->click();
    });
    EXPECT_TRUE(dlg.Mess("I N F O", "a long message", 10));
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(dlg.Answer);
    EXPECT_FALSE(dlg.xdlg_Down_Timer->isActive());
}

TEST_F(TDlgsTest, UntimedMessageStaysUntilAnEmptyMessageClosesIt) {
    EXPECT_TRUE(dlg.Mess("I N I T", "^C:starting ...", 0));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.isModal());
    EXPECT_FALSE(dlg.xdlg_btn_break_OK->isVisible());
    EXPECT_FALSE(dlg.xdlg_lab_CntDwn->isVisible());
    test::save_png(dlg, "dialog_message_open");
    // The caller works on; the message stays.
    QCoreApplication::processEvents();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(dlg.Mess("", "", 0));
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(TDlgsTest, TimedMessageReplacesAnOpenOne) {
    ASSERT_TRUE(dlg.Mess("working", "^C:scanning", 0));
    ASSERT_TRUE(dlg.isVisible());
    bool modal = false;
    dlg.setModalHook([&](TDlgs& d) {
        modal = d.isModal() || d.windowModality() != Qt::NonModal;
        d.xdlg_btn_break_OK->click();
    });
    EXPECT_TRUE(dlg.Error("S T O P", "broken", 5));
    EXPECT_TRUE(modal);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(TDlgsTest, MarkUpShowsStripsAndAlignment) {
    struct Case {
        const char* msg;
        const char* text;
        bool centred;
        bool file_strip;
        const char* file;
        bool progress_strip;
        const char* caption;
    } cases[] = {
        {"plain left", "plain left", false, false, "", false, ""},
        {"^C:NO ERROR FOUND", "NO ERROR FOUND", true, false, "", false, ""},
        {"^C:^F:/src/Unit1.pas^File does not exist !", "File does not exist !", true, true,
         "/src/Unit1.pas", false, ""},
        {"^F:/src/Unit1.pas^^C:text", "text", true, true, "", false, ""},
        {"^C:^P:scanning^^F:/src/U.pas^working on file", "working on file", true, true,
         "/src/U.pas", true, "scanning"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(dlg.Mess("T", c.msg, 0));
        EXPECT_EQ(dlg.messageText(), c.text) << c.msg;
        EXPECT_EQ(dlg.textCentred(), c.centred) << c.msg;
        EXPECT_EQ(dlg.xdlg_GP7->isVisible(), c.file_strip) << c.msg;
        EXPECT_EQ(dlg.fileName(), c.file) << c.msg;
        EXPECT_EQ(dlg.xdlg_GP6->isVisible(), c.progress_strip) << c.msg;
        if (c.progress_strip) {
            EXPECT_EQ(dlg.xdlg_pb_text->text(), c.caption);
            EXPECT_EQ(dlg.xdlg_pbar->value(), 0);
        }
    }
    dlg.Mess("", "", 0);
}

TEST_F(TDlgsTest, LongFileNamesAreShortenedFromTheLeft) {
    QString deep = "/home/someone/projects/very/deep/folder/structure/that/goes/on/and/on/"
                   "and/on/for/a/long/while/Unit1.pas";
    ASSERT_TRUE(dlg.Mess("T", "^F:" + deep + "^File does not exist !", 0));
    EXPECT_EQ(dlg.fileName(), deep);
    EXPECT_TRUE(dlg.shownFileName().startsWith("..."));
    EXPECT_TRUE(dlg.shownFileName().endsWith("/Unit1.pas"));
    EXPECT_LE(dlg.xdlg_Flbl->fontMetrics().horizontalAdvance(dlg.shownFileName()),
              dlg.xdlg_Flbl->width());
    dlg.Mess("", "", 0);
}

TEST_F(TDlgsTest, PercentageTextFollowsTheBar) {
    struct Case {
        int max;
        int pos;
        const char* text;
    } cases[] = {
        {100, 0, "  0%"},   {100, 100, "100%"},  {3, 1, " 33%"},           {200, 50, " 25%"},
        {50000, 1, "  0%"}, {60000, 1, "0.00%"}, {60000, 30000, "50.00%"},
    };
    for (const auto& c : cases) {
        dlg.Set_PBar(c.max);
        dlg.xdlg_pbar->setValue(c.pos);
        EXPECT_EQ(dlg.percentText(), c.text) << c.max << "/" << c.pos;
    }
}

TEST_F(TDlgsTest, SetPBarSetsThresholds) {
    dlg.Set_PBar(200);
    EXPECT_EQ(dlg.xdlg_pbar->maximum(), 200);
    EXPECT_EQ(dlg.xdlg_pbar->threshold2(), 120);
    EXPECT_EQ(dlg.xdlg_pbar->threshold3(), 170);
    dlg.Set_PBar(99);
    EXPECT_EQ(dlg.xdlg_pbar->threshold2(), 0);
    EXPECT_EQ(dlg.xdlg_pbar->threshold3(), 0);
}

TEST_F(TDlgsTest, PicturesOfLooksAndStrips) {
    dlg.Set_PBar(100);
    ASSERT_TRUE(
        dlg.Mess("Listing", "^C:^P:scanning^^F:/home/user/src/Unit1.pas^working on file", 0));
    dlg.xdlg_pbar->setValue(72);
    test::save_png(dlg, "dialog_message_progress");
    ASSERT_TRUE(dlg.Error("File-Error", "^C:^F:/home/user/src/Unit9.pas^File does not exist !", 0));
    test::save_png(dlg, "dialog_error_file");
    dlg.setModalHook([](TDlgs& d) {
        test::save_png(d, "dialog_message_countdown");
        d.xdlg_btn_break_OK->click();
    });
    dlg.Mess("Saved File", "^C:the new List and 5 Cross-References\r\nare saved", 5);
    dlg.setModalHook([](TDlgs& d) {
        test::save_png(d, "dialog_error_countdown");
        d.xdlg_btn_break_OK->click();
    });
    dlg.Error("Predefined Colors", "you have not entered a SAVE as NAME", 5);
    dlg.Mess("", "", 0);
}

TEST_F(TDlgsTest, SelectKindOutsideTheRangeShowsNoIcon) {
    dlg.Select_Kind(7);
    EXPECT_EQ(dlg.xdlg_GCap->partText(1), "Confirm");
    EXPECT_EQ(dlg.xdlg_GCap->startColor(), QColor(0, 128, 64));
    EXPECT_EQ(visible_icon(dlg), nullptr);
    dlg.Select_Kind(1);
    EXPECT_EQ(dlg.xdlg_GCap->startColor(), QColor(255, 0, 0));
}

TEST_F(TDlgsTest, EscapeIsHandedToTheMainWindow) {
    ASSERT_TRUE(dlg.Mess("working", "^C:press Escape", 0));
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::ShiftModifier);
    QCoreApplication::sendEvent(&dlg, &esc);
    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(&dlg, &other);
    ASSERT_EQ(main.keys.size(), 1u);
    EXPECT_EQ(main.keys[0].first, Qt::Key_Escape);
    EXPECT_EQ(main.keys[0].second, Qt::ShiftModifier);
    EXPECT_TRUE(dlg.isVisible()); // Escape does not close the dialog itself
    dlg.Mess("", "", 0);

    // In a modal question Escape does not answer either.
    dlg.setModalHook([](TDlgs& d) {
        QKeyEvent e(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&d, &e);
        EXPECT_TRUE(d.isVisible());
        d.xdlg_btn_OK->click();
    });
    EXPECT_TRUE(dlg.Question("Q", "Escape?"));
    EXPECT_EQ(main.keys.size(), 2u);
}

TEST_F(TDlgsTest, CentresOnTheMainWindow) {
    const QSize own = dlg.frameGeometry().size();
    main.setGeometry(100, 50, 800, 600);
    dlg.Center_Dialog();
    QRect mf = main.frameGeometry();
    EXPECT_EQ(dlg.frameGeometry().left(), mf.left() + (mf.width() - own.width()) / 2);
    EXPECT_EQ(dlg.frameGeometry().top(), mf.top() + (mf.height() - own.height()) / 2);
    // A main window lower than the dialog: the dialog's top goes 6 pixels below its top.
    main.setGeometry(300, 200, 200, 100);
    dlg.Center_Dialog();
    mf = main.frameGeometry();
    EXPECT_EQ(dlg.frameGeometry().top(), mf.top() + 6);
    EXPECT_EQ(dlg.frameGeometry().left(), mf.left() + (mf.width() - own.width()) / 2);
}

TEST_F(TDlgsTest, LogHoldsWhatWasShown) {
    enable_log();
    dlg.setModalHook([](TDlgs& d) { d.xdlg_btn_OK->click(); });
    ASSERT_TRUE(dlg.Info("check it !", "^C:NO ERROR FOUND"));
    ASSERT_TRUE(dlg.Mess("File", "^C:^F:/src/Unit1.pas^File does not exist !", 0));
    ASSERT_TRUE(dlg.Mess("", "", 0)); // a closing call logs nothing
    dlg.Log_Line(nullptr, "End", "of Process");
    EXPECT_EQ(log_text(), "06.05.2024 07:08:09\tcheck it !\tNO ERROR FOUND\r\n"
                          "06.05.2024 07:08:09\tFile\tFile does not exist !\t/src/Unit1.pas\r\n"
                          "06.05.2024 07:08:09\tEnd\tof Process\r\n");
}

TEST_F(TDlgsTest, LogIsSilentWhileSwitchedOff) {
    enable_log();
    dlg.log().Log_Enabled = false;
    ASSERT_TRUE(dlg.Mess("T", "not logged", 0));
    dlg.Mess("", "", 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "Logfile.txt"));
}

TEST_F(TDlgsTest, AnUnwritableLogIsReportedOnceAndTheProgramGoesOn) {
    dlg.log().LogFile_Name = dir.dir() + "no-such-folder/Logfile.txt";
    dlg.log().Log_Enabled = true;
    dlg.Open_Log();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(dlg.Mess("T", QString("message %1").arg(i), 0));
    }
    dlg.Mess("", "", 0);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_TRUE(reported[0].contains("Logfile.txt"));
    EXPECT_EQ(dlg.log().Lines().size(), 3u);
}

TEST_F(TDlgsTest, QuestionAskedWhileAMessageIsOpenIsModal) {
    ASSERT_TRUE(dlg.Mess("I N I T", "^C:starting ...", 0));
    ASSERT_TRUE(dlg.isVisible());
    QWidget* modal_widget = nullptr;
    dlg.setModalHook([&](TDlgs& d) {
        modal_widget = QApplication::activeModalWidget();
        d.xdlg_btn_No->click();
    });
    dlg.Answer = true;
    EXPECT_FALSE(dlg.Question("Delete the Token?", "really?"));
    EXPECT_EQ(modal_widget, &dlg);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(TDlgsTest, LogItTakesTheTextACallerPutIntoTheMessageLabel) {
    enable_log();
    ASSERT_TRUE(dlg.Mess("Listing", "^C:scanning", 0));
    // A run's end writes its result into the message line and logs it from there.
    dlg.xdlg_Lab2->setText("working 00:00:12");
    dlg.Log_IT();
    dlg.Mess("", "", 0);
    EXPECT_EQ(log_text(), "06.05.2024 07:08:09\tListing\tscanning\r\n"
                          "06.05.2024 07:08:09\tListing\tworking 00:00:12\r\n");
}

// Enter presses the default button: "OK" of a message and of most questions, "NO" of a
// question that warns; the default button has the focus and shows it from the start.
TEST_F(TDlgsTest, EnterPressesTheDefaultButton) {
    dlg.setCountDownInterval(60'000);
    struct Case {
        const char* name;
        std::function<bool()> show;
        bool expected_answer;
        QPushButton* expected_default;
    };
    const Case cases[] = {
        {"question", [&] { return dlg.Question("Q", "^C:STOP the Process"); }, true,
         dlg.xdlg_btn_OK},
        {"info", [&] { return dlg.Info("I", "go on?"); }, true, dlg.xdlg_btn_OK},
        {"stop", [&] { return dlg.Stop("S", "delete it?"); }, false, dlg.xdlg_btn_No},
        {"warning", [&] { return dlg.Warning("W", "overwrite it?"); }, false, dlg.xdlg_btn_No},
        {"message", [&] { return dlg.Mess("M", "done", 5) && dlg.Answer; }, true,
         dlg.xdlg_btn_break_OK},
    };
    for (const Case& c : cases) {
        QPushButton* seen_default = nullptr;
        bool focus_shown = false, closed_by_enter = false;
        dlg.Answer = !c.expected_answer;
        dlg.setModalHook([&](TDlgs& d) {
            seen_default = d.defaultButton();
            focus_shown =
                d.focusWidget() == seen_default && d.testAttribute(Qt::WA_KeyboardFocusChange);
            QWidget* target = d.focusWidget() ? d.focusWidget() : &d;
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(target, &enter);
            closed_by_enter = !d.isVisible();
            if (d.isVisible()) // never leave the test hanging
                d.done(QDialog::Rejected);
        });
        const bool answer = c.show();
        EXPECT_TRUE(closed_by_enter) << c.name;
        EXPECT_EQ(seen_default, c.expected_default) << c.name;
        EXPECT_TRUE(focus_shown) << c.name;
        EXPECT_EQ(answer, c.expected_answer) << c.name;
    }
    // Tab to "NO" of a question, then Enter: the focused button answers.
    dlg.setModalHook([](TDlgs& d) {
        d.xdlg_btn_No->setFocus();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Enter, Qt::NoModifier);
        QApplication::sendEvent(d.xdlg_btn_No, &enter);
        if (d.isVisible())
            d.done(QDialog::Accepted);
    });
    EXPECT_FALSE(dlg.Question("Q", "sure?"));
}
