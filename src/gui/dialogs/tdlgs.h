#pragma once
// The one dialog window of the program: messages (timed or left open while the caller works),
// errors, the four questions, a progress strip and a file-name strip. It keeps the log book of
// everything it shows.

#include "dialogs/log_book.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <functional>

class QLabel;
class QPushButton;
class QTimer;

namespace parvex {

class GradientCaption;
class GradientPanel;
class LedProgressBar;
class ShadowLabel;

class TDlgs : public QDialog {
    Q_OBJECT
public:
    enum Kind { Kind_Stop = 1, Kind_Info = 2, Kind_Warning = 3, Kind_Confirm = 4 };
    // The modal result when a count-down ends by itself.
    static constexpr int Result_Yes = 6;
    static constexpr int Client_Width = 418;
    static constexpr int Client_Height = 216;

    explicit TDlgs(QWidget* main_window = nullptr, Log_Clock clock = {});
    ~TDlgs() override;

    // The window the dialog centres on and hands the Escape key to.
    void setMainWindow(QWidget* main_window) { main_window_ = main_window; }
    QWidget* mainWindow() const { return main_window_; }

    // Modal questions with "OK" and "NO": true for "OK".
    bool Stop(const QString& title, const QString& msg);
    bool Info(const QString& title, const QString& msg);
    bool Warning(const QString& title, const QString& msg);
    bool Question(const QString& title, const QString& msg);

    // Messages: secs > 0 waits (count-down, or "OK"); secs <= 0 shows the message and returns at
    // once, or closes the window when msg is empty. Always true.
    bool Mess(const QString& title, const QString& msg, int secs);
    bool Error(const QString& title, const QString& msg, int secs);
    bool EM(const QString& title, const QString& msg, int secs);
    // Rewrites the text of a message left open (a count that goes on), without logging it again.
    void Replace_Text(const QString& msg);

    // Applies the mark-up at the start of msg to the window and returns the text to show.
    QString Decode_Mess(const QString& msg);
    void Select_Kind(int code);
    void Look_Standard();
    void Look_Message();
    void Look_Error();
    void Center_Dialog();
    void Set_PBar(int max);

    // The log: opened once (also by the first show), then fed by every dialog.
    void Open_Log();
    void Log_IT();
    void Log_Line(QObject* sender, const QString& kind, const QString& text);
    Log_Book& log() { return log_; }
    // How an unwritable log file is told to the user (once per failure); the default shows a
    // warning box that does not block.
    void setLogFailureReporter(std::function<void(const QString&)> reporter);

    // The last answer: true for "OK", false for "NO". Not reset when a dialog opens.
    bool Answer = false;
    int Count_Down = 0;

    // One step of the count-down (the timer runs it every second).
    void xdlg_Down_TimerTimer();
    // Shows the percentage of the progress bar and lets pending events run.
    void xdlg_pbarChange();

    // What the window shows, for callers and tests.
    QString titleText() const;
    QString messageText() const { return shown_text_; }
    QString fileName() const { return file_name_; }
    QString shownFileName() const;
    QString percentText() const;
    bool textCentred() const;
    int kind() const { return kind_; }

    // Test hook: runs each time the window is shown modally, from inside its event loop.
    void setModalHook(std::function<void(TDlgs&)> hook) { modal_hook_ = std::move(hook); }
    void setCountDownInterval(int msec);
    // The button Enter presses while a question or a timed message is up (nullptr otherwise).
    QPushButton* defaultButton() const;

    // Components by the names the rest of the program uses.
    GradientCaption* xdlg_GCap = nullptr;
    GradientPanel* xdlg_GP1 = nullptr;
    GradientPanel* xdlg_GP2 = nullptr;
    GradientPanel* xdlg_GP3 = nullptr;
    GradientPanel* xdlg_GP4 = nullptr;
    GradientPanel* xdlg_GP5 = nullptr;
    GradientPanel* xdlg_GP6 = nullptr;
    GradientPanel* xdlg_GP7 = nullptr;
    GradientPanel* xdlg_GP8 = nullptr;
    ShadowLabel* xdlg_Lab1 = nullptr;
    ShadowLabel* xdlg_Lab2 = nullptr;
    ShadowLabel* xdlg_lab_CntDwn = nullptr;
    QLabel* xdlg_img_Stop = nullptr;
    QLabel* xdlg_img_Info = nullptr;
    QLabel* xdlg_img_Warning = nullptr;
    QLabel* xdlg_img_Confirm = nullptr;
    ShadowLabel* xdlg_pb_text = nullptr;
    LedProgressBar* xdlg_pbar = nullptr;
    ShadowLabel* xdlg_pbb1 = nullptr;
    ShadowLabel* xdlg_Flbl = nullptr;
    QPushButton* xdlg_btn_OK = nullptr;
    QPushButton* xdlg_btn_No = nullptr;
    QPushButton* xdlg_btn_break_OK = nullptr;
    QTimer* xdlg_Down_Timer = nullptr;

signals:
    // A message or question shown modally has ended (its caller goes on from here).
    void modalEnded();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    bool question(int kind, const QString& title, const QString& msg);
    int run_modal();
    void make_default(QPushButton* button);
    void set_look(const QColor& base, const QColor& c1, const QColor& c2, const QColor& c3,
                  const QColor& font, const QColor& shadow);
    void show_file_name(const QString& name);
    void report_log_failure(const std::string& error);

    QPointer<QWidget> main_window_;
    Log_Book log_;
    std::function<void(const QString&)> log_failure_reporter_;
    std::function<void(TDlgs&)> modal_hook_;
    QString shown_text_;
    QString file_name_;
    int kind_ = Kind_Confirm;
};

} // namespace parvex
