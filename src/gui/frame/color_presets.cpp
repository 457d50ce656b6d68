// Named colour set-ups in "Predef.dat": saving the page as a preset, filling the selector and
// loading a preset, which is checked whole before any of it reaches the page.
#include "colors/color_preset.h"
#include "frame/color_state.h"
#include "frame/form_base.h"
#include "frame/setup_log.h"
#include "platform/color_edit.h"
#include "tables/color_names.h"
#include "tables/table_file.h"
#include "tables/table_procs.h"
#include "widgets/sgx.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>

namespace parvex {

namespace {

QString to_qt(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

const QString Predef_Title = QStringLiteral("Predefined Colors");

} // namespace

void TFormBase::fb_Fill_Predefs() {
    const QSignalBlocker block(fb_cb_Predef);
    fb_cb_Predef->clear();
    const Table_Grid& g = fb_SG_Predef->Grid();
    for (int r = g.Fixed_Rows(); r < g.Row_Count(); ++r)
        fb_cb_Predef->addItem(to_qt(g.Cell(0, r)));
    fb_cb_Predef->setCurrentIndex(-1);
}

void TFormBase::fb_btn_saveClick(QObject* sender) {
    facade_.Reset_Btn_Status(sender);
    const QString name = fb_ed_SName->text();
    if (name.isEmpty()) {
        facade_.M_Error(Predef_Title, QStringLiteral("you have not entered a SAVE as NAME"));
        return;
    }
    // "|" or a line break in the name would split the row in the table file.
    const std::string row_name = Clean_Cell(name.toStdString());
    if (dialog_)
        dialog_->Log_Line(sender, to_qt(std::string(Changed_Setup_Title)),
                          QStringLiteral("Save Color-SetUp=") + to_qt(row_name));
    fb_Norm_Colors();

    Table_Grid& g = fb_SG_Predef->Grid();
    Append_Row(g);
    const int row = g.Current_Row();
    g.Set_Cell(0, row, row_name);
    for (int c = 1; c < Preset_Col_Count; ++c) {
        const Preset_Column& col = Preset_Columns()[static_cast<std::size_t>(c)];
        QObject* control = findChild<QObject*>(to_qt(std::string(col.component)));
        std::string cell;
        switch (col.kind) {
        case Preset_Kind::Switch:
            if (auto* b = qobject_cast<QCheckBox*>(control))
                cell = b->isChecked() ? "True" : "False";
            break;
        case Preset_Kind::Color:
            // The colour on screen, by its name: the edit's text could say something else.
            if (auto* e = qobject_cast<QLineEdit*>(control))
                cell = Color_To_Name(Edit_Color(*e));
            break;
        case Preset_Kind::Shade:
            if (auto* s = qobject_cast<QSlider*>(control))
                cell = std::to_string(s->value());
            break;
        case Preset_Kind::Mark:
            cell = "False";
            break;
        case Preset_Kind::Name:
            break;
        }
        g.Set_Cell(c, row, cell);
    }
    fb_ed_SName->clear();
    // Written at once: a preset must not wait for a proper end of the program.
    if (FileResult r = Save_Table(g); !r)
        facade_.M_Error(Predef_Title, to_qt(r.error));
    fb_Fill_Predefs();
}

void TFormBase::fb_cb_PredefChange() {
    const QString text = fb_cb_Predef->currentText();
    const int index = fb_cb_Predef->currentIndex();
    if (text.isEmpty() || index < 0)
        return;
    const auto clear_selector = [this] {
        const QSignalBlocker block(fb_cb_Predef);
        fb_cb_Predef->setCurrentIndex(-1);
    };
    Table_Grid& g = fb_SG_Predef->Grid();
    const int row = index + 1;
    // The list and the table can drift apart (a purge, a sort of the table): an item whose row
    // is gone or holds another preset loads nothing, and the list is made anew.
    if (row >= g.Row_Count() || g.Cell(0, row) != text.toStdString()) {
        fb_Fill_Predefs();
        return;
    }
    // Checked whole first: a damaged row changes nothing at all.
    std::vector<std::string> cells = g.Row(row);
    if (std::optional<Preset_Fault> fault = Check_Preset_Row(cells)) {
        clear_selector();
        facade_.M_Error(Predef_Title, to_qt(Preset_Fault_Message(text.toStdString(), *fault)));
        return;
    }

    Color_Batch batch(*this);
    if (dialog_)
        dialog_->Log_Line(fb_cb_Predef, to_qt(std::string(Changed_Setup_Title)),
                          QStringLiteral("Load Color-SetUp=") + text);
    g.Set_Current_Row(row);
    for (int c = 1; c < Preset_Mark_Col; ++c) {
        const Preset_Column& col = Preset_Columns()[static_cast<std::size_t>(c)];
        const std::string& cell = cells[static_cast<std::size_t>(c)];
        QObject* control = findChild<QObject*>(to_qt(std::string(col.component)));
        switch (col.kind) {
        case Preset_Kind::Switch:
            if (auto* b = qobject_cast<QCheckBox*>(control))
                b->setChecked(cell == "True");
            break;
        case Preset_Kind::Color:
            if (auto* e = qobject_cast<QLineEdit*>(control))
                Set_Edit_Color_Value(*e, *Preset_Color(cell));
            break;
        case Preset_Kind::Shade:
            if (auto* s = qobject_cast<QSlider*>(control))
                s->setValue(*Preset_Shade(cell));
            break;
        case Preset_Kind::Name:
        case Preset_Kind::Mark:
            break;
        }
    }
    fb_SG_Predef->viewport()->update();
    clear_selector();
    fb_btn_do_PPClick();
}

} // namespace parvex
