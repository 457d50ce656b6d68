#pragma once
// TFormBase, the frame window every main window derives from: folders and settings file, the
// start-up and close steps, the caption bar, the frame pages and tables, the busy state of runs
// with its stop request, Escape and F1, and idle fading.
//
// How a descendant (the main window) uses it:
//  - constructor: build its own controls and page control, give them object names, call
//    register_stored_properties() with its own table (section "T" + objectName(), keys
//    component + "_" + property). The frame's creation step (fb_Create_INIT) has already run in
//    TFormBase's constructor; calling it again is harmless.
//  - first show: the frame restores the frame's and the registered properties, calls
//    on_settings_restored() (load token tables there), then FormShow(). A descendant's FormShow
//    calls fb_Show_INIT(its page control) first and fb_After_INIT() last.
//  - close: FormClose() (default fb_Close_END()), then the settings are saved and
//    on_settings_saved() runs (write Tokens.dat there).
//  - runs: Reset_Btn_Status, Work_Start(), the job (processEvents between steps, poll
//    stop_requested() after each step), Work_END() on every path.

#include "dialogs/tdlgs.h"
#include "frame/frame_caption.h"
#include "frame/idle_fader.h"
#include "frame/message_facade.h"
#include "frame/stored_property.h"
#include "tables/table_sort.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class QCheckBox;
class QColorDialog;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QSlider;
class QSpinBox;
class QTabWidget;
class QTextBrowser;
class QTimer;

namespace parvex {

class DirectoryEdit;
class Frame_Sounds;
class GradientCaption;
class GradientPanel;
class ShadowLabel;
class SpeedButton;
class TDlgs;
class TSGX;
class Color_State;
class Close_Request_Watch;
struct Cell_Format;

// The start-up points that later parts fill. Each is empty until someone plugs in; the frame
// calls them at fixed places of the start-up, the page change and the close step.
struct Frame_Hooks {
    std::function<void()> apply_colors;         // colour applier (fb_btn_do_PPClick)
    std::function<void()> fill_predefs;         // preset selector (fb_Fill_Predefs)
    std::function<void()> load_info_pages;      // About, to-do and credits texts
    std::function<QWidget*()> splash_content;   // the splash's content panel for the About page
    std::function<void()> lang_startup;         // fb_Lang_Startup
    std::function<void()> news_check;           // news check at start
    std::function<void()> grid_colors;          // "Grids" became the colour page (fb_ed_sg1rChange)
    std::function<void(bool)> sound_drop;       // file drops onto the "Sound" page on or off
    std::function<void(bool)> wave_synchronous; // the wave player waits for its sound to end
};

class TFormBase : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int Form_Width = 640;
    static constexpr int Form_Height = 480;
    static constexpr int Work_Height = 28; // the caption bar alone
    static constexpr int Keep_Enabled_Tag = 8192;

    // program_dir: the program folder, ending in "/" (Exe_Dir() in the program, a temporary
    // folder in tests). dialog: the one dialog window, created by the program.
    TFormBase(std::string program_dir, TDlgs* dialog, QWidget* parent = nullptr);
    ~TFormBase() override;

    // ---- life cycle ----
    void fb_Create_INIT();
    // pc receives the frame's four pages after its own; nullptr keeps them in fb_PC.
    void fb_Show_INIT(QTabWidget* pc);
    void fb_After_INIT();
    void fb_Close_END();
    bool startup_complete() const { return startup_complete_; }

    // ---- caption ----
    void fb_Set_Caption(const QString& title, const QString& status);
    const Caption_Items& caption_items() const { return caption_; }
    QString caption_text() const;
    // The title-bar text: the caption, naming the program once however the desktop adds it.
    QString window_title_text() const;

    // ---- folders and files ----
    const std::string& program_dir() const { return program_dir_; }
    const std::string& settings_file() const { return settings_file_; }
    // The data folder cannot be written: settings and tokens stay in memory and nothing is
    // written at close, so no file is left half-written.
    void keep_settings_in_memory() { settings_in_memory_ = true; }
    bool settings_kept_in_memory() const { return settings_in_memory_; }
    std::string log_file_name() const { return LogFile_Name; }
    // The data folder: "GUI/Data/" unless "GUI-Data Directory" names an existing folder.
    std::string data_dir() const;
    std::string gui_data_dir() const;
    static std::string fb_Special_Dir(const std::string& default_dir, const QLineEdit* dir_edit);
    // The folder settings that redirect what the program reads ("GUI-Data Directory",
    // "GUI-HELP Directory"). A folder entered there must hold the files the program's own
    // folder holds, else it is refused (or filled with copies, when the user agrees); a stored
    // folder that lacks them is reported once at start and the program's own folder is used
    // for that session, the setting left as it is.
    void fb_DE_Exit(DirectoryEdit* edit);
    // The folder the start-up refused for an edit ("" when it took the edit's folder).
    QString refused_folder(const DirectoryEdit* edit) const;

    // ---- pages ----
    void fb_Mark_Tabs(QTabWidget* pc);
    void Show_Page(QWidget* page);
    void fb_PCChange();

    // ---- messages ----
    MessageFacade& facade() { return facade_; }
    TDlgs* dialog() const { return dialog_; }
    Frame_Hooks& hooks() { return hooks_; }
    void fb_Play_Sound(const std::string& shortcut) { facade_.fb_Play_Sound(shortcut); }
    // The sound shortcuts, the speaker-tune and wave players and the "Sound" page's handlers.
    Frame_Sounds& sounds() { return *sounds_; }

    // ---- runs ----
    void Work_Start();
    void Work_END();
    // mode "C": controls disabled now get the 8192 tag bit; "S": set Enabled of every input
    // control without that bit to value.
    void Work_Check_Enabled(const QString& mode, bool value);
    bool working() const { return work_start_ms_ != 0; }
    // A confirmed Escape; cleared when the next run starts.
    bool stop_requested() const { return esc_pressed_; }
    // The user closed the window during the run and confirmed the stop: the window closes as
    // soon as the run has ended, so the run shows nothing more.
    bool closing_after_run() const { return close_after_run_; }
    // The user closed the window while a message or question was shown (or during the start):
    // the window closes as soon as that has ended.
    bool closing_after_message() const { return close_after_message_; }
    void fb_Work_TimerTimer();
    // Asks whether to stop the run; the question is titled after what asked for the stop (the
    // Escape key, or the window's close button).
    void fb_DO_Escape(const QString& title = QStringLiteral("ESCAPE-KEY"));
    // Escape and F1; true when the window acted on the key.
    bool FormKeyDown(int key);
    // While set, Escape runs this instead of asking to stop a run (a download that waits).
    void set_escape_action(std::function<void()> action) { escape_action_ = std::move(action); }
    // F1: the help page "help/index.htm"; a page that cannot be opened is reported.
    void fb_Open_Help();
    std::string help_file_name() const;
    // Whether a widget counts as an input control for the enabling around runs.
    static bool Is_Input_Control(const QWidget* w);

    // ---- idle fading ----
    void fb_AEIdle();
    void fb_Timer_IdleTimer();
    void set_Idle_Back(int value);
    void fb_cnt_T03Change();
    const Idle_Fader& idle_fader() const { return fader_; }

    // ---- settings ----
    // The descendant's persisted properties, restored on first show and saved at close.
    void register_stored_properties(std::span<const Stored_Property> properties);
    virtual std::string settings_section() const;
    void restore_settings();
    [[nodiscard]] bool save_settings();
    // The text of why the settings file could not be read at the last start ("" when it could).
    const QString& settings_read_error() const { return settings_error_; }

    // ---- log and detail pages ----
    void fb_chk_logALLChange();
    void se_LogLinesChange();
    void fb_loadLOGClick();
    void fb_chk_SpeakerChange();
    void fb_chk_wwwChange();
    void RxSpeedButton1Click();

    // ---- colour scheme and presets ----
    void fb_btn_do_PPClick();
    void fb_Norm_Colors();
    void fb_EDIT_ColorClick(QLineEdit* edit);
    void fb_ed_TC1Change();
    void fb_ed_sg1rChange();
    void fb_SG_testGetCellFormat(TSGX& grid, int col, int row, Cell_Format& format, unsigned state);
    void fb_SG_PredefGetCellFormat(TSGX& grid, int col, int row, Cell_Format& format,
                                   unsigned state);
    void fb_btn_saveClick(QObject* sender);
    void fb_cb_PredefChange();
    void fb_Fill_Predefs();
    void fb_Btn_Enter(QObject* sender);
    void fb_Btn_Leave(QObject* sender);
    void fb_Chk_Enter(QObject* sender);
    void fb_Chk_Leave(QObject* sender);
    void fb_Grid_Enter(QObject* sender);
    void fb_Grid_Leave(QObject* sender);
    // The 23 colour edits of the page, in the column order of "Predef.dat".
    std::vector<QLineEdit*> color_edits() const;
    Color_State& color_state() { return *color_state_; }
    QColorDialog* fb_CDlg = nullptr;

    // Test hook: the clock in milliseconds since the epoch (default: the system clock).
    void setClock(std::function<std::int64_t()> now_ms) { now_ms_ = std::move(now_ms); }

    // ---- components by their names ----
    GradientCaption* fb_CC = nullptr;
    QTabWidget* fb_PC = nullptr;
    QWidget* fb_pcAbout = nullptr;
    QWidget* fb_PCtodo = nullptr;
    QWidget* fb_pcCredits = nullptr;
    QWidget* fb_pcGUI = nullptr;
    QTextBrowser* fb_re_About = nullptr;
    QTextBrowser* fb_re_todo = nullptr;
    QTextBrowser* fb_re_crL = nullptr;
    QTextBrowser* fb_re_crR = nullptr;
    GradientPanel* fb_GP_SC2 = nullptr;
    QListWidget* fb_tlb_PW = nullptr;

    QTabWidget* fb_PC_GUI = nullptr;
    QWidget* fb_pc_Sound = nullptr;
    QWidget* fb_pc_Color = nullptr;
    QWidget* fb_pc_Language = nullptr;
    QWidget* fb_pc_Mess = nullptr;
    QWidget* fb_pc_Log = nullptr;
    QWidget* fb_pc_upgrade = nullptr;
    QWidget* fb_PC_oDetails = nullptr;

    // Sound
    QCheckBox* fb_chk_Speaker = nullptr;
    TSGX* fb_SG_Sound = nullptr;
    TSGX* fb_sg_SpS = nullptr;
    QLineEdit* fb_fne_Sounds = nullptr;
    SpeedButton* fb_Send_toGUI = nullptr;

    // Color
    QTabWidget* fb_PCC = nullptr;
    QWidget* fb_pcc_Panels = nullptr;
    QWidget* fb_pcc_Titles = nullptr;
    QWidget* fb_pcc_Buttons = nullptr;
    QWidget* fb_pcc_SG = nullptr;
    QWidget* fb_pcc_Predefs = nullptr;
    QCheckBox* fb_chk_PlainPanel = nullptr;
    QLineEdit* fb_EDIT_Color = nullptr;
    QLineEdit* fb_ed_Col2_U = nullptr;
    QLineEdit* fb_ed_Col3_U = nullptr;
    QLineEdit* fb_ed_Col1_L = nullptr;
    QLineEdit* fb_ed_Col2_L = nullptr;
    QLineEdit* fb_ed_Col3_L = nullptr;
    QCheckBox* fb_chk_Horiz_U = nullptr;
    QCheckBox* fb_chk_Horiz_L = nullptr;
    QSlider* fb_shade_slider_U = nullptr;
    QSlider* fb_shade_slider_L = nullptr;
    std::array<QLineEdit*, 7> fb_ed_TC{}; // fb_ed_TC1 .. fb_ed_TC7
    QCheckBox* fb_chk_PText = nullptr;
    QCheckBox* fb_chk_PShadow = nullptr;
    QLineEdit* fb_ed_btnFntCol = nullptr;
    QCheckBox* fb_chk_10 = nullptr;
    QCheckBox* fb_chk_11 = nullptr;
    QCheckBox* fb_chk_02 = nullptr;
    QCheckBox* fb_chk_03 = nullptr;
    QCheckBox* fb_chk_04 = nullptr;
    QLineEdit* fb_ed_SW_Col = nullptr;
    QLineEdit* fb_ed_SW_HCol = nullptr;
    QLineEdit* fb_ed_sg1r = nullptr;
    QLineEdit* fb_ed_sg2r = nullptr;
    QLineEdit* fb_ed_sgcr = nullptr;
    QLineEdit* fb_ed_sgsc = nullptr;
    QLineEdit* fb_ed_sged = nullptr;
    QLineEdit* fb_ed_sgdg1 = nullptr;
    QLineEdit* fb_ed_sgdg2 = nullptr;
    TSGX* fb_SG_test = nullptr;
    TSGX* fb_SG_Predef = nullptr;
    QComboBox* fb_cb_Predef = nullptr;
    SpeedButton* fb_btn_save = nullptr;
    QLineEdit* fb_ed_SName = nullptr;

    // Language
    QTabWidget* fb_PCL = nullptr;
    QWidget* fb_pcl_Start = nullptr;
    QWidget* fb_pcl_Translate = nullptr;
    QWidget* fb_pcl_work = nullptr;
    TSGX* fb_sg_Lang = nullptr;
    TSGX* fb_SG_Trans = nullptr;
    QLabel* fb_labX_cLang = nullptr;
    SpeedButton* fb_btn_create_ORG_Langfile = nullptr;
    SpeedButton* fb_btn_L01 = nullptr;
    SpeedButton* fb_btn_createLang = nullptr;
    QListWidget* fb_tlb1 = nullptr;
    QListWidget* fb_tlb2 = nullptr;
    QListWidget* fb_tlb_Tmp = nullptr;
    SpeedButton* fb_Load_Lang = nullptr;
    SpeedButton* fb_Save_Lang = nullptr;
    SpeedButton* fb_Lang_Replace = nullptr;
    SpeedButton* fb_Lang_Rep_ALL = nullptr;
    QLabel* fb_lab_62 = nullptr;  // version line of the built-in language file
    QLabel* fb_lab_64 = nullptr;  // version line and name of the current language
    QLabel* fb_lab_SRC = nullptr; // the text the edited row had before

    // Messages / Transparency
    QCheckBox* fb_chk_12 = nullptr;
    QCheckBox* fb_chk_13 = nullptr;
    QSpinBox* fb_Mess_SHORT = nullptr;
    QSpinBox* fb_Mess_MED = nullptr;
    QSpinBox* fb_Mess_LONG = nullptr;
    QCheckBox* fb_chk_14 = nullptr;
    QSpinBox* fb_cnt_T01 = nullptr;
    QSpinBox* fb_cnt_T02 = nullptr;
    QSpinBox* fb_cnt_T03 = nullptr;

    // Logfile
    QListWidget* fb_tlb_Log = nullptr;
    QCheckBox* fb_chk_logALL = nullptr;
    SpeedButton* fb_loadLOG = nullptr;
    QSpinBox* se_LogLines = nullptr;

    // News / Upgrade
    QLabel* fb_lab_07 = nullptr;
    TSGX* fb_SG_News = nullptr;
    TSGX* fb_sg_VE = nullptr;
    QPlainTextEdit* fb_mem = nullptr;
    QCheckBox* fb_chk_www = nullptr;
    QSpinBox* fb_se_Days = nullptr;
    QLabel* fb_lab_19 = nullptr;
    QLabel* fb_lab_13 = nullptr;
    SpeedButton* fb_btn_News = nullptr;
    QLineEdit* fb_ed_NewsURL = nullptr; // where "Check NOW" fetches the news table

    // other Details
    SpeedButton* RxSpeedButton1 = nullptr;
    DirectoryEdit* fb_DE_GData = nullptr;
    DirectoryEdit* fb_DE_GHelp = nullptr;
    DirectoryEdit* fb_DE_GLang = nullptr;
    DirectoryEdit* fb_DE_GPics = nullptr;
    DirectoryEdit* fb_DE_GSnds = nullptr;

    QTimer* fb_Work_Timer = nullptr;
    QTimer* fb_Timer_Idle = nullptr;

    // The frame's table grids in start-up order (Predef, Sound, SpS, VE, News, Trans, Lang, test).
    std::vector<TSGX*> frame_tables() const;
    Sort_Options& news_sort_options() { return sort_options_; }

protected:
    // The descendant's show and close logic; the defaults run the frame's own steps.
    virtual void FormShow();
    virtual void FormClose();
    // Called after the stored properties were restored, before FormShow.
    virtual void on_settings_restored() {}
    // Called after the settings file was written at close.
    virtual void on_settings_saved() {}

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build_frame();
    QWidget* build_gui_page();
    QWidget* build_about_page();
    QWidget* build_todo_page();
    QWidget* build_credits_page();
    QWidget* build_sound_page();
    QWidget* build_color_page();
    QWidget* build_language_page();
    QWidget* build_mess_page();
    QWidget* build_log_page();
    QWidget* build_upgrade_page();
    QWidget* build_details_page();
    void connect_frame();
    void connect_colors();
    void setup_tables();
    struct Special_Folder {
        DirectoryEdit* edit = nullptr;
        std::string default_dir;
        std::vector<std::string> files;
        QString accepted; // the text last taken (the folder in use, "" for the default)
        QString refused;  // a stored text the start-up refused; the default stands in for it
    };
    Special_Folder* special_folder(const DirectoryEdit* edit);
    const Special_Folder* special_folder(const DirectoryEdit* edit) const;
    void check_special_folders_at_start();
    // The folder that edit stands for now: its own when taken, else the default.
    std::string special_dir(const DirectoryEdit* edit) const;
    void log_line(const QString& kind, const QString& text);
    void log_entry(const QString& title, const QString& text, const QString& file_name = {});
    Idle_Fade_Settings fade_settings() const;
    void apply_opacity();
    void on_about_to_block();
    // A mouse movement, click, wheel turn or key anywhere over this window.
    bool is_user_activity(QObject* watched, QEvent* event) const;
    void user_active();
    std::int64_t now_ms() const;
    QString frame_page_name() const;

    std::string program_dir_;
    std::vector<Special_Folder> special_folders_;
    bool checking_folder_ = false;
    bool settings_in_memory_ = false;
    std::string settings_file_;
    std::string LogFile_Name;
    QPointer<TDlgs> dialog_;
    MessageFacade facade_;
    Frame_Hooks hooks_;
    Frame_Sounds* sounds_ = nullptr;
    Caption_Items caption_;
    Sort_Options sort_options_;
    std::vector<Stored_Property> own_properties_;
    QString settings_error_;
    std::vector<std::pair<Stored_Property, QString>> pending_pages_;
    QString frame_page_; // the frame page last shown, kept as fb_PC's active page
    QPointer<QTabWidget> host_pc_;
    bool startup_complete_ = false;
    bool settings_restored_ = false;
    bool closed_ = false;

    // Busy state.
    std::int64_t work_start_ms_ = 0;
    int saved_height_ = 0;
    bool esc_pressed_ = false;
    bool close_after_run_ = false;
    bool close_after_message_ = false;
    std::function<void()> escape_action_;
    std::unique_ptr<Close_Request_Watch> close_watch_;

    Color_State* color_state_ = nullptr; // a child object: counters, guards, hover watch
    Idle_Fader fader_;
    std::function<std::int64_t()> now_ms_;
};

} // namespace parvex
