#pragma once
// The About, to-do and credits pages: each shows a shipped rich-text file only after the file
// passed its checksum test; a missing or altered file stops the program. Also the address
// clicks of the right credits text.

#include <QObject>
#include <QString>

#include <functional>

class QTextBrowser;

namespace parvex {

class TFormBase;

class Info_Pages : public QObject {
    Q_OBJECT
public:
    inline static const QString About_File = QStringLiteral("About.rtf");
    inline static const QString Credits_L_File = QStringLiteral("Credits_L.rtf");
    inline static const QString Credits_R_File = QStringLiteral("Credits_R.rtf");

    // Plugs into the frame's start-up and watches the four text controls for changes.
    explicit Info_Pages(TFormBase& form);

    // Tests the file in the data folder and shows it in the control; a failed test leaves the
    // control empty, shows the "Serious ERROR" message and asks the program to end.
    bool load_RTF(const QString& name, QTextBrowser* control);
    bool fb_re_AboutChange();
    bool fb_re_todoChange();
    bool fb_re_crLChange();
    bool fb_re_crRChange();
    // All four in page order; a failing page does not keep the later ones from being tested.
    bool load_all();
    // The program title (caption item 0 without its outer blanks) + "-ToDo.rtf".
    QString todo_file_name() const;

    void fb_re_crRURLClick(const QString& address, Qt::MouseButton button);

    // How the program is asked to end; the default closes the main window and leaves the event
    // loop once the current event has been handled. Tests record the request instead.
    void setEndRequest(std::function<void()> request) { end_request_ = std::move(request); }
    // How many page loads ran so far (a load must not set off another one).
    int load_count() const { return load_count_; }

private:
    void watch(QTextBrowser* control, bool (Info_Pages::*reload)());

    TFormBase& form_;
    std::function<void()> end_request_;
    bool loading_ = false;
    int load_count_ = 0;
};

} // namespace parvex
