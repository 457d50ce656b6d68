#pragma once
// A link label of the splash: its text in aqua until it was clicked, yellow afterwards, with a
// blue shadow; a click hands its address (web or mail) to the system's opener.

#include "widgets/shadow_label.h"

#include <QString>

namespace parvex {

class SplashLinkLabel : public ShadowLabel {
    Q_OBJECT
public:
    explicit SplashLinkLabel(QWidget* parent = nullptr);

    void setAddress(const QString& address) { address_ = address; }
    QString address() const { return address_; }
    bool visited() const { return visited_; }
    void setVisited(bool on);

    static QColor linkColor() { return {0, 255, 255}; }
    static QColor visitedColor() { return {255, 255, 0}; }

    // Opens the address as a click does; false (with the reason) when the opener refused it.
    bool openAddress(QString* error = nullptr);

signals:
    void openFailed(const QString& error);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString address_;
    bool visited_ = false;
};

} // namespace parvex
