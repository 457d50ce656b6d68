#pragma once
// The "News / Upgrade" page: the news table with its details and edit mode, "Check NOW" with
// the download and take-over of a fresh news table, and the check at start-up.

#include <QDate>
#include <QObject>
#include <QString>

#include <functional>
#include <string>

namespace parvex {

class News_Download;
class TFormBase;

class News_Page : public QObject {
    Q_OBJECT
public:
    // Plugs into the frame's start-up (details of the first entry, then the check when due)
    // and binds the page's controls.
    explicit News_Page(TFormBase& form);
    ~News_Page() override;

    void fb_btn_NewsClick(QObject* sender = nullptr);
    void fb_HGetDoneFile(const QString& file_name, qint64 file_size);
    void fb_HGetError(const QString& why);
    void fb_SG_NewsDblClick();
    void fb_lab_07DblClick();
    void fb_memDblClick();
    void startup_check();

    bool edit_mode() const { return edit_mode_; }
    bool downloading() const { return downloading_; }
    bool news_received() const { return news_received_; }
    // The address field; before the start-up filled it, "Address" in the section "News" of the
    // settings file, else the home page's news file.
    QString news_address() const;
    // The address field was left: an http or https address is taken (and stored), any other
    // is refused with a message and the field shows the address in use again.
    void fb_ed_NewsURLExit();
    // Escape during a download: it stops, and says so.
    void cancel_download();
    bool cancelled_by_user() const { return user_cancelled_; }
    std::string news_file() const;
    std::string fresh_file() const;

    // Test hook: the date the checks count from (default: today).
    void setToday(std::function<QDate()> today) { today_ = std::move(today); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show_details_colors();
    void set_edit_mode(bool on);
    void reload_table();
    void checked_today();

    TFormBase& form_;
    News_Download* download_ = nullptr;
    std::function<QDate()> today_;
    bool edit_mode_ = false;
    bool downloading_ = false;
    bool news_received_ = false;
    bool closing_ = false;
    bool user_cancelled_ = false;
    QString address_in_use_; // the address the field last took
};

} // namespace parvex
