// The colour applier: walks every component of the window and gives it its look from the colour
// settings and the style bits in its tag.
#include "frame/color_state.h"
#include "frame/form_base.h"
#include "platform/color_convert.h"
#include "platform/color_edit.h"
#include "tables/color_names.h"
#include "tables/subs.h"
#include "widgets/gradient_panel.h"
#include "widgets/sgx.h"
#include "widgets/shadow_label.h"
#include "widgets/speed_button.h"

#include <QCheckBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>

namespace parvex {

namespace {

constexpr int Tag_Title = 1;
constexpr int Tag_Hint = 2;
constexpr int Tag_Label = 4;
constexpr int Tag_Plain = 8;
constexpr int Tag_Own_Colors = 16384; // a panel keeps its colours; a label counts as no change

QColor contrast_of(const QColor& background) {
    return To_QColor(Contrast_Color(From_QColor(background)));
}

// Sets a colour for the active and inactive states; disabled controls keep their grey look.
void set_enabled_role(QPalette& pal, QPalette::ColorRole role, const QColor& c) {
    pal.setColor(QPalette::Active, role, c);
    pal.setColor(QPalette::Inactive, role, c);
}

struct Panel_Set {
    QColor c1, c2, c3;
    bool horizontal = false;
    int shade = 50;
};

// The settings of the page, read once per walk.
struct Look {
    bool plain_panels = true;
    Panel_Set upper, lower;
    bool plain_text = false, no_shadow = false;
    std::uint32_t tc[7]{};
    QColor button_font;
    bool buttons_bold = true, buttons_transparent = true;
    bool switches_bold = true, switches_transparent = true, switches_hover = true;
    QColor switch_color, switch_hover_color;
};

Look read_look(const TFormBase& f) {
    Look k;
    k.plain_panels = f.fb_chk_PlainPanel->isChecked();
    k.upper = {To_QColor(Edit_Color(*f.fb_EDIT_Color)), To_QColor(Edit_Color(*f.fb_ed_Col2_U)),
               To_QColor(Edit_Color(*f.fb_ed_Col3_U)), f.fb_chk_Horiz_U->isChecked(),
               f.fb_shade_slider_U->value()};
    k.lower = {To_QColor(Edit_Color(*f.fb_ed_Col1_L)), To_QColor(Edit_Color(*f.fb_ed_Col2_L)),
               To_QColor(Edit_Color(*f.fb_ed_Col3_L)), f.fb_chk_Horiz_L->isChecked(),
               f.fb_shade_slider_L->value()};
    k.plain_text = f.fb_chk_PText->isChecked();
    k.no_shadow = f.fb_chk_PShadow->isChecked();
    for (int i = 0; i < 7; ++i)
        k.tc[i] = Edit_Color(*f.fb_ed_TC[static_cast<std::size_t>(i)]);
    k.button_font = To_QColor(Edit_Color(*f.fb_ed_btnFntCol));
    k.buttons_bold = f.fb_chk_11->isChecked();
    k.buttons_transparent = f.fb_chk_10->isChecked();
    k.switches_bold = f.fb_chk_04->isChecked();
    k.switches_transparent = f.fb_chk_02->isChecked();
    k.switches_hover = f.fb_chk_03->isChecked();
    k.switch_color = To_QColor(Edit_Color(*f.fb_ed_SW_Col));
    k.switch_hover_color = To_QColor(Edit_Color(*f.fb_ed_SW_HCol));
    return k;
}

// Every widget of the window that is ours, children before the walk reverses them. Qt's own
// helpers ("qt_..." names) are passed through but not taken; other windows (the colour chooser)
// and the splash's components placed on the About page belong elsewhere.
void collect(QWidget* parent, std::vector<QWidget*>& out) {
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow())
            continue;
        const QString name = w->objectName();
        if (name.startsWith(QLatin1String("sc_")))
            continue;
        if (!name.startsWith(QLatin1String("qt_")))
            out.push_back(w);
        collect(w, out);
    }
}

// The height a panel was laid out for: a fixed or minimum height, else what it asks for.
int designed_height(const GradientPanel& p) {
    const QVariant v = p.property("designedHeight");
    if (v.isValid())
        return v.toInt();
    if (p.minimumHeight() > 0)
        return p.minimumHeight();
    return p.sizeHint().height();
}

} // namespace

// ---------------------------------------------------------------------------------------------

void TFormBase::fb_Norm_Colors() {
    QLineEdit* edits[] = {fb_EDIT_Color, fb_ed_Col2_U, fb_ed_Col3_U, fb_ed_Col1_L,   fb_ed_Col2_L,
                          fb_ed_Col3_L,  fb_ed_TC[0],  fb_ed_TC[1],  fb_ed_TC[2],    fb_ed_TC[3],
                          fb_ed_TC[4],   fb_ed_TC[5],  fb_ed_TC[6],  fb_ed_btnFntCol};
    for (QLineEdit* e : edits) {
        // Only the text changes, never the colour: its change handler has nothing to redo, and
        // running it would start the walk that is normalising these texts all over again.
        const QSignalBlocker block(e);
        e->setText(QString::fromStdString(Color_To_Name(Edit_Color(*e))));
    }
}

void TFormBase::fb_btn_do_PPClick() {
    if (!startup_complete_ || color_state_->form_gone)
        return;
    Color_State& s = *color_state_;
    if (s.walking || s.batch_depth > 0) {
        s.pending = true;
        return;
    }
    s.walking = true;
    s.counts = {};
    ++s.walks;
    fb_Norm_Colors();
    const Look k = read_look(*this);
    const QColor face = To_QColor(System_Color_Base + 15);

    std::vector<QWidget*> all;
    collect(this, all);
    std::vector<QLabel*> faulty;
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        QWidget* w = *it;
        const int tag = w->property("tag").toInt();

        if (auto* b = qobject_cast<SpeedButton*>(w)) {
            b->setFontColor(k.button_font);
            b->setTransparent(k.buttons_transparent);
            b->setBold(k.buttons_bold);
            // The handlers outlive nothing: once the frame is being destroyed they do nothing.
            const QPointer<Color_State> alive(color_state_);
            b->setMouseEnterHandler([this, alive](QObject* o) {
                if (alive && !alive->form_gone)
                    fb_Btn_Enter(o);
            });
            b->setMouseLeaveHandler([this, alive](QObject* o) {
                if (alive && !alive->form_gone)
                    fb_Btn_Leave(o);
            });
        }

        if (auto* c = qobject_cast<QCheckBox*>(w)) {
            s.watch(c);
            QFont f = c->font();
            f.setBold(k.switches_bold);
            f.setItalic(false);
            f.setUnderline(false);
            f.setStrikeOut(false);
            c->setFont(f);
            c->setCursor(Qt::PointingHandCursor);
            c->setProperty("swTransparent", k.switches_transparent);
            c->setProperty("swColor", k.switch_color);
            c->setProperty("swHover", k.switches_hover);
            c->setProperty("swHoverColor", k.switch_hover_color);
            Paint_Switch(*c, c->underMouse());
        }

        if (auto* p = qobject_cast<GradientPanel*>(w)) {
            p->setCaption(QString());
            if (!(tag & Tag_Own_Colors)) {
                p->setColor(face);
                if (k.plain_panels) {
                    p->setGradientColors(face, face, face);
                    p->setPlain(true);
                } else {
                    const int h = designed_height(*p);
                    const Panel_Set& set = h >= 26 && h <= 149 ? k.upper : k.lower;
                    p->setPlain(false);
                    p->setHorizontal(set.horizontal);
                    p->setShadeCenter(set.shade);
                    p->setGradientColors(set.c1, set.c2, set.c3);
                }
            }
        }

        if (auto* g = qobject_cast<TSGX*>(w)) {
            // Grids only show and sort here: no whole-row selection, no editing in place.
            g->Set_Editing(false);
            g->setSelectionBehavior(QAbstractItemView::SelectItems);
            g->setShowGrid(true);
            g->setGridStyle(Qt::SolidLine);
            g->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
            g->horizontalHeader()->setSortIndicatorShown(true);
            g->setCursor(Qt::PointingHandCursor);
            g->viewport()->setCursor(Qt::PointingHandCursor);
            // 18 pixels cut the larger default fonts of a Linux desktop.
            g->verticalHeader()->setDefaultSectionSize(std::max(18, g->fontMetrics().height() + 4));
            s.watch(g);
        }

        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            QPalette pal = e->palette();
            set_enabled_role(pal, QPalette::Text, contrast_of(pal.color(QPalette::Base)));
            e->setPalette(pal);
        }

        if (auto* l = qobject_cast<QLabel*>(w)) {
            enum Cls { NotSelected, Titles, Hints, Labels, Plain, NoChange } cls = NotSelected;
            std::uint32_t font = 0, shadow = 0;
            int size = -1;
            const struct {
                int bit;
                Cls cls;
                int font_tc, shadow_tc, size;
            } styles[] = {{Tag_Title, Titles, 0, 1, 2},
                          {Tag_Hint, Hints, 2, 3, 1},
                          {Tag_Label, Labels, 4, 5, 1}};
            for (const auto& st : styles)
                if (tag & st.bit) {
                    font = k.tc[st.font_tc];
                    shadow = k.tc[st.shadow_tc];
                    size = st.size;
                    cls = st.cls;
                }
            if (cls != NotSelected && ((k.plain_text && k.no_shadow) || font == shadow))
                size = 0;
            if (tag & Tag_Plain) {
                font = k.tc[6];
                shadow = 0x00808080;
                size = 0;
                cls = Plain;
            }
            if (tag & Tag_Own_Colors)
                cls = NoChange;
            auto* sl = qobject_cast<ShadowLabel*>(l);
            if (sl)
                sl->setTransparent(true);
            if (size >= 0) {
                QPalette pal = l->palette();
                set_enabled_role(pal, QPalette::WindowText, To_QColor(font));
                l->setPalette(pal);
                if (sl) {
                    sl->setFontColor(To_QColor(font));
                    sl->setShadowColor(To_QColor(shadow));
                    sl->setShadowSize(size);
                }
            }
            switch (cls) {
            case Titles:
                ++s.counts.titles;
                break;
            case Hints:
                ++s.counts.hints;
                break;
            case Labels:
                ++s.counts.labels;
                break;
            case Plain:
                ++s.counts.plain;
                break;
            case NoChange:
                ++s.counts.no_change;
                break;
            case NotSelected:
                ++s.counts.not_selected;
                faulty.push_back(l);
                break;
            }
        }
    }

    const std::pair<const char*, int> counters[] = {
        {"fb_lab_41", s.counts.titles},    {"fb_lab_42", s.counts.hints},
        {"fb_lab_43", s.counts.labels},    {"fb_lab_44", s.counts.plain},
        {"fb_lab_47", s.counts.no_change}, {"fb_lab_45", s.counts.not_selected}};
    for (const auto& [name, n] : counters)
        if (auto* l = findChild<QLabel*>(QLatin1String(name)))
            l->setText(QString::number(n));

    // A label without a style is a fault of the window's design: it is shown so that it cannot
    // be missed, and reported once per walk. The reports come after the walk, so that a message
    // waiting on the screen never holds a half-coloured window.
    for (QLabel* l : faulty) {
        QPalette pal = l->palette();
        set_enabled_role(pal, QPalette::WindowText, To_QColor(0x0000FFFF));
        l->setPalette(pal);
        if (auto* sl = qobject_cast<ShadowLabel*>(l)) {
            sl->setFontColor(To_QColor(0x0000FFFF));
            sl->setShadowColor(To_QColor(0x000000FF));
            sl->setShadowSize(10);
        }
        if (l->text().isEmpty())
            l->setText(QStringLiteral("ZZZZZZZZZZ"));
    }
    for (QLabel* l : faulty) {
        const QString parent = l->parentWidget() ? l->parentWidget()->objectName() : QString();
        facade_.M_Error(QStringLiteral("ERROR on Color-GUI"),
                        QStringLiteral("Field :=") + l->objectName() + QStringLiteral("\r\n") +
                            QStringLiteral("Caption :=") + l->text() + QStringLiteral("\r\n") +
                            QStringLiteral("Parent :=") + parent);
    }
    s.walking = false;
    if (s.pending) {
        // Something changed while a report was on the screen: one more walk shows it.
        s.pending = false;
        fb_btn_do_PPClick();
    }
}

} // namespace parvex
