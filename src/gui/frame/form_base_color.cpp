// The frame page "Color": panel gradients, label colours, buttons and switches, grid colours and
// the preset strip. The applier (color_apply.cpp), the page's handlers (color_handlers.cpp) and
// the presets (color_presets.cpp) act on these controls.
#include "frame/form_base.h"
#include "frame/page_kit.h"
#include "widgets/sgx.h"
#include "widgets/shadow_label.h"
#include "widgets/speed_button.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

namespace parvex {

namespace {

QSlider* shade_slider(const char* name, int value) {
    auto* s = new QSlider(Qt::Horizontal);
    s->setObjectName(name);
    s->setRange(0, 100);
    s->setValue(value);
    s->setTickPosition(QSlider::TicksBelow);
    s->setTickInterval(10);
    return s;
}

QGroupBox* panel_group(const char* name, const QString& title, QLineEdit* c1, QLineEdit* c2,
                       QLineEdit* c3, QCheckBox* horiz, QSlider* slider) {
    QGroupBox* g = kit::Group(name, title);
    auto* gl = new QGridLayout(g);
    const std::pair<const char*, QLineEdit*> rows[] = {
        {"Color 1", c1}, {"Color 2", c2}, {"Color 3", c3}};
    int r = 0;
    for (const auto& [label, edit] : rows) {
        gl->addWidget(kit::Label(QString::fromLatin1(label)), r, 0);
        gl->addWidget(edit, r++, 1, Qt::AlignLeft);
    }
    gl->addWidget(horiz, r++, 0, 1, 2);
    auto* value = kit::Label(QString::number(slider->value()) + " %");
    value->setMinimumWidth(40);
    QObject::connect(slider, &QSlider::valueChanged, value,
                     [value](int v) { value->setText(QString::number(v) + " %"); });
    gl->addWidget(kit::Label(QStringLiteral("Shade-Center at %")), r++, 0, 1, 2);
    auto* srow = new QHBoxLayout;
    srow->addWidget(slider, 1);
    srow->addWidget(value);
    gl->addLayout(srow, r++, 0, 1, 2);
    gl->setRowStretch(r, 1);
    gl->setColumnStretch(1, 1);
    return g;
}

QVBoxLayout* sub_page(QWidget* page, const char* heading_name, const QString& heading) {
    auto* lay = new QVBoxLayout(page);
    lay->setContentsMargins(4, 4, 4, 4);
    lay->setSpacing(6);
    lay->addWidget(kit::Heading(heading_name, heading));
    return lay;
}

} // namespace

QWidget* TFormBase::build_color_page() {
    QWidget* page = kit::Page("fb_pc_Color");
    auto* lay = new QVBoxLayout(page);
    lay->setContentsMargins(0, 0, 0, 0);
    fb_PCC = new QTabWidget;
    fb_PCC->setObjectName("fb_PCC");
    lay->addWidget(fb_PCC, 1);

    // Panels
    fb_pcc_Panels = kit::Page("fb_pcc_Panels");
    QVBoxLayout* pl = sub_page(fb_pcc_Panels, "fb_lab_29", QStringLiteral("  Panel-Colors"));
    fb_chk_PlainPanel =
        kit::Switch("fb_chk_PlainPanel",
                    QStringLiteral("only PLAIN Panels ( ELSE use Gradient Colors )"), true);
    pl->addWidget(fb_chk_PlainPanel);
    fb_EDIT_Color = kit::Color_Edit("fb_EDIT_Color", QStringLiteral("clSilver"));
    fb_ed_Col2_U = kit::Color_Edit("fb_ed_Col2_U", QStringLiteral("$00FFECEC"));
    fb_ed_Col3_U = kit::Color_Edit("fb_ed_Col3_U", QStringLiteral("clWhite"));
    fb_ed_Col1_L = kit::Color_Edit("fb_ed_Col1_L", QStringLiteral("clWhite"));
    fb_ed_Col2_L = kit::Color_Edit("fb_ed_Col2_L", QStringLiteral("$00FFECEC"));
    fb_ed_Col3_L = kit::Color_Edit("fb_ed_Col3_L", QStringLiteral("clSilver"));
    fb_chk_Horiz_U = kit::Switch("fb_chk_Horiz_U", QStringLiteral("Horizontal"), false);
    fb_chk_Horiz_L = kit::Switch("fb_chk_Horiz_L", QStringLiteral("Horizontal"), false);
    fb_shade_slider_U = shade_slider("fb_shade_slider_U", 25);
    fb_shade_slider_L = shade_slider("fb_shade_slider_L", 60);
    auto* prow = new QHBoxLayout;
    prow->addWidget(panel_group("fb_GB_Upper", QStringLiteral("[ upper Panels ]"), fb_EDIT_Color,
                                fb_ed_Col2_U, fb_ed_Col3_U, fb_chk_Horiz_U, fb_shade_slider_U));
    prow->addWidget(panel_group("fb_GB_Lower", QStringLiteral("[ lower Panels ]"), fb_ed_Col1_L,
                                fb_ed_Col2_L, fb_ed_Col3_L, fb_chk_Horiz_L, fb_shade_slider_L));
    pl->addLayout(prow, 1);
    fb_PCC->addTab(fb_pcc_Panels, QStringLiteral("Panels"));

    // Titles, Hints, Text ...
    fb_pcc_Titles = kit::Page("fb_pcc_Titles");
    QVBoxLayout* tl = sub_page(fb_pcc_Titles, "fb_lab_39", QStringLiteral("  Text-Colors"));
    tl->addWidget(kit::Note(
        QStringLiteral(
            "select the Font-Color at the left side and the Shadow-Color on the right side"),
        "fb_lab_30"));
    const char* tc_names[] = {"fb_ed_TC1", "fb_ed_TC2", "fb_ed_TC3", "fb_ed_TC4",
                              "fb_ed_TC5", "fb_ed_TC6", "fb_ed_TC7"};
    const char* tc_defaults[] = {"$003375FF", "clYellow",  "clBlue",      "clAqua",
                                 "$00000040", "$00FFFF80", "clWindowText"};
    for (int i = 0; i < 7; ++i)
        fb_ed_TC[i] = kit::Color_Edit(tc_names[i], QString::fromLatin1(tc_defaults[i]));
    QGroupBox* samples = kit::Group("fb_GB_Titles", QString());
    auto* sg = new QGridLayout(samples);
    sg->addWidget(kit::Label(QStringLiteral("Font-Color")), 0, 0, Qt::AlignCenter);
    sg->addWidget(kit::Label(QStringLiteral("Shadow-Color")), 0, 2, Qt::AlignCenter);
    struct Sample {
        const char* name;
        const char* text;
        int tag;
        QLineEdit* font;
        QLineEdit* shadow;
    } rows[] = {
        {"fb_lab_31", "Titles and Hints", 1, fb_ed_TC[0], fb_ed_TC[1]},
        {"fb_lab_32", "this Lines are used mainly for HINTS", 2, fb_ed_TC[2], fb_ed_TC[3]},
        {"fb_lab_33", "this Lines are used mainly for Labels", 4, fb_ed_TC[4], fb_ed_TC[5]},
        {"fb_lab_35", "plain Labels without Shadow", 8, fb_ed_TC[6], nullptr},
    };
    int r = 1;
    for (const Sample& s : rows) {
        auto* label = new ShadowLabel(QString::fromLatin1(s.text));
        label->setObjectName(s.name);
        label->setProperty("tag", s.tag);
        label->setAlignment(Qt::AlignCenter);
        sg->addWidget(s.font, r, 0);
        sg->addWidget(label, r, 1);
        if (s.shadow)
            sg->addWidget(s.shadow, r, 2);
        ++r;
    }
    sg->setColumnStretch(1, 1);
    tl->addWidget(samples);
    auto* trow = new QHBoxLayout;
    auto* switches_col = new QVBoxLayout;
    fb_chk_PText = kit::Switch("fb_chk_PText", QStringLiteral("Plain Text"), false);
    fb_chk_PShadow = kit::Switch("fb_chk_PShadow", QStringLiteral("without Shadow"), false);
    switches_col->addWidget(fb_chk_PText);
    switches_col->addWidget(fb_chk_PShadow);
    switches_col->addStretch();
    trow->addLayout(switches_col);
    QGroupBox* counters =
        kit::Group("fb_GB_Count", QStringLiteral("[ Labels at the last change ]"));
    auto* cl = new QGridLayout(counters);
    const std::pair<const char*, const char*> counts[] = {
        {"fb_lab_41", "Titels"},  {"fb_lab_42", "Hints"},     {"fb_lab_43", "Labels"},
        {"fb_lab_44", "Plain !"}, {"fb_lab_47", "no Change"}, {"fb_lab_45", "NOT selected"}};
    for (int i = 0; i < 6; ++i) {
        cl->addWidget(kit::Label(QString::fromLatin1(counts[i].second)), 0, i, Qt::AlignCenter);
        QLabel* n = kit::Label(QStringLiteral("0"), counts[i].first);
        n->setProperty("tag", 32768 | 8);
        cl->addWidget(n, 1, i, Qt::AlignCenter);
    }
    trow->addWidget(counters, 1);
    tl->addLayout(trow);
    tl->addStretch();
    fb_PCC->addTab(fb_pcc_Titles, QStringLiteral("Titles, Hints, Text ..."));

    // Buttons / Switches
    fb_pcc_Buttons = kit::Page("fb_pcc_Buttons");
    QVBoxLayout* bl =
        sub_page(fb_pcc_Buttons, "fb_lab_48", QStringLiteral("  Buttons and Switches"));
    auto* brow = new QHBoxLayout;
    QGroupBox* buttons = kit::Group("fb_GB_Buttons", QStringLiteral("[ Buttons ]"));
    auto* bgl = new QGridLayout(buttons);
    fb_ed_btnFntCol = kit::Color_Edit("fb_ed_btnFntCol", QStringLiteral("$00F20000"));
    bgl->addWidget(kit::Label(QStringLiteral("Color of the Button-FONT")), 0, 0);
    bgl->addWidget(fb_ed_btnFntCol, 0, 1);
    fb_chk_11 = kit::Switch("fb_chk_11", QStringLiteral("Bold Characters"), true);
    fb_chk_10 = kit::Switch("fb_chk_10", QStringLiteral("Transparent Button"), true);
    bgl->addWidget(fb_chk_11, 1, 0, 1, 2);
    bgl->addWidget(fb_chk_10, 2, 0, 1, 2);
    bgl->setRowStretch(3, 1);
    brow->addWidget(buttons);
    QGroupBox* switches = kit::Group("fb_GB_Switches", QStringLiteral("[ Switches ]"));
    auto* sgl = new QGridLayout(switches);
    fb_chk_04 = kit::Switch("fb_chk_04", QStringLiteral("Bold Characters"), true);
    fb_chk_02 = kit::Switch("fb_chk_02", QStringLiteral("Transparent"), true);
    fb_chk_03 = kit::Switch("fb_chk_03", QStringLiteral("hover active"), true);
    fb_ed_SW_Col = kit::Color_Edit("fb_ed_SW_Col", QStringLiteral("$00F20000"));
    fb_ed_SW_HCol = kit::Color_Edit("fb_ed_SW_HCol", QStringLiteral("$00F20000"));
    sgl->addWidget(fb_chk_04, 0, 0, 1, 2);
    sgl->addWidget(fb_chk_02, 1, 0, 1, 2);
    sgl->addWidget(kit::Label(QStringLiteral("Background-Color")), 2, 0);
    sgl->addWidget(fb_ed_SW_Col, 2, 1);
    sgl->addWidget(fb_chk_03, 3, 0, 1, 2);
    sgl->addWidget(kit::Label(QStringLiteral("HOVER Background-Color")), 4, 0);
    sgl->addWidget(fb_ed_SW_HCol, 4, 1);
    sgl->setRowStretch(5, 1);
    brow->addWidget(switches);
    bl->addLayout(brow, 1);
    fb_PCC->addTab(fb_pcc_Buttons, QStringLiteral("Buttons / Switches"));

    // Grids
    fb_pcc_SG = kit::Page("fb_pcc_SG");
    QVBoxLayout* gl = sub_page(fb_pcc_SG, "fb_lab_49", QStringLiteral("  Grid-Color Setup"));
    auto* grow = new QHBoxLayout;
    QGroupBox* gcols = kit::Group("fb_GB_Grid", QString());
    auto* gcl = new QGridLayout(gcols);
    fb_ed_sg1r = kit::Color_Edit("fb_ed_sg1r", QStringLiteral("clWhite"));
    fb_ed_sg2r = kit::Color_Edit("fb_ed_sg2r", QStringLiteral("$00E4E4E4"));
    fb_ed_sgcr = kit::Color_Edit("fb_ed_sgcr", QStringLiteral("$00FFFF80"));
    fb_ed_sgsc = kit::Color_Edit("fb_ed_sgsc", QStringLiteral("$00C4FCFD"));
    fb_ed_sged = kit::Color_Edit("fb_ed_sged", QStringLiteral("clRed"));
    fb_ed_sgdg1 = kit::Color_Edit("fb_ed_sgdg1", QStringLiteral("clBlue"));
    fb_ed_sgdg2 = kit::Color_Edit("fb_ed_sgdg2", QStringLiteral("$000080FF"));
    const std::pair<const char*, QLineEdit*> grid_rows[] = {{"1. Row", fb_ed_sg1r},
                                                            {"2. Row", fb_ed_sg2r},
                                                            {"current Row", fb_ed_sgcr},
                                                            {"Sorted Column", fb_ed_sgsc},
                                                            {"Error in Datafields", fb_ed_sged},
                                                            {"Data-Group 1", fb_ed_sgdg1},
                                                            {"Data-Group 2", fb_ed_sgdg2}};
    r = 0;
    for (const auto& [label, edit] : grid_rows) {
        gcl->addWidget(kit::Label(QString::fromLatin1(label)), r, 0);
        gcl->addWidget(edit, r++, 1);
    }
    gcl->setRowStretch(r, 1);
    grow->addWidget(gcols);
    fb_SG_test = kit::Grid("fb_SG_test");
    grow->addWidget(fb_SG_test, 1);
    gl->addLayout(grow, 1);
    fb_PCC->addTab(fb_pcc_SG, QStringLiteral("Grids"));

    // Predefined
    fb_pcc_Predefs = kit::Page("fb_pcc_Predefs");
    QVBoxLayout* dl =
        sub_page(fb_pcc_Predefs, "fb_lab_50", QStringLiteral("  Predefined Text-Colors"));
    fb_SG_Predef = kit::Grid("fb_SG_Predef");
    dl->addWidget(fb_SG_Predef, 1);
    fb_PCC->addTab(fb_pcc_Predefs, QStringLiteral("Predefined"));

    // The preset strip below the sub-pages.
    auto* strip = new QHBoxLayout;
    strip->setContentsMargins(8, 2, 8, 6);
    strip->addWidget(kit::Label(QStringLiteral("Load"), "fb_lab_51"));
    fb_cb_Predef = new QComboBox;
    fb_cb_Predef->setObjectName("fb_cb_Predef");
    fb_cb_Predef->setMinimumWidth(180);
    strip->addWidget(fb_cb_Predef);
    strip->addStretch();
    fb_btn_save = kit::Button("fb_btn_save", QStringLiteral("SAVE as --->"));
    strip->addWidget(fb_btn_save);
    fb_ed_SName = new QLineEdit;
    fb_ed_SName->setObjectName("fb_ed_SName");
    fb_ed_SName->setFixedWidth(180);
    strip->addWidget(fb_ed_SName);
    lay->addLayout(strip);
    return page;
}

} // namespace parvex
