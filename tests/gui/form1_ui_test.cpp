#include "window/form1_ui.h"

#include "png_dump.h"

#include "widgets/radio_group.h"
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace parvex;

TEST(Form1Ui, ControlsCarryTheirNamesCaptionsAndDefaults) {
    QWidget form;
    Form1_Ui ui;
    ui.setup(&form);
    for (const char* name : {"GP01",           "lab_Title",      "lab_Title1",
                             "lab_Index_Size", "lab_Nr_Tokens",  "PC",
                             "PC_Work",        "GPanel12",       "btn_Work",
                             "btn_to_Work",    "btn_to_SRCPath", "PCW",
                             "pcw_Setup",      "pcw_Token",      "pcw_Work",
                             "pcw_Const",      "pcw_Check",      "pcw_NoShow",
                             "PCWS",           "pcws_General",   "pcws_Files",
                             "ed_Terminators", "chk_TTab",       "chk_TBlank",
                             "chk_remove",     "chk_doEND",      "se_Nr_Lines",
                             "chk_PToken",     "chk_NoCumm",     "chk_NOCData",
                             "chk_PreLoad",    "rg_Case",        "chk_ext_1",
                             "ed_ext_7",       "chk_col_A",      "chk_col_N",
                             "chk_col_T",      "btn_clear_Tab",  "fne_SRC",
                             "btn_Check",      "GP_KA",          "GP10"})
        EXPECT_NE(form.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(ui.lab_Index_Size->text(), "00000");
    EXPECT_EQ(ui.ed_Terminators->text(), "{}()[]<>:=+-*;^,.'\"/\\#$&");
    EXPECT_FALSE(ui.ed_Terminators->isEnabled());
    EXPECT_EQ(ui.rg_Case->itemIndex(), -1);
    ui.rg_Case->setItemIndex(2);
    EXPECT_EQ(ui.rg_Case->property("itemIndex").toInt(), 2);
    ui.rg_Case->setItemIndex(-1); // back to no selection
    EXPECT_EQ(ui.rg_Case->itemIndex(), -1);
    EXPECT_EQ(ui.se_Nr_Lines->value(), 10);
    EXPECT_EQ(ui.ed_ext[3]->text(), "Numeric-Constats");
    EXPECT_FALSE(ui.chk_ext[0]->isEnabled());
    EXPECT_TRUE(ui.chk_ext[6]->isChecked());
    QStringList tabs;
    for (int i = 0; i < ui.PCW->count(); ++i)
        tabs << ui.PCW->tabText(i);
    EXPECT_EQ(tabs,
              (QStringList{"Setup", "loaded Tokens", "Work", "Constant", "Check", "Work-Area"}));

    form.resize(900, 620);
    ui.PCW->setCurrentWidget(ui.pcw_Setup);
    test::save_png(form, "form1_setup_general");
    ui.PCWS->setCurrentWidget(ui.pcws_Files);
    test::save_png(form, "form1_setup_files");
}
