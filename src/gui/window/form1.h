#pragma once
// TForm1, the main window: the listing engine's options, panes and buttons on top of the frame
// window. The window supplies options and lists to the listing session, shows the run's progress
// in the dialog and its messages through the façade; the engine itself knows no widget.

#include "frame/form_base.h"
#include "window/form1_ui.h"
#include "window/listing_session.h"

#include <QPoint>
#include <QStringList>
#include <array>
#include <functional>

namespace parvex {

class TDropWatch;
class TextListView;

class TForm1 : public TFormBase {
    Q_OBJECT
public:
    TForm1(std::string program_dir, TDlgs* dialog, QWidget* parent = nullptr);
    ~TForm1() override;

    Form1_Ui ui;
    TextListView* clb_Tokens = nullptr;
    TextListView* clb_Personal = nullptr;
    TextListView* tlb_SRC_O = nullptr;
    TextListView* tlb_T_Cref = nullptr;
    TextListView* tlb_A_Const = nullptr;
    TextListView* tlb_N_Const = nullptr;
    TextListView* tlb_SRC = nullptr;
    TextListView* tlb_SRC_tmp = nullptr;
    TextListView* tlb_WArea = nullptr;
    TDropWatch* DropWatch1 = nullptr;

    ListingSession& session() { return session_; }

    // ---- handlers ----
    void btn_WorkClick();
    void btn_CheckClick();
    // Writes the cross-reference site of the listed source and opens its page in the browser;
    // where none can be started, a message says where the site is.
    void btn_XRefClick();
    void btn_clear_TabClick();
    void btn_to_SRCPathClick();
    void btn_to_WorkClick();
    void fne_SRC_BrowseClick();
    void Source_Change();
    void Drop_Files_Handler(QPoint pos, const QStringList& files);
    void chk_col_AChange();
    void chk_col_NChange();
    void chk_col_TChange();
    // An extension entered on Setup / Files under which a save would lose a source or its
    // backup is refused: the field gets its previous text back and a message says why.
    void ed_extExit(int field);
    void tlb_SRCClick();
    void tlb_SRC_tmpClick();
    // A double-click on a list entry: the Work page at the entry's first line number.
    void Show_Entry_Line(TextListView* pane, int row);
    void Clear_Lists();

    // The browse dialog's filter (Pascal sources first, then all files) and where it opens.
    static QString browseFilter();
    QString browseStartDir() const;

    // Test hooks: what the file dialog answers, and where the general error report goes.
    void setBrowseAnswer(std::function<QString()> answer) { browse_answer_ = std::move(answer); }
    void setGeneralErrorReport(std::function<void(const QString&)> report) {
        general_error_ = std::move(report);
    }

protected:
    void FormShow() override;
    void on_settings_restored() override;
    void on_settings_saved() override;

private:
    void connect_controls();
    void read_options();
    void show_lists();
    void refresh_visible_panes();
    void show_token_lists();
    void update_token_labels();
    void show_messages(const std::vector<EngineMessage>& messages);
    void report_file_error(const FileResult& r);
    void do_save(bool to_source_path, QObject* sender);

    ListingSession session_;
    std::function<QString()> browse_answer_;
    std::function<void(const QString&)> general_error_;
    bool running_ = false;
    QString last_browse_dir_;     // the folder of the last file chosen in the browse dialog
    std::array<QString, 7> ext_accepted_; // the extensions as last accepted
    bool checking_ext_ = false;
    std::array<bool, 4> stale_{}; // panes of Work, Constant, Check, Work-Area behind the lists
};

} // namespace parvex
