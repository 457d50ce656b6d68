#pragma once
// A small main window on the frame for the frame's tests: one page of its own, two stored
// properties of its own, a button disabled before the start-up ends, and a stand-in job that
// works line by line the way the listing run does.

#include "frame/form_base.h"
#include "frame/frame_settings.h"
#include "widgets/speed_button.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace parvex::test {

inline constexpr std::array<Stored_Property, 3> Stand_In_Properties{{
    stored::page("PC", "ActivePage", "PC_ActivePage", "PC_Work"),
    stored::text("ed_ext_1", "Text", "ed_ext_1_Text", "pas"),
    stored::flag("chk_ext_1", "Checked", "chk_ext_1_Checked", true),
}};

class StandInForm : public TFormBase {
public:
    StandInForm(const std::string& dir, TDlgs* dlg) : TFormBase(dir, dlg) {
        setObjectName("Form1");
        auto* central = new QWidget;
        auto* lay = new QVBoxLayout(central);
        lay->setContentsMargins(0, 0, 0, 0);
        PC = new QTabWidget;
        PC->setObjectName("PC");
        auto* work = new QWidget;
        work->setObjectName("PC_Work");
        auto* wl = new QVBoxLayout(work);
        ed_ext_1 = new QLineEdit("pas");
        ed_ext_1->setObjectName("ed_ext_1");
        chk_ext_1 = new QCheckBox("write");
        chk_ext_1->setObjectName("chk_ext_1");
        chk_ext_1->setChecked(true);
        btn_Work = new SpeedButton("create NEW-List");
        btn_Work->setObjectName("btn_Work");
        btn_Off = new SpeedButton("not yet");
        btn_Off->setObjectName("btn_Off");
        btn_Off->setEnabled(false);
        for (QWidget* w : std::initializer_list<QWidget*>{ed_ext_1, chk_ext_1, btn_Work, btn_Off})
            wl->addWidget(w);
        wl->addStretch();
        PC->addTab(work, "Work");
        lay->addWidget(PC);
        setCentralWidget(central);
        register_stored_properties(Stand_In_Properties);
        facade().setSoundPlayer([this](const std::string& s) { sounds.push_back(s); });
    }

    // Runs `lines` steps; `during` sees the window after each step. Gives the steps done.
    int job(int lines, const std::function<void(int)>& during = {}) {
        Work_Start();
        int done = 0;
        for (int i = 0; i < lines; ++i) {
            QCoreApplication::processEvents();
            if (stop_requested())
                break;
            ++done;
            if (during)
                during(i);
        }
        Work_END();
        return done;
    }

    QTabWidget* PC = nullptr;
    QLineEdit* ed_ext_1 = nullptr;
    QCheckBox* chk_ext_1 = nullptr;
    SpeedButton* btn_Work = nullptr;
    SpeedButton* btn_Off = nullptr;
    std::vector<std::string> events;
    std::vector<std::string> sounds;

protected:
    void FormShow() override {
        events.push_back("show");
        fb_Show_INIT(PC);
        fb_After_INIT();
    }
    void on_settings_restored() override {
        events.push_back("restored:" + ed_ext_1->text().toStdString());
    }
    void on_settings_saved() override { events.push_back("saved"); }
};

} // namespace parvex::test
