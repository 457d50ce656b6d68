// One program per settings folder: a second start hands its files to the running one.
#include "platform/single_instance.h"

#include "temp_dir.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace parvex;
using parvex::test::TempDir;

namespace {

// A later start, as another process would be: its own thread, blocking calls.
bool second_start(const QString& folder, const QStringList& files) {
    std::atomic<bool> done{false};
    bool taken = false;
    std::thread t([&] {
        Single_Instance later(folder);
        taken = later.hand_over(files, 3000);
        done = true;
    });
    QElapsedTimer timer;
    timer.start();
    while (!done && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    t.join();
    return taken;
}

} // namespace

TEST(SingleInstance, ALaterStartHandsItsFilesToTheRunningProgram) {
    TempDir settings, other;
    Single_Instance running(QString::fromStdString(settings.dir()));
    std::vector<QStringList> received;
    QObject::connect(&running, &Single_Instance::filesReceived,
                     [&](const QStringList& f) { received.push_back(f); });
    ASSERT_TRUE(running.listen());

    const QStringList files{"/src/a.pas", "/src/ü b.pas"};
    EXPECT_TRUE(second_start(QString::fromStdString(settings.dir()), files));
    // The same folder spelt another way is the same program; no files only asks to be shown.
    EXPECT_TRUE(second_start(QString::fromStdString(settings.path().string() + "/./"), {}));
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0], files);
    EXPECT_TRUE(received[1].isEmpty());
    // Another settings folder is another program: nobody takes its files.
    EXPECT_FALSE(second_start(QString::fromStdString(other.dir()), files));
    EXPECT_EQ(received.size(), 2u);
}

TEST(SingleInstance, ASocketLeftByAnEndedProgramIsTakenOver) {
    TempDir settings;
    const QString folder = QString::fromStdString(settings.dir());
    // What a killed program leaves: a socket file that nobody listens on.
    const QString left = QDir::tempPath() + "/" + Single_Instance::Server_Name(folder);
    {
        QFile f(left);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    Single_Instance running(folder);
    ASSERT_TRUE(running.listen());
    int received = 0;
    QObject::connect(&running, &Single_Instance::filesReceived, [&] { ++received; });
    EXPECT_TRUE(second_start(folder, {"/x.pas"}));
    EXPECT_EQ(received, 1);
}
