#pragma once
// The language of the main window: the start-up check that creates and applies the language
// files, the page "basic setting" with the language table and its three buttons, and the page
// "Translate", the translation editor. Made once for the window, right after the window's own
// controls exist, so the texts it takes as the built-in ones are those the window was built with.

#include "language/lang_component.h"
#include "language/trans_editor.h"

#include <QObject>
#include <QString>

#include <string>

namespace parvex {

class TFormBase;

class Language_Pages : public QObject {
    Q_OBJECT
public:
    explicit Language_Pages(TFormBase& form);

    // ---- Part of the start-up (the frame's lang_startup hook) ----
    void fb_Lang_Startup();

    // ---- "basic setting" ----
    void fb_btn_create_ORG_LangfileClick(QObject* sender);
    void fb_btn_useLang(QObject* sender);
    void fb_btn_createLangClick(QObject* sender);

    // ---- "Translate" ----
    void fb_Load_LangClick(QObject* sender);
    void fb_Save_LangClick(QObject* sender);
    void fb_Lang_ReplaceClick(QObject* sender);
    void fb_Lang_Rep_ALLClick(QObject* sender);
    void fb_SG_TransClick(int col, int row);
    void fb_SG_TransDblClick();

    // ---- files and names ----
    std::string lang_dir() const;
    std::string Lang_File_Path(const QString& language) const;
    std::string builtin_file() const; // "Language.Lng"
    QString current_language() const;

    TjanLanguage& language() { return lang_; }
    Trans_Editor& editor() { return editor_; }

private:
    void connect_pages();
    // Writes the built-in language file by the walk, then applies the file the settings name
    // for this window (the file just written, unless the user named another).
    [[nodiscard]] FileResult write_builtin_file(const std::string& file);
    // Applies a language file; a file that exists but cannot be read is reported.
    void apply_file(const std::string& file);
    // The language of the selected row of the language table, "" for the header row.
    QString selected_language() const;
    bool language_name_ok(const QString& language, bool tell);
    void show_editor_labels();

    TFormBase& form_;
    TjanLanguage lang_;
    Trans_Editor editor_;
    QString loaded_language_; // the language the translation table was loaded from
    int startup_depth_ = 0;
};

// A message text with a file name in the dialog's file strip: codes + "^F:" + file + "^" + text.
// A name holding "^" would end the strip early; it is put in front of the text instead.
QString File_Message(const QString& codes, const std::string& file, const QString& text);

} // namespace parvex
