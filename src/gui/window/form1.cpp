#include "window/form1.h"

#include "platform/open_document.h"

#include "engine/result_names.h"
#include "frame/frame_settings.h"
#include "frame/ini_file.h"
#include "tables/subs.h"
#include "widgets/led_progress_bar.h"
#include "widgets/radio_group.h"
#include "widgets/shadow_label.h"
#include "widgets/speed_button.h"
#include "window/drop_rules.h"
#include "window/drop_watch.h"
#include "window/page_fit.h"
#include "window/text_list_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>

namespace parvex {

namespace {

QString from_bytes(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
std::string file_bytes(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

TextListView* make_pane(QWidget* slot, const char* name, bool align_columns = false) {
    auto* v = new TextListView;
    v->setObjectName(QString::fromLatin1(name));
    if (align_columns)
        v->textModel()->setAlignFirstColumn(true);
    Put_Into_Slot(slot, v);
    return v;
}

} // namespace

TForm1::TForm1(std::string program_dir, TDlgs* dialog, QWidget* parent)
    : TFormBase(program_dir, dialog, parent), session_(program_dir) {
    setObjectName(QStringLiteral("Form1"));
    auto* form = new QWidget;
    form->setObjectName(QStringLiteral("Form1_Client"));
    ui.setup(form);
    setCentralWidget(form);
    resize(960, 700);

    clb_Tokens = make_pane(ui.slot_clb_Tokens, "clb_Tokens");
    clb_Personal = make_pane(ui.slot_clb_Personal, "clb_Personal");
    tlb_SRC_O = make_pane(ui.slot_tlb_SRC_O, "tlb_SRC_O");
    tlb_T_Cref = make_pane(ui.slot_tlb_T_Cref, "tlb_T_Cref", true);
    tlb_A_Const = make_pane(ui.slot_tlb_A_Const, "tlb_A_Const", true);
    tlb_N_Const = make_pane(ui.slot_tlb_N_Const, "tlb_N_Const", true);
    tlb_SRC = make_pane(ui.slot_tlb_SRC, "tlb_SRC");
    tlb_SRC_tmp = make_pane(ui.slot_tlb_SRC_tmp, "tlb_SRC_tmp");
    tlb_WArea = make_pane(ui.slot_tlb_WArea, "tlb_WArea", true);
    // The "Alpha" and "Original-Work" panes keep their stored widths; the others take the rest.
    ui.const_splitter->setStretchFactor(0, 1);
    ui.const_splitter->setStretchFactor(2, 1);
    ui.check_splitter->setStretchFactor(1, 1);
    ui.const_splitter->setSizes({420, 202, 200});
    ui.check_splitter->setSizes({306, 500});

    DropWatch1 = new TDropWatch(this);
    DropWatch1->setObjectName(QStringLiteral("DropWatch1"));
    DropWatch1->setWatchControl(ui.PC);

    // Alt + letter for the frame's buttons of this window.
    RxSpeedButton1->setMnemonic(QLatin1Char('Z'));
    fb_loadLOG->setMnemonic(QLatin1Char('L'));

    general_error_ = [this](const QString& text) {
        QMessageBox::critical(this, QApplication::applicationName(), text);
    };

    register_stored_properties(Main_Stored_Properties);
    fb_Set_Caption(QString(), QString());
    fb_Mark_Tabs(ui.PC);
    // The work-data and token folders exist from the start.
    (void)Make_Dirs(session_.data_dir());
    (void)Make_Dirs(session_.dont_dir());
    connect_controls();
}

TForm1::~TForm1() = default;

void TForm1::connect_controls() {
    connect(ui.btn_Work, &QToolButton::clicked, this, &TForm1::btn_WorkClick);
    connect(ui.btn_Check, &QToolButton::clicked, this, &TForm1::btn_CheckClick);
    connect(ui.btn_XRef, &QToolButton::clicked, this, &TForm1::btn_XRefClick);
    connect(ui.btn_clear_Tab, &QToolButton::clicked, this, &TForm1::btn_clear_TabClick);
    connect(ui.btn_to_SRCPath, &QToolButton::clicked, this, &TForm1::btn_to_SRCPathClick);
    connect(ui.btn_to_Work, &QToolButton::clicked, this, &TForm1::btn_to_WorkClick);
    connect(ui.fne_SRC_Browse, &QToolButton::clicked, this, &TForm1::fne_SRC_BrowseClick);
    connect(ui.fne_SRC, &QLineEdit::textChanged, this, &TForm1::Source_Change);
    connect(DropWatch1, &TDropWatch::filesDropped, this, &TForm1::Drop_Files_Handler);
    connect(ui.chk_col_A, &QCheckBox::toggled, this, &TForm1::chk_col_AChange);
    connect(ui.chk_col_N, &QCheckBox::toggled, this, &TForm1::chk_col_NChange);
    connect(ui.chk_col_T, &QCheckBox::toggled, this, &TForm1::chk_col_TChange);
    for (int k = 0; k < 7; ++k) {
        ext_accepted_[static_cast<std::size_t>(k)] = ui.ed_ext[k]->text();
        connect(ui.ed_ext[k], &QLineEdit::editingFinished, this, [this, k] { ed_extExit(k); });
    }
    connect(tlb_SRC, &TextListView::rowClicked, this, &TForm1::tlb_SRCClick);
    connect(tlb_T_Cref, &TextListView::rowClicked, this, &TForm1::tlb_SRCClick);
    connect(tlb_WArea, &TextListView::rowClicked, this, &TForm1::tlb_SRCClick);
    connect(tlb_SRC_tmp, &TextListView::rowClicked, this, &TForm1::tlb_SRC_tmpClick);
    for (TextListView* pane : {tlb_T_Cref, tlb_A_Const, tlb_N_Const})
        connect(pane, &QAbstractItemView::doubleClicked, this,
                [this, pane](const QModelIndex& index) { Show_Entry_Line(pane, index.row()); });
    // Enter in the file-name field starts the run, as "create NEW-List" does.
    connect(ui.fne_SRC, &QLineEdit::returnPressed, this, [this] {
        if (ui.btn_Work->isEnabled())
            btn_WorkClick();
    });
    // The frame hooks the outer page control itself when it merges its pages.
    for (QTabWidget* pc : {ui.PCW, ui.PCWS})
        connect(pc, &QTabWidget::currentChanged, this, [this] { fb_PCChange(); });
    connect(ui.PCW, &QTabWidget::currentChanged, this, &TForm1::refresh_visible_panes);
}

void TForm1::FormShow() {
    fb_Show_INIT(ui.PC);
    ui.lab_Title->setText(from_bytes(caption_items().items[0]));
    ui.PCW->setTabVisible(ui.PCW->indexOf(ui.pcw_NoShow), false);
    // Every page, the frame's included, fits a window of 640 x 480; Tab follows the layout.
    Fit_Pages_In_Scroll_Areas(ui.PC);
    Tab_Order_By_Layout(centralWidget());
    resize(Form_Width, Form_Height); // possible only now that the pages may scroll
    show_token_lists();
    fb_After_INIT();
    Keep_On_Screen(this);
}

namespace {
// Inside a splitter only the splitter's own sizes hold: a width the settings store gives a pane
// panel is lost at the next layout pass, so the stored width is handed to the splitter.
void keep_pane_width(QSplitter* splitter, QWidget* pane, const std::string& stored) {
    const int width = Str_To_Int_Def(stored, -1);
    const int i = splitter->indexOf(pane);
    QList<int> sizes = splitter->sizes();
    if (width < 0 || i < 0 || i >= sizes.size())
        return;
    sizes[i] = width;
    splitter->setSizes(sizes);
}
} // namespace

void TForm1::on_settings_restored() {
    IniFile ini;
    if (IniFile::load(settings_file(), ini)) { // an unreadable file was reported by the frame
        const std::string section = settings_section();
        keep_pane_width(ui.const_splitter, ui.GP_KA, ini.read(section, "GP_KA_Width", "202"));
        keep_pane_width(ui.check_splitter, ui.GP10, ini.read(section, "GP10_Width", "306"));
    }
    read_options();
    for (std::size_t k = 0; k < 7; ++k)
        ext_accepted_[k] = ui.ed_ext[k]->text();
    if (FileResult r = session_.Load_Token_Tables(); !r)
        report_file_error(r);
    update_token_labels();
    // The restored name is shown but not loaded: the start-up is not complete yet.
    (void)session_.Source_Change(file_bytes(ui.fne_SRC->text()), false);
}

void TForm1::on_settings_saved() {
    read_options();
    if (FileResult r = session_.Save_Token_Table(); !r)
        report_file_error(r);
}

void TForm1::read_options() {
    ListingOptions& o = session_.options;
    o.terminators = ui.ed_Terminators->text().toLatin1().toStdString();
    o.use_tab = ui.chk_TTab->isChecked();
    o.use_blank = ui.chk_TBlank->isChecked();
    o.remove_old_remarks = ui.chk_remove->isChecked();
    o.end_remarks = ui.chk_doEND->isChecked();
    o.output_case = ui.rg_Case->itemIndex();
    o.collect_alpha = ui.chk_col_A->isChecked();
    o.collect_numeric = ui.chk_col_N->isChecked();
    o.collect_tokens = ui.chk_col_T->isChecked();
    SaveOptions& s = session_.save;
    for (std::size_t k = 0; k < 7; ++k) {
        s.extensions[k] = ui.ed_ext[k]->text().toStdString();
        s.create[k] = ui.chk_ext[k]->isChecked();
    }
    s.break_after = ui.se_Nr_Lines->value();
    const int backup = ui.rg_Backup->itemIndex();
    s.backup = backup == 1   ? BackupMode::Numbered
               : backup == 2 ? BackupMode::Existing
                             : BackupMode::Simple;
    session_.personal_only = ui.chk_PToken->isChecked();
    session_.save_cumulated = ui.chk_NoCumm->isChecked();
    session_.preload = ui.chk_PreLoad->isChecked();
    session_.tokens().do_not_cumulate = ui.chk_NOCData->isChecked();
}

void TForm1::Clear_Lists() {
    session_.lists().Clear_Lists();
    show_lists();
}

void TForm1::show_lists() {
    // The panes of a page are filled when the page is shown: a run over a huge file does not
    // wait for panes nobody is looking at.
    stale_.fill(true);
    refresh_visible_panes();
}

void TForm1::refresh_visible_panes() {
    ListingLists& l = session_.lists();
    QWidget* page = ui.PCW->currentWidget();
    if (page == ui.pcw_Work && stale_[0]) {
        tlb_SRC_O->setLines(l.src_o);
        stale_[0] = false;
    } else if (page == ui.pcw_Const && stale_[1]) {
        tlb_T_Cref->setLines(l.t_cref);
        tlb_A_Const->setLines(l.a_const);
        tlb_N_Const->setLines(l.n_const);
        stale_[1] = false;
    } else if (page == ui.pcw_Check && stale_[2]) {
        tlb_SRC->setLines(l.src);
        tlb_SRC_tmp->setLines(l.src_tmp);
        stale_[2] = false;
    } else if (page == ui.pcw_NoShow && stale_[3]) {
        tlb_WArea->setLines(l.w_area);
        stale_[3] = false;
    }
}

void TForm1::show_token_lists() {
    clb_Tokens->setLines(session_.tokens().loaded());
    clb_Personal->setLines(session_.tokens().personal());
}

void TForm1::update_token_labels() {
    ui.lab_Index_Size->setText(QString::number(session_.tokens().Token_Index().size()));
    ui.lab_Nr_Tokens->setText(QString::number(session_.tokens().Token_Count()));
}

void TForm1::show_messages(const std::vector<EngineMessage>& messages) {
    for (const EngineMessage& m : messages) {
        const QString title = from_bytes(m.title), text = from_bytes(m.text);
        switch (m.kind) {
        case MessageKind::Mess:
            facade().Mess(title, text, m.seconds);
            break;
        case MessageKind::M_Mess:
            facade().M_Mess(title, text);
            break;
        case MessageKind::L_Mess:
            facade().L_Mess(title, text);
            break;
        case MessageKind::L_Error:
            facade().L_Error(title, text);
            break;
        case MessageKind::General_Error:
            general_error_(text);
            break;
        }
    }
}

void TForm1::report_file_error(const FileResult& r) {
    general_error_(from_bytes(r.error));
}

void TForm1::btn_WorkClick() {
    if (running_)
        return;
    facade().Reset_Btn_Status(ui.btn_Work);
    read_options();
    running_ = true;
    Work_Start();
    Clear_Lists();
    Show_Page(ui.pcw_Work);

    QElapsedTimer since_events, since_paint;
    since_events.start();
    since_paint.start();
    RunCallbacks cb;
    cb.started = [&](const EngineMessage& working, std::size_t lines) {
        show_messages({working});
        if (TDlgs* d = dialog())
            d->Set_PBar(static_cast<int>(lines));
    };
    cb.line_done = [&](std::size_t index) {
        // Window events run often enough for Escape and repaints, but not after every one of
        // a hundred thousand lines; the progress bar moves a few dozen times a second.
        if (since_events.elapsed() >= 10) {
            if (since_paint.elapsed() >= 33) {
                if (TDlgs* d = dialog())
                    d->xdlg_pbar->setValue(static_cast<int>(index));
                since_paint.restart();
            }
            QCoreApplication::processEvents();
            since_events.restart();
        }
        return !stop_requested();
    };
    RunResult run = session_.Listing_Run(cb);
    if (TDlgs* d = dialog())
        d->xdlg_pbar->setValue(d->xdlg_pbar->maximum());
    show_lists();
    show_token_lists();
    update_token_labels();
    Work_END();
    running_ = false;
    ui.btn_XRef->setEnabled(run.status == RunStatus::Done);
    if (!closing_after_run())
        show_messages(run.messages);
}

void TForm1::btn_XRefClick() {
    if (running_)
        return;
    facade().Reset_Btn_Status(ui.btn_XRef);
    std::string page;
    if (FileResult r = session_.Write_Cross_Reference(page); !r) {
        report_file_error(r);
        return;
    }
    const QString file = QString::fromStdString(page);
    if (Open_Result opened = Open_Document(file); !opened)
        show_messages({{MessageKind::L_Mess, "Cross-Reference",
                        "^C:No Browser could be started.\r\nThe Cross-Reference is in\r\n" +
                            page}});
}

void TForm1::btn_CheckClick() {
    if (running_)
        return;
    facade().Reset_Btn_Status(ui.btn_Check);
    CheckResult check = session_.Check_Run();
    stale_[2] = true;
    refresh_visible_panes();
    show_messages(check.messages);
}

void TForm1::btn_clear_TabClick() {
    if (running_)
        return;
    facade().Reset_Btn_Status(ui.btn_clear_Tab);
    read_options();
    FileResult r = session_.Reload_Personal_Tokens();
    show_token_lists();
    ui.lab_Index_Size->setText(QStringLiteral("0"));
    ui.lab_Nr_Tokens->setText(QStringLiteral("0"));
    if (!r)
        report_file_error(r);
}

void TForm1::do_save(bool to_source_path, QObject* sender) {
    if (running_)
        return;
    facade().Reset_Btn_Status(sender);
    read_options();
    SaveResult saved =
        to_source_path ? session_.Save_To_Source_Path() : session_.Save_To_Work_Path();
    show_lists();
    show_messages(saved.messages);
}

void TForm1::btn_to_SRCPathClick() {
    do_save(true, ui.btn_to_SRCPath);
}
void TForm1::btn_to_WorkClick() {
    do_save(false, ui.btn_to_Work);
}

QString TForm1::browseFilter() {
    return QStringLiteral("Pascal sources (*.pas *.pp *.dpr *.lpr *.inc);;All files (*)");
}

QString TForm1::browseStartDir() const {
    // The chosen file itself (the dialog selects it), else the folder of the last choice, else
    // the folder the name points into.
    const QFileInfo current(ui.fne_SRC->text());
    if (!ui.fne_SRC->text().isEmpty() && current.isFile())
        return current.absoluteFilePath();
    if (!last_browse_dir_.isEmpty() && QFileInfo(last_browse_dir_).isDir())
        return last_browse_dir_;
    if (!ui.fne_SRC->text().isEmpty() && current.absoluteDir().exists())
        return current.absolutePath();
    return QString();
}

void TForm1::fne_SRC_BrowseClick() {
    QString name =
        browse_answer_
            ? browse_answer_()
            : QFileDialog::getOpenFileName(this, ui.fne_SRC->property("dialogTitle").toString(),
                                           browseStartDir(), browseFilter());
    if (name.isEmpty())
        return;
    last_browse_dir_ = QFileInfo(name).absolutePath();
    ui.fne_SRC->setText(name);
}

void TForm1::Source_Change() {
    // During a run the engine is filling the lists this would empty.
    if (!startup_complete() || running_)
        return;
    read_options();
    ui.btn_XRef->setEnabled(false); // a cross-reference of the new file needs its run first
    FileResult r = session_.Source_Change(file_bytes(ui.fne_SRC->text()), true);
    show_lists();
    if (!r)
        report_file_error(r);
}

void TForm1::Drop_Files_Handler(QPoint, const QStringList& files) {
    // Window events run in the middle of a run; a file dropped then is not taken.
    if (running_)
        return;
    std::vector<std::string> names;
    for (const QString& f : files)
        names.push_back(file_bytes(f));
    Drop_Choice choice = Choose_Dropped_File(names);
    const QString title =
        QString::fromLatin1(Drop_Title.data(), static_cast<qsizetype>(Drop_Title.size()));
    switch (choice.kind) {
    case Drop_Choice::Kind::Nothing:
        return;
    case Drop_Choice::Kind::Refused:
        facade().L_Error(title,
                         QString::fromLatin1(Drop_Refused_Text.data(),
                                             static_cast<qsizetype>(Drop_Refused_Text.size())));
        return;
    case Drop_Choice::Kind::Accepted:
        ui.fne_SRC->setText(QFile::decodeName(QByteArray::fromStdString(choice.file)));
        facade().M_Mess(title,
                        QString::fromLatin1(Drop_Accepted_Text.data(),
                                            static_cast<qsizetype>(Drop_Accepted_Text.size())));
        Show_Page(ui.pcw_Work);
        return;
    }
}

namespace {
// A collect option's result boxes follow it: unchecked, they are unchecked and disabled;
// checked again, they are enabled but not checked again.
void follow_collect(QCheckBox* collect, std::initializer_list<QCheckBox*> boxes) {
    for (QCheckBox* b : boxes) {
        if (!collect->isChecked())
            b->setChecked(false);
        b->setEnabled(collect->isChecked());
    }
}
} // namespace

void TForm1::chk_col_AChange() {
    follow_collect(ui.chk_col_A, {ui.chk_ext[2], ui.chk_ext[4]});
}
void TForm1::chk_col_NChange() {
    follow_collect(ui.chk_col_N, {ui.chk_ext[3], ui.chk_ext[5]});
}
void TForm1::chk_col_TChange() {
    follow_collect(ui.chk_col_T, {ui.chk_ext[6]});
}

void TForm1::ed_extExit(int field) {
    const auto k = static_cast<std::size_t>(field);
    if (checking_ext_ || ui.ed_ext[field]->text() == ext_accepted_[k])
        return;
    SaveOptions entered, before;
    for (std::size_t i = 0; i < 7; ++i)
        entered.extensions[i] = before.extensions[i] = ui.ed_ext[i]->text().toStdString();
    before.extensions[k] = ext_accepted_[k].toStdString();
    const ExtensionProblem problem = Extensions_Problem(entered);
    // Settings that were wrong already (an old settings file) may be mended step by step.
    if (!problem || Extensions_Problem(before)) {
        ext_accepted_[k] = ui.ed_ext[field]->text();
        return;
    }
    checking_ext_ = true; // the message takes the focus, which finishes the editing again
    ui.ed_ext[field]->setText(ext_accepted_[k]);
    facade().L_Error(QStringLiteral("Setup / Files"),
                     QStringLiteral("^C:") + from_bytes(problem.text));
    checking_ext_ = false;
}

void TForm1::tlb_SRCClick() {
    const int row = tlb_SRC->selectedRow();
    if (row < 0)
        return;
    tlb_SRC->scrollRowToTop(row);
    tlb_SRC_tmp->scrollRowToTop(row);
}

void TForm1::Show_Entry_Line(TextListView* pane, int row) {
    if (row < 0 || row >= pane->count())
        return;
    const int line = TextListView::firstLineNumber(
        TextListModel::decode(pane->lines()[static_cast<std::size_t>(row)]));
    if (line <= 0)
        return;
    Show_Page(ui.pcw_Work);
    refresh_visible_panes();
    tlb_SRC_O->setSelectedRow(line - 1);
    tlb_SRC_O->scrollRowToTop(line - 1);
}

void TForm1::tlb_SRC_tmpClick() {
    const int row = tlb_SRC_tmp->selectedRow();
    if (row < 0)
        return;
    tlb_SRC_tmp->scrollRowToTop(row);
    tlb_SRC->scrollRowToTop(row);
}

} // namespace parvex
