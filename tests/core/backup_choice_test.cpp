// What a save keeps of the text it replaces: one backup (the default), every one numbered as GNU
// tools number theirs, numbered where numbered ones exist, or nothing.
#include "engine/cross_reference.h"
#include "engine/listing_run.h"
#include "engine/result_names.h"
#include "platform/source_text.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace parvex;
using parvex::test::TempDir;
namespace fs = std::filesystem;

namespace {

const std::string kOriginal = "procedure p;\nbegin\nend;\n";

// Lists `src` in the given case and saves it beside itself, keeping what `backup` says.
SaveResult list_in_case(const fs::path& src, int output_case, BackupMode backup) {
    TokenTable tokens;
    ListingEngine engine(tokens);
    ListingLists lists;
    FileStamp read_as;
    SourceText text = Load_Source_Text(src.string(), Default_Max_Input_Size, &read_as);
    ListingOptions o;
    o.output_case = output_case;
    EXPECT_EQ(engine.List_Lines(std::move(text.lines), o, lists).status, RunStatus::Done);
    SaveOptions save;
    save.backup = backup;
    return Save_Results(src.string(), src.parent_path().string() + "/", save, lists, text.form,
                        &read_as);
}

std::vector<std::string> backups_in(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.path()))
        if (e.path().filename().string().find("SAVED") != std::string::npos)
            names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(BackupChoice, NamesTheNextBackupAsGnuToolsDo) {
    TempDir dir;
    const std::string simple = dir.dir() + "a.pas-SAVED";
    EXPECT_EQ(Backup_Name(simple, BackupMode::None), "");
    EXPECT_EQ(Backup_Name(simple, BackupMode::Simple), simple);
    EXPECT_EQ(Backup_Name(simple, BackupMode::Numbered), simple + ".~1~");
    EXPECT_EQ(Backup_Name(simple, BackupMode::Existing), simple);
    // Numbers go on from the highest there, gaps and all; names that only look alike do not
    // count (another file's backups, no digits, a missing end).
    for (const char* name : {"a.pas-SAVED.~2~", "a.pas-SAVED.~9~", "b.pas-SAVED.~40~",
                             "a.pas-SAVED.~x~", "a.pas-SAVED.~12", "a.pas-SAVED.~~"})
        dir.write(name, "");
    EXPECT_EQ(Backup_Name(simple, BackupMode::Numbered), simple + ".~10~");
    EXPECT_EQ(Backup_Name(simple, BackupMode::Existing), simple + ".~10~");

    EXPECT_TRUE(Is_Backup_Of(dir.dir() + "a.pas-SAVED.~2~", simple));
    EXPECT_TRUE(Is_Backup_Of(dir.dir() + "./a.pas-SAVED.~77~", simple));
    EXPECT_TRUE(Is_Backup_Of(simple, simple));
    EXPECT_FALSE(Is_Backup_Of(dir.dir() + "a.pas-SAVED.~x~", simple));
    EXPECT_FALSE(Is_Backup_Of(dir.dir() + "sub/a.pas-SAVED.~2~", simple));
}

TEST(BackupChoice, EachModeKeepsWhatItSays) {
    // Three saves that change the text each time (upper, lower, upper case).
    const std::string upper = "PROCEDURE P;\nBEGIN\nEND; { of P }\n";
    const std::string lower = "procedure p;\nbegin\nend; { of p }\n";
    struct Case {
        BackupMode mode;
        std::vector<std::string> names;
        std::vector<std::string> texts;
    } cases[] = {
        {BackupMode::Simple, {"a.pas-SAVED"}, {lower}},
        {BackupMode::Numbered,
         {"a.pas-SAVED.~1~", "a.pas-SAVED.~2~", "a.pas-SAVED.~3~"},
         {kOriginal, upper, lower}},
        {BackupMode::Existing, {"a.pas-SAVED"}, {lower}},
        {BackupMode::None, {}, {}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const fs::path src = dir.write("a.pas", kOriginal);
        for (int output_case : {0, 1, 0})
            ASSERT_TRUE(list_in_case(src, output_case, c.mode).saved);
        EXPECT_EQ(test::read_bytes(src), upper);
        ASSERT_EQ(backups_in(dir), c.names) << static_cast<int>(c.mode);
        for (std::size_t k = 0; k < c.names.size(); ++k)
            EXPECT_EQ(dir.read(c.names[k]), c.texts[k]) << c.names[k];
    }
}

TEST(BackupChoice, ExistingNumbersOnceASeriesIsStartedAndAnUnchangedTextKeepsAll) {
    TempDir dir;
    const fs::path src = dir.write("a.pas", kOriginal);
    ASSERT_TRUE(list_in_case(src, 0, BackupMode::Numbered).saved);
    ASSERT_TRUE(list_in_case(src, 1, BackupMode::Existing).saved);
    EXPECT_EQ(backups_in(dir), (std::vector<std::string>{"a.pas-SAVED.~1~", "a.pas-SAVED.~2~"}));
    // A save that changes nothing adds no backup.
    SaveResult same = list_in_case(src, 1, BackupMode::Numbered);
    EXPECT_TRUE(same.text_unchanged);
    EXPECT_EQ(backups_in(dir).size(), 2u);
    EXPECT_EQ(dir.read("a.pas-SAVED.~1~"), kOriginal);
}

TEST(BackupChoice, WithoutABackupASimpleBackupThatIsTheSourceIsNoHindrance) {
    // A hard link under the backup's name would make a simple save refuse (the backup would be
    // the source); no backup and a numbered one leave that name alone.
    for (BackupMode mode : {BackupMode::None, BackupMode::Numbered}) {
        TempDir dir;
        const fs::path src = dir.write("a.pas", kOriginal);
        fs::create_hard_link(src, dir.path() / "a.pas-SAVED");
        ASSERT_FALSE(list_in_case(src, 0, BackupMode::Simple).saved);
        EXPECT_TRUE(list_in_case(src, 0, mode).saved);
        EXPECT_EQ(dir.read("a.pas-SAVED"), kOriginal); // the link kept the old text
    }
}
