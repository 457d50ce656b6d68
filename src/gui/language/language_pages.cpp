#include "language/language_pages.h"

#include "frame/form_base.h"
#include "frame/frame_caption.h"
#include "frame/ini_file.h"
#include "language/lang_codec.h"
#include "tables/subs.h"
#include "tables/table_format.h"
#include "tables/table_procs.h"
#include "widgets/sgx.h"
#include "widgets/sgx_text.h"
#include "widgets/speed_button.h"

#include <QAbstractItemDelegate>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>

namespace parvex {

namespace {

constexpr int Data_Group_1 = 6; // grid colour "Data-Group 1"
const QString Title = QStringLiteral("Language");

QString to_qt(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string to_bytes(const QString& s) {
    return s.toUtf8().toStdString();
}

// Rows of `grid` whose cell in `col` equals `value` get the colour "Data-Group 1".
void mark_rows(TSGX& grid, int col_marked, std::string_view value) {
    grid.Set_Format_Cell_Handler([col_marked, value = std::string(value)](TSGX& g, int col, int row,
                                                                          Cell_Format& format,
                                                                          unsigned state) {
        Format_Cell(g.Grid(), col, row, format, state);
        if (row >= 1 && row < g.Grid().Row_Count() && g.Grid().Cell(col_marked, row) == value)
            Set_Cell_Color(g.Grid(), col, row, Grid_Color(Data_Group_1), format);
    });
}

} // namespace

QString File_Message(const QString& codes, const std::string& file, const QString& text) {
    const QString name = to_qt(file);
    if (name.contains(QLatin1Char('^')))
        return codes + name + QStringLiteral("\r\n") + text;
    return codes + QStringLiteral("^F:") + name + QStringLiteral("^") + text;
}

Language_Pages::Language_Pages(TFormBase& form) : QObject(&form), form_(form), lang_(&form) {
    setObjectName(QStringLiteral("fb_Language"));
    connect_pages();
    form_.hooks().lang_startup = [this] { fb_Lang_Startup(); };
}

void Language_Pages::connect_pages() {
    connect(form_.fb_btn_create_ORG_Langfile, &SpeedButton::clicked, this,
            [this] { fb_btn_create_ORG_LangfileClick(sender()); });
    connect(form_.fb_btn_L01, &SpeedButton::clicked, this, [this] { fb_btn_useLang(sender()); });
    connect(form_.fb_btn_createLang, &SpeedButton::clicked, this,
            [this] { fb_btn_createLangClick(sender()); });
    // The table is chosen from, not typed into: a double-click does nothing.
    form_.fb_sg_Lang->Set_Editing(false);
    connect(form_.fb_sg_Lang, &TSGX::cellClicked, this,
            [this] { Note_Current_Row(form_.fb_sg_Lang->Grid()); });
    mark_rows(*form_.fb_sg_Lang, 2, "Yes");

    connect(form_.fb_Load_Lang, &SpeedButton::clicked, this,
            [this] { fb_Load_LangClick(sender()); });
    connect(form_.fb_Save_Lang, &SpeedButton::clicked, this,
            [this] { fb_Save_LangClick(sender()); });
    connect(form_.fb_Lang_Replace, &SpeedButton::clicked, this,
            [this] { fb_Lang_ReplaceClick(sender()); });
    connect(form_.fb_Lang_Rep_ALL, &SpeedButton::clicked, this,
            [this] { fb_Lang_Rep_ALLClick(sender()); });
    TSGX* trans = form_.fb_SG_Trans;
    trans->Set_Editing(false);
    connect(trans, &TSGX::cellClicked, this, &Language_Pages::fb_SG_TransClick);
    connect(trans, &TSGX::cellDoubleClicked, this, [this] { fb_SG_TransDblClick(); });
    // Moving away from the edited cell with the keyboard drops the edit as a click would, so
    // only the pending Text cell can ever be typed into.
    connect(trans->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, trans](const QModelIndex& current) {
                const int pending = editor_.Pending_Row(trans->Grid());
                if (pending == 0 || !current.isValid())
                    return;
                const int row = current.row() + 1;
                if (current.column() != trans_col::Text || row != pending)
                    fb_SG_TransClick(current.column(), row);
            });
    mark_rows(*trans, trans_col::Org, "True");
}

// ---------------------------------------------------------------------------------------------
// Files and names

std::string Language_Pages::lang_dir() const {
    return GUI_Lang_Dir(form_.program_dir());
}

std::string Language_Pages::Lang_File_Path(const QString& language) const {
    return parvex::Lang_File_Path(lang_dir(), to_bytes(language));
}

std::string Language_Pages::builtin_file() const {
    return parvex::Lang_File_Path(lang_dir(), Builtin_Lang_Name);
}

QString Language_Pages::current_language() const {
    return form_.fb_labX_cLang->text();
}

QString Language_Pages::selected_language() const {
    const Table_Grid& g = form_.fb_sg_Lang->Grid();
    if (In_Header_Row(g) || g.Current_Row() >= g.Row_Count())
        return {};
    return Bytes_To_Text(g.Cell(0, g.Current_Row()));
}

bool Language_Pages::language_name_ok(const QString& language, bool tell) {
    if (Lang_Name_Ok(to_bytes(language)))
        return true;
    if (tell)
        form_.facade().M_Error(Title, QStringLiteral("^C:The Language-Name \"") + language +
                                          QStringLiteral("\"\r\ncannot name a Language-File !"));
    return false;
}

void Language_Pages::apply_file(const std::string& file) {
    if (FileResult r = lang_.LoadLanguage(file); !r)
        form_.facade().M_Error(Title, QStringLiteral("^C:") + to_qt(r.error));
}

// ---------------------------------------------------------------------------------------------
// Start-up and "basic setting"

FileResult Language_Pages::write_builtin_file(const std::string& file) {
    if (FileResult r = lang_.Write_Language_File(file); !r)
        return r;
    // The settings may name another file for this window; by default it is the one just made.
    const std::string window = to_bytes(form_.objectName());
    IniFile settings;
    const bool readable = static_cast<bool>(IniFile::load(form_.settings_file(), settings));
    const std::string named = settings.read("Language", window, file);
    if (File_Exists(named)) {
        apply_file(named);
        if (readable && settings.value("Language", window) != named &&
            settings.set("Language", window, named))
            (void)settings.save(form_.settings_file()); // the frame reports its file at close
    }
    return FileResult::success();
}

void Language_Pages::fb_Lang_Startup() {
    // A current language read from a damaged settings file must not name a file elsewhere.
    if (current_language() != to_qt(No_Language) && !language_name_ok(current_language(), false))
        form_.fb_labX_cLang->setText(to_qt(No_Language));
    ++startup_depth_;
    const std::string builtin = builtin_file();
    Table_Grid& table = form_.fb_sg_Lang->Grid();

    // 1.-3. The built-in file belongs to this program version.
    const std::string version = INI_Get_Version(builtin, Version_Section, "Version");
    if (version != Program_Version || current_language() == to_qt(No_Language))
        (void)Delete_File(builtin);
    if (!File_Exists(builtin))
        fb_btn_create_ORG_LangfileClick(nullptr);

    // 4.-5. The reference language is created and chosen on a first start. Without the built-in
    // file nothing can be created from it: its failure was just told.
    if (File_Exists(builtin)) {
        // A reference row under another name never gives "US_English.Lng": it is made once.
        if (!File_Exists(parvex::Lang_File_Path(lang_dir(), "US English")) && startup_depth_ == 1 &&
            Find_Row(table, 1, Reference_Lang_Code))
            fb_btn_createLangClick(nullptr);
        if (current_language() == to_qt(No_Language) && Find_Row(table, 1, Reference_Lang_Code))
            fb_btn_useLang(nullptr);
    }

    // 6. Which files exist.
    for (int r = 1; r < table.Row_Count(); ++r) {
        const std::string& name = table.Cell(0, r);
        if (name.empty() && Row_Is_Empty(table, r, table.Col_Count(), -1))
            continue;
        const bool exists =
            Lang_Name_Ok(name) && File_Exists(parvex::Lang_File_Path(lang_dir(), name));
        table.Set_Cell(2, r, exists ? "Yes" : "No");
    }
    table.Repaint();

    // 7. The current language is shown.
    if (language_name_ok(current_language(), false)) {
        const std::string file = Lang_File_Path(current_language());
        if (File_Exists(file))
            apply_file(file);
    }
    --startup_depth_;
}

void Language_Pages::fb_btn_create_ORG_LangfileClick(QObject* sender) {
    MessageFacade& f = form_.facade();
    f.Reset_Btn_Status(sender);
    const std::string file = builtin_file();
    f.Mess(Title,
           File_Message(QStringLiteral("^C:"), file,
                        QStringLiteral("RE-Create the\r\nOriginal-Languagefile")),
           0);
    FileResult r = write_builtin_file(file);
    if (r)
        r = INI_Set_Version(file, Version_Section, Program_Version);
    f.Mess(QString(), QString(), 0);
    if (!r) {
        f.M_Error(Title, File_Message(QStringLiteral("^C:"), file,
                                      QStringLiteral("The Original-Languagefile\r\ncould not be "
                                                     "created !\r\n")) +
                             to_qt(r.error));
        return;
    }
    // The walk showed the built-in texts; the chosen language comes back (not while starting:
    // the start-up applies it as its last step).
    if (startup_depth_ == 0 && current_language() != to_qt(No_Language) &&
        language_name_ok(current_language(), false)) {
        const std::string current = Lang_File_Path(current_language());
        if (File_Exists(current))
            apply_file(current);
    }
}

void Language_Pages::fb_btn_useLang(QObject* sender) {
    MessageFacade& f = form_.facade();
    f.Reset_Btn_Status(sender);
    const QString language = selected_language();
    if (In_Header_Row(form_.fb_sg_Lang->Grid()) || !language_name_ok(language, true))
        return;
    const std::string file = Lang_File_Path(language);
    if (!File_Exists(file)) {
        f.M_Error(Title, File_Message(QStringLiteral("^C:"), file,
                                      QStringLiteral("Language-File\r\ndoes not exist !")));
        return;
    }
    if (FileResult r = lang_.LoadLanguage(file); !r) {
        f.M_Error(Title, QStringLiteral("^C:") + to_qt(r.error));
        return;
    }
    form_.fb_labX_cLang->setText(language);
    // On a first start the program chose the language itself: the log says so, no message
    // holds up the start.
    const QString note =
        File_Message(QStringLiteral("^C:"), file, QStringLiteral("is the current Languagefile !"));
    if (startup_depth_ > 0 && !sender)
        f.Log_Only(Title, note);
    else
        f.M_Mess(Title, note);
}

void Language_Pages::fb_btn_createLangClick(QObject* sender) {
    MessageFacade& f = form_.facade();
    f.Reset_Btn_Status(sender);
    const QString language = selected_language();
    if (In_Header_Row(form_.fb_sg_Lang->Grid()) || !language_name_ok(language, true))
        return;
    const std::string file = Lang_File_Path(language);
    if (File_Exists(file) &&
        !f.Warning(QStringLiteral("Language-File"),
                   File_Message(QString(), file,
                                QStringLiteral("This Language-File already exists !\r\nDo you "
                                               "want to overwrite this File ?"))))
        return;
    if (FileResult r = Copy_Lang_File(builtin_file(), file); !r) {
        f.M_Error(Title, File_Message(QStringLiteral("^C:"), file,
                                      QStringLiteral("Languagefile could not be created !\r\n")) +
                             to_qt(r.error));
        return;
    }
    const QString note =
        File_Message(QStringLiteral("^C:"), file, QStringLiteral("Languagefile created !"));
    if (startup_depth_ > 0 && !sender)
        f.Log_Only(Title, note);
    else
        f.M_Mess(Title, note);
    fb_Lang_Startup();
}

// ---------------------------------------------------------------------------------------------
// "Translate"

void Language_Pages::show_editor_labels() {
    form_.fb_lab_62->setText(to_qt(editor_.Builtin_Version()));
    form_.fb_lab_64->setText(to_qt(editor_.Saved_Version()) + QStringLiteral(" ") +
                             loaded_language_);
    form_.fb_lab_SRC->setText(Bytes_To_Text(editor_.Source_Text()));
}

void Language_Pages::fb_Load_LangClick(QObject* sender) {
    MessageFacade& f = form_.facade();
    f.Reset_Btn_Status(sender);
    TSGX* grid = form_.fb_SG_Trans;
    grid->Set_Editing(false);
    grid->hide();
    const QString language = current_language();
    TextList current, builtin;
    FileResult r = FileResult::success();
    if (language_name_ok(language, false))
        r = Load_Lang_Lines(Lang_File_Path(language), current);
    if (r)
        r = Load_Lang_Lines(parvex::Lang_File_Path(lang_dir(), "language"), builtin);
    editor_.Load(grid->Grid(), current, builtin);
    loaded_language_ = language;
    show_editor_labels();
    grid->show();
    f.Mess(QString(), QString(), 0);
    if (!r)
        f.M_Error(Title, QStringLiteral("^C:") + to_qt(r.error));
}

void Language_Pages::fb_Save_LangClick(QObject* sender) {
    MessageFacade& f = form_.facade();
    f.Reset_Btn_Status(sender);
    const QString language = current_language();
    if (language == to_qt(No_Language) || !language_name_ok(language, false)) {
        f.M_Error(Title, QStringLiteral("^C:No current Language is chosen:\r\nnothing to save !"));
        return;
    }
    // Writing the table of one language into another's file would lose that file.
    if (!editor_.Loaded() || loaded_language_ != language) {
        f.M_Error(Title, QStringLiteral("^C:Please use \"Load Language\" first !"));
        return;
    }
    TSGX* grid = form_.fb_SG_Trans;
    grid->Set_Editing(false);
    const std::string file = Lang_File_Path(language);
    const TextList lines = editor_.Save_Lines(grid->Grid());
    form_.fb_lab_SRC->clear();
    if (FileResult r = Save_Lang_Lines(file, lines); !r) {
        f.M_Error(Title, File_Message(QStringLiteral("^C:"), file,
                                      QStringLiteral("Language-File\r\ncould not be saved !\r\n")) +
                             to_qt(r.error));
        return;
    }
    apply_file(file);
}

namespace {

// An in-place edit still open in the grid is taken into its cell before a button acts (the
// buttons take no focus, so the editor would not close by itself).
void commit_open_editor(TSGX* grid) {
    if (!grid->Editor_Open())
        return;
    QAbstractItemDelegate* delegate = grid->itemDelegate();
    for (QLineEdit* editor :
         grid->viewport()->findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
        emit delegate->commitData(editor);
        emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

} // namespace

void Language_Pages::fb_Lang_ReplaceClick(QObject* sender) {
    form_.facade().Reset_Btn_Status(sender);
    commit_open_editor(form_.fb_SG_Trans);
    editor_.Replace(form_.fb_SG_Trans->Grid());
    form_.fb_SG_Trans->Set_Editing(false);
}

void Language_Pages::fb_Lang_Rep_ALLClick(QObject* sender) {
    form_.facade().Reset_Btn_Status(sender);
    commit_open_editor(form_.fb_SG_Trans);
    editor_.Replace_All(form_.fb_SG_Trans->Grid());
    form_.fb_SG_Trans->Set_Editing(false);
}

void Language_Pages::fb_SG_TransClick(int col, int row) {
    TSGX* grid = form_.fb_SG_Trans;
    const bool editing = editor_.Click(grid->Grid(), col, row);
    form_.fb_lab_SRC->setText(Bytes_To_Text(editor_.Source_Text()));
    grid->Set_Editing(editing);
}

void Language_Pages::fb_SG_TransDblClick() {
    Toggle_Logical(form_.fb_SG_Trans->Grid());
    form_.fb_SG_Trans->Grid().Repaint();
}

} // namespace parvex
