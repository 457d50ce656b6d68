#include "window/text_list_model.h"
#include "window/text_list_view.h"

#include "png_dump.h"

#include <QAbstractItemModelTester>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>
#include <gtest/gtest.h>

using namespace parvex;

namespace {

TextList numbered(int n) {
    TextList lines;
    lines.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        lines.push_back("line " + std::to_string(i));
    return lines;
}

} // namespace

TEST(WindowPartsTextListModel, PassesTheModelTesterThroughFillsAndClears) {
    TextListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setLines({"a", "b", "c"});
    EXPECT_EQ(model.rowCount(), 3);
    model.setAlignFirstColumn(true);
    model.setTabWidth(4);
    TextList other{"x\t#1"};
    model.swapLines(other);
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.rowCount(model.index(0)), 0);
    model.setLines(numbered(1000));
    EXPECT_FALSE(model.flags(model.index(5)).testFlag(Qt::ItemIsEditable));
    EXPECT_FALSE(model.data(model.index(5), Qt::EditRole).isValid());
}

TEST(WindowPartsTextListModel, FillingIsOneResetAndSwapHandsTheOldLinesBack) {
    TextListModel model;
    model.setLines({"old 1", "old 2"});
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);

    TextList fresh = numbered(5000);
    const std::string* first_byte_owner = fresh.data();
    model.swapLines(fresh);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserts.count(), 0);
    EXPECT_EQ(model.count(), 5000);
    EXPECT_EQ(model.lines().data(), first_byte_owner); // no copy was made
    EXPECT_EQ(fresh, (TextList{"old 1", "old 2"}));

    model.setLines(TextList{"one"});
    EXPECT_EQ(resets.count(), 2);
    model.clear();
    model.clear(); // clearing an empty list resets nothing
    EXPECT_EQ(resets.count(), 3);
}

TEST(WindowPartsTextListModel, ShowsUtf8WhenValidElseLatin1AndKeepsTheBytes) {
    struct Case {
        std::string bytes;
        QString shown;
    } cases[] = {
        {"plain", "plain"},
        {"gr\xC3\xBC\xC3\x9F"
         "e",
         QString::fromUtf8("gr\u00FC\u00DFe")},
        {"gr\xFC\xDF"
         "e",
         QString::fromUtf8("gr\u00FC\u00DFe")}, // one 8-bit code page byte each
        {"\xC3", QString(QChar(0xC3))},         // a cut UTF-8 sequence
        {"", ""},
    };
    TextListModel model;
    TextList lines;
    for (const auto& c : cases)
        lines.push_back(c.bytes);
    model.setLines(lines);
    for (int i = 0; i < model.count(); ++i) {
        const auto& c = cases[i];
        EXPECT_EQ(model.data(model.index(i)).toString(), c.shown) << i;
        const QByteArray raw = model.data(model.index(i), TextListModel::BytesRole).toByteArray();
        EXPECT_EQ(raw.toStdString(), c.bytes) << i;
    }
}

TEST(WindowPartsTextListModel, ExpandsTabsToStops) {
    struct Case {
        const char* in;
        int width;
        int first;
        const char* out;
    } cases[] = {
        {"a\tb", 8, 0, "a       b"},
        {"\tb", 8, 0, "        b"},
        {"abcdefgh\tb", 8, 0, "abcdefgh        b"},
        {"a\tb\tc", 4, 0, "a   b   c"},
        {"a\t#1\t#2", 8, 12, "a           #1  #2"},          // first tab to 12, then on stops of 8
        {"abcdefghijklmn\t#1", 8, 12, "abcdefghijklmn  #1"}, // past the first stop: next stop
        {"\t#3", 8, 12, "            #3"},
        {"no tabs", 8, 12, "no tabs"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextListModel::expandTabs(QString::fromLatin1(c.in), c.width, c.first),
                  QString::fromLatin1(c.out))
            << c.in;
}

TEST(WindowPartsTextListModel, CrossReferenceColumnsLineUp) {
    // the shape of a cross-reference: item TAB #line ..., continuation lines start with a TAB
    TextListModel model;
    model.setAlignFirstColumn(true);
    model.setLines({"I\t#3\t#7", "FormatDateTime\t#12", "\t#14\t#99", "x\t#100",
                    std::string(60, 'L') + "\t#5"}); // an overlong literal does not widen all
    EXPECT_EQ(model.firstTabColumn(), 16);           // widest item 14 + 2 blanks, on a stop of 8
    QList<qsizetype> columns;
    for (int row = 0; row < 4; ++row)
        columns << model.displayText(row).indexOf('#');
    EXPECT_EQ(columns, (QList<qsizetype>{16, 16, 16, 16}));
    EXPECT_EQ(model.displayText(0), QStringLiteral("I               #3      #7"));
    // The overlong item is cut to the column and ends in "…".
    EXPECT_EQ(model.displayText(4), QString(13, 'L') + QChar(0x2026) + "  #5");
    EXPECT_EQ(model.maxColumns(), 27);
    EXPECT_EQ(model.displayText(9), QString());

    model.setAlignFirstColumn(false);
    EXPECT_EQ(model.firstTabColumn(), 0);
    EXPECT_EQ(model.displayText(0).indexOf('#'), 8);

    // A literal of several lines stays on its one row, with its line number.
    model.setLines({"'''\r\n  Hello\r\n  '''\t#02"});
    EXPECT_EQ(model.displayText(0), QStringLiteral("'''\u21B5  Hello\u21B5  '''       #02"));
}

// A narrow pane keeps the line numbers in sight: the first column takes at most three fifths
// of the visible width, and longer items are cut with "…".
TEST(WindowPartsTextListView, NarrowPaneCutsLongItemsSoTheNumbersShow) {
    TextListView view;
    view.textModel()->setAlignFirstColumn(true);
    const std::string long_key = "TFPCUSTOMHTTPCLIENTREQUESTHEADERSOFTHEUNITSHAREPOINT";
    view.setLines({"ID\t#00003\t#00007", long_key + "\t#00012", "\t#00014"});
    const int char_width = QFontMetrics(view.font()).horizontalAdvance('M');
    for (int width : {160, 240, 400, 900}) {
        view.resize(width, 200);
        const int visible = view.viewport()->width() / char_width;
        const int limit = view.textModel()->firstColumnLimit();
        EXPECT_LE(limit, std::max(TextListModel::minFirstColumn, visible * 3 / 5)) << width;
        for (int row = 0; row < 3; ++row) {
            const QString shown = view.textModel()->displayText(row);
            const qsizetype number = shown.indexOf('#');
            EXPECT_EQ(number, view.textModel()->firstTabColumn()) << width << " " << row;
            EXPECT_LE(number + 6, std::max(visible, TextListModel::minFirstColumn + 6))
                << width << " " << row;
        }
        EXPECT_TRUE(view.textModel()->displayText(1).contains(QChar(0x2026))) << width;
    }
    // The first line number of an entry, for a double-click.
    const std::pair<const char*, int> entries[] = {
        {"ID\t#00003\t#00007", 3}, {"'it''s'\t#00120", 120}, {"\t#00014\t#00015", 14},
        {"A#1\t#00009", 9},        {"no numbers", 0},        {"x\t", 0}};
    for (const auto& [entry, line] : entries)
        EXPECT_EQ(TextListView::firstLineNumber(QString::fromLatin1(entry)), line) << entry;
}

TEST(WindowPartsTextListView, FixedPitchUniformAndReadOnly) {
    TextListView view;
    const QFontMetricsF fm(view.font());
    EXPECT_EQ(fm.horizontalAdvance('i'), fm.horizontalAdvance('W'));
    EXPECT_EQ(fm.horizontalAdvance('.'), fm.horizontalAdvance('W'));
    EXPECT_TRUE(view.uniformItemSizes());
    EXPECT_EQ(view.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(view.model(), view.textModel());
}

TEST(WindowPartsTextListView, ClicksAndKeysReportTheRowButSelectingInCodeDoesNot) {
    TextListView view;
    view.resize(300, 200);
    view.setLines(numbered(50));
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QSignalSpy spy(&view, &TextListView::rowClicked);
    EXPECT_EQ(view.selectedRow(), -1);

    const QRect r3 = view.visualRect(view.textModel()->index(3));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, r3.center());
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].toInt(), 3);
    EXPECT_EQ(view.selectedRow(), 3);

    QTest::keyClick(&view, Qt::Key_Down);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[1][0].toInt(), 4);
    EXPECT_EQ(view.selectedRow(), 4);

    view.setSelectedRow(7);
    EXPECT_EQ(view.selectedRow(), 7);
    view.setSelectedRow(-1);
    EXPECT_EQ(view.selectedRow(), -1);
    view.setSelectedRow(500);
    EXPECT_EQ(view.selectedRow(), -1);
    EXPECT_EQ(spy.count(), 2);
}

TEST(WindowPartsTextListView, ScrollsARowToTheTopEvenInAHundredThousandLines) {
    TextListView view;
    view.resize(400, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_EQ(view.topRow(), -1);
    view.scrollRowToTop(10); // an empty pane stays as it is

    TextList big = numbered(150000);
    view.swapLines(big);
    EXPECT_EQ(view.count(), 150000);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.topRow(), 0);

    view.scrollRowToTop(70000);
    EXPECT_EQ(view.topRow(), 70000);
    view.scrollRowToTop(12);
    EXPECT_EQ(view.topRow(), 12);
    // past the end: the last lines are shown, the last one at the bottom
    view.scrollRowToTop(999999);
    const int top = view.topRow();
    EXPECT_GT(top, 149900);
    EXPECT_TRUE(
        view.viewport()->rect().intersects(view.visualRect(view.textModel()->index(149999))));
    EXPECT_EQ(view.textModel()->displayText(top), QStringLiteral("line %1").arg(top));
}

TEST(WindowPartsTextListView, LongLinesGetAHorizontalScrollBarAfterAShortFirstLine) {
    TextListView view;
    view.resize(300, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.setLines({"x", std::string(400, 'w')});
    QCoreApplication::processEvents();
    EXPECT_GT(view.horizontalScrollBar()->maximum(), 1000);
    view.setLines({"x", "y"});
    QCoreApplication::processEvents();
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
}

TEST(WindowPartsTextListView, PictureOfPanesSideBySide) {
    QSplitter split;
    split.resize(760, 300);
    auto* source = new TextListView(&split);
    source->setLines({
        "PROGRAM Demo;",
        "",
        "USES SysUtils;",
        "",
        "PROCEDURE Greet(CONST Name : STRING);",
        "BEGIN",
        "\tWriteLn('Hello, ', Name, ' \xE2\x80\x93 gr\xC3\xBC\xC3\x9F"
        "e');",
        "END; { of Greet }",
        "",
        "BEGIN",
        "\tGreet('world');",
        "\tWriteLn(FormatDateTime('yyyy-mm-dd', Now));",
        "END.",
    });
    source->setSelectedRow(5);
    auto* cref = new TextListView(&split);
    cref->textModel()->setAlignFirstColumn(true);
    cref->setLines({"Demo\t#1", "SysUtils\t#3", "Greet\t#5\t#7\t#11", "Name\t#5\t#7",
                    "WriteLn\t#7\t#12", "FormatDateTime\t#12", "Now\t#12", "Hello\t#7",
                    "A\t#1\t#2\t#3\t#4\t#5\t#6\t#7\t#8\t#9\t#10", "\t#11\t#12",
                    "'''\r\n  Hello\r\n  '''\t#14"}); // a literal of several lines
    split.setSizes({430, 330});
    split.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&split));
    const QString file = parvex::test::save_png(split, "window_parts_text_panes");
    EXPECT_TRUE(QFile::exists(file));
}

TEST(WindowPartsTextListView, AHiddenPaneScrollsToo) {
    // a click on one page scrolls the panes of another page that is not shown at the time
    QWidget page;
    page.resize(400, 300);
    auto* view = new TextListView(&page);
    view->setGeometry(0, 0, 400, 300);
    view->setLines(numbered(2000));
    view->scrollRowToTop(500);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    EXPECT_EQ(view->topRow(), 500);
    page.hide();
    view->scrollRowToTop(1200);
    page.show();
    EXPECT_EQ(view->topRow(), 1200);
}
