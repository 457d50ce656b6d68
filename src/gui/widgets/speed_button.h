#pragma once
// A flat button with a transparent look (only the caption shows until the mouse is over it),
// bold captions, a font colour, and mouse-enter and mouse-leave handlers that the colour scheme
// installs and that others may call (a click handler restores the normal look that way).

#include <QColor>
#include <QToolButton>
#include <functional>

namespace parvex {

class SpeedButton : public QToolButton {
    Q_OBJECT
public:
    using Handler = std::function<void(QObject* sender)>;

    explicit SpeedButton(QWidget* parent = nullptr);
    explicit SpeedButton(const QString& caption, QWidget* parent = nullptr);

    void setTransparent(bool on);
    bool transparent() const { return transparent_; }
    void setBold(bool on);
    bool bold() const { return font().bold(); }
    void setFontColor(const QColor& c);
    QColor fontColor() const { return font_color_; }

    void setMouseEnterHandler(Handler h) { on_enter_ = std::move(h); }
    void setMouseLeaveHandler(Handler h) { on_leave_ = std::move(h); }
    bool hasMouseLeaveHandler() const { return static_cast<bool>(on_leave_); }
    // Runs the mouse-leave handler as if the mouse had left the button.
    void runMouseLeave();

    // Alt + letter presses the button; the letter's first appearance in the caption is
    // underlined. The caption itself stays as it is (no "&" in it). The first letter given is the
    // one the button prefers whatever language its caption is in.
    void setMnemonic(QChar letter);
    // Alt + letter for the caption shown now (a translated caption may lack the preferred one);
    // a null letter leaves the button without. Setting a caption drops the key, so whoever sets
    // one gives the key again.
    void useMnemonic(QChar letter);
    QChar mnemonic() const { return mnemonic_; }
    QChar preferredMnemonic() const { return preferred_mnemonic_; }
    // The caption as drawn: "&" before the mnemonic letter, other "&" doubled.
    QString mnemonicText() const;

    QSize sizeHint() const override;

signals:
    void mouseEntered();
    void mouseLeft();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool transparent_ = true;
    bool hovered_ = false;
    QColor font_color_{0x00, 0x00, 0xF2};
    QChar mnemonic_;
    QChar preferred_mnemonic_;
    Handler on_enter_;
    Handler on_leave_;
};

} // namespace parvex
