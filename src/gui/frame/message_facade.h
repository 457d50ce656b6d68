#pragma once
// The twelve message operations every part of the program uses: they choose the display time
// from the user's settings, play the sound shortcuts and hand the text to the dialog window.

#include <QPointer>
#include <QString>
#include <functional>
#include <string>

class QObject;
class QWidget;

namespace parvex {

class TDlgs;

// The user's message settings; the frame's controls feed them later.
struct Message_Settings {
    int short_secs = 2;         // "SHORT - Display"
    int medium_secs = 5;        // "MEDIUM - Display"
    int long_secs = 10;         // "LONG - Display"
    bool sound_at_start = true; // "Use Sound to indicate Standard-Messages ( at start )"
    bool sound_at_end = true;   // "Use Sound to indicate END of Messsage- and Error-Display"
};

class MessageFacade {
public:
    static constexpr int Min_Secs = 1;
    static constexpr int Max_Secs = 30;

    MessageFacade(TDlgs* dialog, QWidget* main_window);

    TDlgs* dialog() const { return dialog_; }
    QWidget* mainWindow() const { return main_window_; }

    Message_Settings& settings() { return settings_; }
    // Display times are kept within 1 .. 30 seconds, as the spin edits allow.
    void setDisplayTimes(int short_secs, int medium_secs, int long_secs);
    void setLogEnabled(bool on);
    bool logEnabled() const;

    bool S_Mess(const QString& title, const QString& text);
    bool M_Mess(const QString& title, const QString& text);
    bool L_Mess(const QString& title, const QString& text);
    bool Mess(const QString& title, const QString& text, int secs);
    bool S_Error(const QString& title, const QString& text);
    bool M_Error(const QString& title, const QString& text);
    bool L_Error(const QString& title, const QString& text);
    bool Error(const QString& title, const QString& text, int secs);
    bool Stop(const QString& title, const QString& text);
    bool INFO(const QString& title, const QString& text);
    bool Warning(const QString& title, const QString& text);
    bool Question(const QString& title, const QString& text);
    // A notice for the log only (mark-up decoded, its file name kept), shown nowhere: what the
    // program did by itself that the user need not wait for.
    void Log_Only(const QString& title, const QString& text);

    // Gives a clicked speed button its normal look back (through its mouse-leave handler)
    // before a dialog or a run takes the mouse away. Does nothing during a run.
    void Reset_Btn_Status(QObject* sender);
    // Whether a run is in progress; the frame's busy state answers this later.
    void setWorkInProgress(std::function<bool()> working) { working_ = std::move(working); }

    // The one way sounds are played. Until the sound player exists this does nothing.
    void fb_Play_Sound(const std::string& shortcut);
    void setSoundPlayer(std::function<void(const std::string&)> player) {
        sound_player_ = std::move(player);
    }

private:
    bool message(bool error, const QString& title, const QString& text, int secs);
    bool ask(const char* sound, bool (TDlgs::*op)(const QString&, const QString&),
             const QString& title, const QString& text);

    QPointer<TDlgs> dialog_;
    QPointer<QWidget> main_window_;
    Message_Settings settings_;
    std::function<bool()> working_;
    std::function<void(const std::string&)> sound_player_;
};

} // namespace parvex
