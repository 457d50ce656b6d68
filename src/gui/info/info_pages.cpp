#include "info/info_pages.h"

#include "frame/form_base.h"
#include "info/open_address.h"
#include "info/rich_text_view.h"
#include "richtext/rtf_reader.h"
#include "tables/file_routines.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QPointer>
#include <QTextBrowser>
#include <QThread>
#include <QTimer>

namespace parvex {

namespace {

QString to_qt(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A name that starts with a double quote names the file between the quotes.
std::string unquoted(std::string path) {
    if (!path.empty() && path.front() == '"') {
        path.erase(0, 1);
        if (!path.empty() && path.back() == '"')
            path.pop_back();
    }
    return path;
}

// Ends the program once the main event loop runs with nothing on top of it: not inside the
// start-up, a message or a download that waits in a loop of its own, where leaving the loops
// would cut them short and an end asked for before the main loop starts would be lost.
void End_When_Idle(QPointer<TFormBase> form, int delay_ms) {
    QTimer::singleShot(delay_ms, qApp, [form] {
        if (form && (!form->startup_complete() || QThread::currentThread()->loopLevel() > 1)) {
            End_When_Idle(form, 100);
            return;
        }
        if (form)
            form->close();
        QCoreApplication::exit(0);
    });
}

} // namespace

Info_Pages::Info_Pages(TFormBase& form) : QObject(&form), form_(form) {
    QPointer<TFormBase> target(&form);
    end_request_ = [target] { End_When_Idle(target, 0); };
    for (QTextBrowser* view : {form.fb_re_About, form.fb_re_todo, form.fb_re_crL, form.fb_re_crR}) {
        view->setOpenLinks(false);
        view->setOpenExternalLinks(false);
    }
    watch(form.fb_re_About, &Info_Pages::fb_re_AboutChange);
    watch(form.fb_re_todo, &Info_Pages::fb_re_todoChange);
    watch(form.fb_re_crL, &Info_Pages::fb_re_crLChange);
    watch(form.fb_re_crR, &Info_Pages::fb_re_crRChange);
    // The view only reports left-button clicks on a link.
    connect(form.fb_re_crR, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& url) { fb_re_crRURLClick(url.toString(), Qt::LeftButton); });
    form.hooks().load_info_pages = [this] { (void)load_all(); };
}

void Info_Pages::watch(QTextBrowser* control, bool (Info_Pages::*reload)()) {
    connect(control, &QTextBrowser::textChanged, this, [this, reload] {
        if (!loading_)
            (void)(this->*reload)();
    });
}

QString Info_Pages::todo_file_name() const {
    return to_qt(form_.caption_items().items[0]).trimmed() + QStringLiteral("-ToDo.rtf");
}

bool Info_Pages::load_RTF(const QString& name, QTextBrowser* control) {
    // Changes made here are the load itself, not a reason to load again.
    const bool outer = loading_;
    loading_ = true;
    ++load_count_;
    control->clear();
    const std::string path = form_.data_dir() + name.toStdString();
    std::string key;
    TextList lines;
    const FileResult tested = Check_Data_File(false, false, unquoted(path), key, lines);
    form_.fb_tlb_PW->clear();
    if (tested) {
        rich::Document doc = rich::Read_Rtf(Join_Lines(lines));
        const bool links = control == form_.fb_re_crR;
        if (links)
            rich::Link_Plain_Addresses(doc);
        Show_Rich_Document(control, doc, links);
    }
    loading_ = outer;
    if (tested)
        return true;
    form_.facade().L_Error(QStringLiteral("Serious ERROR"),
                           QStringLiteral("^F:") + to_qt(path) +
                               QStringLiteral("^Some VITAL Files have been changed\r\n"
                                              "The Program must STOP the execution"));
    if (end_request_)
        end_request_();
    return false;
}

bool Info_Pages::fb_re_AboutChange() {
    return load_RTF(About_File, form_.fb_re_About);
}
bool Info_Pages::fb_re_todoChange() {
    return load_RTF(todo_file_name(), form_.fb_re_todo);
}
bool Info_Pages::fb_re_crLChange() {
    return load_RTF(Credits_L_File, form_.fb_re_crL);
}
bool Info_Pages::fb_re_crRChange() {
    return load_RTF(Credits_R_File, form_.fb_re_crR);
}

bool Info_Pages::load_all() {
    bool ok = fb_re_AboutChange();
    ok = fb_re_todoChange() && ok;
    ok = fb_re_crLChange() && ok;
    ok = fb_re_crRChange() && ok;
    return ok;
}

void Info_Pages::fb_re_crRURLClick(const QString& address, Qt::MouseButton button) {
    if (button != Qt::LeftButton)
        return;
    form_.facade().S_Mess(QStringLiteral("Start Browser"),
                          QStringLiteral("^C:loading ...\r\n") + address);
    if (Open_Result opened = Open_Address(address); !opened)
        form_.facade().S_Error(QStringLiteral("Start Browser"), opened.error);
}

} // namespace parvex
