#include "window/form1_ui.h"

#include "engine/line_scanner.h"
#include "engine/listing_options.h"
#include "widgets/flow_layout.h"
#include "widgets/gradient_panel.h"
#include "widgets/radio_group.h"
#include "widgets/shadow_label.h"
#include "widgets/speed_button.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace parvex {

namespace {

template <typename T> T* named(T* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

QWidget* page(QTabWidget* tabs, const QString& name, const QString& caption) {
    auto* w = named(new QWidget, name);
    tabs->addTab(w, caption);
    return w;
}

// A label in the plain style of the colour scheme.
QLabel* kit_plain(QLabel* l) {
    l->setProperty("tag", 8);
    return l;
}

QFont bold_font(QFont f) {
    f.setBold(true);
    return f;
}

// A captioned pane holder: a small bold heading above an empty slot the window fills.
QWidget* pane_holder(const QString& caption, QWidget*& slot, const QString& slot_name) {
    auto* box = new QWidget;
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(2, 2, 2, 2);
    v->setSpacing(2);
    if (!caption.isEmpty()) {
        auto* head = new QLabel(caption);
        head->setProperty("tag", 4);
        head->setFont(bold_font(head->font()));
        v->addWidget(head);
    }
    slot = named(new QWidget, slot_name);
    auto* s = new QVBoxLayout(slot);
    s->setContentsMargins(0, 0, 0, 0);
    v->addWidget(slot, 1);
    return box;
}

QCheckBox* check(const QString& name, const QString& caption, bool checked, bool enabled = true) {
    auto* c = named(new QCheckBox(caption), name);
    c->setChecked(checked);
    c->setEnabled(enabled);
    return c;
}

// One column of a page that flows: its controls top to bottom, sharing the row's spare width.
QVBoxLayout* column_box(FlowLayout* flow) {
    auto* box = new QWidget;
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(10);
    flow->addWidget(box);
    return v;
}

SpeedButton* speed(const QString& name, const QString& caption) {
    auto* b = named(new SpeedButton(caption), name);
    b->setBold(true);
    return b;
}

} // namespace

void Put_Into_Slot(QWidget* slot, QWidget* pane) {
    slot->layout()->addWidget(pane);
}

void Form1_Ui::setup(QWidget* form) {
    auto* root = new QVBoxLayout(form);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    // ---- title panel ----
    GP01 = named(new GradientPanel, "GP01");
    GP01->setGradientColors(QColor(0x1E, 0x3C, 0x78), QColor(0x4A, 0x7F, 0xD0),
                            QColor(0xD6, 0xE4, 0xF8));
    GP01->setShadeCenter(45);
    GP01->setMinimumHeight(64);
    auto* title_row = new QHBoxLayout(GP01);
    title_row->setContentsMargins(12, 6, 12, 6);
    lab_Title = named(new ShadowLabel, "lab_Title");
    lab_Title->setProperty("tag", 1);
    QFont tf = bold_font(lab_Title->font());
    tf.setPointSize(tf.pointSize() + 6);
    lab_Title->setFont(tf);
    lab_Title->setFontColor(Qt::white);
    lab_Title->setShadowColor(QColor(0, 0, 0, 160));
    lab_Title->setShadowSize(2);
    // The title gives way first when the window is narrow.
    lab_Title->setMinimumWidth(1);
    title_row->addWidget(lab_Title);
    title_row->addStretch(1);
    lab_Title1 =
        named(new ShadowLabel(QStringLiteral("Drag and Drop \".PAS\"\nFiles below this Panel")),
              "lab_Title1");
    lab_Title1->setFont(bold_font(lab_Title1->font()));
    lab_Title1->setProperty("tag", 1);
    lab_Title1->setFontColor(QColor(0xFF, 0xF4, 0xC0));
    lab_Title1->setShadowColor(QColor(0, 0, 0, 140));
    lab_Title1->setAlignment(Qt::AlignCenter);
    title_row->addWidget(lab_Title1);
    title_row->addStretch(1);
    auto* counters = named(new QFrame, "GP_Counters");
    counters->setStyleSheet(QStringLiteral(
        "#GP_Counters { background: rgba(255,255,255,210); border: 1px solid #5070A0; "
        "border-radius: 4px; } QLabel { color: #10203A; }"));
    auto* cg = new QGridLayout(counters);
    cg->setContentsMargins(8, 4, 8, 4);
    cg->setVerticalSpacing(2);
    cg->addWidget(new QLabel(QStringLiteral("Index-Size")), 0, 0);
    lab_Index_Size = named(new QLabel(QStringLiteral("00000")), "lab_Index_Size");
    cg->addWidget(lab_Index_Size, 0, 1);
    cg->addWidget(new QLabel(QStringLiteral("Tokens")), 1, 0);
    lab_Nr_Tokens = named(new QLabel(QStringLiteral("00000")), "lab_Nr_Tokens");
    cg->addWidget(lab_Nr_Tokens, 1, 1);
    for (QLabel* l : counters->findChildren<QLabel*>())
        l->setProperty("tag", 16384 | 8); // the counter box keeps its own colours
    for (QLabel* l : {lab_Index_Size, lab_Nr_Tokens}) {
        l->setFont(fixed);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setMinimumWidth(70);
    }
    title_row->addWidget(counters);
    root->addWidget(GP01);

    // ---- page control ----
    PC = named(new QTabWidget, "PC");
    root->addWidget(PC, 1);
    PC_Work = page(PC, "PC_Work", QStringLiteral("Parvex"));
    auto* work_v = new QVBoxLayout(PC_Work);
    work_v->setContentsMargins(4, 4, 4, 4);

    GPanel12 = named(new GradientPanel, "GPanel12");
    GPanel12->setGradientColors(QColor(0xE4, 0xEC, 0xF8), QColor(0xFF, 0xFF, 0xFF),
                                QColor(0xE4, 0xEC, 0xF8));
    GPanel12->setMinimumHeight(40);
    // Buttons whose captions do not fit one row (a longer translation) move to a second one.
    auto* bar = new FlowLayout(GPanel12);
    bar->setContentsMargins(8, 4, 8, 4);
    bar->setCenteredRows(true);
    btn_Work = speed("btn_Work", QStringLiteral("create NEW-List"));
    btn_to_Work = speed("btn_to_Work", QStringLiteral("Save to Work-Data-Path"));
    btn_to_SRCPath = speed("btn_to_SRCPath", QStringLiteral("Save to Sourcepath"));
    btn_Work->setMnemonic(QLatin1Char('N'));
    btn_to_Work->setMnemonic(QLatin1Char('W'));
    btn_to_SRCPath->setMnemonic(QLatin1Char('S'));
    bar->addWidget(btn_Work);
    btn_XRef = speed("btn_XRef", QStringLiteral("Browser"));
    btn_XRef->setToolTip(QStringLiteral("the Cross-Reference of the listed File in the Browser"));
    btn_XRef->setEnabled(false);
    bar->addWidget(btn_XRef);
    bar->addStretch();
    bar->addWidget(btn_to_Work);
    bar->addWidget(btn_to_SRCPath);
    work_v->addWidget(GPanel12);

    PCW = named(new QTabWidget, "PCW");
    work_v->addWidget(PCW, 1);
    pcw_Setup = page(PCW, "pcw_Setup", QStringLiteral("Setup"));
    pcw_Token = page(PCW, "pcw_Token", QStringLiteral("loaded Tokens"));
    pcw_Work = page(PCW, "pcw_Work", QStringLiteral("Work"));
    pcw_Const = page(PCW, "pcw_Const", QStringLiteral("Constant"));
    pcw_Check = page(PCW, "pcw_Check", QStringLiteral("Check"));
    pcw_NoShow = page(PCW, "pcw_NoShow", QStringLiteral("Work-Area"));

    // ---- Setup ----
    auto* setup_v = new QVBoxLayout(pcw_Setup);
    setup_v->setContentsMargins(2, 2, 2, 2);
    PCWS = named(new QTabWidget, "PCWS");
    setup_v->addWidget(PCWS);
    pcws_General = page(PCWS, "pcws_General", QStringLiteral("General"));
    pcws_Files = page(PCWS, "pcws_Files", QStringLiteral("Files"));

    // Two columns, each read top to bottom (and tabbed through that way); where both do not fit
    // side by side the right one goes below the left one.
    auto* general = new FlowLayout(pcws_General);
    general->setContentsMargins(10, 10, 10, 10);
    general->setSpacing(14);
    auto* left = column_box(general);
    auto* right = column_box(general);

    auto* delim = named(new QGroupBox(QStringLiteral("[ Delimiter ]")), "GB_Delimiter");
    auto* dl = new QVBoxLayout(delim);
    ed_Terminators =
        named(new QLineEdit(QString::fromLatin1(
                  kDefaultTerminators.data(), static_cast<qsizetype>(kDefaultTerminators.size()))),
              "ed_Terminators");
    ed_Terminators->setFont(fixed);
    ed_Terminators->setEnabled(false);
    dl->addWidget(ed_Terminators);
    chk_TTab = check("chk_TTab", QStringLiteral("and use TAB"), true, false);
    chk_TBlank = check("chk_TBlank", QStringLiteral("and use BLANK"), true, false);
    dl->addWidget(chk_TTab);
    dl->addWidget(chk_TBlank);
    dl->addStretch(1);
    left->addWidget(delim);

    auto* remark = named(new QGroupBox(QStringLiteral("[ END Remark ]")), "GB_Remark");
    auto* rl = new QVBoxLayout(remark);
    chk_remove = check("chk_remove", QStringLiteral("Remove old \"{ of ... \" Entrys first"), true);
    chk_doEND = check("chk_doEND", QStringLiteral("Create \"END of ...\" Remarks"), true);
    rl->addWidget(chk_remove);
    rl->addWidget(chk_doEND);
    rl->addStretch(1);
    right->addWidget(remark);

    auto* cref = named(new QGroupBox(QStringLiteral("[ Cross-Reference ]")), "GB_CrossRef");
    auto* cl = new QHBoxLayout(cref);
    cl->addWidget(kit_plain(new QLabel(QStringLiteral("Break the Line after"))));
    se_Nr_Lines = named(new QSpinBox, "se_Nr_Lines");
    se_Nr_Lines->setRange(1, 999);
    se_Nr_Lines->setValue(10);
    cl->addWidget(se_Nr_Lines);
    cl->addWidget(kit_plain(new QLabel(QStringLiteral("Numbers"))));
    cl->addStretch(1);
    left->addWidget(cref);

    auto* tokens = named(new QGroupBox(QStringLiteral("[ ... Tokens ]")), "GB_Tokens");
    auto* tl = new QVBoxLayout(tokens);
    chk_PToken =
        check("chk_PToken", QStringLiteral("allways start with Personal-Tokens ONLY"), true);
    chk_NoCumm = check("chk_NoCumm", QStringLiteral("NEVER SAVE the cumulated Tokens"), true);
    chk_NOCData = check("chk_NOCData", QStringLiteral("do not cumulate Tokens"), true);
    chk_PreLoad = check("chk_PreLoad", QStringLiteral("allways PRE-Load the selected File"), true);
    for (auto* c : {chk_PToken, chk_NoCumm, chk_NOCData, chk_PreLoad})
        tl->addWidget(c);
    tl->addStretch(1);
    right->addWidget(tokens);

    rg_Case = named(
        new RadioGroup(QStringLiteral("Output-Case"),
                       {QStringLiteral("all UpperCase"), QStringLiteral("all LowerCase"),
                        QStringLiteral("as found - 1st occurence"), QStringLiteral("Capitalize")}),
        "rg_Case");
    left->addWidget(rg_Case);
    left->addStretch(1);
    right->addStretch(1);

    // ---- Setup / Files ----
    // The collecting options stand right of the file list, or below it where the window is
    // too narrow for both.
    auto* files = new FlowLayout(pcws_Files);
    files->setContentsMargins(6, 10, 6, 10);
    files->setSpacing(8);
    auto* sel = named(new QGroupBox, "GB_Files");
    auto* sl = new QGridLayout(sel);
    sl->setVerticalSpacing(6);
    auto* head = new QLabel(QStringLiteral("Select the Files you\nwant to be created"));
    head->setFont(bold_font(head->font()));
    head->setProperty("tag", 4);
    sl->addWidget(head, 0, 0);
    auto* ext_hint = new QLabel(QStringLiteral("File extension\n(without the \".\")"));
    ext_hint->setFont(bold_font(ext_hint->font()));
    ext_hint->setProperty("tag", 4);
    sl->addWidget(ext_hint, 0, 1);
    const char* box_captions[] = {
        "Newly written PAS-File",         "Saved Original",
        "create List of Alpha-Constants", "create List of Numeric-Constants",
        "create Alpha-Cross Reference",   "create Numeric-Cross-Reference",
        "create Token-Cross-Reference"};
    const SaveOptions defaults; // the extensions a first start offers
    for (int k = 0; k < 7; ++k) {
        chk_ext[k] = check(QStringLiteral("chk_ext_%1").arg(k + 1),
                           QString::fromLatin1(box_captions[k]), true, k >= 2);
        ed_ext[k] = named(
            new QLineEdit(QString::fromStdString(defaults.extensions[static_cast<std::size_t>(k)])),
            QStringLiteral("ed_ext_%1").arg(k + 1));
        ed_ext[k]->setMinimumWidth(130);
        sl->addWidget(chk_ext[k], k + 1, 0);
        sl->addWidget(ed_ext[k], k + 1, 1);
    }
    files->addWidget(sel);
    auto* col = named(new QGroupBox(QStringLiteral("collecting - Options")), "GB_Collect");
    auto* coll = new QVBoxLayout(col);
    chk_col_A = check("chk_col_A", QStringLiteral("collect Alpha-Constants"), true);
    chk_col_N = check("chk_col_N", QStringLiteral("collect Numeric-Constants"), true);
    chk_col_T = check("chk_col_T", QStringLiteral("collect Tokens"), true);
    for (auto* c : {chk_col_A, chk_col_N, chk_col_T})
        coll->addWidget(c);
    coll->addStretch(1);
    // What a save keeps of the text it replaces (the first item is how saving always worked).
    rg_Backup = named(
        new RadioGroup(QStringLiteral("keep Saved Originals"),
                       {QStringLiteral("only the last one"), QStringLiteral("every one, numbered"),
                        QStringLiteral("numbered where numbered ones exist")}),
        "rg_Backup");
    rg_Backup->setItemIndex(0);
    files->addWidget(col);
    files->addWidget(rg_Backup);
    files->addStretch();

    // ---- loaded Tokens ----
    auto* tok_v = new QVBoxLayout(pcw_Token);
    tok_v->setContentsMargins(4, 4, 4, 4);
    btn_clear_Tab =
        speed("btn_clear_Tab", QStringLiteral("Clear Keywords and RELOAD Personal Keywords"));
    btn_clear_Tab->setMnemonic(QLatin1Char('R'));
    auto* tok_bar = new QHBoxLayout;
    tok_bar->addWidget(btn_clear_Tab);
    tok_bar->addStretch(1);
    tok_v->addLayout(tok_bar);
    token_splitter = named(new QSplitter(Qt::Horizontal), "token_splitter");
    token_splitter->addWidget(
        pane_holder(QStringLiteral("Tokens"), slot_clb_Tokens, "slot_clb_Tokens"));
    token_splitter->addWidget(
        pane_holder(QStringLiteral("Personal Tokens"), slot_clb_Personal, "slot_clb_Personal"));
    tok_v->addWidget(token_splitter, 1);

    // ---- Work ----
    auto* wk = new QVBoxLayout(pcw_Work);
    wk->setContentsMargins(4, 4, 4, 4);
    auto* file_row = new QHBoxLayout;
    auto* create = new QLabel(QStringLiteral("create List"));
    create->setFont(bold_font(create->font()));
    create->setProperty("tag", 4);
    file_row->addWidget(create);
    fne_SRC = named(new QLineEdit, "fne_SRC");
    fne_SRC->setPlaceholderText(
        QStringLiteral("source file: type its name, browse, or drop a .PAS file"));
    fne_SRC->setProperty("dialogTitle", QStringLiteral("Choose a Pascal source"));
    file_row->addWidget(fne_SRC, 1);
    fne_SRC_Browse = named(new QToolButton, "fne_SRC_Browse");
    fne_SRC_Browse->setIcon(fne_SRC_Browse->style()->standardIcon(QStyle::SP_DirOpenIcon));
    fne_SRC_Browse->setToolTip(QStringLiteral("Browse (Alt+B)"));
    fne_SRC_Browse->setShortcut(QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key_B)));
    fne_SRC_Browse->setFocusPolicy(Qt::StrongFocus);
    file_row->addWidget(fne_SRC_Browse);
    wk->addLayout(file_row);
    wk->addWidget(pane_holder(QString(), slot_tlb_SRC_O, "slot_tlb_SRC_O"), 1);

    // ---- Constant ----
    auto* cv = new QVBoxLayout(pcw_Const);
    cv->setContentsMargins(4, 4, 4, 4);
    const_splitter = named(new QSplitter(Qt::Horizontal), "const_splitter");
    const_splitter->addWidget(
        pane_holder(QStringLiteral("Tokens-CRef"), slot_tlb_T_Cref, "slot_tlb_T_Cref"));
    GP_KA =
        named(pane_holder(QStringLiteral("Alpha"), slot_tlb_A_Const, "slot_tlb_A_Const"), "GP_KA");
    const_splitter->addWidget(GP_KA);
    const_splitter->addWidget(
        pane_holder(QStringLiteral("Numeric"), slot_tlb_N_Const, "slot_tlb_N_Const"));
    cv->addWidget(const_splitter, 1);

    // ---- Check ----
    auto* chv = new QVBoxLayout(pcw_Check);
    chv->setContentsMargins(4, 4, 4, 4);
    auto* check_bar = new QHBoxLayout;
    btn_Check = speed("btn_Check", QStringLiteral("check it !"));
    btn_Check->setMnemonic(QLatin1Char('C'));
    check_bar->addWidget(btn_Check);
    auto* result = new QLabel(QStringLiteral("Check Result"));
    result->setFont(bold_font(result->font()));
    result->setProperty("tag", 4);
    check_bar->addStretch(1);
    check_bar->addWidget(result);
    check_bar->addStretch(1);
    chv->addLayout(check_bar);
    check_splitter = named(new QSplitter(Qt::Horizontal), "check_splitter");
    GP10 =
        named(pane_holder(QStringLiteral("Original-Work"), slot_tlb_SRC, "slot_tlb_SRC"), "GP10");
    check_splitter->addWidget(GP10);
    check_splitter->addWidget(
        pane_holder(QStringLiteral("Check-Work"), slot_tlb_SRC_tmp, "slot_tlb_SRC_tmp"));
    chv->addWidget(check_splitter, 1);

    // ---- Work-Area (hidden when the window is shown) ----
    auto* wa = new QVBoxLayout(pcw_NoShow);
    wa->setContentsMargins(4, 4, 4, 4);
    wa->addWidget(pane_holder(QStringLiteral("Work-Area"), slot_tlb_WArea, "slot_tlb_WArea"), 1);

    // The title and the counters show what the program puts there: language files leave them
    // alone (tag bit 32768).
    for (QLabel* l : std::initializer_list<QLabel*>{lab_Title, lab_Index_Size, lab_Nr_Tokens})
        l->setProperty("tag", l->property("tag").toInt() | 32768);
}

} // namespace parvex
