// The frame's pages other than "Color": information pages, "Sound", "Language",
// "Messages / Transparency", "Logfile", "News / Upgrade" and "other Details".
#include "frame/directory_edit.h"
#include "frame/form_base.h"
#include "frame/page_kit.h"
#include "widgets/flow_layout.h"
#include "widgets/gradient_panel.h"
#include "widgets/sgx.h"
#include "widgets/shadow_label.h"
#include "widgets/speed_button.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace parvex {

namespace {

QVBoxLayout* page_layout(QWidget* page, QWidget* heading) {
    auto* lay = new QVBoxLayout(page);
    lay->setContentsMargins(0, 0, 0, 6);
    lay->setSpacing(8);
    lay->addWidget(heading);
    return lay;
}

QTextBrowser* rich_view(const char* name) {
    auto* r = new QTextBrowser;
    r->setObjectName(name);
    r->setReadOnly(true);
    r->setFrameShape(QFrame::StyledPanel);
    return r;
}

// A row of controls that moves what does not fit (a longer translation) to a row below.
FlowLayout* flow_row(QVBoxLayout* into, int stretch = 0) {
    auto* row = new FlowLayout;
    row->setContentsMargins(8, 0, 8, 0);
    row->setCenteredRows(stretch == 0); // a bar of controls, not panels that fill the page
    into->addLayout(row, stretch);
    return row;
}

// Controls that stay together on one row of a flowing row.
QHBoxLayout* kept_together(FlowLayout* flow) {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    flow->addWidget(box);
    return row;
}

QHBoxLayout* padded(QVBoxLayout* into) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(8, 0, 8, 0);
    into->addLayout(row, 1);
    return row;
}

} // namespace

QWidget* TFormBase::build_about_page() {
    QWidget* page = kit::Page("fb_pcAbout");
    QVBoxLayout* lay = page_layout(page, kit::Heading("fb_lab_01", QStringLiteral("  About ...")));
    QHBoxLayout* row = padded(lay);
    fb_re_About = rich_view("fb_re_About");
    row->addWidget(fb_re_About, 1);
    auto* right = new QVBoxLayout;
    fb_GP_SC2 = new GradientPanel;
    fb_GP_SC2->setObjectName("fb_GP_SC2");
    fb_GP_SC2->setFixedSize(312, 231);
    fb_GP_SC2->setFrameShape(QFrame::StyledPanel);
    fb_GP_SC2->setGradientColors(QColor(0xC0, 0xC0, 0xC0), Qt::white, QColor(0xC0, 0xC0, 0xC0));
    right->addWidget(fb_GP_SC2);
    QLabel* cap = kit::Label(QStringLiteral("the Splash-Screen ..."), "fb_lab_SC");
    cap->setAlignment(Qt::AlignCenter);
    right->addWidget(cap);
    right->addStretch();
    row->addLayout(right);
    return page;
}

QWidget* TFormBase::build_todo_page() {
    QWidget* page = kit::Page("fb_PCtodo");
    QWidget* heading = kit::Heading("fb_lab_02", QStringLiteral("  to do ..."));
    // The scratch list of the file test sits hidden in the title bar.
    fb_tlb_PW = new QListWidget(heading);
    fb_tlb_PW->setObjectName("fb_tlb_PW");
    fb_tlb_PW->hide();
    QVBoxLayout* lay = page_layout(page, heading);
    QHBoxLayout* row = padded(lay);
    fb_re_todo = rich_view("fb_re_todo");
    row->addWidget(fb_re_todo, 1);
    row->addStretch(1);
    return page;
}

QWidget* TFormBase::build_credits_page() {
    QWidget* page = kit::Page("fb_pcCredits");
    QVBoxLayout* lay =
        page_layout(page, kit::Heading("fb_lab_03", QStringLiteral("  Credits ...")));
    QHBoxLayout* row = padded(lay);
    auto column = [&](const char* label_name, const QString& title, QTextBrowser* view) {
        auto* col = new QVBoxLayout;
        QLabel* l = kit::Label(title, label_name);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        l->setAlignment(Qt::AlignCenter);
        col->addWidget(l);
        col->addWidget(view, 1);
        row->addLayout(col, 1);
    };
    fb_re_crL = rich_view("fb_re_crL");
    fb_re_crR = rich_view("fb_re_crR");
    fb_re_crR->setOpenLinks(false);
    column("fb_lab_04", QStringLiteral("we want to mention\nand give credit to ..."), fb_re_crL);
    column("fb_lab_05", QStringLiteral("Give CREDIT where \nCREDIT is due !"), fb_re_crR);
    return page;
}

QWidget* TFormBase::build_sound_page() {
    QWidget* page = kit::Page("fb_pc_Sound");
    QVBoxLayout* lay = page_layout(page, kit::Heading("fb_lab_06", QStringLiteral("  Sound")));
    auto* top = new QHBoxLayout;
    top->setContentsMargins(8, 0, 8, 0);
    fb_chk_Speaker = kit::Switch("fb_chk_Speaker", QStringLiteral("use Sound"), true);
    top->addWidget(fb_chk_Speaker);
    top->addStretch();
    fb_Send_toGUI = kit::Button("fb_Send_toGUI", QStringLiteral("Transfer WAV-Files to GUI-Dir"));
    top->addWidget(fb_Send_toGUI);
    lay->addLayout(top);

    QHBoxLayout* row = padded(lay);
    QGroupBox* sounds = kit::Group("fb_GB_Sounds", QStringLiteral("[ Sounds ]"));
    auto* sl = new QVBoxLayout(sounds);
    fb_SG_Sound = kit::Grid("fb_SG_Sound");
    sl->addWidget(fb_SG_Sound, 1);
    auto* file_row = new QHBoxLayout;
    file_row->addWidget(kit::Label(QStringLiteral("Sound-File")));
    fb_fne_Sounds = new QLineEdit;
    fb_fne_Sounds->setObjectName("fb_fne_Sounds");
    fb_fne_Sounds->setReadOnly(true);
    fb_fne_Sounds->setPlaceholderText(QStringLiteral("Browse for Sound-File"));
    fb_fne_Sounds->setProperty("dialogTitle", QStringLiteral("Browse for Sound-File"));
    file_row->addWidget(fb_fne_Sounds, 1);
    sl->addLayout(file_row);
    row->addWidget(sounds, 3);

    QGroupBox* speaker = kit::Group("fb_GB_SpS", QStringLiteral("[ Speakersounds ]"));
    auto* pl = new QVBoxLayout(speaker);
    fb_sg_SpS = kit::Grid("fb_sg_SpS");
    fb_sg_SpS->Set_Show_All_Columns(true);
    pl->addWidget(fb_sg_SpS, 1);
    row->addWidget(speaker, 2);
    return page;
}

QWidget* TFormBase::build_language_page() {
    QWidget* page = kit::Page("fb_pc_Language");
    auto* lay = new QVBoxLayout(page);
    lay->setContentsMargins(0, 0, 0, 0);
    fb_PCL = new QTabWidget;
    fb_PCL->setObjectName("fb_PCL");
    lay->addWidget(fb_PCL);

    fb_pcl_Start = kit::Page("fb_pcl_Start");
    QVBoxLayout* bl = page_layout(
        fb_pcl_Start, kit::Heading("fb_ST_Lang", QStringLiteral("  Language / Basic Setting")));
    // The table and its buttons side by side, the buttons below where both do not fit.
    FlowLayout* row = flow_row(bl, 1);
    fb_sg_Lang = kit::Grid("fb_sg_Lang");
    fb_sg_Lang->Set_Show_All_Columns(true);
    row->addWidget(fb_sg_Lang);
    auto* side_box = new QWidget;
    auto* side = new QVBoxLayout(side_box);
    side->setContentsMargins(0, 0, 0, 0);
    fb_btn_create_ORG_Langfile = kit::Button("fb_btn_create_ORG_Langfile",
                                             QStringLiteral("recreate Language-File from EXE"));
    side->addWidget(fb_btn_create_ORG_Langfile);
    QGroupBox* selected = kit::Group("fb_GB_Lang", QString());
    auto* sel = new QVBoxLayout(selected);
    sel->addWidget(kit::Label(QStringLiteral("with the SELECTED Row DO"), "fb_lab_26"));
    fb_btn_L01 = kit::Button("fb_btn_L01", QStringLiteral("use as \"CURRENT Language\""));
    fb_btn_createLang =
        kit::Button("fb_btn_createLang", QStringLiteral("create this Language-File"));
    sel->addWidget(fb_btn_L01);
    sel->addWidget(fb_btn_createLang);
    side->addWidget(selected);
    QGroupBox* current = kit::Group("fb_GB_cLang", QString());
    auto* cl = new QVBoxLayout(current);
    fb_labX_cLang = kit::Label(QStringLiteral("?"), "fb_labX_cLang");
    fb_labX_cLang->setProperty("tag", 32768 | 8); // a language name, never translated
    fb_labX_cLang->setTextFormat(Qt::PlainText);
    QFont bold = fb_labX_cLang->font();
    bold.setBold(true);
    fb_labX_cLang->setFont(bold);
    cl->addWidget(kit::Label(QStringLiteral("current Language"), "fb_lab_cLang"));
    cl->addWidget(fb_labX_cLang);
    side->addWidget(current);
    side->addStretch();
    row->addWidget(side_box);
    fb_PCL->addTab(fb_pcl_Start, QStringLiteral("basic setting"));

    fb_pcl_Translate = kit::Page("fb_pcl_Translate");
    QVBoxLayout* tl = page_layout(
        fb_pcl_Translate, kit::Heading("fb_lab_11", QStringLiteral("  Language / Translate")));
    FlowLayout* files = flow_row(tl);
    fb_Load_Lang = kit::Button("fb_Load_Lang", QStringLiteral("Load Language"));
    fb_Save_Lang = kit::Button("fb_Save_Lang", QStringLiteral("Save Language"));
    files->addWidget(fb_Load_Lang);
    files->addWidget(fb_Save_Lang);
    files->addStretch();
    auto* version_box = new QWidget;
    auto* versions = new QGridLayout(version_box);
    versions->setContentsMargins(0, 0, 0, 0);
    versions->setHorizontalSpacing(6);
    versions->setVerticalSpacing(0);
    versions->addWidget(kit::Label(QStringLiteral("Program-Language:"), "fb_lab_61"), 0, 0);
    versions->addWidget(kit::Label(QStringLiteral("Language:"), "fb_lab_63"), 1, 0);
    fb_lab_62 = kit::Label(QStringLiteral("?"), "fb_lab_62");
    fb_lab_64 = kit::Label(QStringLiteral("?"), "fb_lab_64");
    for (QLabel* shown : {fb_lab_62, fb_lab_64}) {
        shown->setProperty("tag", 32768 | 8); // file contents, never translated
        shown->setTextFormat(Qt::PlainText);
        shown->setFont(bold);
        versions->addWidget(shown, shown == fb_lab_62 ? 0 : 1, 1);
    }
    files->addWidget(version_box);
    auto* edit_row = new QHBoxLayout;
    edit_row->setContentsMargins(8, 0, 8, 0);
    fb_Lang_Replace = kit::Button("fb_Lang_Replace", QStringLiteral("Replace"));
    fb_lab_SRC = kit::Label(QString(), "fb_lab_SRC");
    fb_lab_SRC->setProperty("tag", 32768 | 8); // the text being edited
    fb_lab_SRC->setTextFormat(Qt::PlainText);
    fb_lab_SRC->setAutoFillBackground(true);
    QPalette yellow = fb_lab_SRC->palette();
    yellow.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0x00));
    yellow.setColor(QPalette::WindowText, Qt::black);
    fb_lab_SRC->setPalette(yellow);
    fb_lab_SRC->setMinimumWidth(120);
    fb_lab_SRC->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    fb_Lang_Rep_ALL = kit::Button("fb_Lang_Rep_ALL", QStringLiteral("Replace ALL"));
    edit_row->addWidget(fb_Lang_Replace);
    edit_row->addWidget(fb_lab_SRC, 1);
    edit_row->addWidget(fb_Lang_Rep_ALL);
    tl->addLayout(edit_row);
    fb_SG_Trans = kit::Grid("fb_SG_Trans");
    padded(tl)->addWidget(fb_SG_Trans);
    fb_PCL->addTab(fb_pcl_Translate, QStringLiteral("Translate"));

    fb_pcl_work = kit::Page("fb_pcl_work");
    auto* wl = new QHBoxLayout(fb_pcl_work);
    for (QListWidget** list : {&fb_tlb1, &fb_tlb2, &fb_tlb_Tmp}) {
        *list = new QListWidget;
        wl->addWidget(*list);
    }
    fb_tlb1->setObjectName("fb_tlb1");
    fb_tlb2->setObjectName("fb_tlb2");
    fb_tlb_Tmp->setObjectName("fb_tlb_Tmp");
    fb_PCL->addTab(fb_pcl_work, QStringLiteral("Work"));
    return page;
}

QWidget* TFormBase::build_mess_page() {
    QWidget* page = kit::Page("fb_pc_Mess");
    QVBoxLayout* lay =
        page_layout(page, kit::Heading("fb_lab_08", QStringLiteral("  Messages / Transparency")));
    auto* body = new QGridLayout;
    body->setContentsMargins(8, 0, 8, 0);
    lay->addLayout(body, 1);

    QGroupBox* mess = kit::Group("fb_GB_Mess", QString());
    auto* ml = new QGridLayout(mess);
    auto* head_row = new QHBoxLayout;
    auto* heading = new ShadowLabel(QStringLiteral("  Messages"));
    heading->setObjectName("fb_ST_SWL");
    heading->setProperty("tag", 1);
    head_row->addWidget(heading);
    head_row->addStretch();
    ml->addLayout(head_row, 0, 0, 1, 2);
    fb_chk_12 = kit::Switch(
        "fb_chk_12", QStringLiteral("Use Sound to indicate Standard-Messages ( at start )"), true);
    fb_chk_13 = kit::Switch(
        "fb_chk_13", QStringLiteral("Use Sound to indicate END of Messsage- and Error-Display"),
        true);
    ml->addWidget(fb_chk_12, 1, 0);
    ml->addWidget(fb_chk_13, 2, 0);

    QGroupBox* times = kit::Group("fb_GB_01", QStringLiteral("[ Displaytime ]"));
    auto* tl = new QGridLayout(times);
    tl->addWidget(kit::Label(QStringLiteral("Message-Timer"), "fb_lab_54"), 0, 0, 1, 2);
    fb_Mess_SHORT = kit::Spin("fb_Mess_SHORT", 1, 30, 2, 2);
    fb_Mess_MED = kit::Spin("fb_Mess_MED", 1, 30, 5, 2);
    fb_Mess_LONG = kit::Spin("fb_Mess_LONG", 1, 30, 10, 2);
    const std::pair<const char*, QSpinBox*> rows[] = {{"SHORT - Display", fb_Mess_SHORT},
                                                      {"MEDIUM - Display", fb_Mess_MED},
                                                      {"LONG - Display", fb_Mess_LONG}};
    int r = 1;
    for (const auto& [label, spin] : rows) {
        tl->addWidget(kit::Label(QString::fromLatin1(label)), r, 0);
        tl->addWidget(spin, r++, 1, Qt::AlignRight);
    }
    tl->addWidget(
        kit::Note(QStringLiteral("the Number of Seconds\r\nthe Messages will be displayed"),
                  "fb_lab_53"),
        r, 0, 1, 2);
    tl->setRowStretch(r + 1, 1);
    body->addWidget(mess, 0, 0, 1, 2);
    body->addWidget(times, 1, 0);

    // The group's heading says "Transparency" once; the page title names it too.
    QGroupBox* trans = kit::Group("fb_GB_Trans", QString());
    auto* gl = new QGridLayout(trans);
    auto* trans_head = new QHBoxLayout;
    auto* th1 = new ShadowLabel(QStringLiteral("  Transparency"));
    th1->setObjectName("fb_lab_56");
    th1->setProperty("tag", 1);
    trans_head->addWidget(th1);
    trans_head->addStretch();
    gl->addLayout(trans_head, 0, 0, 1, 2);
    fb_chk_14 = kit::Switch("fb_chk_14", QStringLiteral("use Transparency"), false);
    gl->addWidget(fb_chk_14, 1, 0, 1, 2);
    fb_cnt_T01 = kit::Spin("fb_cnt_T01", 1, 999, 60, 3);
    fb_cnt_T02 = kit::Spin("fb_cnt_T02", 64, 255, 128, 3);
    fb_cnt_T03 = kit::Spin("fb_cnt_T03", 1, 1000, 50, 4, 10);
    // One width for the three, so their right edges and their numbers line up.
    for (QSpinBox* spin : {fb_cnt_T01, fb_cnt_T02})
        spin->setFixedWidth(fb_cnt_T03->maximumWidth());
    const std::pair<const char*, QSpinBox*> trows[] = {
        {"Seconds to wait before action", fb_cnt_T01},
        {"Count down to BLEND-Level ( from 255 )", fb_cnt_T02},
        {"In steps of MS ( 1/1000 Seconds )", fb_cnt_T03}};
    r = 2;
    for (const auto& [label, spin] : trows) {
        gl->addWidget(kit::Label(QString::fromLatin1(label)), r, 0);
        gl->addWidget(spin, r++, 1, Qt::AlignRight);
    }
    gl->addWidget(kit::Note(QStringLiteral("On Linux this needs a desktop\nwith a compositing "
                                           "window manager"),
                            "fb_lab_58"),
                  r, 0, 1, 2);
    gl->setRowStretch(r + 1, 1);
    body->addWidget(trans, 1, 1);
    body->setColumnStretch(1, 1);
    body->setRowStretch(1, 1);
    return page;
}

QWidget* TFormBase::build_log_page() {
    QWidget* page = kit::Page("fb_pc_Log");
    QVBoxLayout* lay = page_layout(page, kit::Heading("fb_lab_66", QStringLiteral("  Logfile")));
    FlowLayout* bar = flow_row(lay);
    bar->setSpacing(16);
    fb_chk_logALL = kit::Switch("fb_chk_logALL", QStringLiteral("Log ANY Message"), true);
    bar->addWidget(fb_chk_logALL);
    fb_loadLOG = kit::Button("fb_loadLOG", QStringLiteral("Reload the Logfile"));
    bar->addWidget(fb_loadLOG);
    bar->addStretch();
    QHBoxLayout* keep = kept_together(bar);
    keep->addWidget(kit::Label(QStringLiteral("keep only the last"), "fb_lab_67"));
    se_LogLines = kit::Spin("se_LogLines", 10, 99999, 99, 5);
    keep->addWidget(se_LogLines);
    keep->addWidget(kit::Label(QStringLiteral("lines"), "fb_lab_68"));
    fb_tlb_Log = new QListWidget;
    fb_tlb_Log->setObjectName("fb_tlb_Log");
    fb_tlb_Log->setUniformItemSizes(true);
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    fb_tlb_Log->setFont(mono);
    padded(lay)->addWidget(fb_tlb_Log);
    return page;
}

QWidget* TFormBase::build_upgrade_page() {
    QWidget* page = kit::Page("fb_pc_upgrade");
    QWidget* label = nullptr;
    QVBoxLayout* lay =
        page_layout(page, kit::Heading("fb_lab_07", QStringLiteral("  News / Upgrade"), &label));
    fb_lab_07 = qobject_cast<QLabel*>(label);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 0, 8, 0);
    lay->addLayout(body, 1);

    QGroupBox* check = kit::Group("fb_GB_www", QStringLiteral("[ Check for News ]"));
    auto* cl = new QGridLayout(check);
    fb_chk_www = kit::Switch("fb_chk_www", QStringLiteral("check for News on StartUP"), false);
    cl->addWidget(fb_chk_www, 0, 0, 1, 2);
    fb_btn_News = kit::Button("fb_btn_News", QStringLiteral("Check NOW"));
    cl->addWidget(fb_btn_News, 0, 3, Qt::AlignRight);
    cl->addWidget(kit::Label(QStringLiteral("Number of Days between checks"), "fb_lab_18"), 1, 0);
    fb_se_Days = kit::Spin("fb_se_Days", 1, 60, 7, 2);
    cl->addWidget(fb_se_Days, 1, 1);
    cl->addWidget(kit::Label(QStringLiteral("last checked"), "fb_lab_20"), 1, 2, Qt::AlignRight);
    fb_lab_19 = kit::Label(QStringLiteral("01.01.1980"), "fb_lab_19");
    fb_lab_19->setProperty("tag", 32768 | 8);
    QFont bold = fb_lab_19->font();
    bold.setBold(true);
    fb_lab_19->setFont(bold);
    cl->addWidget(fb_lab_19, 1, 3, Qt::AlignRight);
    cl->addWidget(kit::Label(QStringLiteral("News address"), "fb_lab_URL"), 2, 0);
    fb_ed_NewsURL = new QLineEdit;
    fb_ed_NewsURL->setObjectName("fb_ed_NewsURL");
    fb_ed_NewsURL->setPlaceholderText(QStringLiteral("https://.../news.dat"));
    fb_ed_NewsURL->setToolTip(QStringLiteral("The news table's web address (http or https)"));
    cl->addWidget(fb_ed_NewsURL, 2, 1, 1, 3);
    cl->setColumnStretch(2, 1);
    body->addWidget(check);

    fb_SG_News = kit::Grid("fb_SG_News");
    fb_SG_News->setToolTip(QStringLiteral("Double-Click to display the Detailes."));
    body->addWidget(fb_SG_News, 1);

    QGroupBox* details = kit::Group("fb_GB_Details", QStringLiteral("[ Details ]"));
    auto* dl = new QHBoxLayout(details);
    fb_sg_VE = kit::Grid("fb_sg_VE");
    fb_sg_VE->setToolTip(QStringLiteral("Double-Click to start the Action."));
    fb_sg_VE->setFixedWidth(240);
    dl->addWidget(fb_sg_VE);
    fb_mem = new QPlainTextEdit;
    fb_mem->setObjectName("fb_mem");
    fb_mem->setReadOnly(true);
    fb_mem->setToolTip(QStringLiteral("Double-Click to start the Action."));
    dl->addWidget(fb_mem, 1);
    fb_lab_13 = kit::Label(QStringLiteral("UpD"), "fb_lab_13");
    fb_lab_13->hide();
    dl->addWidget(fb_lab_13, 0, Qt::AlignTop);
    // The details show all six values at once, in the plain font of the data.
    QFont plain = details->font();
    plain.setBold(false);
    fb_sg_VE->setFont(plain);
    fb_mem->setFont(plain);
    fb_sg_VE->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fb_sg_VE->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    details->setFixedHeight(166);
    body->addWidget(details);
    return page;
}

QWidget* TFormBase::build_details_page() {
    QWidget* page = kit::Page("fb_PC_oDetails");
    QVBoxLayout* lay =
        page_layout(page, kit::Heading("fb_lab_76", QStringLiteral("  other Details")));
    auto* body = new QVBoxLayout;
    body->setContentsMargins(8, 0, 8, 0);
    lay->addLayout(body, 1);
    auto* size_row = new QHBoxLayout;
    RxSpeedButton1 =
        kit::Button("RxSpeedButton1", QStringLiteral("Reset Size to 640 * 480 Pixels"));
    size_row->addWidget(RxSpeedButton1);
    size_row->addStretch();
    body->addLayout(size_row);

    // The group's title names it; no second heading inside.
    QGroupBox* dirs = kit::Group("fb_GB_02", QStringLiteral("[  Special Directory Setup  ]"));
    auto* gl = new QGridLayout(dirs);
    const std::pair<const char*, const char*> rows[] = {{"fb_DE_GData", "GUI-Data Directory"},
                                                        {"fb_DE_GHelp", "GUI-HELP Directory"},
                                                        {"fb_DE_GLang", "GUI-LANG Directory"},
                                                        {"fb_DE_GPics", "GUI-PICS Directory"},
                                                        {"fb_DE_GSnds", "GUI-SNDS Directory"}};
    DirectoryEdit** edits[] = {&fb_DE_GData, &fb_DE_GHelp, &fb_DE_GLang, &fb_DE_GPics,
                               &fb_DE_GSnds};
    for (int i = 0; i < 5; ++i) {
        auto* e = new DirectoryEdit;
        e->setObjectName(rows[i].first);
        e->setDialogTitle(QString::fromLatin1(rows[i].second));
        QFont f = e->font();
        f.setBold(false);
        e->setFont(f);
        *edits[i] = e;
        gl->addWidget(kit::Label(QString::fromLatin1(rows[i].second)), i + 1, 0);
        gl->addWidget(e, i + 1, 1);
    }
    gl->setColumnStretch(1, 1);
    QLabel* note = kit::Note(
        QStringLiteral("this Setup should be used ( mainly ) if you use more than ONE of our "
                       "Programs !\nthis way you may \" save space \" and use one GUI for ALL "
                       "Programs"),
        "fb_lab_77");
    gl->addWidget(note, 6, 0, 1, 2);
    body->addWidget(dirs);
    body->addStretch();
    return page;
}

} // namespace parvex
