#include "splash/tsplash.h"

#include "frame/frame_caption.h"
#include "splash/source_page_animation.h"
#include "splash/splash_link_label.h"
#include "splash/splash_texts.h"
#include "splash/token_orbit_animation.h"
#include "widgets/gradient_caption.h"
#include "widgets/gradient_panel.h"
#include "widgets/shadow_label.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace parvex {

namespace {

constexpr int Border = 4;
constexpr int Caption_Height = 30;
constexpr QSize Window_Size{320, 265};
constexpr QSize Content_Size{312, 231};
constexpr int Top_Strip_Height = 41;

const QColor Aqua{0, 255, 255};

QFont bold_font(const QFont& base, int pixels) {
    QFont f = base;
    f.setPixelSize(pixels);
    f.setBold(true);
    return f;
}

// The aqua, bold captions with a black shadow ("Version", "Author", ...).
ShadowLabel* make_label(const QString& name, const QString& text, QWidget* parent,
                        const QRect& geometry, int pixels,
                        Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* l = new ShadowLabel(text, parent);
    l->setObjectName(name);
    l->setFont(bold_font(l->font(), pixels));
    l->setFontColor(Aqua);
    l->setShadowColor(Qt::black);
    l->setShadowSize(1);
    l->setAlignment(align);
    l->setGeometry(geometry);
    return l;
}

SplashLinkLabel* make_link(const QString& name, const QString& text, const QString& address,
                           const QString& hint, QWidget* parent, const QRect& geometry) {
    auto* l = new SplashLinkLabel(parent);
    l->setObjectName(name);
    l->setText(text);
    l->setAddress(address);
    l->setToolTip(hint);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    l->setGeometry(geometry);
    return l;
}

qint64 monotonic_ms() {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

// Waits in a local event loop, so the animations and every other window event keep running.
void wait_with_events(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

TSplash::TSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("Splash"));
    setFixedSize(Window_Size);
    build();
}

TSplash::~TSplash() = default;

void TSplash::setClock(Clock clock) {
    clock_ = std::move(clock);
}

void TSplash::setWaiter(Waiter waiter) {
    waiter_ = std::move(waiter);
}

void TSplash::build() {
    caption_ = new GradientCaption(1, this);
    caption_->setObjectName(QStringLiteral("sc_Caption"));
    caption_->setStartColor(QColor(0, 128, 64));
    caption_->setEndColor(QColor(150, 215, 175));
    caption_->setPartFont(0, bold_font(font(), 13));
    caption_->setFixedHeight(Caption_Height);
    caption_->setGeometry(Border, Border, Content_Size.width(), Caption_Height);

    content_ = new GradientPanel(this);
    content_->setObjectName(QStringLiteral("sc_GP1"));
    content_->setPlain(true);
    content_->setColor(QColor(0, 0, 160));
    content_->setGeometry(QRect(QPoint(Border, Border + Caption_Height), Content_Size));
    // The panel paints all of its colours itself; a style sheet of a later owner (the About
    // page) must not paint over its strips and labels.
    content_->setStyleSheet(QStringLiteral("QWidget { background: transparent; border: none; }"));

    auto* top = new GradientPanel(content_);
    top->setObjectName(QStringLiteral("sc_GP2"));
    top->setHorizontal(false);
    top->setGradientColors(QColor(0, 0, 255), QColor(0, 0, 160), QColor(0, 0, 255));
    top->setShadeCenter(50);
    top->setGeometry(0, 0, Content_Size.width(), Top_Strip_Height);

    prog_name_ = new ShadowLabel(top);
    prog_name_->setObjectName(QStringLiteral("sc_ProgName"));
    prog_name_->setFont(bold_font(font(), 19));
    prog_name_->setFontColor(QColor(225, 225, 0));
    prog_name_->setShadowColor(QColor(159, 159, 0));
    prog_name_->setShadowSize(2);
    prog_name_->setAlignment(Qt::AlignCenter);
    prog_name_->setGeometry(0, 0, Content_Size.width(), Top_Strip_Height);

    auto* rest = new GradientPanel(content_);
    rest->setObjectName(QStringLiteral("sc_GP3"));
    rest->setHorizontal(false);
    rest->setGradientColors(QColor(0, 0, 255), QColor(206, 206, 0), QColor(0, 0, 160));
    rest->setShadeCenter(70);
    const int rest_height = Content_Size.height() - Top_Strip_Height;
    rest->setGeometry(0, Top_Strip_Height, Content_Size.width(), rest_height);

    gif1_ = new SourcePageAnimation(rest);
    gif1_->setObjectName(QStringLiteral("sc_Gif1"));
    gif1_->setGeometry(6, 5, 60, 76);
    gif1_->setToolTip(splash_texts::Gif1_Hint);
    gif2_ = new TokenOrbitAnimation(rest);
    gif2_->setObjectName(QStringLiteral("sc_Gif2"));
    gif2_->setGeometry(Content_Size.width() - 6 - 66, 10, 66, 66);
    gif2_->setToolTip(splash_texts::Gif2_Hint);

    const Qt::Alignment centre = Qt::AlignCenter;
    make_label(QStringLiteral("sc_Lab2"), QStringLiteral("Version"), rest, {72, 18, 168, 18}, 13,
               centre);
    version_ =
        make_label(QStringLiteral("sc_Version"), QString(), rest, {72, 38, 168, 22}, 13, centre);

    const int label_x = 12, label_w = 84, value_x = 100, value_w = Content_Size.width() - 108;
    make_label(QStringLiteral("sc_Lab3"), QStringLiteral("Author"), rest,
               {label_x, 92, label_w, 18}, 12);
    author_ =
        make_link(QStringLiteral("sc_Author"), splash_texts::Author, splash_texts::Author_Address,
                  splash_texts::Author_Hint, rest, {value_x, 92, value_w, 18});
    make_label(QStringLiteral("sc_Lab4"), QStringLiteral("Copyright"), rest,
               {label_x, 114, label_w, 18}, 12);
    copyright_ = make_link(QStringLiteral("sc_Copyright"), splash_texts::Copyright,
                           splash_texts::Copyright_Address, splash_texts::Copyright_Hint, rest,
                           {value_x, 114, value_w, 34});
    copyright_->setWordWrap(true);
    copyright_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    make_label(QStringLiteral("sc_HomePage"), QStringLiteral("Homepage"), rest,
               {label_x, 154, label_w, 18}, 12);
    home_url_ =
        make_link(QStringLiteral("sc_HomeURL"), splash_texts::Home_Text, splash_texts::Home_Address,
                  splash_texts::Home_Hint, rest, {value_x, 154, value_w, 18});
    // A link the system cannot open (no browser or mail program) says so.
    for (SplashLinkLabel* link : {author_.data(), copyright_.data(), home_url_.data()})
        connect(link, &SplashLinkLabel::openFailed, this, [this, link](const QString& error) {
            if (link_failure_reporter_)
                link_failure_reporter_(error);
            else
                show_link_failure(link, error);
        });
}

void TSplash::show_link_failure(QWidget* link, const QString& error) {
    auto* box = new QMessageBox(QMessageBox::Warning, QApplication::applicationName(), error,
                                QMessageBox::Ok, link ? link->window() : nullptr);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

void TSplash::paintEvent(QPaintEvent*) {
    // the window's own frame: a dark green border with a light inner edge
    QPainter p(this);
    p.fillRect(rect(), QColor(0, 80, 40));
    p.setPen(QColor(120, 200, 150));
    p.drawRect(rect().adjusted(1, 1, -2, -2));
}

void TSplash::showAndPaint() {
    show();
    raise();
    repaint();
    QCoreApplication::processEvents();
}

void TSplash::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    formShow();
}

void TSplash::formShow() {
    const QString title = QCoreApplication::applicationName();
    caption_->setPartText(0, QStringLiteral("  ") + title);
    centerOnScreen();
    startAnimations();
    if (prog_name_)
        prog_name_->setText(title);
    if (version_)
        version_->setText(QString::fromLatin1(Program_Version.data(),
                                              static_cast<qsizetype>(Program_Version.size())));
    shown_at_ = clock_ ? clock_() : monotonic_ms();
}

bool TSplash::formCloseQuery() {
    if (shown_at_ >= 0) {
        holding_ = true;
        for (;;) {
            const qint64 elapsed = (clock_ ? clock_() : monotonic_ms()) - shown_at_;
            if (elapsed >= minimum_show_ms_)
                break;
            QCoreApplication::processEvents();
            centerOnScreen();
            const int step =
                static_cast<int>(std::min<qint64>(HoldStep, minimum_show_ms_ - elapsed));
            if (waiter_)
                waiter_(step);
            else
                wait_with_events(step);
        }
        holding_ = false;
    }
    // Once the content lives on the About page its pictures belong there.
    if (content_ && content_->parentWidget() == this)
        stopAnimations();
    return true;
}

void TSplash::closeEvent(QCloseEvent* event) {
    // A second close request while the first one waits is answered by the first.
    if (holding_) {
        event->ignore();
        return;
    }
    event->setAccepted(formCloseQuery());
}

void TSplash::centerOnScreen() {
    const QScreen* s = screen();
    if (!s)
        return;
    const QRect area = s->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

SplashAnimation* TSplash::animation(int i) const {
    return i == 1 ? gif1_.data() : i == 2 ? gif2_.data() : nullptr;
}

QWidget* TSplash::content() const {
    return content_.data();
}

void TSplash::moveContentTo(QWidget* panel) {
    if (!content_ || !panel)
        return;
    content_->setParent(panel);
    content_->move(0, 0);
    content_->show();
    startAnimations();
}

void TSplash::startAnimations() {
    for (SplashAnimation* a : {gif1_.data(), gif2_.data()})
        if (a)
            a->start();
}

void TSplash::stopAnimations() {
    for (SplashAnimation* a : {gif1_.data(), gif2_.data()})
        if (a)
            a->stop();
}

} // namespace parvex
