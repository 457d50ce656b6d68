#include "dialogs/tdlgs.h"

#include "dialogs/locale_log_clock.h"
#include "dialogs/markup.h"
#include "platform/color_convert.h"
#include "tables/color_names.h"
#include "tables/subs.h"
#include "widgets/gradient_caption.h"
#include "widgets/gradient_panel.h"
#include "widgets/led_progress_bar.h"
#include "widgets/shadow_label.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

// Resources of a static library must be registered by name, outside any namespace.
static void init_dialog_icons() {
    Q_INIT_RESOURCE(dialog_icons);
}

namespace parvex {

namespace {

struct Kind_Look {
    const char* title;
    QColor color;
};

const Kind_Look kinds[4] = {
    {"S T O P", QColor(255, 0, 0)},
    {"I N F O", QColor(0, 0, 255)},
    {"Warning", QColor(0, 128, 64)},
    {"Confirm", QColor(0, 128, 64)},
};

QFont dialog_font(int pixels, bool bold = true) {
    QFont f;
    f.setFamilies({"Arial", "Liberation Sans", "Nimbus Sans", "DejaVu Sans"});
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QPixmap render_icon(const QString& resource) {
    QSvgRenderer svg(resource);
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pm(QSize(48, 64) * ratio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    svg.render(&p);
    p.end();
    pm.setDevicePixelRatio(ratio);
    return pm;
}

GradientPanel* panel(QWidget* parent, const char* name) {
    auto* gp = new GradientPanel(parent);
    gp->setObjectName(name);
    return gp;
}

ShadowLabel* shadow_label(QWidget* parent, const char* name, int pixels) {
    auto* lab = new ShadowLabel(parent);
    lab->setObjectName(name);
    lab->setFont(dialog_font(pixels));
    lab->setTransparent(true);
    return lab;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setFixedSize(100, 25);
    b->setFont(dialog_font(13));
    b->setAutoDefault(false);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

// The message label breaks lines at "\n" only.
QString display_text(const QString& text) {
    return QString(text).replace("\r\n", "\n");
}

std::string to_bytes(const QString& s) {
    return s.toStdString();
}

} // namespace

TDlgs::TDlgs(QWidget* main_window, Log_Clock clock)
    : QDialog(nullptr), main_window_(main_window),
      log_(clock.now ? std::move(clock) : Locale_Log_Clock()) {
    init_dialog_icons();
    setObjectName("Dlgs");
    setWindowTitle(QStringLiteral("Dlgs"));
    // A tool window without title-bar buttons, above all others; its own caption bar is drawn.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    build();
    Look_Standard();
    Select_Kind(Kind_Info);
    log_failure_reporter_ = [this](const QString& text) {
        auto* box = new QMessageBox(QMessageBox::Warning, QApplication::applicationName(), text,
                                    QMessageBox::Ok);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::NonModal);
        box->show();
    };
}

TDlgs::~TDlgs() = default;

void TDlgs::build() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(1, 1, 1, 1);
    outer->setSpacing(0);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(40, 40, 60));
    setPalette(pal);
    setAutoFillBackground(true);

    xdlg_GCap = new GradientCaption(4, this);
    xdlg_GCap->setObjectName("xdlg_GCap");
    xdlg_GCap->setPartText(0, "  [ ");
    xdlg_GCap->setPartText(2, " ]  ");
    QFont work_font = dialog_font(11);
    xdlg_GCap->setPartFont(3, work_font);
    xdlg_GCap->setPartColor(3, QColor(255, 255, 0));
    outer->addWidget(xdlg_GCap);

    auto* client = new QWidget(this);
    client->setFixedSize(Client_Width, Client_Height);
    outer->addWidget(client);
    auto* col = new QVBoxLayout(client);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(0);

    // Title line.
    xdlg_GP1 = panel(client, "xdlg_GP1");
    xdlg_GP1->setFixedHeight(41);
    auto* top = new QHBoxLayout(xdlg_GP1);
    top->setContentsMargins(6, 0, 6, 0);
    xdlg_Lab1 = shadow_label(xdlg_GP1, "xdlg_Lab1", 24);
    QFont title_font = dialog_font(24);
    title_font.setUnderline(true);
    xdlg_Lab1->setFont(title_font);
    xdlg_Lab1->setAlignment(Qt::AlignCenter);
    xdlg_Lab1->setShadowSize(2);
    top->addWidget(xdlg_Lab1);
    col->addWidget(xdlg_GP1);

    // Message area: three nested panels of one size, the icon column and the text.
    xdlg_GP4 = panel(client, "xdlg_GP4");
    auto* l4 = new QVBoxLayout(xdlg_GP4);
    l4->setContentsMargins(0, 0, 0, 0);
    xdlg_GP2 = panel(xdlg_GP4, "xdlg_GP2");
    l4->addWidget(xdlg_GP2);
    auto* l2 = new QVBoxLayout(xdlg_GP2);
    l2->setContentsMargins(0, 0, 0, 0);
    xdlg_GP8 = panel(xdlg_GP2, "xdlg_GP8");
    l2->addWidget(xdlg_GP8);
    auto* l8 = new QHBoxLayout(xdlg_GP8);
    l8->setContentsMargins(0, 0, 8, 0);
    l8->setSpacing(6);

    xdlg_GP3 = panel(xdlg_GP8, "xdlg_GP3");
    xdlg_GP3->setFixedWidth(72);
    auto* l3 = new QVBoxLayout(xdlg_GP3);
    l3->setContentsMargins(0, 4, 0, 0);
    l3->setSpacing(0);
    const std::pair<QLabel**, const char*> images[] = {
        {&xdlg_img_Stop, "stop"},
        {&xdlg_img_Info, "info"},
        {&xdlg_img_Warning, "warning"},
        {&xdlg_img_Confirm, "confirm"},
    };
    for (auto [slot, file] : images) {
        auto* img = new QLabel(xdlg_GP3);
        img->setObjectName(QStringLiteral("xdlg_img_") +
                           (QString(file) == "confirm"
                                ? QStringLiteral("Confirm")
                                : QString(file).left(1).toUpper() + QString(file).mid(1)));
        img->setPixmap(render_icon(QStringLiteral(":/dialogs/icons/%1.svg").arg(file)));
        img->setAlignment(Qt::AlignCenter);
        img->setAttribute(Qt::WA_TranslucentBackground);
        img->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        l3->addWidget(img, 1);
        *slot = img;
    }
    xdlg_lab_CntDwn = shadow_label(xdlg_GP3, "xdlg_lab_CntDwn", 11);
    xdlg_lab_CntDwn->setFixedHeight(26);
    xdlg_lab_CntDwn->setAlignment(Qt::AlignCenter);
    xdlg_lab_CntDwn->hide();
    l3->addWidget(xdlg_lab_CntDwn);
    l8->addWidget(xdlg_GP3);

    xdlg_Lab2 = shadow_label(xdlg_GP8, "xdlg_Lab2", 16);
    xdlg_Lab2->setWordWrap(true);
    xdlg_Lab2->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    xdlg_Lab2->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    l8->addWidget(xdlg_Lab2, 1);
    col->addWidget(xdlg_GP4, 1);

    // Progress strip.
    xdlg_GP6 = panel(client, "xdlg_GP6");
    xdlg_GP6->setFixedHeight(19);
    auto* l6 = new QHBoxLayout(xdlg_GP6);
    l6->setContentsMargins(0, 2, 4, 2);
    l6->setSpacing(0);
    l6->addSpacing(10); // xdlg_pbb2
    xdlg_pb_text = shadow_label(xdlg_GP6, "xdlg_pb_text", 11);
    xdlg_pb_text->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    l6->addWidget(xdlg_pb_text);
    l6->addSpacing(10); // xdlg_pbb3
    xdlg_pbar = new LedProgressBar(xdlg_GP6);
    xdlg_pbar->setObjectName("xdlg_pbar");
    l6->addWidget(xdlg_pbar, 1);
    xdlg_pbb1 = shadow_label(xdlg_GP6, "xdlg_pbb1", 11);
    xdlg_pbb1->setFixedWidth(56);
    xdlg_pbb1->setAlignment(Qt::AlignVCenter | Qt::AlignRight);
    l6->addWidget(xdlg_pbb1);
    xdlg_GP6->hide();
    col->addWidget(xdlg_GP6);
    connect(xdlg_pbar, &LedProgressBar::valueChanged, this, [this] { xdlg_pbarChange(); });

    // File-name strip.
    xdlg_GP7 = panel(client, "xdlg_GP7");
    xdlg_GP7->setFixedHeight(19);
    auto* l7 = new QHBoxLayout(xdlg_GP7);
    l7->setContentsMargins(6, 0, 6, 0);
    xdlg_Flbl = shadow_label(xdlg_GP7, "xdlg_Flbl", 11);
    xdlg_Flbl->setAlignment(Qt::AlignCenter);
    xdlg_Flbl->setShadowSize(0);
    xdlg_Flbl->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    l7->addWidget(xdlg_Flbl);
    xdlg_GP7->hide();
    col->addWidget(xdlg_GP7);

    // Buttons.
    xdlg_GP5 = panel(client, "xdlg_GP5");
    xdlg_GP5->setFixedHeight(33);
    auto* l5 = new QHBoxLayout(xdlg_GP5);
    l5->setContentsMargins(10, 4, 10, 4);
    xdlg_btn_OK = button(xdlg_GP5, "xdlg_btn_OK", "OK");
    xdlg_btn_No = button(xdlg_GP5, "xdlg_btn_No", "NO");
    xdlg_btn_break_OK = button(xdlg_GP5, "xdlg_btn_break_OK", "OK");
    l5->addWidget(xdlg_btn_OK);
    l5->addStretch(1);
    l5->addWidget(xdlg_btn_break_OK);
    l5->addStretch(1);
    l5->addWidget(xdlg_btn_No);
    col->addWidget(xdlg_GP5);

    connect(xdlg_btn_OK, &QPushButton::clicked, this, [this] {
        Answer = true;
        done(QDialog::Accepted);
    });
    connect(xdlg_btn_No, &QPushButton::clicked, this, [this] {
        Answer = false;
        done(QDialog::Rejected);
    });
    connect(xdlg_btn_break_OK, &QPushButton::clicked, this, [this] {
        Answer = true;
        Count_Down = 1;
        xdlg_Down_TimerTimer();
        if (isVisible())
            done(QDialog::Accepted);
    });

    xdlg_Down_Timer = new QTimer(this);
    xdlg_Down_Timer->setObjectName("xdlg_Down_Timer");
    xdlg_Down_Timer->setInterval(1000);
    connect(xdlg_Down_Timer, &QTimer::timeout, this, [this] { xdlg_Down_TimerTimer(); });

    setFixedSize(sizeHint());
}

// ---- looks and kinds ----

void TDlgs::set_look(const QColor& base, const QColor& c1, const QColor& c2, const QColor& c3,
                     const QColor& font, const QColor& shadow) {
    for (GradientPanel* gp :
         {xdlg_GP1, xdlg_GP2, xdlg_GP3, xdlg_GP4, xdlg_GP5, xdlg_GP6, xdlg_GP7, xdlg_GP8}) {
        gp->setColor(base);
        gp->setGradientColors(c1, c2, c3);
        gp->setShadeCenter(50);
        gp->setHorizontal(true);
        gp->setPlain(false);
    }
    for (ShadowLabel* lab : {xdlg_Lab1, xdlg_Lab2, xdlg_lab_CntDwn}) {
        lab->setFontColor(font);
        lab->setShadowColor(shadow);
    }
    xdlg_lab_CntDwn->setShadowSize(1);
}

void TDlgs::Look_Standard() {
    const QColor face = To_QColor(System_Color_Base + 15);
    set_look(QColor(0, 0, 255), face, Qt::white, face, Qt::black,
             To_QColor(System_Color_Base + 20));
    xdlg_Lab2->setShadowSize(1);
    xdlg_btn_OK->show();
    xdlg_btn_No->show();
    xdlg_btn_break_OK->hide();
}

void TDlgs::Look_Message() {
    set_look(QColor(0, 0, 255), QColor(0, 0, 255), QColor(0, 255, 255), QColor(0, 0, 255),
             Qt::white, Qt::black);
    xdlg_Lab2->setShadowSize(2);
    xdlg_btn_OK->hide();
    xdlg_btn_No->hide();
    xdlg_btn_break_OK->show();
}

void TDlgs::Look_Error() {
    set_look(QColor(255, 0, 0), QColor(255, 0, 0), QColor(255, 193, 193), QColor(255, 0, 0),
             Qt::white, Qt::black);
    xdlg_Lab2->setShadowSize(2);
    xdlg_btn_OK->hide();
    xdlg_btn_No->hide();
    xdlg_btn_break_OK->show();
}

void TDlgs::Select_Kind(int code) {
    QLabel* images[4] = {xdlg_img_Stop, xdlg_img_Info, xdlg_img_Warning, xdlg_img_Confirm};
    for (int k = 1; k <= 4; ++k)
        images[k - 1]->setVisible(k == code);
    // Outside 1 .. 4 the last kind's title and colour stay, with no icon.
    const Kind_Look& look = kinds[(code >= 1 && code <= 4 ? code : 4) - 1];
    kind_ = code;
    xdlg_GCap->setPartText(1, QString::fromLatin1(look.title));
    xdlg_GCap->setStartColor(look.color);
    QColor end = look.color;
    end =
        QColor((end.red() + 3 * 235) / 4, (end.green() + 3 * 235) / 4, (end.blue() + 3 * 245) / 4);
    xdlg_GCap->setEndColor(end);
}

void TDlgs::Center_Dialog() {
    QRect outer = frameGeometry();
    QRect main;
    if (main_window_)
        main = main_window_->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        main = screen->availableGeometry();
    else
        return;
    int top = main.top() + (main.height() - outer.height()) / 2;
    if (top < main.top())
        top = main.top() + 6;
    int left = main.left() + (main.width() - outer.width()) / 2;
    move(left, top);
}

// ---- mark-up ----

QString TDlgs::Decode_Mess(const QString& msg) {
    xdlg_GP6->hide();
    xdlg_GP7->hide();
    const Decoded_Message d = parvex::Decode_Mess(to_bytes(msg));
    xdlg_Lab2->setAlignment((d.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    show_file_name(QString::fromStdString(d.file_name));
    if (d.file_strip)
        xdlg_GP7->show();
    if (d.progress_strip) {
        const QColor font = xdlg_Lab2->fontColor();
        const QColor shadow = To_QColor(Contrast_Color(From_QColor(font)));
        xdlg_pb_text->setText(QString::fromStdString(d.progress_caption));
        for (ShadowLabel* lab : {xdlg_pb_text, xdlg_pbb1}) {
            lab->setFontColor(font);
            lab->setShadowColor(shadow);
            lab->setShadowSize(1);
        }
        xdlg_GP6->show();
        xdlg_pbar->setValue(0);
    }
    return QString::fromStdString(d.text);
}

void TDlgs::show_file_name(const QString& name) {
    file_name_ = name;
    xdlg_Flbl->setFontColor(xdlg_Lab2->fontColor());
    const QFontMetrics fm(xdlg_Flbl->font());
    const int room = Client_Width - 12;
    const std::string shown = Shorten_Path_Left(to_bytes(name), [&](const std::string& s) {
        return fm.horizontalAdvance(QString::fromStdString(s)) <= room;
    });
    xdlg_Flbl->setText(QString::fromStdString(shown));
}

QString TDlgs::shownFileName() const {
    return xdlg_Flbl->text();
}

QString TDlgs::titleText() const {
    return xdlg_Lab1->text();
}

bool TDlgs::textCentred() const {
    return xdlg_Lab2->alignment() & Qt::AlignHCenter;
}

QString TDlgs::percentText() const {
    return xdlg_pbb1->text();
}

// ---- progress ----

void TDlgs::Set_PBar(int max) {
    xdlg_pbar->setMaximum(max);
    xdlg_pbar->setThreshold2((max / 100) * 60);
    xdlg_pbar->setThreshold3((max / 100) * 85);
}

void TDlgs::xdlg_pbarChange() {
    const int max = xdlg_pbar->maximum();
    QString text;
    if (max <= 0) {
        text = QStringLiteral("  0%");
    } else {
        const double pct = xdlg_pbar->value() / (max / 100.0);
        text = QString::asprintf(max <= 50000 ? "%3.0f" : "%3.2f", pct) + "%";
    }
    if (xdlg_pbb1->text() != text)
        xdlg_pbb1->setText(text);
    QCoreApplication::processEvents();
}

// ---- showing ----

bool TDlgs::question(int kind, const QString& title, const QString& msg) {
    Look_Standard();
    Select_Kind(kind);
    xdlg_Lab1->setText(title);
    shown_text_ = Decode_Mess(msg);
    xdlg_Lab2->setText(display_text(shown_text_));
    Center_Dialog();
    Log_IT();
    // Enter gives the safe answer: "NO" where the question warns of something, else "OK".
    make_default(kind == Kind_Stop || kind == Kind_Warning ? xdlg_btn_No : xdlg_btn_OK);
    run_modal();
    return Answer;
}

void TDlgs::make_default(QPushButton* button) {
    for (QPushButton* b : {xdlg_btn_OK, xdlg_btn_No, xdlg_btn_break_OK})
        b->setDefault(b == button);
    button->setFocus(Qt::OtherFocusReason);
}

QPushButton* TDlgs::defaultButton() const {
    for (QPushButton* b : {xdlg_btn_OK, xdlg_btn_No, xdlg_btn_break_OK})
        if (b->isDefault() && !b->isHidden())
            return b;
    return nullptr;
}

bool TDlgs::Stop(const QString& title, const QString& msg) {
    return question(Kind_Stop, title, msg);
}
bool TDlgs::Info(const QString& title, const QString& msg) {
    return question(Kind_Info, title, msg);
}
bool TDlgs::Warning(const QString& title, const QString& msg) {
    return question(Kind_Warning, title, msg);
}
bool TDlgs::Question(const QString& title, const QString& msg) {
    return question(Kind_Confirm, title, msg);
}

bool TDlgs::Mess(const QString& title, const QString& msg, int secs) {
    Look_Message();
    Select_Kind(Kind_Info);
    return EM(title, msg, secs);
}

bool TDlgs::Error(const QString& title, const QString& msg, int secs) {
    Look_Error();
    Select_Kind(Kind_Stop);
    return EM(title, msg, secs);
}

bool TDlgs::EM(const QString& title, const QString& msg, int secs) {
    xdlg_Lab1->setText(title);
    shown_text_ = Decode_Mess(msg);
    xdlg_Lab2->setText(display_text(shown_text_));
    Center_Dialog();
    if (secs > 0) {
        if (isVisible())
            hide(); // a message left open gives way to the timed one
        Count_Down = secs;
        xdlg_lab_CntDwn->setText(QString::number(secs));
        xdlg_lab_CntDwn->show();
        xdlg_Down_Timer->start();
        Log_IT();
        make_default(xdlg_btn_break_OK);
        run_modal();
        // However the window closed, no count-down may run on into the next display.
        xdlg_Down_Timer->stop();
        xdlg_lab_CntDwn->hide();
        return true;
    }
    xdlg_btn_break_OK->hide();
    if (!msg.isEmpty()) {
        Log_IT();
        xdlg_lab_CntDwn->hide();
        show();
        QCoreApplication::processEvents();
    } else {
        hide();
    }
    return true;
}

void TDlgs::Replace_Text(const QString& msg) {
    shown_text_ = Decode_Mess(msg);
    xdlg_Lab2->setText(display_text(shown_text_));
}

int TDlgs::run_modal() {
    // A message left open is taken down first: a window that is already visible would not
    // become modal.
    if (isVisible())
        hide();
    if (modal_hook_)
        QTimer::singleShot(0, this, [this] {
            if (modal_hook_ && isVisible())
                modal_hook_(*this);
        });
    const int result = exec();
    emit modalEnded();
    return result;
}

void TDlgs::setCountDownInterval(int msec) {
    xdlg_Down_Timer->setInterval(msec);
}

void TDlgs::xdlg_Down_TimerTimer() {
    --Count_Down;
    xdlg_lab_CntDwn->setText(QString::number(Count_Down));
    if (Count_Down < 1) {
        xdlg_Down_Timer->stop();
        xdlg_lab_CntDwn->hide();
        if (isVisible())
            done(Result_Yes);
    }
}

void TDlgs::keyPressEvent(QKeyEvent* event) {
    // Escape belongs to the main window (it stops a run); the dialog itself ignores keys.
    if (event->key() == Qt::Key_Escape) {
        if (main_window_) {
            QKeyEvent copy(QEvent::KeyPress, event->key(), event->modifiers(), event->text());
            QCoreApplication::sendEvent(main_window_, &copy);
        }
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && isModal()) {
        // Enter presses the button that has the focus, else the default button.
        auto* focused = qobject_cast<QPushButton*>(focusWidget());
        QPushButton* target = focused && focused->isVisible() ? focused : defaultButton();
        if (target) {
            target->click();
            event->accept();
            return;
        }
    }
    event->ignore();
}

void TDlgs::showEvent(QShowEvent* event) {
    Open_Log();
    QDialog::showEvent(event);
    // A question or timed message starts with the focus on its default button, drawn with its
    // focus frame, so Enter and Space both press what the user sees marked.
    if (QPushButton* b = defaultButton(); b && isModal()) {
        setAttribute(Qt::WA_KeyboardFocusChange);
        b->setFocus(Qt::TabFocusReason);
    }
}

void TDlgs::closeEvent(QCloseEvent* event) {
    QThread::msleep(1);
    QDialog::closeEvent(event);
}

// ---- log ----

void TDlgs::Open_Log() {
    if (FileResult r = log_.Open(); !r)
        report_log_failure(r.error);
}

void TDlgs::Log_IT() {
    // The message line may have been rewritten by a caller since the last display (a run's end
    // puts its result there); the line breaks of a shown message are logged as they came.
    const QString shown = xdlg_Lab2->text();
    const QString text = shown == display_text(shown_text_) ? shown_text_ : shown;
    if (!log_.Log_IT(to_bytes(xdlg_Lab1->text()), to_bytes(text), to_bytes(file_name_)))
        if (auto error = log_.Take_New_Write_Error())
            report_log_failure(*error);
}

void TDlgs::Log_Line(QObject*, const QString& kind, const QString& text) {
    if (!log_.Log_Line(to_bytes(kind), to_bytes(text)))
        if (auto error = log_.Take_New_Write_Error())
            report_log_failure(*error);
}

void TDlgs::setLogFailureReporter(std::function<void(const QString&)> reporter) {
    log_failure_reporter_ = std::move(reporter);
}

void TDlgs::report_log_failure(const std::string& error) {
    if (log_failure_reporter_)
        log_failure_reporter_(QStringLiteral("The log file cannot be used.\n%1\n\n"
                                             "The program goes on and keeps the log in memory.")
                                  .arg(QString::fromStdString(error)));
}

} // namespace parvex
