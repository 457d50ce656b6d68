#include "window/drop_watch.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

using namespace parvex;

namespace {

std::unique_ptr<QMimeData> mime_with(const QList<QUrl>& urls) {
    auto mime = std::make_unique<QMimeData>();
    mime->setUrls(urls);
    return mime;
}

// Sends the enter and the drop the system would send; tells whether each was taken.
struct DropOutcome {
    bool enter_accepted = false;
    bool drop_accepted = false;
};

DropOutcome drop_on(QWidget& w, const QMimeData& mime, QPoint pos = {10, 20}) {
    DropOutcome out;
    QDragEnterEvent enter(pos, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                          Qt::NoModifier);
    enter.ignore();
    QCoreApplication::sendEvent(&w, &enter);
    out.enter_accepted = enter.isAccepted();
    QDropEvent drop(QPointF(pos), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                    Qt::NoModifier);
    drop.ignore();
    QCoreApplication::sendEvent(&w, &drop);
    out.drop_accepted = drop.isAccepted();
    return out;
}

} // namespace

TEST(WindowPartsDropWatch, ReportsLocalFilesInOrderWithThePoint) {
    QWidget target;
    TDropWatch watch;
    watch.setWatchControl(&target);
    EXPECT_TRUE(watch.hooked());
    EXPECT_TRUE(watch.enabled());
    EXPECT_TRUE(target.acceptDrops());

    QSignalSpy spy(&watch, &TDropWatch::filesDropped);
    auto mime = mime_with({QUrl::fromLocalFile("/tmp/b/Unit2.pas"),
                           QUrl(QStringLiteral("https://example.org/x.pas")),
                           QUrl::fromLocalFile("/tmp/a/notes.txt")});
    const DropOutcome out = drop_on(target, *mime, {33, 44});
    EXPECT_TRUE(out.enter_accepted);
    EXPECT_TRUE(out.drop_accepted);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].toPoint(), QPoint(33, 44));
    // web addresses are no files: only the local names, in delivery order
    EXPECT_EQ(spy[0][1].toStringList(), (QStringList{"/tmp/b/Unit2.pas", "/tmp/a/notes.txt"}));
}

TEST(WindowPartsDropWatch, LeavesDropsWithoutLocalFilesToTheWidget) {
    QWidget target;
    TDropWatch watch;
    watch.setWatchControl(&target);
    QSignalSpy spy(&watch, &TDropWatch::filesDropped);

    auto web = mime_with({QUrl(QStringLiteral("https://example.org/a.pas"))});
    EXPECT_FALSE(drop_on(target, *web).enter_accepted);
    QMimeData text;
    text.setText(QStringLiteral("/tmp/a/Unit1.pas"));
    EXPECT_FALSE(drop_on(target, text).drop_accepted);
    EXPECT_EQ(spy.count(), 0);
}

TEST(WindowPartsDropWatch, DisabledWatchTakesNothingAndReEnablingRegistersAgain) {
    QWidget target;
    TDropWatch watch;
    watch.setWatchControl(&target);
    QSignalSpy spy(&watch, &TDropWatch::filesDropped);
    auto mime = mime_with({QUrl::fromLocalFile("/tmp/Unit1.pas")});

    watch.setEnabled(false);
    EXPECT_FALSE(target.acceptDrops());
    EXPECT_FALSE(drop_on(target, *mime).drop_accepted);
    EXPECT_EQ(spy.count(), 0);

    watch.setEnabled(true);
    EXPECT_TRUE(target.acceptDrops());
    EXPECT_TRUE(drop_on(target, *mime).drop_accepted);
    EXPECT_EQ(spy.count(), 1);

    // Enabled set before a widget is watched decides how the widget is registered
    QWidget other;
    TDropWatch late;
    late.setEnabled(false);
    late.setWatchControl(&other);
    EXPECT_TRUE(late.hooked());
    EXPECT_FALSE(other.acceptDrops());
}

TEST(WindowPartsDropWatch, AnotherWatchedWidgetUnhooksTheFirst) {
    QWidget first, second;
    first.setAcceptDrops(false);
    TDropWatch watch;
    watch.setWatchControl(&first);
    watch.setWatchControl(&second);
    EXPECT_EQ(watch.watchControl(), &second);
    EXPECT_FALSE(first.acceptDrops()); // its own setting is back
    EXPECT_TRUE(second.acceptDrops());

    QSignalSpy spy(&watch, &TDropWatch::filesDropped);
    auto mime = mime_with({QUrl::fromLocalFile("/tmp/Unit1.pas")});
    EXPECT_FALSE(drop_on(first, *mime).drop_accepted);
    EXPECT_EQ(spy.count(), 0);
    drop_on(second, *mime);
    EXPECT_EQ(spy.count(), 1);

    watch.setWatchControl(nullptr);
    EXPECT_FALSE(watch.hooked());
    EXPECT_FALSE(second.acceptDrops());
    drop_on(second, *mime);
    EXPECT_EQ(spy.count(), 1);
}

TEST(WindowPartsDropWatch, ADestroyedWidgetClearsTheWatch) {
    TDropWatch watch;
    {
        QWidget target;
        watch.setWatchControl(&target);
    }
    EXPECT_EQ(watch.watchControl(), nullptr);
    EXPECT_FALSE(watch.hooked());
    EXPECT_FALSE(watch.enabled());

    // the watch still works for a new widget once enabled again
    QWidget next;
    watch.setEnabled(true);
    watch.setWatchControl(&next);
    QSignalSpy spy(&watch, &TDropWatch::filesDropped);
    auto mime = mime_with({QUrl::fromLocalFile("/tmp/Unit1.pas")});
    drop_on(next, *mime);
    EXPECT_EQ(spy.count(), 1);
}

TEST(WindowPartsDropWatch, DestroyingTheWatchUnhooks) {
    QWidget target;
    target.setAcceptDrops(true); // the widget's own wish survives the watch
    {
        TDropWatch watch;
        watch.setEnabled(false);
        watch.setWatchControl(&target);
        EXPECT_FALSE(target.acceptDrops());
    }
    EXPECT_TRUE(target.acceptDrops());
    auto mime = mime_with({QUrl::fromLocalFile("/tmp/Unit1.pas")});
    EXPECT_FALSE(drop_on(target, *mime).drop_accepted); // no filter left behind
}

TEST(WindowPartsDropWatch, AHandlerMayClearTheWatchWhileADropIsReported) {
    auto target = std::make_unique<QWidget>();
    TDropWatch watch;
    watch.setWatchControl(target.get());
    QStringList got;
    QObject::connect(&watch, &TDropWatch::filesDropped, [&](QPoint, const QStringList& files) {
        got = files;
        watch.setWatchControl(nullptr);
    });
    auto mime = mime_with({QUrl::fromLocalFile("/tmp/Unit1.pas")});
    EXPECT_TRUE(drop_on(*target, *mime).drop_accepted);
    EXPECT_EQ(got, QStringList{"/tmp/Unit1.pas"});
    EXPECT_FALSE(watch.hooked());
}

TEST(WindowPartsDropWatch, FilesDroppedOnADescendantAreTheWatchedWidgets) {
    QWidget target;
    auto* page = new QWidget(&target);
    page->setGeometry(5, 6, 200, 100);
    auto* edit = new QLineEdit(page); // takes drops of its own: it would paste the name
    edit->setGeometry(20, 30, 150, 24);
    ASSERT_TRUE(edit->acceptDrops());
    QWidget outsider;
    outsider.setAcceptDrops(true);

    // as a file manager sends it: the address list and the name as text
    auto files = mime_with({QUrl::fromLocalFile("/tmp/Unit1.pas")});
    files->setText(QStringLiteral("/tmp/Unit1.pas"));
    drop_on(*edit, *files, {4, 5}); // unwatched, the edit pastes the name
    ASSERT_EQ(edit->text(), QStringLiteral("/tmp/Unit1.pas"));
    edit->clear();

    TDropWatch watch;
    watch.setWatchControl(&target);
    QSignalSpy spy(&watch, &TDropWatch::filesDropped);
    const DropOutcome out = drop_on(*edit, *files, {4, 5});
    EXPECT_TRUE(out.enter_accepted);
    EXPECT_TRUE(out.drop_accepted);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].toPoint(), QPoint(5 + 20 + 4, 6 + 30 + 5));
    EXPECT_TRUE(edit->text().isEmpty());

    // a widget outside the watched one keeps its drops; so does a disabled watch
    drop_on(outsider, *files);
    watch.setEnabled(false);
    drop_on(*edit, *files);
    EXPECT_EQ(spy.count(), 1);

    // after unhooking, the application no longer routes anything to the watch
    watch.setEnabled(true);
    watch.setWatchControl(nullptr);
    drop_on(*edit, *files);
    EXPECT_EQ(spy.count(), 1);
}
