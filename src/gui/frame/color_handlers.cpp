// The handlers of the colour page: the colour edits and their chooser, the text and grid
// colours with their samples, and the wiring of every control of the page to the applier.
#include "frame/color_state.h"
#include "frame/form_base.h"
#include "platform/color_convert.h"
#include "platform/color_edit.h"
#include "tables/table_format.h"
#include "tables/table_procs.h"
#include "widgets/sgx.h"
#include "widgets/shadow_label.h"
#include "widgets/speed_button.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>

namespace parvex {

namespace {

std::uint32_t on_screen(std::uint32_t value) {
    return From_QColor(To_QColor(value));
}

} // namespace

std::vector<QLineEdit*> TFormBase::color_edits() const {
    return {fb_EDIT_Color, fb_ed_Col2_U,    fb_ed_Col3_U, fb_ed_Col1_L,  fb_ed_Col2_L, fb_ed_Col3_L,
            fb_ed_TC[0],   fb_ed_TC[1],     fb_ed_TC[2],  fb_ed_TC[3],   fb_ed_TC[4],  fb_ed_TC[5],
            fb_ed_TC[6],   fb_ed_btnFntCol, fb_ed_SW_Col, fb_ed_SW_HCol, fb_ed_sg1r,   fb_ed_sg2r,
            fb_ed_sgcr,    fb_ed_sgsc,      fb_ed_sged,   fb_ed_sgdg1,   fb_ed_sgdg2};
}

void TFormBase::connect_colors() {
    color_state_ = new Color_State(*this);
    fb_CDlg = new QColorDialog(this);
    fb_CDlg->setObjectName(QStringLiteral("fb_CDlg"));

    for (QCheckBox* c : {fb_chk_PlainPanel, fb_chk_Horiz_U, fb_chk_Horiz_L, fb_chk_PText,
                         fb_chk_PShadow, fb_chk_10, fb_chk_11, fb_chk_02, fb_chk_03, fb_chk_04})
        connect(c, &QCheckBox::toggled, this, [this] { fb_btn_do_PPClick(); });
    for (QSlider* s : {fb_shade_slider_U, fb_shade_slider_L})
        connect(s, &QSlider::valueChanged, this, [this] { fb_btn_do_PPClick(); });
    for (QLineEdit* e : color_edits())
        e->installEventFilter(color_state_);
    for (QLineEdit* e : fb_ed_TC)
        connect(e, &QLineEdit::textChanged, this, [this] { fb_ed_TC1Change(); });
    for (QLineEdit* e :
         {fb_ed_sg1r, fb_ed_sg2r, fb_ed_sgcr, fb_ed_sgsc, fb_ed_sged, fb_ed_sgdg1, fb_ed_sgdg2})
        connect(e, &QLineEdit::textChanged, this, [this] { fb_ed_sg1rChange(); });
    connect(fb_btn_save, &SpeedButton::clicked, this, [this] { fb_btn_saveClick(fb_btn_save); });
    connect(fb_cb_Predef, &QComboBox::activated, this, [this] { fb_cb_PredefChange(); });
    fb_SG_test->Set_Format_Cell_Handler(
        [this](TSGX& g, int col, int row, Cell_Format& format, unsigned state) {
            fb_SG_testGetCellFormat(g, col, row, format, state);
        });
    fb_SG_Predef->Set_Format_Cell_Handler(
        [this](TSGX& g, int col, int row, Cell_Format& format, unsigned state) {
            fb_SG_PredefGetCellFormat(g, col, row, format, state);
        });

    // ---- plug-in points of the start-up and the page change ----
    hooks_.fill_predefs = [this] { fb_Fill_Predefs(); };
    hooks_.grid_colors = [this] { fb_ed_sg1rChange(); };
    hooks_.apply_colors = [this] {
        // The grids show the colours of the page from the first start on, not only once the
        // "Grids" page has been opened.
        fb_ed_sg1rChange();
        fb_btn_do_PPClick();
    };
}

void TFormBase::fb_EDIT_ColorClick(QLineEdit* edit) {
    if (!edit)
        return;
    Color_Batch batch(*this);
    const std::uint32_t current = Edit_Color(*edit);
    std::uint32_t chosen = current;
    if (color_state_->chooser_answer) {
        if (std::optional<QColor> c = color_state_->chooser_answer(To_QColor(current)))
            chosen = From_QColor(*c);
    } else {
        chosen = Choose_Color(current, *fb_CDlg);
    }
    // Cancelled or not, the edit shows its colour by name with a readable text colour; a
    // cancelled chooser keeps a system colour's name.
    Set_Edit_Color_Value(*edit, chosen);
    fb_btn_do_PPClick();
}

void TFormBase::fb_ed_TC1Change() {
    Color_Batch batch(*this);
    const struct {
        const char* label;
        int font, shadow; // indexes into fb_ed_TC, -1 = none
    } samples[] = {
        {"fb_lab_31", 0, 1}, {"fb_lab_32", 2, 3}, {"fb_lab_33", 4, 5}, {"fb_lab_35", 6, -1}};
    for (const auto& s : samples) {
        auto* l = findChild<ShadowLabel*>(QLatin1String(s.label));
        if (!l)
            continue;
        l->setFontColor(To_QColor(Edit_Color(*fb_ed_TC[static_cast<std::size_t>(s.font)])));
        if (s.shadow >= 0)
            l->setShadowColor(To_QColor(Edit_Color(*fb_ed_TC[static_cast<std::size_t>(s.shadow)])));
    }
    fb_btn_do_PPClick();
    update();
}

void TFormBase::fb_ed_sg1rChange() {
    QLineEdit* edits[] = {fb_ed_sg1r, fb_ed_sg2r,  fb_ed_sgcr, fb_ed_sgsc,
                          fb_ed_sged, fb_ed_sgdg1, fb_ed_sgdg2};
    Grid_Color_Table& colors = Grid_Colors();
    // A system colour is taken as the colour it stands for here, so that the grids' contrast
    // rule reads real red, green and blue.
    for (std::size_t i = 0; i < colors.size(); ++i)
        colors[i] = on_screen(Edit_Color(*edits[i]));
    Sort_Descending(fb_SG_test->Grid(), 2, sort_options_);
    for (TSGX* g : findChildren<TSGX*>())
        g->viewport()->update();
}

void TFormBase::fb_SG_testGetCellFormat(TSGX& grid, int col, int row, Cell_Format& format,
                                        unsigned state) {
    Table_Grid& g = grid.Grid();
    Format_Cell(g, col, row, format, state);
    if (!In_Data_Cell(g))
        return;
    const std::string& first = g.Cell(0, row);
    if (first.empty())
        return;
    switch (first.front()) {
    case 'A':
        Set_Cell_Color(g, col, row, Grid_Color(6), format);
        break;
    case 'C':
        Set_Cell_Color(g, col, row, Grid_Color(7), format);
        break;
    case 'D':
        Set_Cell_Color(g, col, row, Grid_Color(5), format);
        break;
    default:
        break;
    }
}

void TFormBase::fb_SG_PredefGetCellFormat(TSGX& grid, int col, int row, Cell_Format& format,
                                          unsigned state) {
    Format_Cell(grid.Grid(), col, row, format, state);
}

} // namespace parvex
