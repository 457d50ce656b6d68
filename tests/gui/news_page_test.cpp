// "News / Upgrade" against a small HTTP server on 127.0.0.1 that the test runs itself: take-over,
// refusals, the start-up check, the details, the edit mode and the actions.
#include "frame_stand_in.h"

#include "frame/ini_file.h"
#include "news/news_download.h"
#include "news/news_page.h"
#include "news/news_rules.h"
#include "platform/open_document.h"
#include "png_dump.h"
#include "tables/table_format.h"
#include "tables/table_procs.h"
#include "temp_dir.h"
#include "widgets/sgx.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

using namespace parvex;
using parvex::test::StandInForm;
namespace fs = std::filesystem;

namespace {

const std::string Table_1 = "Nr.|Program|Version|Action|from|to|what's up|m4D\r\n"
                            "1|Parvex|01.00|DONE|team|installed|first~~|False\r\n"
                            "2|Parvex|02.00|GOTO HP|team|https://www.parvex.example.org/|"
                            "second~~more~~|False\r\n";
const std::string Table_2 = Table_1 + "3|Parvex|03.00|GOTO HP|team|https://www.parvex.example.org/"
                                      "|third~~|False\r\n";

// Answers every request on its connection with the status and body it holds at that moment.
class Local_Http : public QObject {
public:
    Local_Http() {
        EXPECT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        connect(&server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = server.nextPendingConnection()) {
                auto buffer = std::make_shared<QByteArray>();
                connect(s, &QTcpSocket::readyRead, s, [this, s, buffer] {
                    *buffer += s->readAll();
                    if (!buffer->contains("\r\n\r\n"))
                        return;
                    requests.push_back(*buffer);
                    buffer->clear();
                    if (on_request)
                        on_request();
                    if (!answer)
                        return;
                    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + " " + reason +
                                      "\r\nContent-Type: " + content_type + "\r\n";
                    if (send_length)
                        head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
                    s->write(head + "Connection: close\r\n\r\n" + body);
                    s->disconnectFromHost();
                });
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    QString url() const {
        return QStringLiteral("http://127.0.0.1:%1/news.dat").arg(server.serverPort());
    }

    QTcpServer server;
    int status = 200;
    QByteArray reason = "OK";
    QByteArray content_type = "text/plain";
    QByteArray body;
    bool send_length = true;
    bool answer = true;
    std::function<void()> on_request;
    std::vector<QByteArray> requests;
};

struct NewsTest : ::testing::Test {
    test::TempDir prog;
    TDlgs dlg;
    Local_Http http;
    std::vector<QString> titles, texts;
    std::vector<QUrl> opened;
    std::unique_ptr<StandInForm> form;
    News_Page* page = nullptr;

    NewsTest() {
        dlg.setModalHook([this](TDlgs& d) {
            titles.push_back(d.titleText());
            texts.push_back(d.messageText());
            (d.xdlg_btn_break_OK->isVisible() ? d.xdlg_btn_break_OK : d.xdlg_btn_OK)->click();
        });
        Set_Document_Opener([this](const QUrl& u) {
            opened.push_back(u);
            return true;
        });
        prog.write("GUI/Data/HP-News.dat", Table_1);
        settings("fb_chk_www_Checked", "False");
        news_setting(http.url().toStdString());
    }
    ~NewsTest() override {
        Set_Document_Opener({});
        dlg.setModalHook({});
        dlg.hide();
    }
    std::string ini_name() const { return prog.dir() + "parvex_gui_tests.INI"; }
    void settings(const std::string& key, const std::string& value) {
        IniFile ini;
        ASSERT_TRUE(IniFile::load(ini_name(), ini));
        ASSERT_TRUE(ini.set("TForm1", key, value));
        ASSERT_TRUE(ini.save(ini_name()));
    }
    void news_setting(const std::string& address) {
        IniFile ini;
        ASSERT_TRUE(IniFile::load(ini_name(), ini));
        ASSERT_TRUE(ini.set("News", "Address", address));
        ASSERT_TRUE(ini.save(ini_name()));
    }
    void start() {
        form = std::make_unique<StandInForm>(prog.dir(), &dlg);
        page = new News_Page(*form);
        page->setToday([] { return QDate(2026, 12, 10); });
        form->show();
        QCoreApplication::processEvents();
    }
    std::string table_file() const { return prog.read("GUI/Data/HP-News.dat"); }
    Table_Grid& news() { return form->fb_SG_News->Grid(); }
    Table_Grid& details() { return form->fb_sg_VE->Grid(); }
    bool shown(const QString& title, const QString& text) const {
        for (std::size_t i = 0; i < titles.size(); ++i)
            if (titles[i] == title && texts[i].contains(text))
                return true;
        return false;
    }
};

} // namespace

TEST_F(NewsTest, StartShowsTheNewestEntryAndItsDetails) {
    start();
    EXPECT_EQ(news().Cell(2, 1), "02.00"); // sorted by Version, descending
    EXPECT_EQ(news().Current_Row(), 1);
    EXPECT_EQ(details().Cell(0, 3), "Action");
    EXPECT_EQ(details().Cell(1, 3), "GOTO HP");
    EXPECT_EQ(details().Cell(1, 5), "https://www.parvex.example.org/");
    EXPECT_EQ(form->fb_mem->toPlainText(), "second\nmore"); // no empty line after the last
    EXPECT_FALSE(page->edit_mode());
    EXPECT_TRUE(form->fb_lab_13->isHidden());
    EXPECT_TRUE(http.requests.empty()); // the start-up check is off
    // A click on another entry shows its details.
    news().Set_Current(2, 2);
    emit form->fb_SG_News->cellClicked(2, 2);
    EXPECT_EQ(details().Cell(1, 2), "01.00");
    EXPECT_EQ(form->fb_mem->toPlainText(), "first");
    news().Set_Current(2, 1);
    emit form->fb_SG_News->cellDoubleClicked(2, 1);
    EXPECT_EQ(details().Cell(1, 2), "02.00");
    form->Show_Page(form->fb_pc_upgrade);
    QCoreApplication::processEvents();
    EXPECT_FALSE(test::save_png(*form, "news_page").isEmpty());
}

TEST_F(NewsTest, ChangedFileIsTakenOverWithABackup) {
    start();
    http.body = QByteArray::fromStdString(Table_2);
    form->Show_Page(form->fb_pcAbout);
    page->fb_btn_NewsClick();
    ASSERT_EQ(http.requests.size(), 1u);
    const QByteArray& request = http.requests[0];
    EXPECT_TRUE(request.startsWith("GET /news.dat HTTP/1.1\r\n"));
    EXPECT_TRUE(request.contains("User-Agent: UtilMind HTTPGet\r\n"));
    EXPECT_TRUE(request.contains("Accept: */*\r\n"));
    EXPECT_TRUE(request.contains("Cache-Control: no-cache\r\n"));

    EXPECT_EQ(table_file(), Table_2);
    EXPECT_EQ(prog.read("GUI/Data/HP-News.dat-SAVED"), Table_1);
    EXPECT_EQ(prog.read("GUI/Data/news.dat"), Table_2);
    EXPECT_TRUE(shown("get NEWS", "File found"));
    EXPECT_TRUE(shown("get NEWS", "real NEWS ..."));
    EXPECT_EQ(form->fb_lab_19->text(), "2026-12-10");
    EXPECT_EQ(news().Cell(2, 1), "03.00");
    EXPECT_EQ(details().Cell(1, 2), "03.00");
    EXPECT_EQ(form->fb_PC_GUI->currentWidget(), form->fb_pc_upgrade);
    EXPECT_TRUE(form->fb_btn_News->isEnabled());
    EXPECT_TRUE(page->news_received());
}

TEST_F(NewsTest, IdenticalFileIsNotTakenOverButSameSizeDifferentBytesIs) {
    start();
    http.body = QByteArray::fromStdString(Table_1);
    page->fb_btn_NewsClick();
    EXPECT_TRUE(shown("get NEWS", "NO NEWS !"));
    EXPECT_FALSE(fs::exists(prog.path() / "GUI/Data/HP-News.dat-SAVED"));
    EXPECT_EQ(form->fb_lab_19->text(), "2026-12-10"); // a successful check all the same

    std::string same_size = Table_1;
    same_size.replace(same_size.find("first"), 5, "FIRST");
    ASSERT_EQ(same_size.size(), Table_1.size());
    http.body = QByteArray::fromStdString(same_size);
    titles.clear();
    texts.clear();
    page->fb_btn_NewsClick();
    EXPECT_TRUE(shown("get NEWS", "real NEWS ..."));
    EXPECT_EQ(table_file(), same_size);
    EXPECT_EQ(prog.read("GUI/Data/HP-News.dat-SAVED"), Table_1);
}

TEST_F(NewsTest, FailuresKeepTableAndDate) {
    struct Case {
        const char* name;
        int status;
        QByteArray body;
        bool send_length;
        bool dead;
        const char* why;
    } cases[] = {
        {"404 page", 404, "<html><body>404 Not Found</body></html>", true, false, "404"},
        {"error page with 200", 200, "<html><body>moved</body></html>", true, false, "columns"},
        {"oversized, announced", 200, QByteArray(int(News_Max_Bytes) + 1, 'x'), true, false,
         "larger"},
        {"oversized, streamed", 200, QByteArray(int(News_Max_Bytes) + 4096, 'x'), false, false,
         "larger"},
        {"dead server", 200, {}, true, true, "refused"},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        titles.clear();
        texts.clear();
        http.status = c.status;
        http.reason = c.status == 200 ? "OK" : "Not Found";
        http.content_type = "text/html";
        http.body = c.body;
        http.send_length = c.send_length;
        if (c.dead) {
            QTcpServer gone;
            ASSERT_TRUE(gone.listen(QHostAddress::LocalHost, 0));
            const quint16 port = gone.serverPort();
            gone.close();
            // The address as the user gives it: in the page's field.
            form->fb_ed_NewsURL->setText(QStringLiteral("http://127.0.0.1:%1/news.dat").arg(port));
            emit form->fb_ed_NewsURL->editingFinished();
        }
        page->fb_btn_NewsClick();
        ASSERT_EQ(titles.size(), 1u);
        EXPECT_EQ(titles[0], "get NEWS");
        EXPECT_TRUE(texts[0].contains("not able to download the Datafile"))
            << texts[0].toStdString();
        EXPECT_TRUE(texts[0].contains(c.why, Qt::CaseInsensitive)) << texts[0].toStdString();
        EXPECT_EQ(table_file(), Table_1);
        EXPECT_FALSE(fs::exists(prog.path() / "GUI/Data/news.dat"));
        EXPECT_EQ(form->fb_lab_19->text(), "01.01.1980");
        EXPECT_FALSE(page->news_received());
        EXPECT_TRUE(form->fb_btn_News->isEnabled());
    }
}

TEST_F(NewsTest, OnlyWebAddressesAreFetched) {
    news_setting("file:///etc/hostname");
    start();
    page->fb_btn_NewsClick();
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_TRUE(texts[0].contains("not an http or https address"));
    EXPECT_EQ(table_file(), Table_1);
}

TEST_F(NewsTest, SecondClickDuringADownloadDoesNothingAndClosingAborts) {
    start();
    http.answer = false;
    bool checked = false;
    http.on_request = [&] {
        EXPECT_TRUE(page->downloading());
        EXPECT_FALSE(form->fb_btn_News->isEnabled());
        page->fb_btn_NewsClick(); // returns at once
        checked = true;
        form->close();
    };
    page->fb_btn_NewsClick();
    EXPECT_TRUE(checked);
    EXPECT_EQ(http.requests.size(), 1u);
    EXPECT_FALSE(page->downloading());
    EXPECT_TRUE(titles.empty()); // a download ended by closing says nothing
    EXPECT_EQ(table_file(), Table_1);
}

TEST_F(NewsTest, StartUpCheckRunsWhenDue) {
    struct Case {
        const char* last;
        int days;
        bool runs;
    } cases[] = {
        {"01.01.1980", 7, true}, {"2026-12-03", 7, true}, {"2026-12-04", 7, false},
        {"2027-01-01", 7, true}, {"garbage", 7, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.last);
        settings("fb_chk_www_Checked", "True");
        settings("fb_lab_19_Caption", c.last);
        settings("fb_se_Days_Value", std::to_string(c.days));
        http.requests.clear();
        http.body = QByteArray::fromStdString(Table_1);
        start();
        EXPECT_EQ(http.requests.size(), c.runs ? 1u : 0u);
        EXPECT_EQ(form->fb_lab_19->text().toStdString(), c.runs ? "2026-12-10" : c.last);
        form->close();
        form.reset();
    }
}

TEST_F(NewsTest, EditRoundsStoreTheMemoAndAddNoEmptyRows) {
    start();
    QTest::mouseDClick(form->fb_lab_07, Qt::LeftButton);
    ASSERT_TRUE(page->edit_mode());
    EXPECT_FALSE(form->fb_lab_13->isHidden());
    EXPECT_FALSE(form->fb_mem->isReadOnly());
    form->fb_mem->setPlainText("one\ntwo");
    QTest::mouseDClick(form->fb_lab_13, Qt::LeftButton);
    EXPECT_FALSE(page->edit_mode());
    EXPECT_TRUE(form->fb_lab_13->isHidden());
    EXPECT_NE(table_file().find("|one~~two~~|"), std::string::npos);

    // Edit rounds that start a new row and leave it empty.
    const std::size_t size = table_file().size();
    for (int round = 0; round < 3; ++round) {
        page->fb_lab_07DblClick();
        ASSERT_TRUE(page->edit_mode());
        news().Set_Current(0, 1);
        page->fb_SG_NewsDblClick(); // Nr. column in edit mode: a new row at the end
        EXPECT_EQ(news().Current_Row(), news().Last_Row_Index());
        page->fb_lab_07DblClick();
        EXPECT_EQ(table_file().size(), size) << "round " << round;
    }
    // Showing the stored text again and leaving changes nothing either.
    news().Set_Current(2, 1);
    page->fb_SG_NewsDblClick();
    page->fb_lab_07DblClick();
    page->fb_lab_07DblClick();
    EXPECT_EQ(table_file().size(), size);
}

TEST_F(NewsTest, ActionsAndTheirColour) {
    start();
    auto brush = [&](int row) { return form->fb_sg_VE->Run_Format_Cell(1, row, 0).brush; };
    // "GOTO HP": the Action, from and to cells stand out; a double-click opens the address.
    EXPECT_EQ(brush(3), Grid_Color(7));
    EXPECT_EQ(brush(5), Grid_Color(7));
    EXPECT_NE(brush(2), Grid_Color(7));
    page->fb_memDblClick();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl("https://www.parvex.example.org/"));
    EXPECT_TRUE(shown("Start the Internet-Browser", "this may take a while"));

    // "DONE" (any case): nothing to open, nothing stands out.
    news().Set_Current(2, 2);
    page->fb_SG_NewsDblClick();
    details().Set_Cell(1, 3, "done");
    EXPECT_NE(brush(3), Grid_Color(7));
    page->fb_memDblClick();
    EXPECT_TRUE(shown("DONE !", "no action provided"));
    EXPECT_EQ(opened.size(), 1u);

    // Only web and mail addresses are opened.
    details().Set_Cell(1, 3, "GOTO HP");
    details().Set_Cell(1, 5, "file:///etc/hostname");
    titles.clear();
    texts.clear();
    page->fb_memDblClick();
    EXPECT_EQ(opened.size(), 1u);
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles[0], "Start the Internet-Browser");
    EXPECT_TRUE(texts[0].contains("not opened"));
}

// Whatever the memo held when the edit mode was left shows again exactly, and rounds that
// change nothing leave the stored text as it is; a text the table cannot keep is not stored, and
// the edit mode stays on with what was typed.
TEST_F(NewsTest, TheMemoRoundTripsExactlyThroughTheEditor) {
    start();
    for (const QString memo : {QStringLiteral("x~"), QStringLiteral("one\n\n"),
                               QStringLiteral("a~\nb"), QStringLiteral("~\n")}) {
        page->fb_lab_07DblClick();
        ASSERT_TRUE(page->edit_mode());
        form->fb_mem->setPlainText(memo);
        page->fb_lab_07DblClick();
        ASSERT_FALSE(page->edit_mode()) << memo.toStdString();
        const std::string stored = table_file();
        for (int round = 0; round < 3; ++round) {
            page->fb_SG_NewsDblClick();
            EXPECT_EQ(form->fb_mem->toPlainText(), memo) << round;
            page->fb_lab_07DblClick();
            page->fb_lab_07DblClick();
            EXPECT_EQ(table_file(), stored) << memo.toStdString() << " round " << round;
        }
    }
    EXPECT_NE(table_file().find("|~~~~~|"), std::string::npos) << table_file();

    const std::string stored = table_file();
    page->fb_lab_07DblClick();
    form->fb_mem->setPlainText("a~~b");
    page->fb_lab_07DblClick();
    EXPECT_TRUE(page->edit_mode());
    EXPECT_TRUE(shown("what's up", "\"~~\"")) << (texts.empty() ? "" : texts.back().toStdString());
    EXPECT_EQ(form->fb_mem->toPlainText(), "a~~b");
    EXPECT_EQ(table_file(), stored);
    form->fb_mem->setPlainText("a~b");
    page->fb_lab_07DblClick();
    EXPECT_FALSE(page->edit_mode());
    EXPECT_NE(table_file().find("|a~b~~|"), std::string::npos);
}

TEST_F(NewsTest, FirstTableIsTakenOverWithoutABackup) {
    fs::remove(prog.path() / "GUI/Data/HP-News.dat");
    start();
    http.body = QByteArray::fromStdString(Table_2);
    page->fb_btn_NewsClick();
    EXPECT_TRUE(shown("get NEWS", "real NEWS ..."));
    EXPECT_EQ(table_file(), Table_2);
    EXPECT_FALSE(fs::exists(prog.path() / "GUI/Data/HP-News.dat-SAVED"));
    EXPECT_EQ(news().Cell(2, 1), "03.00");
}

// The time limit, shortened: a server that takes the request and never answers.
TEST_F(NewsTest, DownloadGivesUpAtItsTimeLimit) {
    http.answer = false;
    News_Download download;
    News_Reply reply = download.get(QUrl(http.url()), 200, 1024);
    EXPECT_FALSE(reply.ok);
    EXPECT_FALSE(reply.cancelled);
    EXPECT_TRUE(reply.error.contains("no answer within")) << reply.error.toStdString();
    EXPECT_EQ(http.requests.size(), 1u);
    EXPECT_FALSE(download.running());
}

TEST_F(NewsTest, ASilentServerShowsTheAddressAndTheSecondsAndEscapeStopsIt) {
    start();
    http.answer = false; // takes the request, says nothing
    QString shown_at_start, shown_later;
    QElapsedTimer t;
    http.on_request = [&] {
        shown_at_start = dlg.messageText();
        // Escape once the seconds have moved on (or after a generous while, for the failure).
        auto* poll = new QTimer(form.get());
        QObject::connect(poll, &QTimer::timeout, form.get(), [&, poll] {
            shown_later = dlg.messageText();
            if (shown_later.contains("1 s") || t.elapsed() > 8000) {
                poll->stop();
                poll->deleteLater();
                QTest::keyClick(form.get(), Qt::Key_Escape);
            }
        });
        poll->start(50);
    };
    t.start();
    page->fb_btn_NewsClick();
    EXPECT_LT(t.elapsed(), 10000); // not the 30 s time limit
    EXPECT_TRUE(shown_at_start.contains("checking " + http.url())) << shown_at_start.toStdString();
    EXPECT_TRUE(shown_at_start.contains("0 s")) << shown_at_start.toStdString();
    EXPECT_TRUE(shown_later.contains("1 s")) << shown_later.toStdString();
    EXPECT_TRUE(page->cancelled_by_user());
    EXPECT_FALSE(page->downloading());
    EXPECT_TRUE(shown("get NEWS", "cancelled"));
    EXPECT_FALSE(shown("get NEWS", "not able to download"));
    EXPECT_TRUE(form->fb_btn_News->isEnabled());
    EXPECT_EQ(table_file(), Table_1);
}

TEST_F(NewsTest, TheNewsAddressFieldTakesWebAddressesOnly) {
    start();
    QLineEdit* field = form->fb_ed_NewsURL;
    EXPECT_EQ(field->text(), http.url()); // from the settings file
    struct Case {
        QString typed;
        QString kept; // what the field and the download use afterwards
        bool refused;
    } cases[] = {
        {"ftp://example.org/news.dat", http.url(), true},
        {"file:///etc/hostname", http.url(), true},
        {"no address at all", http.url(), true},
        {"https://example.org/parvex/news.dat", "https://example.org/parvex/news.dat", false},
        {"", "https://www.parvex.example.org/news.dat", false}, // the program's own address
        {http.url(), http.url(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        titles.clear();
        texts.clear();
        field->setText(c.typed);
        emit field->editingFinished();
        EXPECT_EQ(field->text(), c.kept);
        EXPECT_EQ(page->news_address(), c.kept);
        EXPECT_EQ(titles.size(), c.refused ? 1u : 0u);
        if (c.refused)
            EXPECT_TRUE(texts[0].contains("not an http or https address"));
        IniFile ini;
        ASSERT_TRUE(IniFile::load(ini_name(), ini));
        EXPECT_EQ(ini.read("News", "Address", ""), c.kept.toStdString());
    }
    // The download goes to the address the field took.
    http.body = QByteArray::fromStdString(Table_2);
    page->fb_btn_NewsClick();
    EXPECT_EQ(http.requests.size(), 1u);
    EXPECT_EQ(table_file(), Table_2);
}
