#pragma once
// What the colour scheme keeps between its handlers: the label counters of the last walk, the
// guards that make one user action give one walk, the test hook of the colour chooser, and the
// event filter that gives switches and grids their mouse-enter and mouse-leave handlers.

#include <QColor>
#include <QObject>

class QCheckBox;

#include <functional>
#include <optional>

namespace parvex {

class TFormBase;

struct Label_Counts {
    int titles = 0;
    int hints = 0;
    int labels = 0;
    int plain = 0;
    int no_change = 0;
    int not_selected = 0;
};

class Color_State : public QObject {
    Q_OBJECT
public:
    explicit Color_State(TFormBase& form);

    Label_Counts counts;
    int walks = 0;          // walks over the window so far
    bool walking = false;   // a walk is running
    int batch_depth = 0;    // inside a user action that ends with one walk
    bool pending = false;   // a walk was asked for while walking or inside a batch
    bool form_gone = false; // the frame window is being destroyed

    // Test hook: the colour chooser's answer (nothing = cancelled) instead of the dialog.
    std::function<std::optional<QColor>(const QColor&)> chooser_answer;

    // Watches a switch or a grid for the mouse entering and leaving it.
    void watch(QObject* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TFormBase& form_;
};

// Paints a switch with the look the applier gave it (kept in its properties "swTransparent",
// "swColor", "swHover" and "swHoverColor"), in its hover look while the mouse is over it.
void Paint_Switch(QCheckBox& c, bool hovered);

// Holds the walks that a user action asks for and runs one at its end.
class Color_Batch {
public:
    explicit Color_Batch(TFormBase& form);
    ~Color_Batch();
    Color_Batch(const Color_Batch&) = delete;
    Color_Batch& operator=(const Color_Batch&) = delete;

private:
    TFormBase& form_;
};

} // namespace parvex
