#include "config/effective_settings.h"
#include "config/path_pattern.h"
#include "config/project_config.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace parvex;
using parvex::test::TempDir;

namespace {

PathPattern pattern(const std::string& text) {
    std::string why;
    auto p = PathPattern::Parse(text, why);
    EXPECT_TRUE(p.has_value()) << text << ": " << why;
    return p.value_or(*PathPattern::Parse("x", why));
}

} // namespace

TEST(PathPattern, NamesPathsAsAGitignoreLineDoes) {
    struct Case {
        const char* pattern;
        const char* path;
        bool folder;
        bool covered;
    };
    const Case cases[] = {
        // Without "/" a pattern names a file or folder at any depth.
        {"*_old.pas", "a_old.pas", false, true},
        {"*_old.pas", "src/deep/b_old.pas", false, true},
        {"*_old.pas", "src/b_old.pas.txt", false, false},
        {"backup", "src/backup/a.pas", false, true},
        // A "/" at the end names folders only, and what lies in them.
        {"backup/", "backup/a.pas", false, true},
        {"backup/", "src/backup/deep/a.pas", false, true},
        {"backup/", "backup", false, false},
        {"backup/", "backup", true, true},
        {"backup/", "backups/a.pas", false, false},
        // A "/" at the start or inside ties it to the folder it belongs to.
        {"/top.pas", "top.pas", false, true},
        {"/top.pas", "src/top.pas", false, false},
        {"src/*.inc", "src/a.inc", false, true},
        {"src/*.inc", "lib/src/a.inc", false, false},
        {"src/*.inc", "src/deep/a.inc", false, false},
        // "*" stays within a name, "**" spans folders (none too).
        {"**/generated/*", "generated/a.pas", false, true},
        {"**/generated/*", "x/y/generated/a.pas", false, true},
        {"**/generated/*", "x/generated/deep/a.pas", false, true},
        {"**/generated/*", "x/generated", true, false},
        {"a/**/b.pas", "a/b.pas", false, true},
        {"a/**/b.pas", "a/x/y/b.pas", false, true},
        {"a/*.pas", "a/x/b.pas", false, false},
        {"u?it[0-9].pas", "unit7.pas", false, true},
        {"u?it[0-9].pas", "unitx.pas", false, false},
        {"\\*.pas", "*.pas", false, true},
        {"\\*.pas", "a.pas", false, false},
        {"*.PAS", "a.pas", false, false}, // names are told apart by case, as the file system does
    };
    for (const Case& c : cases)
        EXPECT_EQ(pattern(c.pattern).Covers(c.path, c.folder), c.covered)
            << c.pattern << " " << c.path << (c.folder ? "/" : "");
}

TEST(PathPattern, RefusesWhatItCannotMean) {
    for (const char* text : {"", "/", "!keep.pas", "../x.pas", "a/./b"}) {
        std::string why;
        EXPECT_FALSE(PathPattern::Parse(text, why).has_value()) << text;
        EXPECT_FALSE(why.empty()) << text;
    }
}

TEST(ProjectConfig, ReadsEverySettingWithPathsFromItsOwnFolder) {
    const ConfigRead read = Parse_Project_Config("; the team's settings\r\n"
                                                 "[Parvex]\r\n"
                                                 "Case = Upper\r\n"
                                                 "personal = tools/Tokens.dat\r\n"
                                                 "tokens = /opt/all.dat\r\n"
                                                 "remarks = no\r\n"
                                                 "keep-old-remarks = yes\r\n"
                                                 "break = 7\r\n"
                                                 "lists = tokens, alpha\r\n"
                                                 "exclude = backup/\r\n"
                                                 "exclude = *_old.pas\r\n",
                                                 "/w/p/.parvex");
    ASSERT_TRUE(read) << read.errors.front();
    const ConfigValues& v = read.config.values;
    EXPECT_EQ(read.config.folder, "/w/p");
    EXPECT_EQ(v.output_case, 0);
    EXPECT_EQ(v.personal_file, "/w/p/tools/Tokens.dat");
    EXPECT_EQ(v.tokens_file, "/opt/all.dat");
    EXPECT_EQ(v.end_remarks, false);
    EXPECT_EQ(v.keep_old_remarks, true);
    EXPECT_EQ(v.break_after, 7);
    EXPECT_EQ(v.lists, Alpha_Lists | Token_List);
    EXPECT_EQ(v.excludes, (std::vector<std::string>{"backup/", "*_old.pas"}));
    EXPECT_EQ(read.config.excludes.size(), 2u);

    const ConfigRead empty = Parse_Project_Config("[parvex]\npersonal =\n", "/w/.parvex");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty.config.values.personal_file, ""); // no personal file at all
    EXPECT_FALSE(empty.config.values.output_case.has_value());
}

TEST(ProjectConfig, NamesEveryMistakeWithItsLine) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"[parvex]\ncase = shout\n", "/p/.parvex:2: \"shout\" is no value for case"},
        {"[parvex]\nremarks = maybe\n", "/p/.parvex:2: \"maybe\" is no value for remarks"},
        {"[parvex]\nbreak = ten\n", "/p/.parvex:2: \"ten\" is no value for break"},
        {"[parvex]\nlists = alpha, strings\n", "/p/.parvex:2: \"alpha, strings\" is no value"},
        {"[parvex]\nlists = none tokens\n", "/p/.parvex:2: \"none tokens\" is no value"},
        {"[parvex]\nexclude = !keep.pas\n", "/p/.parvex:2: \"!keep.pas\" is no value"},
        {"[parvex]\ncolour = red\n", "/p/.parvex:2: unknown setting \"colour\""},
        {"[parvex]\ncase = upper\ncase = lower\n",
         "/p/.parvex:3: \"case\" is set a second time (first on line 2)"},
        {"case = upper\n[parvex]\n", "/p/.parvex:1: \"case\" stands before the section [parvex]"},
        {"[parvex]\n[window]\nx = 1\n", "/p/.parvex:2: unknown section [window]"},
        {"[parvex]\nexclude backup/\n", "/p/.parvex:2: neither \"[section]\" nor"},
        {"[parvex\ncase = upper\n", "/p/.parvex:1: neither \"[section]\" nor"},
    };
    for (const Case& c : cases) {
        const ConfigRead read = Parse_Project_Config(c.text, "/p/.parvex");
        ASSERT_FALSE(read) << c.text;
        EXPECT_EQ(read.errors.front().rfind(c.error, 0), 0u) << read.errors.front();
    }
}

TEST(ProjectConfig, TheNearestFileWinsAndTheSearchStopsAtTheRepositoryTop) {
    TempDir dir;
    const std::string top = dir.path().string();
    dir.write(".parvex", "[parvex]\ncase = lower\n");      // above the repository: never read
    dir.write("repo/.git/HEAD", "ref: refs/heads/main\n"); // the repository's top
    dir.write("repo/.parvex", "[parvex]\ncase = upper\n");
    dir.write("repo/a/b/c.pas", "");
    dir.write("repo/sub/.parvex", "[parvex]\ncase = first\n");
    dir.write("repo/sub/deep/d.pas", "");
    dir.write("bare/x.pas", "");
    std::filesystem::create_directory(dir.path() / "repo/plain");
    dir.write("repo/plain/.git", "gitdir: /elsewhere\n"); // a work tree's .git is a file
    dir.write("repo/folder-named/.parvex/x", "");         // a folder called .parvex is no file

    ProjectConfigs configs;
    auto case_of = [&](const std::string& folder) -> std::string {
        const ProjectConfig* c = configs.For_Folder(top + folder);
        return c ? Case_Word(c->values.output_case.value_or(-1)) + " " + c->file : "none";
    };
    EXPECT_EQ(case_of("/repo/a/b"), "upper " + top + "/repo/.parvex");
    EXPECT_EQ(case_of("/repo/a"), "upper " + top + "/repo/.parvex");
    EXPECT_EQ(case_of("/repo/sub/deep"), "first " + top + "/repo/sub/.parvex");
    EXPECT_EQ(case_of("/repo/sub"), "first " + top + "/repo/sub/.parvex");
    EXPECT_EQ(case_of("/repo/plain"), "none");
    EXPECT_EQ(case_of("/repo/folder-named"), "upper " + top + "/repo/.parvex");
    EXPECT_EQ(case_of("/bare"), "lower " + top + "/.parvex"); // outside a repository
    EXPECT_TRUE(configs.Errors().empty());

    dir.write("repo/sub/.parvex", "[parvex]\ncase = shout\n");
    ProjectConfigs fresh;
    fresh.For_Folder(top + "/repo/sub/deep");
    fresh.For_Folder(top + "/repo/sub");
    ASSERT_EQ(fresh.Errors().size(), 1u); // read once, reported once
    EXPECT_NE(fresh.Errors().front().find("/repo/sub/.parvex:2: "), std::string::npos);
}

TEST(EffectiveSettings, TheCommandLineGoesOverTheFileAndTheFileOverTheDefaults) {
    const ConfigRead read = Parse_Project_Config(
        "[parvex]\ncase = upper\nremarks = no\nlists = alpha tokens\nexclude = old/\n",
        "/p/.parvex");
    ConfigValues command_line;
    command_line.break_after = 3;
    command_line.end_remarks = true;
    command_line.lists_off = Token_List;
    command_line.excludes = {"*.inc"};
    const EffectiveSettings s = Settle_Settings(&read.config, command_line, "/home/u/own.dat");
    EXPECT_EQ(s.Describe(), (std::vector<std::string>{
                                "case = upper                (/p/.parvex)",
                                "personal = /home/u/own.dat  (default)",
                                "tokens =                    (default)",
                                "remarks = yes               (command line)",
                                "keep-old-remarks = no       (default)",
                                "break = 3                   (command line)",
                                "lists = alpha               (command line)",
                                "exclude = old/              (/p/.parvex)",
                                "exclude = *.inc             (command line)",
                            }));
    ListingOptions listing;
    SaveOptions save;
    s.Apply(listing, save);
    EXPECT_EQ(listing.output_case, 0);
    EXPECT_TRUE(listing.end_remarks);
    EXPECT_TRUE(listing.remove_old_remarks);
    EXPECT_TRUE(listing.collect_alpha);
    EXPECT_FALSE(listing.collect_numeric);
    EXPECT_FALSE(listing.collect_tokens);
    EXPECT_EQ(save.create, (std::array<bool, 7>{true, true, true, false, true, false, false}));
    EXPECT_EQ(save.break_after, 3);

    // Without a file, the defaults are the window's own.
    const EffectiveSettings none = Settle_Settings(nullptr, {}, "");
    ListingOptions defaults, applied;
    SaveOptions save_defaults, save_applied;
    none.Apply(applied, save_applied);
    EXPECT_EQ(applied.output_case, defaults.output_case);
    EXPECT_EQ(applied.remove_old_remarks, defaults.remove_old_remarks);
    EXPECT_EQ(save_applied.create, save_defaults.create);
    EXPECT_EQ(save_applied.break_after, save_defaults.break_after);
}
