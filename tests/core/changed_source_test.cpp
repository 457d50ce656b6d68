// A source changed after it was read is never overwritten: the stamp taken at the read tells a
// change by identity, size and times, and by the bytes where the times cannot tell.
#include "engine/cross_reference.h"
#include "engine/listing_run.h"
#include "platform/file_stamp.h"
#include "platform/source_text.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace parvex;
using parvex::test::TempDir;
namespace fs = std::filesystem;

namespace {

const std::string kText = "procedure p;\nbegin\n  x := 1;\nend;\n";

std::vector<std::string> names_in(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The stamp of the file as a read now takes it (with its bytes, as it was just written).
FileStamp stamp_now(const fs::path& file) {
    FileStamp stamp = Take_File_Stamp(file.string());
    Keep_Racy_Bytes(stamp, test::read_bytes(file));
    return stamp;
}

} // namespace

TEST(FileStamp, TellsEveryChangeOfTheFile) {
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> change;
        bool unchanged;
    } cases[] = {
        {"nothing", [](const fs::path&) {}, true},
        {"read again", [](const fs::path& f) { (void)test::read_bytes(f); }, true},
        {"appended", [](const fs::path& f) { test::write_bytes(f, kText + "x\n"); }, false},
        {"replaced by rename, same bytes",
         [](const fs::path& f) {
             test::write_bytes(f.string() + ".new", kText);
             fs::rename(f.string() + ".new", f);
         },
         false},
        {"same size, time set back",
         [](const fs::path& f) {
             const auto t = fs::last_write_time(f);
             test::write_bytes(f, "PROCEDURE p;\nbegin\n  x := 1;\nend;\n");
             fs::last_write_time(f, t);
         },
         false},
        {"deleted", [](const fs::path& f) { fs::remove(f); }, false},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const fs::path f = dir.write("a.pas", kText);
        const FileStamp read_as = stamp_now(f);
        c.change(f);
        EXPECT_EQ(File_Unchanged(f.string(), read_as), c.unchanged) << c.what;
    }
    // A stamp of no file: a file that appears is a change.
    TempDir dir;
    const FileStamp none = Take_File_Stamp(dir.dir() + "none.pas");
    EXPECT_TRUE(File_Unchanged(dir.dir() + "none.pas", none));
    dir.write("none.pas", "");
    EXPECT_FALSE(File_Unchanged(dir.dir() + "none.pas", none));
}

TEST(FileStamp, WhereTheTimesCannotTellTheBytesDecide) {
    TempDir dir;
    const fs::path f = dir.write("a.pas", kText);
    const auto now = std::chrono::system_clock::now();
    // A file written just before its read is racy, one of an hour ago is not.
    EXPECT_TRUE(Take_File_Stamp(f.string(), now).racy);
    const auto hour_ago = fs::file_time_type::clock::now() - std::chrono::hours(1);
    fs::last_write_time(f, hour_ago);
    EXPECT_TRUE(Take_File_Stamp(f.string(), now).racy); // its inode time is still new
    EXPECT_FALSE(Take_File_Stamp(f.string(), now + std::chrono::seconds(3)).racy);

    // A second write within the same clock tick leaves every time as it was: the stamp of the
    // file as it is now, holding the bytes read before, tells the change by them.
    FileStamp read_as = Take_File_Stamp(f.string(), now);
    ASSERT_TRUE(read_as.racy);
    Keep_Racy_Bytes(read_as, std::string_view(kText));
    test::write_bytes(f, "PROCEDURE p;\nbegin\n  x := 1;\nend;\n");
    FileStamp same_tick = Take_File_Stamp(f.string(), now);
    same_tick.racy = true;
    same_tick.bytes = read_as.bytes;
    EXPECT_FALSE(File_Unchanged(f.string(), same_tick));
    same_tick.bytes = test::read_bytes(f);
    EXPECT_TRUE(File_Unchanged(f.string(), same_tick));
    // A stamp that is not racy keeps no bytes.
    FileStamp old = Take_File_Stamp(f.string(), now + std::chrono::hours(1));
    Keep_Racy_Bytes(old, std::string_view(kText));
    EXPECT_TRUE(old.bytes.empty());
}

namespace {

struct Listed {
    TokenTable tokens;
    ListingEngine engine{tokens};
    ListingLists lists;
    TextForm form;
    FileStamp read_as;
    explicit Listed(const fs::path& src, int output_case = 0) {
        SourceText text = Load_Source_Text(src.string(), Default_Max_Input_Size, &read_as);
        form = text.form;
        ListingOptions o;
        o.output_case = output_case;
        EXPECT_EQ(engine.List_Lines(std::move(text.lines), o, lists).status, RunStatus::Done);
    }
    SaveResult save(const fs::path& src, const std::string& folder) {
        return Save_Results(src.string(), folder, {}, lists, form, &read_as);
    }
};

} // namespace

TEST(SaveResults, ASourceChangedSinceItsRunIsRefusedAndNothingIsWritten) {
    TempDir dir;
    const fs::path src = dir.write("a.pas", kText);
    Listed run(src);
    test::write_bytes(src, kText + "{ user edit }\n");
    SaveResult r = run.save(src, dir.dir());
    EXPECT_FALSE(r.saved);
    EXPECT_TRUE(r.source_changed);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].text, "^C:^F:" + src.string() +
                                      "^changed while listed, not saved.\r\nRun the listing again "
                                      "to take the change in.");
    EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"a.pas"});
    EXPECT_EQ(test::read_bytes(src), kText + "{ user edit }\n");
    // Into another folder: nothing there either.
    EXPECT_TRUE(run.save(src, dir.dir() + "out/").source_changed);
    EXPECT_FALSE(fs::exists(dir.path() / "out"));
}

TEST(SaveResults, ASourceThatAnotherSaveGaveThisVeryTextIsLeftAsItIs) {
    // Two calls over one folder: the second finds the first one's new text, which is its own.
    TempDir dir;
    const fs::path src = dir.write("a.pas", kText);
    Listed first(src), second(src);
    ASSERT_TRUE(first.save(src, dir.dir()).saved);
    const std::string listed = test::read_bytes(src);
    SaveResult r = second.save(src, dir.dir());
    EXPECT_TRUE(r.saved);
    EXPECT_TRUE(r.text_unchanged);
    EXPECT_EQ(test::read_bytes(dir.path() / "a.pas-SAVED"), kText);
    EXPECT_EQ(test::read_bytes(src), listed);
    // A run with another case would write another text over the first one's: refused.
    Listed lower(dir.write("b.pas", kText), 1);
    Listed upper(dir.path() / "b.pas", 0);
    ASSERT_TRUE(lower.save(dir.path() / "b.pas", dir.dir()).saved);
    EXPECT_TRUE(upper.save(dir.path() / "b.pas", dir.dir()).source_changed);
}
