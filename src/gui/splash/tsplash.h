#pragma once
// The start-up splash: title, build version and credits with two small animations, held on
// screen for a minimum time; its content panel later moves onto the About page.

#include <QPointer>
#include <QWidget>
#include <functional>

namespace parvex {

class GradientCaption;
class GradientPanel;
class ShadowLabel;
class SplashAnimation;
class SplashLinkLabel;

class TSplash : public QWidget {
    Q_OBJECT
public:
    // A monotonic clock in milliseconds, and a wait that keeps window events running.
    using Clock = std::function<qint64()>;
    using Waiter = std::function<void(int ms)>;

    static constexpr int DefaultMinimumShowTime = 5000;
    static constexpr int HoldStep = 500;

    explicit TSplash(QWidget* parent = nullptr);
    ~TSplash() override;

    // Test hooks: the clock and the wait the hold uses (nullptr restores the real ones).
    void setClock(Clock clock);
    void setWaiter(Waiter waiter);
    void setMinimumShowTime(int ms) { minimum_show_ms_ = ms; }
    int minimumShowTime() const { return minimum_show_ms_; }

    // Shows the window and paints it at once (the program start has no event loop yet).
    void showAndPaint();

    // `FormShow`: caption, centring, animations, title and version texts, show time.
    void formShow();
    // `FormCloseQuery`: holds until the minimum time since the show is over (window events keep
    // running and the window is centred again at every step), then stops the animations.
    bool formCloseQuery();
    // The clock's time of the last show, -1 before the first.
    qint64 shownAt() const { return shown_at_; }
    // Places the window in the middle of its screen.
    void centerOnScreen();

    // The content panel `sc_GP1`, wherever it lives now (nullptr once its new owner deleted it).
    QWidget* content() const;
    // Moves `sc_GP1` into `panel` at its top-left corner, without a layout, and lets the
    // animations run there whenever the panel is visible.
    void moveContentTo(QWidget* panel);

    GradientCaption* captionBar() const { return caption_; }
    SplashAnimation* animation(int i) const; // 1 or 2
    SplashLinkLabel* authorLink() const { return author_; }
    SplashLinkLabel* copyrightLink() const { return copyright_; }
    SplashLinkLabel* homeLink() const { return home_url_; }
    // Where a link that could not be opened is reported; the default shows a warning box that
    // does not block (nullptr restores it).
    void setLinkFailureReporter(std::function<void(const QString&)> reporter) {
        link_failure_reporter_ = std::move(reporter);
    }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void build();
    void startAnimations();
    void stopAnimations();
    static void show_link_failure(QWidget* link, const QString& error);

    GradientCaption* caption_ = nullptr;
    QPointer<GradientPanel> content_;
    QPointer<ShadowLabel> prog_name_;
    QPointer<ShadowLabel> version_;
    QPointer<SplashAnimation> gif1_;
    QPointer<SplashAnimation> gif2_;
    QPointer<SplashLinkLabel> author_;
    QPointer<SplashLinkLabel> copyright_;
    QPointer<SplashLinkLabel> home_url_;

    Clock clock_;
    Waiter waiter_;
    int minimum_show_ms_ = DefaultMinimumShowTime;
    qint64 shown_at_ = -1;
    bool holding_ = false;
    std::function<void(const QString&)> link_failure_reporter_;
};

} // namespace parvex
