#include "splash/build_version.h"
#include "splash/source_page_animation.h"
#include "splash/splash_link_label.h"
#include "splash/token_orbit_animation.h"
#include "splash/tsplash.h"

#include "platform/open_document.h"
#include "widgets/gradient_caption.h"
#include "widgets/shadow_label.h"

#include "png_dump.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

using namespace parvex;

namespace {

// A clock that moves only when the splash waits; every wait is written down.
struct FakeTime {
    qint64 now = 100000;
    std::vector<int> waits;
    void attach(TSplash& s) {
        s.setClock([this] { return now; });
        s.setWaiter([this](int ms) {
            waits.push_back(ms);
            now += ms;
        });
    }
};

// The application title for the time of one test.
struct AppTitle {
    QString old = QCoreApplication::applicationName();
    AppTitle() { QCoreApplication::setApplicationName(QStringLiteral("Zivadu-Zedu Parvex")); }
    ~AppTitle() { QCoreApplication::setApplicationName(old); }
};

QPoint centred(const TSplash& s) {
    const QRect area = s.screen()->geometry();
    return {area.left() + (area.width() - s.width()) / 2,
            area.top() + (area.height() - s.height()) / 2};
}

QString text_of(QWidget* root, const char* name) {
    auto* l = root->findChild<ShadowLabel*>(QString::fromLatin1(name));
    return l ? l->text() : QStringLiteral("<missing>");
}

} // namespace

TEST(SplashBuildVersion, SplitsIntoFourDigitYearAndParts) {
    EXPECT_EQ(Split_Build_Version("02.06.28.2149"),
              (Build_Version{"2002", "06", "28", "21", "49"}));
    for (const char* bad : {"", "02.06.28", "02-06-28-2149", "02.06.28.21490", "0a.06.28.2149"})
        EXPECT_EQ(Split_Build_Version(bad), Build_Version{}) << bad;
}

TEST(SplashWindow, ShowSetsTitleVersionCaptionAndCentres) {
    AppTitle title;
    TSplash splash;
    FakeTime t;
    t.attach(splash);
    splash.move(0, 0);
    splash.show();
    EXPECT_EQ(splash.size(), QSize(320, 265));
    EXPECT_EQ(splash.captionBar()->partText(0), QStringLiteral("  Zivadu-Zedu Parvex"));
    EXPECT_EQ(text_of(&splash, "sc_ProgName"), QStringLiteral("Zivadu-Zedu Parvex"));
    EXPECT_EQ(text_of(&splash, "sc_Version"), QStringLiteral("02.06.28.2149"));
    for (const char* name : {"sc_Lab2", "sc_Lab3", "sc_Lab4", "sc_HomePage"})
        EXPECT_FALSE(text_of(&splash, name).isEmpty()) << name;
    EXPECT_EQ(text_of(&splash, "sc_Lab2"), QStringLiteral("Version"));
    EXPECT_EQ(text_of(&splash, "sc_HomePage"), QStringLiteral("Homepage"));
    EXPECT_EQ(splash.pos(), centred(splash));
    EXPECT_EQ(splash.shownAt(), t.now);
    EXPECT_TRUE(splash.animation(1)->isTicking());
    EXPECT_TRUE(splash.animation(2)->isTicking());
    QWidget* content = splash.content();
    ASSERT_NE(content, nullptr);
    EXPECT_EQ(content->objectName(), QStringLiteral("sc_GP1"));
    EXPECT_EQ(content->size(), QSize(312, 231));
    EXPECT_EQ(splash.findChild<QWidget*>("sc_Gif1")->size(), QSize(60, 76));
    EXPECT_EQ(splash.findChild<QWidget*>("sc_Gif2")->size(), QSize(66, 66));

    splash.animation(1)->setFrame(13);
    splash.animation(2)->setFrame(20);
    parvex::test::save_png(splash, "splash");
    splash.setMinimumShowTime(0);
    splash.close();
}

TEST(SplashWindow, AnEarlyCloseIsHeldUntilTheMinimumTimeInHalfSecondSteps) {
    struct Case {
        int close_after; // ms after the show
        std::vector<int> waits;
    } cases[] = {
        {1000, {500, 500, 500, 500, 500, 500, 500, 500}},
        {3800, {500, 500, 200}},
        {4999, {1}},
        {5000, {}},
        {6000, {}},
    };
    for (const auto& c : cases) {
        TSplash splash;
        FakeTime t;
        t.attach(splash);
        splash.show();
        const qint64 shown = t.now;
        t.now += c.close_after;
        EXPECT_TRUE(splash.close()) << c.close_after;
        EXPECT_EQ(t.waits, c.waits) << c.close_after;
        EXPECT_EQ(t.now - shown, std::max(5000, c.close_after)) << c.close_after;
        EXPECT_FALSE(splash.isVisible());
        EXPECT_FALSE(splash.animation(1)->isRunning());
        EXPECT_FALSE(splash.animation(2)->isRunning());
    }
}

TEST(SplashWindow, HoldTimeZeroOrNeverShownClosesAtOnce) {
    FakeTime t;
    TSplash quick;
    t.attach(quick);
    quick.setMinimumShowTime(0);
    quick.show();
    EXPECT_TRUE(quick.close());
    TSplash never_shown;
    t.attach(never_shown);
    EXPECT_EQ(never_shown.shownAt(), -1);
    EXPECT_TRUE(never_shown.formCloseQuery());
    EXPECT_TRUE(t.waits.empty());
}

TEST(SplashWindow, TheWaitKeepsItCentredAndIgnoresASecondClose) {
    TSplash splash;
    FakeTime t;
    splash.setClock([&] { return t.now; });
    splash.setWaiter([&](int ms) {
        t.waits.push_back(ms);
        t.now += ms;
        if (t.waits.size() == 2) {
            splash.move(3, 4); // as if the screen had changed under it
            splash.close();    // answered by the close that is waiting
        }
    });
    splash.show();
    t.now += 2000;
    EXPECT_TRUE(splash.close());
    EXPECT_EQ(t.waits.size(), 6u); // one hold, not a second one inside it
    EXPECT_EQ(splash.pos(), centred(splash));
    EXPECT_FALSE(splash.isVisible());
}

TEST(SplashWindow, RealWaitRunsWindowEventsAndTheAnimations) {
    // the real wait, on a clock that leaves one millisecond of the hold: no test waits seconds
    TSplash splash;
    int clock_reads = 0;
    splash.setClock([&]() -> qint64 {
        switch (++clock_reads) {
        case 1:
            return 0; // shown
        case 2:
            return 4999; // closed: one millisecond left
        default:
            return 5000;
        }
    });
    splash.show();
    bool posted_ran = false;
    QMetaObject::invokeMethod(
        &splash, [&] { posted_ran = true; }, Qt::QueuedConnection);
    EXPECT_TRUE(splash.close());
    EXPECT_TRUE(posted_ran);
}

TEST(SplashWindow, ContentMovesToAnotherPanelAndLivesThere) {
    AppTitle title;
    auto about = std::make_unique<QWidget>();
    about->resize(340, 300);
    about->setStyleSheet(QStringLiteral("background: #e8eef8"));
    auto* area = new QWidget(about.get());
    area->setObjectName(QStringLiteral("fb_GP_SC2"));
    area->setGeometry(14, 14, 312, 231);

    TSplash splash;
    FakeTime t;
    t.attach(splash);
    splash.show();
    t.now += 5000;
    splash.close();
    splash.moveContentTo(area);

    QWidget* content = splash.content();
    ASSERT_NE(content, nullptr);
    EXPECT_EQ(content->parentWidget(), area);
    EXPECT_EQ(content->pos(), QPoint(0, 0));
    EXPECT_EQ(splash.findChild<QWidget*>("sc_GP1"), nullptr);
    EXPECT_EQ(text_of(area, "sc_Version"), QStringLiteral("02.06.28.2149"));

    // the pictures move while the page is visible and rest while it is hidden
    EXPECT_TRUE(splash.animation(1)->isRunning());
    EXPECT_FALSE(splash.animation(1)->isTicking());
    about->show();
    EXPECT_TRUE(splash.animation(1)->isTicking());
    EXPECT_TRUE(splash.animation(2)->isTicking());
    parvex::test::save_png(*about, "splash_on_about_page");
    about->hide();
    EXPECT_FALSE(splash.animation(2)->isTicking());

    // a later close of the (now empty) splash leaves the About page's pictures alone
    about->show();
    splash.show();
    t.now += 6000;
    splash.close();
    EXPECT_TRUE(splash.animation(1)->isTicking());

    about.reset(); // the page goes first: the splash lets go of what it no longer has
    EXPECT_EQ(splash.content(), nullptr);
    EXPECT_EQ(splash.animation(1), nullptr);
    splash.moveContentTo(area = new QWidget);
    delete area;
    splash.show();
    t.now += 6000;
    EXPECT_TRUE(splash.close());
}

TEST(SplashLinks, AClickOpensTheAddressAndMarksTheLinkVisited) {
    std::vector<QUrl> opened;
    bool answer = true;
    Set_Document_Opener([&](const QUrl& url) {
        opened.push_back(url);
        return answer;
    });
    TSplash splash;
    splash.setMinimumShowTime(0);
    splash.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));

    SplashLinkLabel* home = splash.homeLink();
    EXPECT_EQ(home->fontColor(), SplashLinkLabel::linkColor());
    QTest::mouseClick(home, Qt::LeftButton, Qt::NoModifier, home->rect().center());
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].scheme(), QStringLiteral("https"));
    EXPECT_TRUE(home->visited());
    EXPECT_EQ(home->fontColor(), SplashLinkLabel::visitedColor());

    SplashLinkLabel* author = splash.authorLink();
    EXPECT_FALSE(author->toolTip().isEmpty());
    QTest::mouseClick(author, Qt::RightButton, Qt::NoModifier, author->rect().center());
    EXPECT_EQ(opened.size(), 1u); // only the left button follows a link

    // a refused open leaves the link unvisited and says why
    answer = false;
    QSignalSpy failed(splash.copyrightLink(), &SplashLinkLabel::openFailed);
    QTest::mouseClick(splash.copyrightLink(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1].scheme(), QStringLiteral("mailto"));
    EXPECT_FALSE(splash.copyrightLink()->visited());
    EXPECT_EQ(failed.count(), 1);
    Set_Document_Opener({});
    splash.close();
}

// Without a program for the address, a click shows a message: by default a warning box that
// does not block, or the reporter the program set.
TEST(SplashLinks, ALinkThatCannotBeOpenedShowsAMessage) {
    Set_Document_Opener([](const QUrl&) { return false; });
    TSplash splash;
    splash.setMinimumShowTime(0);
    splash.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
    auto boxes = [] {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QMessageBox*>(w) && w->isVisible())
                ++n;
        return n;
    };
    const int before = boxes();
    QTest::mouseClick(splash.homeLink(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(boxes(), before + 1);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
            EXPECT_TRUE(box->text().contains("could not be opened")) << box->text().toStdString();
            box->close();
        }

    std::vector<QString> reported;
    splash.setLinkFailureReporter([&](const QString& text) { reported.push_back(text); });
    QTest::mouseClick(splash.authorLink(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(reported.size(), 1u);
    Set_Document_Opener({});
    splash.close();
}

TEST(SplashAnimations, FramesWrapAndThePicturesChange) {
    EXPECT_EQ(SourcePageAnimation::linesDone(0), 0);
    EXPECT_EQ(SourcePageAnimation::linesDone(SourcePageAnimation::StepsPerLine * 3 + 1), 3);
    EXPECT_EQ(SourcePageAnimation::linesDone(SourcePageAnimation::Lines *
                                             SourcePageAnimation::StepsPerLine),
              SourcePageAnimation::Lines);
    EXPECT_EQ(TokenOrbitAnimation::word(0), QStringLiteral("END"));
    EXPECT_EQ(TokenOrbitAnimation::word(TokenOrbitAnimation::FramesPerWord), QStringLiteral("end"));
    EXPECT_EQ(TokenOrbitAnimation::word(TokenOrbitAnimation::Frames), QStringLiteral("END"));

    SourcePageAnimation page;
    page.resize(60, 76);
    TokenOrbitAnimation orbit;
    orbit.resize(66, 66);
    for (SplashAnimation* a : std::initializer_list<SplashAnimation*>{&page, &orbit}) {
        const QImage first = a->grab().toImage();
        a->setFrame(a->frameCount() - 1);
        a->advance();
        EXPECT_EQ(a->frame(), 0); // wraps round
        a->setFrame(a->frameCount() / 2);
        EXPECT_NE(a->grab().toImage(), first);
        a->setFrame(-1);
        EXPECT_EQ(a->frame(), a->frameCount() - 1);
        // running but hidden: no timer spends time on it
        a->start();
        EXPECT_TRUE(a->isRunning());
        EXPECT_FALSE(a->isTicking());
        a->show();
        EXPECT_TRUE(a->isTicking());
        a->stop();
        EXPECT_FALSE(a->isTicking());
    }
}
