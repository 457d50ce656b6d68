// Real Free Pascal sources through the engine: what must hold for every file, whatever it holds.
#include "engine/check_run.h"
#include "engine/listing_run.h"

#include <gtest/gtest.h>

#include <regex>

using namespace parvex;

namespace {

const char* const kSample[] = {
    "rtl/inc/astrings.inc",
    "rtl/objpas/sysutils/sysstr.inc",
    "rtl/objpas/classes/classesh.inc",
    "rtl/unix/sysutils.pp",
    "rtl/linux/system.pp",
    "rtl/x86_64/x86_64.inc",
    "compiler/pp.pas",
    "compiler/scanner.pas",
    "compiler/ncgutil.pas",
    "compiler/systems/t_linux.pas",
    "packages/fcl-base/src/inifiles.pp",
    "packages/fcl-base/src/contnrs.pp",
    "packages/fcl-base/examples/b64enc.pp",
    "packages/fcl-json/src/fpjson.pp",
    "packages/fcl-xml/src/dom.pp",
    "packages/fcl-db/src/base/db.pas",
    "packages/fcl-passrc/src/pparser.pp",
    "packages/regexpr/src/regexpr.pas",
    "packages/hash/src/md5.pp",
    "packages/paszlib/src/zbase.pas",
    "packages/fv/src/views.pas",
    "packages/odata/src/sharepoint.pp", // 119,212 lines
};

// Removes every remark of the form " { of Name }" (the blank before it too, when there is one).
std::string strip_remarks(const std::string& line) {
    static const std::regex remark(" ?\\{ of [A-Za-z0-9_\\x80-\\xff]* \\}");
    return std::regex_replace(line, remark, "");
}

bool is_letter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

class RealSources : public ::testing::TestWithParam<const char*> {};

} // namespace

TEST_P(RealSources, ListingKeepsEverythingButLetterCase) {
    const std::string file = std::string(PARVEX_FPC_SOURCE_DIR) + "/" + GetParam();
    ASSERT_TRUE(File_Exists(file)) << file << " is missing: scripts/install-deps installs the "
                                   << "Free Pascal sources (fpc-source-3.2.2)";
    TokenTable tokens;
    ListingEngine engine(tokens);
    ListingOptions options;
    options.output_case = 0; // upper case changes the most letters
    ListingLists first;
    ASSERT_EQ(engine.Listing_Run(file, options, first).status, RunStatus::Done);
    TextList source;
    ASSERT_TRUE(Load_Lines(file, source));
    ASSERT_EQ(first.src_o.size(), source.size());

    // Comments and literals of the source, as the scanner sees them.
    LineScanner scanner(engine.Delimiters());
    int differing_lines = 0;
    for (std::size_t i = 0; i < source.size(); ++i) {
        std::string in = strip_remarks(source[i]);
        std::string out = strip_remarks(first.src_o[i]);
        ScanLine covered;
        covered.assign(in);
        std::vector<std::string> literals;
        scanner.Prepare_Line(covered, false, literals);
        ASSERT_EQ(in.size(), out.size()) << file << ":" << i + 1;
        for (std::size_t k = 0; k < in.size(); ++k) {
            if (in[k] == out[k])
                continue;
            const bool in_code = k < covered.mask.size() && covered.mask[k] == Mask::None;
            ASSERT_TRUE(in_code && is_letter(in[k]) && (in[k] ^ 0x20) == out[k])
                << file << ":" << i + 1 << " column " << k + 1 << "\n  in:  " << source[i]
                << "\n  out: " << first.src_o[i];
        }
        differing_lines += in != out;
    }
    EXPECT_GT(differing_lines, 0);

    // Nothing is left unhandled.
    ListingLists checked = first;
    CheckResult check = Check_Run(checked, engine.Delimiters(), "");
    EXPECT_TRUE(check.clean) << file;

    // Listing the new text again in the same session changes nothing.
    ListingLists second;
    engine.List_Lines(first.src_o, options, second);
    for (std::size_t i = 0; i < first.src_o.size(); ++i)
        ASSERT_EQ(second.src_o[i], first.src_o[i]) << file << ":" << i + 1;
}

INSTANTIATE_TEST_SUITE_P(FreePascal, RealSources, ::testing::ValuesIn(kSample),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });
