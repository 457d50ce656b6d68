#include "frame/message_facade.h"

#include "dialogs/markup.h"
#include "dialogs/tdlgs.h"
#include "widgets/speed_button.h"

#include <algorithm>

namespace parvex {

MessageFacade::MessageFacade(TDlgs* dialog, QWidget* main_window)
    : dialog_(dialog), main_window_(main_window) {
    if (dialog_)
        dialog_->setMainWindow(main_window);
}

void MessageFacade::setDisplayTimes(int short_secs, int medium_secs, int long_secs) {
    settings_.short_secs = std::clamp(short_secs, Min_Secs, Max_Secs);
    settings_.medium_secs = std::clamp(medium_secs, Min_Secs, Max_Secs);
    settings_.long_secs = std::clamp(long_secs, Min_Secs, Max_Secs);
}

void MessageFacade::setLogEnabled(bool on) {
    if (dialog_)
        dialog_->log().Log_Enabled = on;
}

bool MessageFacade::logEnabled() const {
    return dialog_ && dialog_->log().Log_Enabled;
}

bool MessageFacade::message(bool error, const QString& title, const QString& text, int secs) {
    if (!title.isEmpty() && settings_.sound_at_start)
        fb_Play_Sound(error ? "DE" : "DM");
    bool result = true;
    if (dialog_)
        result = error ? dialog_->Error(title, text, secs) : dialog_->Mess(title, text, secs);
    if (title.isEmpty() && settings_.sound_at_end)
        fb_Play_Sound(error ? "De" : "Dm");
    return result;
}

// The short, medium and long operations always wait at least a second: a time of 0 would
// leave the message open with no button to close it.
bool MessageFacade::S_Mess(const QString& title, const QString& text) {
    Mess(title, text, std::max(Min_Secs, settings_.short_secs));
    return true;
}
bool MessageFacade::M_Mess(const QString& title, const QString& text) {
    Mess(title, text, std::max(Min_Secs, settings_.medium_secs));
    return true;
}
bool MessageFacade::L_Mess(const QString& title, const QString& text) {
    Mess(title, text, std::max(Min_Secs, settings_.long_secs));
    return true;
}
bool MessageFacade::Mess(const QString& title, const QString& text, int secs) {
    return message(false, title, text, secs);
}
bool MessageFacade::S_Error(const QString& title, const QString& text) {
    Error(title, text, std::max(Min_Secs, settings_.short_secs));
    return true;
}
bool MessageFacade::M_Error(const QString& title, const QString& text) {
    Error(title, text, std::max(Min_Secs, settings_.medium_secs));
    return true;
}
bool MessageFacade::L_Error(const QString& title, const QString& text) {
    Error(title, text, std::max(Min_Secs, settings_.long_secs));
    return true;
}
bool MessageFacade::Error(const QString& title, const QString& text, int secs) {
    return message(true, title, text, secs);
}

bool MessageFacade::ask(const char* sound, bool (TDlgs::*op)(const QString&, const QString&),
                        const QString& title, const QString& text) {
    if (settings_.sound_at_start)
        fb_Play_Sound(sound);
    return dialog_ ? (dialog_->*op)(title, text) : false;
}

bool MessageFacade::Stop(const QString& title, const QString& text) {
    return ask("DS", &TDlgs::Stop, title, text);
}
bool MessageFacade::INFO(const QString& title, const QString& text) {
    return ask("DI", &TDlgs::Info, title, text);
}
bool MessageFacade::Warning(const QString& title, const QString& text) {
    return ask("DW", &TDlgs::Warning, title, text);
}
bool MessageFacade::Question(const QString& title, const QString& text) {
    return ask("DQ", &TDlgs::Question, title, text);
}

void MessageFacade::Log_Only(const QString& title, const QString& text) {
    if (!dialog_)
        return;
    const Decoded_Message m = Decode_Mess(text.toStdString());
    (void)dialog_->log().Log_IT(title.toStdString(), m.text, m.file_name);
}

void MessageFacade::Reset_Btn_Status(QObject* sender) {
    auto* button = qobject_cast<SpeedButton*>(sender);
    if (!button || (working_ && working_()) || !button->hasMouseLeaveHandler())
        return;
    button->runMouseLeave();
}

void MessageFacade::fb_Play_Sound(const std::string& shortcut) {
    if (sound_player_)
        sound_player_(shortcut);
}

} // namespace parvex
