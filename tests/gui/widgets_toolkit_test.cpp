#include "widgets/gradient_caption.h"
#include "widgets/gradient_panel.h"
#include "widgets/led_progress_bar.h"
#include "widgets/shadow_label.h"
#include "widgets/speed_button.h"

#include "png_dump.h"

#include <QEnterEvent>
#include <QHBoxLayout>
#include <QImage>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace parvex;

namespace {

QImage image_of(QWidget& w) {
    return w.grab().toImage();
}

} // namespace

TEST(WidgetsGradientPanel, PaintsThreeColoursAlongItsDirection) {
    GradientPanel panel;
    panel.resize(200, 40);
    panel.setGradientColors(Qt::red, Qt::green, Qt::blue);
    panel.setShadeCenter(25);
    panel.setHorizontal(true);
    QImage img = image_of(panel);
    EXPECT_GT(QColor(img.pixel(1, 20)).red(), 200);
    EXPECT_GT(QColor(img.pixel(50, 20)).green(), 200); // the middle colour at 25 %
    EXPECT_GT(QColor(img.pixel(198, 20)).blue(), 200);

    panel.setHorizontal(false);
    img = image_of(panel);
    EXPECT_GT(QColor(img.pixel(100, 0)).red(), 200);
    EXPECT_GT(QColor(img.pixel(100, 39)).blue(), 200);

    panel.setPlain(true);
    panel.setColor(QColor(10, 20, 30));
    img = image_of(panel);
    EXPECT_EQ(QColor(img.pixel(0, 0)), QColor(10, 20, 30));
    EXPECT_EQ(QColor(img.pixel(199, 39)), QColor(10, 20, 30));

    panel.setShadeCenter(150);
    EXPECT_EQ(panel.shadeCenter(), 100);
}

TEST(WidgetsShadowLabel, DrawsTheShadowOnlyWithASize) {
    auto count = [](const QImage& img, QColor c) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += QColor(img.pixel(x, y)) == c;
        return n;
    };
    ShadowLabel label("Shadow");
    QFont f = label.font();
    f.setPixelSize(20);
    f.setBold(true);
    label.setFont(f);
    label.setTransparent(false);
    label.setBackgroundColor(Qt::white);
    label.setFontColor(Qt::blue);
    label.setShadowColor(Qt::red);
    label.setShadowSize(2);
    label.resize(label.sizeHint());
    EXPECT_GT(count(image_of(label), Qt::red), 10);
    EXPECT_GT(count(image_of(label), Qt::blue), 10);
    label.setShadowSize(0);
    EXPECT_EQ(count(image_of(label), Qt::red), 0);
}

TEST(WidgetsGradientCaption, JoinsItsParts) {
    GradientCaption cap(4);
    cap.setPartText(0, "  [ ");
    cap.setPartText(1, "I N F O");
    cap.setPartText(2, " ]  ");
    cap.setPartText(3, "working 00:12");
    EXPECT_EQ(cap.caption(), "  [ I N F O ]  working 00:12");
    cap.part(3).visible = false;
    EXPECT_EQ(cap.caption(), "  [ I N F O ]  ");
    EXPECT_EQ(cap.partCount(), 4);
}

TEST(WidgetsLedProgressBar, LightsSegmentsInThresholdColours) {
    LedProgressBar bar;
    QSignalSpy changed(&bar, &LedProgressBar::valueChanged);
    struct Case {
        int value;
        int lit;
    } cases[] = {{0, 0}, {4, 0}, {5, 1}, {50, 10}, {100, 20}, {150, 20}, {-5, 0}};
    for (const auto& c : cases) {
        bar.setValue(c.value);
        EXPECT_EQ(bar.litSegments(), c.lit) << c.value;
    }
    EXPECT_EQ(changed.count(), 7);
    // Thresholds 60 and 85 of 100: segments from 12 are yellow, from 17 lime.
    EXPECT_EQ(bar.segmentColor(0), QColor(0, 255, 255));
    EXPECT_EQ(bar.segmentColor(11), QColor(0, 255, 255));
    EXPECT_EQ(bar.segmentColor(12), QColor(255, 255, 0));
    EXPECT_EQ(bar.segmentColor(16), QColor(255, 255, 0));
    EXPECT_EQ(bar.segmentColor(17), QColor(0, 255, 0));
    bar.setMaximum(0);
    EXPECT_EQ(bar.litSegments(), 0);
}

TEST(WidgetsSpeedButton, HooksAndLook) {
    SpeedButton button("Save to Sourcepath");
    EXPECT_TRUE(button.bold());
    EXPECT_TRUE(button.transparent());
    std::vector<std::string> calls;
    button.setMouseEnterHandler([&](QObject* s) { calls.push_back(s == &button ? "enter" : "?"); });
    button.setMouseLeaveHandler([&](QObject* s) { calls.push_back(s == &button ? "leave" : "?"); });
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&button, &enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
    button.runMouseLeave();
    EXPECT_EQ(calls, (std::vector<std::string>{"enter", "leave", "leave"}));
    button.setBold(false);
    EXPECT_FALSE(button.bold());
}

TEST(WidgetsPictures, AllWidgetsTogether) {
    GradientPanel page;
    page.setGradientColors(QColor(0xC0, 0xC0, 0xC0), QColor(0xEC, 0xEC, 0xFF), Qt::white);
    page.setShadeCenter(25);
    page.setHorizontal(false);
    auto* col = new QVBoxLayout(&page);

    auto* cap = new GradientCaption(4, &page);
    cap->setPartText(0, "  [ ");
    cap->setPartText(1, "Zivadu-Zedu Parvex");
    cap->setPartText(2, " ]  ");
    cap->setPartText(3, "working 00:00:12");
    QFont small = cap->part(3).font;
    small.setPixelSize(11);
    cap->setPartFont(3, small);
    cap->setPartColor(3, Qt::yellow);
    col->addWidget(cap);

    auto* title = new ShadowLabel("Titles and Hints", &page);
    QFont tf = title->font();
    tf.setPixelSize(20);
    tf.setBold(true);
    title->setFont(tf);
    title->setFontColor(QColor(0xFF, 0x75, 0x33));
    title->setShadowColor(Qt::yellow);
    title->setShadowSize(2);
    col->addWidget(title);
    auto* hint = new ShadowLabel("this Lines are used mainly for HINTS", &page);
    hint->setFontColor(Qt::blue);
    hint->setShadowColor(Qt::cyan);
    col->addWidget(hint);

    auto* bar = new LedProgressBar(&page);
    bar->setValue(90);
    bar->setFixedHeight(15);
    col->addWidget(bar);

    auto* row = new QHBoxLayout;
    auto* flat = new SpeedButton("create NEW-List", &page);
    auto* raised = new SpeedButton("check it !", &page);
    raised->setTransparent(false);
    row->addWidget(flat);
    row->addWidget(raised);
    col->addLayout(row);

    auto* lower = new GradientPanel(&page);
    lower->setGradientColors(Qt::white, QColor(0xEC, 0xEC, 0xFF), QColor(0xC0, 0xC0, 0xC0));
    lower->setShadeCenter(60);
    lower->setFixedHeight(30);
    lower->setCaption("lower panel, shade centre 60 %");
    col->addWidget(lower);

    page.resize(380, 260);
    test::save_png(page, "widgets_toolkit");
}
