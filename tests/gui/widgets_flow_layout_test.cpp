// The flowing row: items side by side while they fit, the rest on rows below, and a parent
// that learns the height of those rows (a scroll area scrolls down instead of cutting).
#include "widgets/flow_layout.h"

#include <QApplication>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

using namespace parvex;

namespace {

QWidget* fixed_box(int w, int h) {
    auto* box = new QWidget;
    box->setFixedSize(w, h);
    return box;
}

void settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

} // namespace

TEST(FlowLayout, BreaksRowsWhereItemsNoLongerFitAndPushesTheStretchedOnesRight) {
    // Three boxes of 100 x 20, a stretch before the last; margins 0, gaps 10.
    struct Case {
        int width;
        std::vector<QPoint> at; // where each box lands
        int rows_height;
    };
    const Case cases[] = {
        {400, {{0, 0}, {110, 0}, {300, 0}}, 20}, // one row, the spare width goes to the stretch
        {320, {{0, 0}, {110, 0}, {220, 0}}, 20}, // just fits: the stretch gets nothing
        {300, {{0, 0}, {110, 0}, {0, 30}}, 50},  // the third box on a row of its own
        {150, {{0, 0}, {0, 30}, {0, 60}}, 80},   // one box a row
        {60, {{0, 0}, {0, 30}, {0, 60}}, 80},    // narrower than a box: still one a row
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        QWidget host;
        auto* flow = new FlowLayout(&host);
        flow->setContentsMargins(0, 0, 0, 0);
        flow->setSpacing(10);
        std::vector<QWidget*> boxes;
        for (int i = 0; i < 3; ++i) {
            if (i == 2)
                flow->addStretch();
            boxes.push_back(fixed_box(100, 20));
            flow->addWidget(boxes.back());
        }
        flow->setGeometry(QRect(0, 0, c.width, 200));
        for (std::size_t i = 0; i < boxes.size(); ++i)
            EXPECT_EQ(boxes[i]->geometry().topLeft(), c.at[i]) << "box " << i;
        EXPECT_EQ(flow->minimumSize().height(), c.rows_height);
    }
}

TEST(FlowLayout, APageInAScrollAreaGrowsDownWhenItsRowsBreak) {
    QScrollArea scroll;
    scroll.setWidgetResizable(true);
    scroll.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    auto* flow = new FlowLayout;
    flow->setContentsMargins(0, 0, 0, 0);
    flow->setSpacing(10);
    column->addLayout(flow);
    std::vector<QWidget*> boxes;
    for (int i = 0; i < 4; ++i) {
        boxes.push_back(fixed_box(150, 40));
        flow->addWidget(boxes.back());
    }
    auto* below = fixed_box(150, 40);
    column->addWidget(below);
    scroll.setWidget(page);
    scroll.resize(700, 60); // shorter than the page: it gets only its minimum height
    scroll.show();
    settle();
    const int wide_page = page->width();
    ASSERT_GE(wide_page, 630); // all four boxes on one row
    EXPECT_EQ(boxes[3]->y(), 0);
    EXPECT_GE(below->y(), 40);

    // Narrower: two boxes a row, and the page, not the boxes, gives way.
    scroll.resize(340 + (scroll.width() - wide_page), 60);
    settle();
    EXPECT_LE(page->width(), 340);
    EXPECT_EQ(boxes[2]->geometry().topLeft(), QPoint(0, 50));
    EXPECT_EQ(boxes[3]->geometry().topLeft(), QPoint(160, 50));
    EXPECT_GE(below->y(), 90) << "the control below the rows is pushed down, not overlapped";
    EXPECT_GE(page->height(), 130);

    // Wide again: the rows join and the page's minimum height shrinks back.
    scroll.resize(700, 60);
    settle();
    EXPECT_EQ(boxes[3]->y(), 0);
    EXPECT_LT(page->minimumSizeHint().height(), 130);
}
