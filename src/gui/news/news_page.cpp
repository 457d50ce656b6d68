#include "news/news_page.h"

#include "dialogs/tdlgs.h"
#include "frame/form_base.h"
#include "frame/ini_file.h"
#include "info/open_address.h"
#include "news/news_download.h"
#include "news/news_rules.h"
#include "tables/subs.h"
#include "tables/table_format.h"
#include "tables/table_procs.h"
#include "widgets/sgx.h"
#include "widgets/sgx_text.h"
#include "widgets/speed_button.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSpinBox>
#include <QTimer>
#include <QUrl>

namespace parvex {

namespace {

constexpr int Version_Col = 2;
constexpr int Whats_Up_Col = 6;
constexpr int Detail_Rows = 6;
constexpr int Action_Row = 3; // rows of the details grid: Nr., Program, Version, Action, from, to
constexpr int To_Row = 5;
constexpr const char* Detail_Labels[Detail_Rows] = {"Nr.",    "Program", "Version",
                                                    "Action", "from",    "to"};

QString to_qt(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

const QString Title = QStringLiteral("get NEWS");

} // namespace

News_Page::News_Page(TFormBase& form) : QObject(&form), form_(form) {
    download_ = new News_Download(this);
    today_ = [] { return QDate::currentDate(); };

    connect(form.fb_btn_News, &SpeedButton::clicked, this,
            [this] { fb_btn_NewsClick(form_.fb_btn_News); });
    connect(form.fb_SG_News, &TSGX::cellClicked, this, [this] { fb_SG_NewsDblClick(); });
    connect(form.fb_SG_News, &TSGX::cellDoubleClicked, this, [this] { fb_SG_NewsDblClick(); });
    connect(form.fb_sg_VE, &TSGX::cellDoubleClicked, this, [this] { fb_memDblClick(); });
    form.fb_lab_07->installEventFilter(this);
    form.fb_lab_13->installEventFilter(this);
    form.fb_mem->viewport()->installEventFilter(this);
    form.installEventFilter(this);

    form.fb_sg_VE->Set_Format_Cell_Handler([](TSGX& grid, int col, int row, Cell_Format& format,
                                              unsigned state) {
        Table_Grid& g = grid.Grid();
        Format_Cell(g, col, row, format, state);
        const std::string action = Upper_Ascii(g.Cell(1, Action_Row));
        if (col == 1 && row >= Action_Row && row <= To_Row && !action.empty() && action != "DONE")
            Set_Cell_Color(g, -1, row, Grid_Color(7), format);
    });
    form.fb_sg_VE->Set_Editing(false);

    connect(form.fb_ed_NewsURL, &QLineEdit::editingFinished, this, &News_Page::fb_ed_NewsURLExit);
    form.hooks().news_check = [this] {
        address_in_use_ = news_address();
        form_.fb_ed_NewsURL->setText(address_in_use_);
        fb_SG_NewsDblClick();
        startup_check();
    };
}

News_Page::~News_Page() = default;

QString News_Page::news_address() const {
    if (!address_in_use_.isEmpty())
        return address_in_use_;
    IniFile ini;
    (void)IniFile::load(form_.settings_file(), ini); // an unreadable file gives the default
    return to_qt(ini.read("News", "Address", Default_News_Address));
}

void News_Page::fb_ed_NewsURLExit() {
    QLineEdit* field = form_.fb_ed_NewsURL;
    QString text = field->text().trimmed();
    if (text.isEmpty())
        text = to_qt(Default_News_Address); // an emptied field means the program's own address
    if (text == address_in_use_) {
        field->setText(text);
        return;
    }
    if (const QString problem = News_Address_Problem(QUrl(text, QUrl::StrictMode));
        !problem.isEmpty()) {
        field->setText(address_in_use_);
        form_.facade().M_Error(Title, QStringLiteral("^C:") + problem +
                                          QStringLiteral("\r\nThe news address is not changed."));
        return;
    }
    field->setText(text);
    address_in_use_ = text;
    if (form_.settings_kept_in_memory())
        return;
    IniFile ini;
    FileResult r = IniFile::load(form_.settings_file(), ini);
    if (r && ini.set("News", "Address", text.toStdString()))
        r = ini.save(form_.settings_file());
    if (!r)
        form_.facade().S_Error(QStringLiteral("Settings"), QStringLiteral("^C:") + to_qt(r.error));
}

void News_Page::cancel_download() {
    if (!downloading_)
        return;
    user_cancelled_ = true;
    download_->abort();
}

std::string News_Page::news_file() const {
    return form_.data_dir() + std::string(News_File_Name);
}

std::string News_Page::fresh_file() const {
    return form_.data_dir() + std::string(Fresh_News_File_Name);
}

bool News_Page::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &form_) {
        if (event->type() == QEvent::Close) {
            // Closing the window ends a download that is still waiting.
            closing_ = true;
            download_->abort();
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == form_.fb_lab_07 || watched == form_.fb_lab_13) {
            fb_lab_07DblClick();
            return true;
        }
        // While the memo is being edited, a double-click selects a word as in any editor.
        if (watched == form_.fb_mem->viewport() && !edit_mode_) {
            fb_memDblClick();
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Download and take-over

void News_Page::fb_btn_NewsClick(QObject* sender) {
    if (downloading_)
        return; // one download at a time; the button is disabled meanwhile anyway
    form_.facade().Reset_Btn_Status(sender);
    news_received_ = false;
    user_cancelled_ = false;
    const QUrl url(news_address());
    QPointer<QWidget> button = form_.fb_btn_News;
    downloading_ = true;
    button->setEnabled(false);
    // A sign of life while the server is silent: the address and the seconds so far; Escape
    // stops the download.
    const QString checking = QStringLiteral("^C:checking ") + url.toString() +
                             QStringLiteral(" …\r\n%1 s\r\n( Escape cancels )");
    form_.facade().Mess(Title, checking.arg(0), 0);
    QElapsedTimer elapsed;
    elapsed.start();
    // Looked at five times a second: a timer of a whole second may fire a little early (Qt lets
    // coarse timers do so) and would show the same second twice.
    QTimer seconds;
    qint64 shown_seconds = 0;
    connect(&seconds, &QTimer::timeout, this, [&] {
        const qint64 now = elapsed.elapsed() / 1000;
        if (now == shown_seconds)
            return;
        shown_seconds = now;
        if (TDlgs* d = form_.dialog(); d && d->isVisible())
            d->Replace_Text(checking.arg(now));
    });
    seconds.start(200);
    form_.set_escape_action([this] { cancel_download(); });
    News_Reply reply = download_->get(url, News_Timeout_Ms, static_cast<qint64>(News_Max_Bytes));
    form_.set_escape_action({});
    seconds.stop();
    downloading_ = false;
    if (button)
        button->setEnabled(true);
    if (closing_)
        return; // the window is closing: nothing to tell and nothing to take over
    form_.facade().Mess(QString(), QString(), 0);
    if (reply.cancelled) {
        if (user_cancelled_)
            form_.facade().S_Mess(Title, QStringLiteral("^C:The download was cancelled."));
        return;
    }
    if (!reply.ok) {
        fb_HGetError(reply.error);
        return;
    }
    const std::string body(reply.body.constData(), static_cast<std::size_t>(reply.body.size()));
    if (FileResult table = Check_News_Table(body); !table) {
        fb_HGetError(to_qt(table.error));
        return;
    }
    const std::string fresh = fresh_file();
    if (FileResult saved = Write_File_Atomic(fresh, body); !saved) {
        fb_HGetError(to_qt(saved.error));
        return;
    }
    fb_HGetDoneFile(to_qt(fresh), static_cast<qint64>(body.size()));
    if (!news_received_)
        return;

    const std::string table = news_file();
    std::string old;
    if (File_Exists(table)) {
        if (FileResult r = Read_File(table, old); !r) {
            fb_HGetError(to_qt(r.error));
            return;
        }
    }
    if (old == body) {
        form_.facade().S_Mess(Title, QStringLiteral("^C:NO NEWS !"));
        checked_today();
        return;
    }
    // The old table stays beside the new one, and the new one replaces it whole.
    if (File_Exists(table)) {
        if (FileResult r =
                Write_File_Atomic(form_.data_dir() + std::string(News_Backup_File_Name), old);
            !r) {
            fb_HGetError(to_qt(r.error));
            return;
        }
    }
    if (FileResult r = Write_File_Atomic(table, body); !r) {
        fb_HGetError(to_qt(r.error));
        return;
    }
    form_.Show_Page(form_.fb_pc_upgrade);
    reload_table();
    form_.facade().S_Mess(Title, QStringLiteral("^C:real NEWS ..."));
    checked_today();
}

void News_Page::fb_HGetDoneFile(const QString&, qint64) {
    form_.facade().S_Mess(
        Title, QStringLiteral("^C:File found\r\n... converting ...\r\n... displaying !"));
    news_received_ = true;
}

void News_Page::fb_HGetError(const QString& why) {
    news_received_ = false;
    QString text = QStringLiteral("not able to download the Datafile\r\nplease contact the Author");
    if (!why.isEmpty())
        text += QStringLiteral("\r\n( ") + why + QStringLiteral(" )");
    form_.facade().L_Error(Title, text);
}

void News_Page::reload_table() {
    Table_Grid& g = form_.fb_SG_News->Grid();
    if (FileResult r = Load_Table(g); !r)
        form_.facade().S_Error(QStringLiteral("Load Table"), to_qt(r.error));
    Purge_Table(g);
    Sort_Descending(g, Version_Col, form_.news_sort_options());
    g.Set_Current(Version_Col, 1);
    fb_SG_NewsDblClick();
}

void News_Page::checked_today() {
    const QDate d = today_();
    form_.fb_lab_19->setText(to_qt(Format_Check_Date({d.year(), d.month(), d.day()})));
}

void News_Page::startup_check() {
    if (!form_.fb_chk_www->isChecked())
        return;
    const QDate d = today_();
    if (News_Check_Due(form_.fb_lab_19->text().toStdString(), {d.year(), d.month(), d.day()},
                       form_.fb_se_Days->value()))
        fb_btn_NewsClick(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Details and edit mode

void News_Page::fb_SG_NewsDblClick() {
    Table_Grid& news = form_.fb_SG_News->Grid();
    if (In_Header_Row(news) || news.Current_Row() >= news.Row_Count())
        return;
    if (edit_mode_ && news.Current_Col() == 0)
        Append_Row(news);
    Table_Grid& ve = form_.fb_sg_VE->Grid();
    if (ve.Row_Count() < Detail_Rows)
        ve.Set_Row_Count(Detail_Rows);
    if (ve.Col_Count() < 2)
        ve.Set_Col_Count(2);
    const int row = news.Current_Row();
    for (int r = 0; r < Detail_Rows; ++r) {
        ve.Set_Cell(0, r, Detail_Labels[r]);
        ve.Set_Cell(1, r, news.Cell(r, row));
    }
    Apply_Widths(ve);
    form_.fb_mem->clear();
    form_.fb_mem->setPlainText(Bytes_To_Text(Whats_Up_Memo_Text(news.Cell(Whats_Up_Col, row))));
    form_.fb_sg_VE->viewport()->update();
}

void News_Page::set_edit_mode(bool on) {
    edit_mode_ = on;
    form_.fb_lab_13->setVisible(on);
    form_.fb_sg_VE->Set_Editing(on);
    form_.fb_mem->setReadOnly(!on);
}

void News_Page::fb_lab_07DblClick() {
    Table_Grid& news = form_.fb_SG_News->Grid();
    if (!edit_mode_) {
        if (In_Data_Row(news))
            set_edit_mode(true);
        return;
    }
    if (!In_Data_Row(news)) {
        set_edit_mode(false);
        return;
    }
    const int row = news.Current_Row();
    // An unchanged memo keeps the stored text as it is; a changed one is stored only when it
    // reads back the same, else the edit mode stays on so that nothing typed is lost.
    const std::string stored = news.Cell(Whats_Up_Col, row);
    const std::string shown = Whats_Up_Memo_Text(stored);
    const std::string memo = Text_To_Bytes(form_.fb_mem->toPlainText(), shown);
    const std::optional<std::string> whats_up =
        memo == shown ? std::optional<std::string>(stored) : Whats_Up_From_Memo(memo);
    if (!whats_up) {
        form_.facade().S_Error(QStringLiteral("what's up"),
                               QStringLiteral("^C:") + to_qt(Whats_Up_Refusal_Text));
        return;
    }
    set_edit_mode(false);
    const Table_Grid& ve = form_.fb_sg_VE->Grid();
    for (int r = 0; r < Detail_Rows; ++r)
        news.Set_Cell(r, row, ve.Cell(1, r));
    news.Set_Cell(Whats_Up_Col, row, *whats_up);
    // Purging drops the rows an edit round left empty, so the file does not grow by one each time.
    if (FileResult r = Save_Table(news); !r)
        form_.facade().S_Error(QStringLiteral("Save Table"), to_qt(r.error));
    Sort_Descending(news, Version_Col, form_.news_sort_options());
}

void News_Page::fb_memDblClick() {
    if (edit_mode_)
        return;
    const Table_Grid& ve = form_.fb_sg_VE->Grid();
    const std::string action = Upper_Ascii(ve.Cell(1, Action_Row));
    if (action == "GOTO HP") {
        if (Open_Result opened = Open_Address(Bytes_To_Text(ve.Cell(1, To_Row))); !opened) {
            form_.facade().S_Error(QStringLiteral("Start the Internet-Browser"), opened.error);
            return;
        }
        form_.facade().M_Mess(QStringLiteral("Start the Internet-Browser"),
                              QStringLiteral("^C:... this may take a while\r\n"
                                             "( depending on your system )"));
    } else if (action == "DONE") {
        form_.facade().M_Mess(QStringLiteral("DONE !"), QStringLiteral("^C:no action provided"));
    }
}

} // namespace parvex
