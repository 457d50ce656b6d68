// The language walk over a small window: which components and properties are written, and how
// LoadLanguage applies a file to them.
#include "language/lang_component.h"
#include "language/lang_properties.h"

#include "frame/directory_edit.h"
#include "language/lang_codec.h"
#include "temp_dir.h"
#include "widgets/gradient_panel.h"
#include "widgets/speed_button.h"
#include "window/form1.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <set>

using namespace parvex;
using parvex::test::TempDir;

namespace {

template <typename T> T* named(T* w, const char* name, QWidget* parent) {
    w->setObjectName(name);
    w->setParent(parent);
    return w;
}

// A window with one of each kind the walk meets.
struct Window {
    QWidget form;
    QLabel* lab_A;
    SpeedButton* btn_Go;
    QCheckBox* chk_On;
    QGroupBox* GB_1;
    QTabWidget* PC;
    QWidget* pc_Page;
    QLineEdit* ed_Name;
    QComboBox* cb_Pick;
    QSpinBox* se_N; // owns a "qt_spinbox_lineedit"
    DirectoryEdit* DE_Dir;
    GradientPanel* GP1;
    QLabel* lab_Sep;
    QLabel* lab_Kept;
    QLabel* lab_EX_Title;

    Window() {
        form.setObjectName("Form1");
        lab_A = named(new QLabel("Sound File"), "lab_A", &form);
        lab_A->setToolTip("first line\r\nsecond line");
        btn_Go = named(new SpeedButton("Go on"), "btn_Go", &form);
        chk_On = named(new QCheckBox("use it"), "chk_On", &form);
        GB_1 = named(new QGroupBox("[ Group ]"), "GB_1", &form);
        PC = named(new QTabWidget, "PC", &form);
        pc_Page = new QWidget;
        pc_Page->setObjectName("pc_Page");
        PC->addTab(pc_Page, "Page one");
        ed_Name = named(new QLineEdit("typed by the user"), "ed_Name", &form);
        cb_Pick = named(new QComboBox, "cb_Pick", &form);
        cb_Pick->addItem("an item");
        cb_Pick->setEditable(true);
        se_N = named(new QSpinBox, "se_N", &form);
        DE_Dir = named(new DirectoryEdit, "DE_Dir", &form);
        DE_Dir->setDialogTitle("Pick a folder");
        GP1 = named(new GradientPanel, "GP1", &form);
        GP1->setToolTip("panel hint");
        lab_Sep = named(new QLabel("-"), "lab_Sep", &form);
        lab_Kept = named(new QLabel("01.01.1980"), "lab_Kept", &form);
        lab_Kept->setProperty("tag", 32772);
        lab_EX_Title = named(new QLabel("Title"), "lab_EX_Title", &form);
    }
};

std::vector<std::string> keys_and_values(const std::vector<Lang_Entry>& entries) {
    std::vector<std::string> out;
    for (const Lang_Entry& e : entries)
        out.push_back(e.key + "=" + e.value);
    return out;
}

} // namespace

TEST(LanguageWalk, WritesCaptionsHintsAndDialogTitlesOnly) {
    Window w;
    TjanLanguage lang(&w.form);
    const std::vector<std::string> expected = {
        "Form1.lab_A.Caption=Sound_File",
        "Form1.lab_A.Hint=first_line~~second_line",
        "Form1.btn_Go.Caption=Go_on",
        "Form1.chk_On.Caption=use_it",
        "Form1.GB_1.Caption=[_Group_]",
        "Form1.pc_Page.Caption=Page_one",
        "Form1.DE_Dir.DialogTitle=Pick_a_folder",
        "Form1.DE_Dir_Browse.Hint=Browse_...", // the folder field's own button
    };
    EXPECT_EQ(keys_and_values(lang.Walk_Entries()), expected);
}

TEST(LanguageWalk, WritesTheBuiltInTextsAfterAnotherLanguageWasApplied) {
    TempDir dir;
    Window w;
    TjanLanguage lang(&w.form);
    dir.write("German.Lng", "[Translations]\r\nForm1.btn_Go.Caption=Weiter\r\n");
    ASSERT_TRUE(lang.LoadLanguage(dir.dir() + "German.Lng"));
    ASSERT_EQ(w.btn_Go->text(), "Weiter");
    ASSERT_TRUE(lang.Write_Language_File(dir.dir() + "Language.Lng"));
    EXPECT_NE(dir.read("Language.Lng").find("Form1.btn_Go.Caption=Go_on\r\n"), std::string::npos);
}

TEST(LanguageWalk, LoadLanguageSetsTextsAndSkipsWhatItMayNotTouch) {
    TempDir dir;
    Window w;
    TjanLanguage lang(&w.form);
    dir.write("Test.Lng", "; comment\r\n"
                          "[Version-INFO]\r\n"
                          "Form1.lab_A.Caption=outside_the_section\r\n"
                          "[Translations]\r\n"
                          "Form1.lab_A.Caption=Klang-Datei\r\n"
                          "Form1.lab_A.Hint=erste~~zweite\r\n"
                          "form1.btn_Go.Caption=other_window_spelling\r\n"
                          "Form2.chk_On.Caption=other_window\r\n"
                          "Form1.CHK_ON.caption=benutzen\r\n"
                          "Form1.pc_Page.Caption=Seite_eins\r\n"
                          "Form1.ed_Name.Caption=not_a_caption\r\n"
                          "Form1.ed_Name.Text=never\r\n"
                          "Form1.cb_Pick.Hint=Auswahl\r\n"
                          "Form1.lab_Kept.Caption=changed\r\n"
                          "Form1.lab_EX_Title.Caption=changed\r\n"
                          "Form1.nobody.Caption=x\r\n"
                          "Form1.DE_Dir.DialogTitle=Ordner_w\xE4hlen\r\n"
                          "Form1.GB_1.Caption=[_Gruppe_]\r\n");
    ASSERT_TRUE(lang.LoadLanguage(dir.dir() + "Test.Lng"));
    EXPECT_EQ(w.lab_A->text(), "Klang-Datei");
    EXPECT_EQ(w.lab_A->toolTip(), "erste\nzweite");
    EXPECT_EQ(w.btn_Go->text(), "Go on");
    EXPECT_EQ(w.chk_On->text(), "benutzen");
    EXPECT_EQ(w.PC->tabText(0), "Seite eins");
    EXPECT_EQ(w.ed_Name->text(), "typed by the user");
    EXPECT_EQ(w.cb_Pick->currentText(), "an item");
    EXPECT_EQ(w.cb_Pick->toolTip(), "Auswahl");
    EXPECT_EQ(w.lab_Kept->text(), "01.01.1980");
    EXPECT_EQ(w.lab_EX_Title->text(), "Title");
    EXPECT_EQ(w.DE_Dir->dialogTitle(), QString::fromUtf8("Ordner wählen")); // Windows-1252 file
    EXPECT_EQ(w.GB_1->title(), "[ Gruppe ]");
    // A missing file applies nothing.
    EXPECT_TRUE(lang.LoadLanguage(dir.dir() + "None.Lng"));
    EXPECT_EQ(w.lab_A->text(), "Klang-Datei");
}

TEST(LanguageWalk, TextsFromALanguageFileAreShownLiterally) {
    Window w;
    w.lab_A->setTextFormat(Qt::AutoText);
    ASSERT_TRUE(Write_Lang_Property(w.lab_A, "Caption", "<b>bold</b><img src='x'>"));
    EXPECT_EQ(w.lab_A->textFormat(), Qt::PlainText);
    ASSERT_TRUE(Write_Lang_Property(w.lab_A, "Hint", "<b>x</b>"));
    EXPECT_TRUE(w.lab_A->toolTip().contains("&lt;b&gt;x&lt;/b&gt;"));
    ASSERT_TRUE(Write_Lang_Property(w.lab_A, "Hint", "plain a < b"));
    EXPECT_EQ(w.lab_A->toolTip(), "plain a < b");
    EXPECT_FALSE(Write_Lang_Property(w.ed_Name, "Caption", "x"));
    EXPECT_FALSE(Write_Lang_Property(w.ed_Name, "DialogTitle", "x"));
}

TEST(LanguageWalk, FileDialogTitleAndFilterByProperty) {
    QLineEdit fne;
    fne.setProperty("dialogTitle", QStringLiteral("Browse for Sound-File"));
    fne.setProperty("filter", QStringLiteral("WAV (*.wav)|*.wav"));
    EXPECT_EQ(Read_Lang_Property(&fne, "DialogTitle"), QString("Browse for Sound-File"));
    EXPECT_EQ(Read_Lang_Property(&fne, "DialogText"), QString("WAV (*.wav)|*.wav"));
    ASSERT_TRUE(Write_Lang_Property(&fne, "DialogText", "WAV-Dateien (*.wav)|*.wav"));
    EXPECT_EQ(fne.property("filter").toString(), "WAV-Dateien (*.wav)|*.wav");
    EXPECT_EQ(Read_Lang_Property(&fne, "Caption"), std::nullopt);
}

TEST(LanguageWalk, EveryTextTheWindowShowsReachesTheLanguageFile) {
    test::TempDir prog;
    TDlgs dialog;
    TForm1 form(prog.dir(), &dialog);
    TjanLanguage lang(&form);
    std::set<std::string> keys;
    for (const Lang_Entry& e : lang.Walk_Entries())
        keys.insert(e.key);
    int checked = 0;
    for (QObject* o : form.findChildren<QObject*>()) {
        const QString name = o->objectName();
        // Qt's own parts and the colour chooser (a window of Qt's) are Qt's to translate.
        bool qt_part = false;
        // A field's named action (a folder field's browse button) is ours; other actions'
        // tips are their buttons'.
        const bool field_action =
            qobject_cast<QAction*>(o) && qobject_cast<QLineEdit*>(o->parent()) && !name.isEmpty();
        if (name.startsWith("qt_") || name.startsWith("_q_") ||
            (qobject_cast<QAction*>(o) && !field_action))
            qt_part = true; // Qt's own parts
        if (qobject_cast<QLineEdit*>(o->parent()) && !name.startsWith("fb_") && name.isEmpty())
            qt_part = true; // the button a field makes for its action
        for (QObject* a = o; a && a != &form; a = a->parent())
            if (a->isWidgetType() && static_cast<QWidget*>(a)->isWindow())
                qt_part = true;
        if (qt_part || (Component_Tag(o) & Lang_Protect_Tag))
            continue;
        std::vector<std::pair<const char*, QString>> shown;
        if (auto* w = qobject_cast<QWidget*>(o))
            shown.emplace_back("Hint", w->toolTip());
        if (field_action)
            shown.emplace_back("Hint", static_cast<QAction*>(o)->toolTip());
        if (auto* e = qobject_cast<QLineEdit*>(o))
            shown.emplace_back("TextHint", e->placeholderText());
        if (auto* e = qobject_cast<QPlainTextEdit*>(o))
            shown.emplace_back("TextHint", e->placeholderText());
        shown.emplace_back("DialogTitle", o->property("dialogTitle").toString());
        if (auto* d = qobject_cast<DirectoryEdit*>(o))
            shown.back().second = d->dialogTitle();
        for (const auto& [property, text] : shown) {
            if (text.isEmpty())
                continue;
            ++checked;
            EXPECT_FALSE(name.isEmpty()) << "\"" << text.toStdString() << "\" of a "
                                         << o->metaObject()->className() << " without a name";
            const std::string key = "Form1." + name.toStdString() + "." + property;
            EXPECT_TRUE(keys.count(key)) << key << " (\"" << text.toStdString() << "\")";
        }
    }
    EXPECT_GT(checked, 10);
    for (const char* key :
         {"Form1.fne_SRC.TextHint", "Form1.fb_fne_Sounds.TextHint", "Form1.fb_DE_GData_Browse.Hint",
          "Form1.fb_fne_Sounds.DialogTitle", "Form1.fne_SRC.DialogTitle"})
        EXPECT_TRUE(keys.count(key)) << key;
}
