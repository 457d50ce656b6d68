#include "media/sound_rules.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace parvex;
using parvex::test::TempDir;

namespace {

// A sound table with the given data rows (Code, Mode, Title, SpS, Sound-File, use it, m4D).
Table_Grid sounds(std::vector<std::vector<std::string>> rows) {
    Table_Grid g;
    rows.insert(rows.begin(), {"Code", "Mode", "Title", "SpS", "Sound-File", "use it", "m4D"});
    g.Assign(std::move(rows), 7);
    return g;
}

} // namespace

TEST(SoundRules, TheLastRowWithExactlyTheCodeAnswers) {
    TempDir prog;
    Table_Grid g = sounds({{"CP", "iSp", "first", "3", "", "True", "False"},
                           {"dm", "iSp", "lower", "4", "", "True", "False"},
                           {"CP", "iSp", "second", "7", "", "True", "False"},
                           {"DM", "iSp", "upper", "9", "", "True", "False"}});
    Sound_Choice cp = Choose_Sound(g, "CP", prog.dir());
    EXPECT_EQ(cp.kind, Sound_Choice::Kind::Speaker);
    EXPECT_EQ(cp.row, 3);
    EXPECT_EQ(cp.speaker, 7);
    EXPECT_EQ(Choose_Sound(g, "DM", prog.dir()).speaker, 9);
    EXPECT_EQ(Choose_Sound(g, "Dm", prog.dir()).kind, Sound_Choice::Kind::No_Row);
    EXPECT_EQ(Choose_Sound(g, "", prog.dir()).kind, Sound_Choice::Kind::No_Row);
    // The header row is no data row.
    EXPECT_EQ(Choose_Sound(g, "Code", prog.dir()).kind, Sound_Choice::Kind::No_Row);
}

TEST(SoundRules, ModeUseAndSpeakerNumber) {
    TempDir prog;
    prog.write("GUI/Snds/tick.wav", "RIFF");
    const std::string tick = prog.dir() + "GUI/Snds/tick.wav";
    struct Case {
        std::vector<std::string> row;
        Sound_Choice::Kind kind;
        int speaker;
        std::string file;
    } cases[] = {
        {{"X", "isp", "", "5", "", "True", ""}, Sound_Choice::Kind::Speaker, 5, ""},
        {{"X", "ISP", "", "x", "", "True", ""}, Sound_Choice::Kind::Speaker, 1, ""},
        {{"X", "iSp", "", "", "", "True", ""}, Sound_Choice::Kind::Speaker, 1, ""},
        {{"X", "iSp", "", "-2", "", "True", ""}, Sound_Choice::Kind::Speaker, -2, ""},
        // Any other mode is a wave file: the SpS column does not count then.
        {{"X", "Snd", "", "5", tick, "True", ""}, Sound_Choice::Kind::Wave, 0, tick},
        {{"X", "", "", "5", "GUI/Snds/tick.wav", "True", ""}, Sound_Choice::Kind::Wave, 0, tick},
        {{"X", "Snd", "", "5", "GUI/Snds/none.wav", "True", ""},
         Sound_Choice::Kind::No_File,
         0,
         ""},
        {{"X", "Snd", "", "5", "", "True", ""}, Sound_Choice::Kind::No_File, 0, ""},
        // Only "False" silences the row.
        {{"X", "iSp", "", "5", "", "False", ""}, Sound_Choice::Kind::Switched_Off, 0, ""},
        {{"X", "Snd", "", "5", tick, "False", ""}, Sound_Choice::Kind::Switched_Off, 0, ""},
        {{"X", "iSp", "", "5", "", "false", ""}, Sound_Choice::Kind::Speaker, 5, ""},
        {{"X", "iSp", "", "5", "", "", ""}, Sound_Choice::Kind::Speaker, 5, ""},
    };
    for (const Case& c : cases) {
        Sound_Choice s = Choose_Sound(sounds({c.row}), "X", prog.dir());
        SCOPED_TRACE(c.row[1] + "/" + c.row[3] + "/" + c.row[4] + "/" + c.row[5]);
        EXPECT_EQ(s.kind, c.kind);
        if (c.kind == Sound_Choice::Kind::Speaker) {
            EXPECT_EQ(s.speaker, c.speaker);
        }
        EXPECT_EQ(s.file, c.file);
    }
}

TEST(SoundRules, StoredFileNames) {
    TempDir prog;
    prog.write("GUI/Snds/a.wav", "RIFF");
    std::filesystem::create_directories(prog.path() / "GUI/Snds/folder.wav");
    const std::string abs = prog.dir() + "GUI/Snds/a.wav";
    EXPECT_EQ(Resolve_Sound_File(prog.dir(), abs), abs);
    EXPECT_EQ(Resolve_Sound_File(prog.dir(), "GUI/Snds/a.wav"), abs);
    // Names of another system name nothing here, even when a file of that spelling exists.
    prog.write("C:\\Snds\\a.wav", "RIFF");
    EXPECT_EQ(Resolve_Sound_File(prog.dir(), "C:\\Snds\\a.wav"), "");
    EXPECT_EQ(Resolve_Sound_File(prog.dir(), "GUI\\Snds\\a.wav"), "");
    EXPECT_EQ(Resolve_Sound_File(prog.dir(), "c:/Snds/a.wav"), "");
    EXPECT_EQ(Resolve_Sound_File(prog.dir(), ""), "");
    EXPECT_EQ(Resolve_Sound_File(prog.dir(), "GUI/Snds/folder.wav"), "");
    EXPECT_EQ(Resolve_Sound_File(prog.dir(), "GUI/Snds/b.wav"), "");
}

TEST(SoundRules, WhichFilesMayBecomeASound) {
    TempDir dir;
    dir.write("a.wav", "RIFF");
    dir.write("B.WAV", "RIFF");
    dir.write("c.mp3", "ID3");
    dir.write("x|y.wav", "RIFF");
    std::filesystem::create_directories(dir.path() / "d.wav");
    const std::string d = dir.dir();
    EXPECT_EQ(Check_Wave_File(d + "a.wav"), Wave_Check::Ok);
    EXPECT_EQ(Check_Wave_File(d + "B.WAV"), Wave_Check::Ok);
    EXPECT_EQ(Check_Wave_File(d + "c.mp3"), Wave_Check::Not_Wave);
    EXPECT_EQ(Check_Wave_File(d + "x|y.wav"), Wave_Check::Bad_Name);
    EXPECT_EQ(Check_Wave_File(d + "a\r\n.wav"), Wave_Check::Bad_Name);
    EXPECT_EQ(Check_Wave_File(d + "d.wav"), Wave_Check::Missing);
    EXPECT_EQ(Check_Wave_File(d + "gone.wav"), Wave_Check::Missing);
    EXPECT_EQ(Check_Wave_File(""), Wave_Check::Not_Wave);
}
