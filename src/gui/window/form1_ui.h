#pragma once
// The main window's own controls, built in code like a form file: title panel, the "Parvex"
// page with its button bar and page control, the set-up pages and the panes. Every control
// carries its component name as object name; the window binds them to the listing session.

#include <QWidget>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QToolButton;

namespace parvex {

class GradientPanel;
class RadioGroup;
class ShadowLabel;
class SpeedButton;

struct Form1_Ui {
    // Title panel
    GradientPanel* GP01 = nullptr;
    ShadowLabel* lab_Title = nullptr;
    ShadowLabel* lab_Title1 = nullptr;
    QLabel* lab_Index_Size = nullptr;
    QLabel* lab_Nr_Tokens = nullptr;

    // Page control and the "Parvex" page
    QTabWidget* PC = nullptr;
    QWidget* PC_Work = nullptr;
    GradientPanel* GPanel12 = nullptr;
    SpeedButton* btn_Work = nullptr;
    SpeedButton* btn_to_Work = nullptr;
    SpeedButton* btn_to_SRCPath = nullptr;
    QTabWidget* PCW = nullptr;
    QWidget* pcw_Setup = nullptr;
    QWidget* pcw_Token = nullptr;
    QWidget* pcw_Work = nullptr;
    QWidget* pcw_Const = nullptr;
    QWidget* pcw_Check = nullptr;
    QWidget* pcw_NoShow = nullptr;
    QTabWidget* PCWS = nullptr;
    QWidget* pcws_General = nullptr;
    QWidget* pcws_Files = nullptr;

    // Setup / General
    QLineEdit* ed_Terminators = nullptr;
    QCheckBox* chk_TTab = nullptr;
    QCheckBox* chk_TBlank = nullptr;
    QCheckBox* chk_remove = nullptr;
    QCheckBox* chk_doEND = nullptr;
    QSpinBox* se_Nr_Lines = nullptr;
    QCheckBox* chk_PToken = nullptr;
    QCheckBox* chk_NoCumm = nullptr;
    QCheckBox* chk_NOCData = nullptr;
    QCheckBox* chk_PreLoad = nullptr;
    RadioGroup* rg_Case = nullptr; // item index -1 .. 3

    // Setup / Files
    std::array<QCheckBox*, 7> chk_ext{};
    std::array<QLineEdit*, 7> ed_ext{};
    QCheckBox* chk_col_A = nullptr;
    QCheckBox* chk_col_N = nullptr;
    QCheckBox* chk_col_T = nullptr;
    RadioGroup* rg_Backup = nullptr; // 0 simple, 1 numbered, 2 existing

    // loaded Tokens
    SpeedButton* btn_clear_Tab = nullptr;
    QSplitter* token_splitter = nullptr;

    // Work
    QLineEdit* fne_SRC = nullptr;
    QToolButton* fne_SRC_Browse = nullptr;

    // Constant and Check
    SpeedButton* btn_Check = nullptr;
    SpeedButton* btn_XRef = nullptr; // the source's cross-reference in the browser, after a run
    QSplitter* check_splitter = nullptr;
    QSplitter* const_splitter = nullptr;
    QWidget* GP_KA = nullptr; // the "Alpha" pane's panel (its width is stored)
    QWidget* GP10 = nullptr;  // the "Original-Work" pane's panel (its width is stored)

    // One empty holder per pane; the window puts its list views there with Put_Into_Slot.
    QWidget* slot_clb_Tokens = nullptr;
    QWidget* slot_clb_Personal = nullptr;
    QWidget* slot_tlb_SRC_O = nullptr;
    QWidget* slot_tlb_T_Cref = nullptr;
    QWidget* slot_tlb_A_Const = nullptr;
    QWidget* slot_tlb_N_Const = nullptr;
    QWidget* slot_tlb_SRC = nullptr;
    QWidget* slot_tlb_SRC_tmp = nullptr;
    QWidget* slot_tlb_WArea = nullptr;

    // Builds every control into `form` (its layout holds the title panel and the page control).
    void setup(QWidget* form);
};

void Put_Into_Slot(QWidget* slot, QWidget* pane);

} // namespace parvex
