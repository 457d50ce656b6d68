// Alt + the underlined letter presses its button in every shipped language, also after switching
// languages back and forth, no two buttons shown together share a letter, and Alt + a letter
// never types into a field.
#include "all_pages.h"
#include "language/language_pages.h"
#include "png_dump.h"
#include "tables/table_procs.h"
#include "temp_dir.h"
#include "widgets/sgx.h"
#include "widgets/speed_button.h"
#include "window/form1.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using namespace parvex;
using parvex::test::TempDir;
namespace fs = std::filesystem;

namespace {

struct Program {
    TDlgs dialog;
    TForm1 form;
    explicit Program(const TempDir& prog) : form(prog.dir(), &dialog) {
        dialog.setMainWindow(&form);
        new Language_Pages(form);
        dialog.setModalHook([](TDlgs& d) {
            (d.xdlg_btn_break_OK->isVisible() ? d.xdlg_btn_break_OK : d.xdlg_btn_OK)->click();
        });
        form.show();
        QApplication::processEvents();
    }
    ~Program() {
        form.close();
        dialog.setModalHook({});
    }
    void use_language(const std::string& language) {
        Table_Grid& g = form.fb_sg_Lang->Grid();
        ASSERT_TRUE(Find_Row(g, 0, language)) << language;
        form.fb_btn_L01->click();
        ASSERT_EQ(form.fb_labX_cLang->text().toStdString(), language);
    }
};

// The shipped languages: the program's own and every language file that comes with it.
std::vector<std::string> shipped_languages() {
    std::vector<std::string> names{"US English"};
    for (const auto& e : fs::directory_iterator(fs::path(PARVEX_DATA_DIR) / "GUI/Lang"))
        if (e.path().extension() == ".Lng")
            names.push_back(e.path().stem().string());
    return names;
}

// The Alt + letter a button answers to, 0 for none.
char alt_letter(const QAbstractButton* b) {
    const QKeySequence k = b->shortcut();
    if (k.isEmpty() || k[0].keyboardModifiers() != Qt::AltModifier)
        return 0;
    return static_cast<char>(k[0].key());
}

} // namespace

TEST(LanguageMnemonics, EveryUnderlinedLetterPressesItsButtonInEveryLanguage) {
    TempDir prog;
    for (const char* f : {"GUI/Data/Sounds.dat", "GUI/Data/SpS.dat", "GUI/Data/Language.dat",
                          "GUI/Lang/German.Lng"})
        prog.write(f, test::read_bytes(fs::path(PARVEX_DATA_DIR) / f));
    Program p(prog);
    TForm1& f = p.form;
    // English, each other language, and English again: a switch back must bring every key back.
    std::vector<std::string> order = shipped_languages();
    order.push_back("US English");
    for (const std::string& language : order) {
        SCOPED_TRACE(language);
        p.use_language(language);
        std::vector<SpeedButton*> with_letter;
        for (SpeedButton* b : f.findChildren<SpeedButton*>())
            if (!b->preferredMnemonic().isNull())
                with_letter.push_back(b);
        ASSERT_GE(with_letter.size(), 7u);

        // On every page: the buttons in sight have distinct keys, each key's letter is in its
        // caption (and so drawn underlined).
        for (QWidget* page : test::all_pages(&f)) {
            f.Show_Page(page);
            std::map<char, QString> seen;
            for (QAbstractButton* b : f.findChildren<QAbstractButton*>()) {
                const char letter = alt_letter(b);
                if (!letter || !b->isVisibleTo(&f))
                    continue;
                const QString name = b->objectName();
                EXPECT_FALSE(seen.count(letter))
                    << "Alt+" << letter << " on " << page->objectName().toStdString() << ": "
                    << name.toStdString() << " and " << seen[letter].toStdString();
                seen[letter] = name;
            }
        }
        for (SpeedButton* b : with_letter) {
            const QString name = b->objectName();
            SCOPED_TRACE(name.toStdString());
            const char letter = alt_letter(b);
            ASSERT_NE(letter, 0) << b->text().toStdString() << " has no Alt key";
            EXPECT_EQ(b->mnemonic(), QChar::fromLatin1(letter));
            EXPECT_TRUE(b->mnemonicText().contains(QLatin1Char('&') + QChar::fromLatin1(letter),
                                                   Qt::CaseInsensitive))
                << b->mnemonicText().toStdString();
            // Pressed with the focus in the file-name field, as a user types it; the button's
            // own action is held back.
            for (QWidget* w = b->parentWidget(); w; w = w->parentWidget())
                f.Show_Page(w);
            QApplication::processEvents();
            ASSERT_TRUE(b->isVisible());
            QWidget* focus = f.ui.fne_SRC->isVisible() ? static_cast<QWidget*>(f.ui.fne_SRC)
                                                       : static_cast<QWidget*>(&f);
            // A message just closed may have taken the activation along.
            f.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
            focus->setFocus();
            const QString typed = f.ui.fne_SRC->text();
            b->blockSignals(true);
            QTest::keyClick(focus, static_cast<Qt::Key>(letter), Qt::AltModifier);
            EXPECT_TRUE(b->isDown()) << "Alt+" << letter << " did not press it";
            QTest::qWait(150); // the pressed look ends
            b->blockSignals(false);
            EXPECT_EQ(f.ui.fne_SRC->text(), typed);
        }
    }
    // A letter no button takes is not typed into the field either.
    f.Show_Page(f.ui.pcw_Work);
    f.ui.fne_SRC->setFocus();
    f.ui.fne_SRC->setText(QStringLiteral("/src/small.pas"));
    QTest::keyClick(f.ui.fne_SRC, Qt::Key_J, Qt::AltModifier);
    QTest::keyClick(f.ui.fne_SRC, Qt::Key_J);
    EXPECT_EQ(f.ui.fne_SRC->text(), QStringLiteral("/src/small.pasj"));
}
