#include "frame/form_base.h"

#include "dialogs/tdlgs.h"
#include "frame/app_folders.h"
#include "frame/color_state.h"
#include "frame/directory_edit.h"
#include "frame/frame_dirs.h"
#include "frame/frame_settings.h"
#include "frame/frame_tables.h"
#include "frame/log_view.h"
#include "frame/settings_store.h"
#include "frame/setup_log.h"
#include "frame/stored_binding.h"
#include "media/frame_sounds.h"
#include "platform/window_system.h"
#include "tables/subs.h"
#include "tables/table_frame_defs.h"
#include "tables/table_procs.h"
#include "widgets/gradient_caption.h"
#include "widgets/gradient_panel.h"
#include "widgets/sgx.h"
#include "widgets/sgx_text.h"
#include "widgets/speed_button.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <filesystem>

namespace parvex {

namespace {

const QColor Active_Tab_Color(0xC0, 0x00, 0x00);

QString to_qt(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The page control that holds `page` as one of its pages, or nullptr.
QTabWidget* owning_tab_widget(QWidget* page) {
    if (!page || !page->parentWidget())
        return nullptr;
    auto* pc = qobject_cast<QTabWidget*>(page->parentWidget()->parentWidget());
    return pc && pc->indexOf(page) >= 0 ? pc : nullptr;
}

// The tab sheet on which `w` lies, or nullptr when it lies on none.
QWidget* enclosing_page(QWidget* w) {
    for (QWidget* p = w ? w->parentWidget() : nullptr; p; p = p->parentWidget())
        if (owning_tab_widget(p))
            return p;
    return nullptr;
}

} // namespace

TFormBase::TFormBase(std::string program_dir, TDlgs* dialog, QWidget* parent)
    : QMainWindow(parent), program_dir_(Add_Backslash(program_dir)), dialog_(dialog),
      facade_(dialog, this) {
    now_ms_ = [] { return QDateTime::currentMSecsSinceEpoch(); };
    facade_.setWorkInProgress([this] { return working(); });
    build_frame();
    connect_frame();
    connect_colors();
    fb_Create_INIT();
    sounds_ = new Frame_Sounds(*this);
    // The window sees every key before its controls (Escape, F1).
    qApp->installEventFilter(this);
    // The window manager's close button also while a message blocks the window.
    close_watch_ = std::make_unique<Close_Request_Watch>(this);
    if (dialog_)
        connect(dialog_, &TDlgs::modalEnded, this, [this] {
            if (close_after_message_)
                QTimer::singleShot(0, this, [this] { close(); });
        });
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &TFormBase::on_about_to_block);
}

TFormBase::~TFormBase() {
    qApp->removeEventFilter(this);
    color_state_->form_gone = true; // no colour handler may run once the frame's members are gone
}

void TFormBase::build_frame() {
    // The window promises 640 x 480: narrower, the title would run into the drop label.
    setMinimumSize(Form_Width, Form_Height);
    resize(Form_Width, Form_Height);
    setMouseTracking(true);

    fb_CC = new GradientCaption(7, this);
    fb_CC->setObjectName("fb_CC");
    fb_CC->setFixedHeight(24);
    for (int i = 0; i < 7; ++i)
        fb_CC->setPartText(i, to_qt(caption_.items[static_cast<std::size_t>(i)]));
    QFont bold = fb_CC->font();
    bold.setBold(true);
    fb_CC->setPartFont(Caption_Items::Title, bold);
    fb_CC->setPartColor(Caption_Items::Version, QColor(0xFF, 0xFF, 0x80));
    fb_CC->setPartColor(Caption_Items::Status, QColor(0xFF, 0xFF, 0x00));
    setMenuWidget(fb_CC);

    fb_PC = new QTabWidget(this);
    fb_PC->setObjectName("fb_PC");
    fb_PC->hide();
    fb_pcAbout = build_about_page();
    fb_PCtodo = build_todo_page();
    fb_pcCredits = build_credits_page();
    fb_pcGUI = build_gui_page();
    fb_PC->addTab(fb_pcAbout, QStringLiteral("About ..."));
    fb_PC->addTab(fb_PCtodo, QStringLiteral("to DO ..."));
    fb_PC->addTab(fb_pcCredits, QStringLiteral("Credits ..."));
    fb_PC->addTab(fb_pcGUI, QStringLiteral("G. U. I."));

    fb_Work_Timer = new QTimer(this);
    fb_Work_Timer->setObjectName("fb_Work_Timer");
    fb_Work_Timer->setInterval(1000);
    fb_Timer_Idle = new QTimer(this);
    fb_Timer_Idle->setObjectName("fb_Timer_Idle");
    fb_Timer_Idle->setInterval(1000);

    // The window before any settings file: every persisted property at its default.
    for (const Stored_Property& p : Frame_Stored_Properties)
        (void)Write_Stored(*this, p, to_qt(p.default_value));
    frame_page_ =
        to_qt(Find_Stored_Property(Frame_Stored_Properties, "fb_PC_ActivePage")->default_value);
}

QWidget* TFormBase::build_gui_page() {
    auto* page = new QWidget;
    page->setObjectName("fb_pcGUI");
    auto* lay = new QVBoxLayout(page);
    lay->setContentsMargins(0, 0, 0, 0);
    fb_PC_GUI = new QTabWidget;
    fb_PC_GUI->setObjectName("fb_PC_GUI");
    lay->addWidget(fb_PC_GUI);
    fb_pc_Sound = build_sound_page();
    fb_pc_Color = build_color_page();
    fb_pc_Language = build_language_page();
    fb_pc_Mess = build_mess_page();
    fb_pc_Log = build_log_page();
    fb_pc_upgrade = build_upgrade_page();
    fb_PC_oDetails = build_details_page();
    fb_PC_GUI->addTab(fb_pc_Sound, QStringLiteral("Sound"));
    fb_PC_GUI->addTab(fb_pc_Color, QStringLiteral("Color"));
    fb_PC_GUI->addTab(fb_pc_Language, QStringLiteral("Language"));
    fb_PC_GUI->addTab(fb_pc_Mess, QStringLiteral("Messages / Transparency"));
    fb_PC_GUI->addTab(fb_pc_Log, QStringLiteral("Logfile"));
    fb_PC_GUI->addTab(fb_pc_upgrade, QStringLiteral("News / Upgrade"));
    fb_PC_GUI->addTab(fb_PC_oDetails, QStringLiteral("other Details"));
    // Seven settings pages: a slightly smaller tab font keeps every tab in view at 640 pixels.
    QFont tab_font = fb_PC_GUI->tabBar()->font();
    tab_font.setPointSizeF(tab_font.pointSizeF() - 1);
    fb_PC_GUI->tabBar()->setFont(tab_font);
    return page;
}

void TFormBase::connect_frame() {
    for (QTabWidget* pc : {fb_PC, fb_PC_GUI, fb_PCC, fb_PCL})
        connect(pc, &QTabWidget::currentChanged, this, [this] { fb_PCChange(); });

    // Message settings feed the façade.
    auto times = [this] {
        facade_.setDisplayTimes(fb_Mess_SHORT->value(), fb_Mess_MED->value(),
                                fb_Mess_LONG->value());
    };
    for (QSpinBox* s : {fb_Mess_SHORT, fb_Mess_MED, fb_Mess_LONG})
        connect(s, &QSpinBox::valueChanged, this, times);
    connect(fb_chk_12, &QCheckBox::toggled, this,
            [this](bool on) { facade_.settings().sound_at_start = on; });
    connect(fb_chk_13, &QCheckBox::toggled, this,
            [this](bool on) { facade_.settings().sound_at_end = on; });

    // Transparency.
    connect(fb_chk_14, &QCheckBox::toggled, this, [this] { fb_cnt_T03Change(); });
    for (QSpinBox* s : {fb_cnt_T01, fb_cnt_T02, fb_cnt_T03})
        connect(s, &QSpinBox::valueChanged, this, [this] { fb_cnt_T03Change(); });
    connect(fb_Work_Timer, &QTimer::timeout, this, &TFormBase::fb_Work_TimerTimer);
    connect(fb_Timer_Idle, &QTimer::timeout, this, &TFormBase::fb_Timer_IdleTimer);

    // Log and detail pages.
    connect(fb_chk_logALL, &QCheckBox::toggled, this, &TFormBase::fb_chk_logALLChange);
    connect(se_LogLines, &QSpinBox::valueChanged, this, &TFormBase::se_LogLinesChange);
    connect(fb_loadLOG, &SpeedButton::clicked, this, &TFormBase::fb_loadLOGClick);
    connect(fb_chk_Speaker, &QCheckBox::toggled, this, &TFormBase::fb_chk_SpeakerChange);
    connect(fb_chk_www, &QCheckBox::toggled, this, &TFormBase::fb_chk_wwwChange);
    connect(RxSpeedButton1, &SpeedButton::clicked, this, &TFormBase::RxSpeedButton1Click);
    for (DirectoryEdit* edit : {fb_DE_GData, fb_DE_GHelp})
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { fb_DE_Exit(edit); });
    fb_pc_Log->installEventFilter(this);
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void TFormBase::fb_Create_INIT() {
    fb_Set_Caption(QString(), QString());
    // One line for all folders that failed: they share one cause (a folder that cannot be
    // written), which the program reports to the user at start.
    std::string failed;
    for (const std::string& dir : Create_Frame_Dirs(program_dir_))
        failed += (failed.empty() ? "" : ", ") + dir;
    if (!failed.empty())
        qWarning("cannot create the folders %s", failed.c_str());
    const std::string ini = Ini_File_Name(Exe_File_Name());
    settings_file_ =
        Settings_File_Path(program_dir_, std::filesystem::path(ini).filename().string());
    fb_fne_Sounds->setProperty("initialDir", to_qt(Sounds_Initial_Dir(program_dir_)));
}

void TFormBase::fb_Show_INIT(QTabWidget* pc) {
    fb_chk_logALLChange(); // the log is not open yet, so its "Changed SetUp" line is not written
    // The log keeps as many lines as "keep only the last" shows, also when the restored value
    // equals the default and so never fired the change handler.
    se_LogLinesChange();
    LogFile_Name = Log_File_Name(program_dir_);
    if (dialog_) {
        dialog_->log().LogFile_Name = LogFile_Name;
        dialog_->Open_Log();
    }
    if (!settings_error_.isEmpty())
        facade_.S_Error(QStringLiteral("Settings"),
                        QStringLiteral("^C:The settings file could not be read, the defaults "
                                       "apply.\r\nIt is written anew when the program ends.\r\n") +
                            settings_error_);
    check_special_folders_at_start();
    facade_.Mess(QStringLiteral("I N I T"), QStringLiteral("^C:Startup - load Params ..."), 0);
    // The start-up size wins over the size restored from the settings file.
    resize(Form_Width, Form_Height);

    setup_tables();
    // ---- start-up hook: About, to-do and credits texts ----
    if (hooks_.load_info_pages)
        hooks_.load_info_pages();
    // ---- start-up hook: the splash's content moves onto the About page ----
    if (hooks_.splash_content)
        if (QWidget* content = hooks_.splash_content()) {
            content->setParent(fb_GP_SC2);
            content->move(0, 0);
            content->show();
        }
    // ---- start-up hook: preset selector ----
    if (hooks_.fill_predefs)
        hooks_.fill_predefs();
    // The colour applier acts only once the start-up is complete (fb_After_INIT).
    fb_Set_Caption(QString(), QStringLiteral(" "));
    fb_PCChange();
    fb_PCL->setTabVisible(fb_PCL->indexOf(fb_pcl_work), false);
    fb_PCC->setTabVisible(fb_PCC->indexOf(fb_pcc_Predefs), false);
    // ---- start-up hook: language ----
    if (hooks_.lang_startup)
        hooks_.lang_startup();
    // ---- start-up hook: news check at start ----
    if (hooks_.news_check)
        hooks_.news_check();

    QTabWidget* target = pc ? pc : fb_PC;
    if (target != fb_PC) {
        for (QWidget* page : {fb_pcAbout, fb_PCtodo, fb_pcCredits, fb_pcGUI}) {
            const int i = fb_PC->indexOf(page);
            const QString text = fb_PC->tabText(i);
            fb_PC->removeTab(i);
            target->addTab(page, text);
        }
        host_pc_ = target;
        connect(target, &QTabWidget::currentChanged, this, &TFormBase::fb_PCChange,
                Qt::UniqueConnection);
    } else if (!centralWidget()) {
        setCentralWidget(fb_PC);
        fb_PC->show();
        host_pc_ = fb_PC;
    }
    for (const auto& [p, value] : pending_pages_)
        (void)Write_Stored(*this, p, value);
    pending_pages_.clear();
    fb_Mark_Tabs(target);
    fb_Play_Sound("PS");
}

void TFormBase::fb_After_INIT() {
    startup_complete_ = true;
    // ---- start-up hook: colour applier ----
    if (hooks_.apply_colors)
        hooks_.apply_colors();
    facade_.Mess(QString(), QString(), 0);
    Work_Check_Enabled(QStringLiteral("C"), false);
    if (close_after_message_)
        QTimer::singleShot(0, this, [this] { close(); });
}

void TFormBase::fb_Close_END() {
    if (hooks_.wave_synchronous)
        hooks_.wave_synchronous(true);
    fb_Play_Sound("PE");
    for (std::string_view name : Frame_Tables_Saved_At_Close) {
        auto* grid = findChild<TSGX*>(to_qt(name));
        if (!grid)
            continue;
        if (FileResult r = Save_Table(grid->Grid()); !r)
            facade_.Error(QStringLiteral("Save Table"), to_qt(r.error),
                          facade_.settings().short_secs);
    }
    log_line(QStringLiteral("Proper END"), QStringLiteral("of Program"));
}

void TFormBase::FormShow() {
    fb_Show_INIT(nullptr);
    fb_After_INIT();
}

void TFormBase::FormClose() {
    fb_Close_END();
}

void TFormBase::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (settings_restored_)
        return;
    settings_restored_ = true;
    restore_settings();
    on_settings_restored();
    FormShow();
}

void TFormBase::closeEvent(QCloseEvent* event) {
    if (working() && !closed_) {
        // A run is in progress: closing is a stop request. Once confirmed, the window closes
        // after the run has ended and given the window its size back (Work_END).
        event->ignore();
        if (!esc_pressed_)
            fb_DO_Escape(QStringLiteral("Close"));
        if (esc_pressed_)
            close_after_run_ = true;
        return;
    }
    const bool message_up = dialog_ && dialog_->isVisible() && dialog_->isModal();
    if (!closed_ && settings_restored_ && (message_up || !startup_complete_)) {
        // A message or question is up (its caller goes on once it ends), or the start-up is
        // still running: the window closes as soon as that is over.
        event->ignore();
        close_after_message_ = true;
        return;
    }
    if (!closed_ && settings_restored_) {
        closed_ = true;
        FormClose();
        if (!settings_in_memory_ && save_settings())
            on_settings_saved();
    }
    QMainWindow::closeEvent(event);
}

void TFormBase::setup_tables() {
    const std::string data = data_dir();
    const std::string gui_data = gui_data_dir();
    const std::vector<TSGX*> grids = frame_tables();
    for (std::size_t i = 0; i < grids.size(); ++i) {
        TSGX* grid = grids[i];
        const Frame_Table_Def& def = Frame_Tables[i];
        grid->SetSG_Record(Frame_Table_Rec(All_Frame_Tables[i], data, gui_data));
        Table_Grid& g = grid->Grid();
        FileResult loaded;
        switch (def.startup) {
        case Table_Startup::Load_Purge:
            loaded = Load_Table(g);
            Purge_Table(g);
            break;
        case Table_Startup::Clear_Six_Rows:
            Clear_Table(g);
            g.Set_Row_Count(6);
            break;
        case Table_Startup::Load_Purge_Sort_Desc:
            loaded = Load_Table(g);
            Purge_Table(g);
            Sort_Descending(g, def.startup_col, sort_options_);
            g.Set_Current(def.startup_col, 1);
            break;
        case Table_Startup::Load_Sort_By_Type_Desc:
            loaded = Load_Table(g);
            Sort_By_Type(g, def.startup_col, false);
            break;
        case Table_Startup::Load_Only:
            loaded = Load_Table(g);
            break;
        }
        if (!loaded)
            facade_.Error(QStringLiteral("Load Table"), to_qt(loaded.error),
                          facade_.settings().short_secs);
    }
}

std::vector<TSGX*> TFormBase::frame_tables() const {
    return {fb_SG_Predef, fb_SG_Sound, fb_sg_SpS,  fb_sg_VE,
            fb_SG_News,   fb_SG_Trans, fb_sg_Lang, fb_SG_test};
}

// ---------------------------------------------------------------------------------------------
// Caption, folders and pages

void TFormBase::fb_Set_Caption(const QString& title, const QString& status) {
    Set_Caption(caption_, title.toStdString(), status.toStdString(), Application_Title);
    if (!fb_CC)
        return;
    for (std::size_t i = 0; i < caption_.items.size(); ++i)
        fb_CC->setPartText(static_cast<int>(i), to_qt(caption_.items[i]));
    setWindowTitle(window_title_text());
}

QString TFormBase::caption_text() const {
    return to_qt(Caption_Text(caption_));
}

QString TFormBase::window_title_text() const {
    return to_qt(Window_Title(caption_, QGuiApplication::applicationDisplayName().toStdString()));
}

std::string TFormBase::gui_data_dir() const {
    return GUI_Data_Dir(program_dir_);
}

std::string TFormBase::data_dir() const {
    return special_dir(fb_DE_GData);
}

std::string TFormBase::fb_Special_Dir(const std::string& default_dir, const QLineEdit* dir_edit) {
    return Special_Dir(default_dir, dir_edit ? dir_edit->text().toStdString() : std::string());
}

void TFormBase::fb_Mark_Tabs(QTabWidget* pc) {
    if (!pc)
        return;
    for (int i = 0; i < pc->count(); ++i)
        pc->tabBar()->setTabTextColor(i, i == pc->currentIndex() ? Active_Tab_Color : QColor());
}

void TFormBase::Show_Page(QWidget* page) {
    // Brings a nested page to the front through every level of page controls.
    while (QTabWidget* pc = owning_tab_widget(page)) {
        pc->setCurrentWidget(page);
        fb_Mark_Tabs(pc);
        page = enclosing_page(pc);
    }
}

void TFormBase::fb_PCChange() {
    fb_Play_Sound("CP");
    for (QTabWidget* pc : findChildren<QTabWidget*>())
        fb_Mark_Tabs(pc);
    // ---- hook: file drops are taken only while "Sound" is the active settings page ----
    if (hooks_.sound_drop) {
        hooks_.sound_drop(false);
        if (fb_PC_GUI->currentWidget() == fb_pc_Sound)
            hooks_.sound_drop(true);
    }
    // ---- hook: the grid colours are shown when "Grids" comes to the front ----
    if (fb_PCC->currentWidget() == fb_pcc_SG && hooks_.grid_colors)
        hooks_.grid_colors();
    if (host_pc_) {
        QWidget* current = host_pc_->currentWidget();
        for (QWidget* page : {fb_pcAbout, fb_PCtodo, fb_pcCredits, fb_pcGUI})
            if (current == page)
                frame_page_ = page->objectName();
    }
}

QString TFormBase::frame_page_name() const {
    return frame_page_;
}

// ---------------------------------------------------------------------------------------------
// Settings

std::string TFormBase::settings_section() const {
    const QString name = objectName();
    return name.isEmpty() ? std::string("TFormBase") : "T" + name.toStdString();
}

void TFormBase::register_stored_properties(std::span<const Stored_Property> properties) {
    own_properties_.insert(own_properties_.end(), properties.begin(), properties.end());
}

namespace {

std::vector<Stored_Property> all_properties(const std::vector<Stored_Property>& own) {
    std::vector<Stored_Property> all(Frame_Stored_Properties.begin(),
                                     Frame_Stored_Properties.end());
    all.insert(all.end(), own.begin(), own.end());
    return all;
}

} // namespace

void TFormBase::restore_settings() {
    const std::vector<Stored_Property> all = all_properties(own_properties_);
    Settings_Read read = Load_Settings(settings_file_, settings_section(), all);
    settings_error_ = read.status ? QString() : to_qt(read.status.error);
    for (const Stored_Property& p : all) {
        const auto it = read.values.find(std::string(p.key));
        if (it == read.values.end())
            continue;
        const QString value = to_qt(it->second);
        if (p.key == "fb_PC_ActivePage") {
            for (QWidget* page : {fb_pcAbout, fb_PCtodo, fb_pcCredits, fb_pcGUI})
                if (page->objectName() == value)
                    frame_page_ = value;
            continue;
        }
        // A value the control cannot take leaves its default in place. A page of the frame
        // is not in the main window's page control yet: it is set again after the merge.
        if (!Write_Stored(*this, p, value) && p.kind == Setting_Kind::Page)
            pending_pages_.emplace_back(p, value);
    }
    if (read.placement.norm_pos) {
        const Placement_Pos& r = *read.placement.norm_pos;
        setGeometry(r[0], r[1], r[2] - r[0], r[3] - r[1]);
    }
    if (read.placement.show_cmd == 3)
        setWindowState(windowState() | Qt::WindowMaximized);
}

bool TFormBase::save_settings() {
    const std::vector<Stored_Property> all = all_properties(own_properties_);
    Setting_Values values;
    for (const Stored_Property& p : all) {
        std::optional<QString> v = p.key == "fb_PC_ActivePage"
                                       ? std::optional<QString>(frame_page_name())
                                       : Read_Stored(*this, p);
        if (v)
            values[std::string(p.key)] = v->toStdString();
    }
    Window_Placement placement;
    const QRect g = normalGeometry().isValid() ? normalGeometry() : geometry();
    placement.norm_pos =
        Placement_Pos{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    placement.show_cmd = isMaximized() ? 3 : isMinimized() ? 2 : 1;
    placement.visible = isVisible();
    placement.pixels_per_inch = logicalDpiY();
    FileResult r = Save_Settings(settings_file_, settings_section(), all, values, &placement);
    if (!r) {
        facade_.Error(QStringLiteral("Settings"),
                      QStringLiteral("^C:The settings could not be saved.\r\n") + to_qt(r.error),
                      facade_.settings().medium_secs);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Log and detail pages

void TFormBase::log_line(const QString& kind, const QString& text) {
    if (dialog_)
        dialog_->Log_Line(this, kind, text);
}

void TFormBase::fb_chk_logALLChange() {
    facade_.setLogEnabled(fb_chk_logALL->isChecked());
    log_line(to_qt(Changed_Setup_Title),
             to_qt(Setup_Switch_Text(Logged_Switch::Log_All, fb_chk_logALL->isChecked())));
}

void TFormBase::se_LogLinesChange() {
    if (dialog_)
        dialog_->log().Max_Log_Lines = se_LogLines->value();
}

void TFormBase::fb_loadLOGClick() {
    fb_tlb_Log->clear();
    if (LogFile_Name.empty() || !File_Exists(LogFile_Name))
        return;
    TextList lines;
    if (FileResult r = Load_Lines(LogFile_Name, lines); !r) {
        fb_tlb_Log->addItem(to_qt(r.error));
        return;
    }
    QStringList items;
    items.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines)
        items << Bytes_To_Text(Log_View_Line(line));
    fb_tlb_Log->addItems(items);
    // The last 15 lines fill the view from its top.
    const int first = std::max(0, fb_tlb_Log->count() - 15);
    if (fb_tlb_Log->count() > 0)
        fb_tlb_Log->scrollToItem(fb_tlb_Log->item(first), QAbstractItemView::PositionAtTop);
}

void TFormBase::fb_chk_SpeakerChange() {
    log_line(to_qt(Changed_Setup_Title),
             to_qt(Setup_Switch_Text(Logged_Switch::Speaker, fb_chk_Speaker->isChecked())));
}

void TFormBase::fb_chk_wwwChange() {
    log_line(to_qt(Changed_Setup_Title),
             to_qt(Setup_Switch_Text(Logged_Switch::News, fb_chk_www->isChecked())));
}

void TFormBase::RxSpeedButton1Click() {
    resize(Form_Width, Form_Height);
}

} // namespace parvex
