#include "platform/color_convert.h"
#include "platform/color_edit.h"
#include "platform/open_document.h"

#include "png_dump.h"
#include "temp_dir.h"

#include <QColorDialog>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace parvex;

namespace {

struct Opener_Recorder {
    std::vector<QUrl> urls;
    Opener_Recorder() {
        Set_Document_Opener([this](const QUrl& u) {
            urls.push_back(u);
            return true;
        });
    }
    ~Opener_Recorder() { Set_Document_Opener({}); }
};

} // namespace

TEST(OpenDocument, HandsOnlySafeTargetsToTheSystem) {
    Opener_Recorder rec;
    test::TempDir dir;
    dir.write("index.htm", "<html></html>");
    const QString page = QString::fromStdString(dir.dir() + "index.htm");

    EXPECT_TRUE(Open_Document(""));
    EXPECT_TRUE(rec.urls.empty());
    EXPECT_TRUE(Open_Document("https://example.org/news.dat"));
    EXPECT_TRUE(Open_Document("mailto:someone@example.org"));
    EXPECT_TRUE(Open_Document(page));
    ASSERT_EQ(rec.urls.size(), 3u);
    EXPECT_EQ(rec.urls[0].scheme(), "https");
    EXPECT_EQ(rec.urls[1].scheme(), "mailto");
    EXPECT_EQ(rec.urls[2], QUrl::fromLocalFile(page));

    for (const QString& bad : {QString("xterm -e rm -rf ~"), QString("javascript:alert(1)"),
                               QString("ftp://example.org/a"), QString("/no/such/file.htm")}) {
        Open_Result r = Open_Document(bad);
        EXPECT_FALSE(r) << bad.toStdString();
        EXPECT_TRUE(r.error.contains(bad)) << r.error.toStdString();
    }
    EXPECT_EQ(rec.urls.size(), 3u);
}

TEST(OpenDocument, ASystemFailureIsReported) {
    Set_Document_Opener([](const QUrl&) { return false; });
    Open_Result r = Open_Document("http://example.org/");
    Set_Document_Opener({});
    EXPECT_FALSE(r);
    EXPECT_FALSE(r.error.isEmpty());
}

TEST(ColorEdit, SetEditColorNormalisesTheNameAndContrasts) {
    QLineEdit edit;
    struct Case {
        const char* text;
        const char* name;
        QColor background;
        QColor font;
    } cases[] = {
        {"clred", "clRed", QColor(255, 0, 0), QColor(0, 255, 255)},
        {"$00FFECEC", "$00FFECEC", QColor(0xEC, 0xEC, 0xFF), QColor(0, 0, 0)},
        {"$00c0c0c0", "clSilver", QColor(0xC0, 0xC0, 0xC0), QColor(0, 0, 0)},
        {"255", "clRed", QColor(255, 0, 0), QColor(0, 255, 255)},
        {"clNavy", "clNavy", QColor(0, 0, 128), QColor(255, 255, 0)},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Set_Edit_Color(edit, c.text)) << c.text;
        EXPECT_EQ(edit.text(), c.name);
        EXPECT_EQ(edit.palette().color(QPalette::Base), c.background) << c.text;
        EXPECT_EQ(edit.palette().color(QPalette::Text), c.font) << c.text;
    }
    EXPECT_FALSE(Set_Edit_Color(edit, "not a colour"));
    EXPECT_EQ(edit.text(), "clNavy");
    EXPECT_EQ(Edit_Color(edit), 0x00800000u);
    ASSERT_TRUE(Set_Edit_Color(edit, "clBtnFace"));
    EXPECT_EQ(Edit_Color(edit), 0x8000000Fu);
    EXPECT_EQ(edit.palette().color(QPalette::Base), To_QColor(0x8000000F));
}

TEST(ColorEdit, PickEditColorTakesTheChosenColourOrKeepsTheOldOne) {
    QLineEdit edit;
    ASSERT_TRUE(Set_Edit_Color(edit, "clBtnFace"));
    QColorDialog dialog;
    QTimer::singleShot(0, &dialog, [&] { dialog.reject(); });
    Pick_Edit_Color(edit, dialog);
    EXPECT_EQ(edit.text(), "clBtnFace");

    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_EQ(dialog.currentColor(), To_QColor(0x8000000F));
        dialog.setCurrentColor(QColor(255, 128, 0));
        dialog.accept();
    });
    Pick_Edit_Color(edit, dialog);
    EXPECT_EQ(edit.text(), "$000080FF");
    EXPECT_EQ(Edit_Color(edit), 0x000080FFu);

    QTimer::singleShot(0, &dialog, [&] {
        dialog.setCurrentColor(QColor(0, 0, 255));
        dialog.accept();
    });
    EXPECT_EQ(Choose_Color(0x000000FF, dialog), 0x00FF0000u);
}

TEST(ColorEdit, PictureOfColourEdits) {
    QWidget page;
    auto* layout = new QVBoxLayout(&page);
    for (const char* name : {"clSilver", "$00FFECEC", "clWhite", "$003375FF", "clYellow", "clBlue",
                             "clAqua", "$00000040", "$00FFFF80", "clWindowText"}) {
        auto* edit = new QLineEdit(&page);
        ASSERT_TRUE(Set_Edit_Color(*edit, name));
        layout->addWidget(edit);
    }
    page.resize(220, 320);
    test::save_png(page, "colour_edits");
}
