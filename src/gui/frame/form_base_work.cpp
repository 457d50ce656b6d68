// The busy state around runs, the stop request, Escape and F1, and idle fading.
#include "dialogs/tdlgs.h"
#include "frame/directory_edit.h"
#include "frame/form_base.h"
#include "platform/open_document.h"
#include "platform/window_system.h"
#include "widgets/gradient_caption.h"
#include "widgets/sgx.h"
#include "widgets/shadow_label.h"
#include "widgets/speed_button.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextBrowser>
#include <QTime>
#include <QTimer>
#include <QWindow>

namespace parvex {

namespace {

int tag_of(const QObject* o) {
    return o->property("tag").toInt();
}

// The user's long time format without a time-zone part: the text is a duration.
QString elapsed_text(int day_seconds) {
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    format = format.trimmed();
    return QStringLiteral("working ") + QTime(0, 0).addSecs(day_seconds).toString(format);
}

} // namespace

std::int64_t TFormBase::now_ms() const {
    return now_ms_();
}

bool TFormBase::Is_Input_Control(const QWidget* w) {
    if (!w)
        return false;
    // Parts of composite controls follow their owner.
    const QWidget* parent = w->parentWidget();
    if (parent &&
        (qobject_cast<const QAbstractSpinBox*>(parent) || qobject_cast<const QComboBox*>(parent)))
        return false;
    if (qobject_cast<const QTextBrowser*>(w))
        return false; // rich-text views are read-only pages, not input
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const SpeedButton*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QCheckBox*>(w) ||
           qobject_cast<const TSGX*>(w) || qobject_cast<const QRadioButton*>(w) ||
           qobject_cast<const QAbstractSlider*>(w) || qobject_cast<const QListView*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           qobject_cast<const QTextEdit*>(w);
}

void TFormBase::Work_Check_Enabled(const QString& mode, bool value) {
    const QList<QWidget*> all = findChildren<QWidget*>();
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        QWidget* w = *it;
        if (tag_of(w) & Keep_Enabled_Tag)
            continue;
        if (!Is_Input_Control(w))
            continue;
        if (mode == QLatin1String("C")) {
            if (!w->isEnabled())
                w->setProperty("tag", tag_of(w) | Keep_Enabled_Tag);
        } else if (mode == QLatin1String("S")) {
            w->setEnabled(value);
        }
    }
    update();
}

void TFormBase::Work_Start() {
    // A new run starts without the stop request of an earlier one.
    esc_pressed_ = false;
    facade_.Mess(QStringLiteral("working"), QStringLiteral("^C:... collecting data ..."), 0);
    saved_height_ = height();
    if (Work_Height > 27 && Work_Height < Form_Height) {
        // Only the caption bar stays: the content is hidden so the window may be that low.
        if (centralWidget())
            centralWidget()->hide();
        setMinimumHeight(0); // only while the run keeps the window low
        layout()->activate();
        resize(width(), Work_Height);
    }
    Work_Check_Enabled(QStringLiteral("S"), false);
    work_start_ms_ = std::max<std::int64_t>(1, now_ms());
    fb_Work_Timer->start();
    QCoreApplication::processEvents();
}

void TFormBase::fb_Work_TimerTimer() {
    if (!working())
        return;
    const QString text = elapsed_text(Elapsed_Day_Seconds(work_start_ms_, now_ms()));
    caption_.items[Caption_Items::Status] = text.toStdString();
    fb_CC->setPartText(Caption_Items::Status, text);
    setWindowTitle(window_title_text());
    if (dialog_ && dialog_->xdlg_GCap && dialog_->xdlg_GCap->partCount() > 3)
        dialog_->xdlg_GCap->setPartText(3, text);
}

void TFormBase::Work_END() {
    Work_Check_Enabled(QStringLiteral("S"), true);
    if (centralWidget())
        centralWidget()->show();
    setMinimumHeight(Form_Height);
    resize(width(), saved_height_ > Work_Height ? saved_height_ : Form_Height);
    fb_Work_Timer->stop();
    work_start_ms_ = 0;
    const QString elapsed = fb_CC->partText(Caption_Items::Status);
    if (dialog_) {
        dialog_->xdlg_Lab2->setText(elapsed);
        // The run's message names its file in the dialog; the log entry names it too.
        log_entry(dialog_->titleText(), elapsed, dialog_->fileName());
    }
    caption_.items[Caption_Items::Status].clear();
    fb_CC->setPartText(Caption_Items::Status, QString());
    setWindowTitle(window_title_text());
    if (dialog_ && dialog_->xdlg_GCap && dialog_->xdlg_GCap->partCount() > 3)
        dialog_->xdlg_GCap->setPartText(3, QString());
    facade_.Mess(QString(), QString(), 0);
    log_line(QStringLiteral("End"), QStringLiteral("of Process"));
    if (close_after_run_)
        QTimer::singleShot(0, this, [this] { close(); });
}

void TFormBase::log_entry(const QString& title, const QString& text, const QString& file_name) {
    if (!dialog_)
        return;
    Log_Book& log = dialog_->log();
    if (!log.Log_IT(title.toStdString(), text.toStdString(), file_name.toStdString()))
        if (auto error = log.Take_New_Write_Error())
            facade_.Error(QStringLiteral("Logfile"), QString::fromStdString(*error),
                          facade_.settings().short_secs);
}

void TFormBase::fb_DO_Escape(const QString& title) {
    if (esc_pressed_ || !working())
        return;
    esc_pressed_ = true;
    facade_.Mess(QString(), QString(), 0);
    if (facade_.Question(title, QStringLiteral("^C:STOP the Process"))) {
        // The run sees the request after its current step and stops there.
        facade_.Mess(QStringLiteral("wait for"), QStringLiteral("Program to catch ESCAPE ..."), 0);
    } else {
        esc_pressed_ = false;
        close_after_run_ = false;
        facade_.Mess(QStringLiteral("after ESCAPE"),
                     QStringLiteral("proceed with the  Program-Execution ..."), 0);
    }
}

bool TFormBase::FormKeyDown(int key) {
    if (key == Qt::Key_Escape) {
        if (escape_action_) {
            escape_action_();
            return true;
        }
        if (!working())
            return false; // Escape then belongs to the control (an open editor, a list)
        fb_DO_Escape();
        return true;
    }
    if (key == Qt::Key_F1) {
        fb_Open_Help();
        return true;
    }
    return false;
}

std::string TFormBase::help_file_name() const {
    // Beside the program (or in "GUI-HELP Directory" when that names a folder), not in whatever
    // folder the program was started from.
    return special_dir(fb_DE_GHelp) + "index.htm";
}

void TFormBase::fb_Open_Help() {
    const QString help = QString::fromStdString(help_file_name());
    if (const Open_Result r = Open_Document(help); !r)
        facade_.M_Error(QStringLiteral("F1 - Help"), QStringLiteral("^C:") + r.error);
}

bool TFormBase::eventFilter(QObject* watched, QEvent* event) {
    if (watched == fb_pc_Log) {
        if (event->type() == QEvent::Show)
            fb_loadLOGClick();
        else if (event->type() == QEvent::Hide)
            fb_tlb_Log->clear();
        return false;
    }
    if (is_user_activity(watched, event))
        user_active();
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        // Alt + a letter that no button took is no text: a field never types it.
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers();
        if ((mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) && !key->text().isEmpty() &&
            key->text().at(0).isPrint() &&
            (qobject_cast<QLineEdit*>(watched) || qobject_cast<QAbstractSpinBox*>(watched) ||
             qobject_cast<QPlainTextEdit*>(watched) || qobject_cast<QTextEdit*>(watched)))
            return true;
    }
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        // Each key is seen once: at the control that has the focus in this window, or at the
        // window itself when the focus is elsewhere (the dialog hands Escape on that way).
        auto* w = static_cast<QWidget*>(watched);
        QWidget* focus = QApplication::focusWidget();
        const bool focus_here = focus && focus->window() == this;
        const bool first = focus_here ? w == focus : w == this;
        if (first) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            // A key the window acted on goes no further: the message it showed may have moved
            // the focus, and the window would see the key a second time on its way up.
            if ((key == Qt::Key_Escape || key == Qt::Key_F1) && FormKeyDown(key))
                return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Idle fading

Idle_Fade_Settings TFormBase::fade_settings() const {
    return {fb_chk_14->isChecked(), fb_cnt_T01->value(), fb_cnt_T02->value()};
}

void TFormBase::apply_opacity() {
    const qreal opacity = fader_.blending() ? fader_.level() / 255.0 : 1.0;
    if (!qFuzzyCompare(windowOpacity(), opacity)) {
        setWindowOpacity(opacity);
        // Nothing is painted while the window fades: without this the window system would
        // see the new opacity only at the next mouse movement.
        Flush_Window_System();
    }
    if (fader_.timer_on() && !fb_Timer_Idle->isActive())
        fb_Timer_Idle->start();
    else if (!fader_.timer_on())
        fb_Timer_Idle->stop();
}

void TFormBase::on_about_to_block() {
    // The idle event: only when the queue ran empty and the window is up.
    if (isVisible())
        fb_AEIdle();
}

void TFormBase::fb_AEIdle() {
    if (fb_Timer_Idle->isActive())
        return;
    if (fader_.idle(now_ms(), fade_settings()) == Idle_Fader::Event::Armed) {
        fb_Play_Sound("As");
        apply_opacity();
    }
}

void TFormBase::fb_Timer_IdleTimer() {
    const Idle_Fader::Event e = fader_.tick(now_ms(), fade_settings());
    apply_opacity();
    if (e == Idle_Fader::Event::Reached)
        fb_Play_Sound("Ad");
}

void TFormBase::set_Idle_Back(int value) {
    fader_.set_back(value, fade_settings());
    apply_opacity();
}

bool TFormBase::is_user_activity(QObject* watched, QEvent* event) const {
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        break;
    default:
        return false;
    }
    // The platform hands every mouse movement over the window to its window handle, also the
    // movements over child controls that never see them (no mouse tracking there).
    if (watched == windowHandle())
        return true;
    return watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this;
}

void TFormBase::user_active() {
    if (fader_.armed() || fader_.timer_on() || fader_.level() != Idle_Fader::Opaque)
        set_Idle_Back(Idle_Fader::Opaque);
}

void TFormBase::mouseMoveEvent(QMouseEvent* event) {
    if (fb_chk_14->isChecked())
        set_Idle_Back(Idle_Fader::Opaque);
    QMainWindow::mouseMoveEvent(event);
}

void TFormBase::fb_cnt_T03Change() {
    const int ms = fb_cnt_T03->value();
    fb_Timer_Idle->setInterval(ms > 0 ? ms : 50);
    set_Idle_Back(Idle_Fader::Opaque);
}

} // namespace parvex
