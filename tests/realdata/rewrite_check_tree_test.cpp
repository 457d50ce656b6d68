// The rewrite check on the whole Free Pascal tree: every file the listing rewrites passes the
// second reader, with one token index for the whole tree as parvex-list keeps it.
#include "engine/listing_run.h"
#include "verify/rewrite_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace parvex;
namespace fs = std::filesystem;

TEST(RewriteCheckTree, EveryFreePascalSourcePasses) {
    const fs::path root = PARVEX_FPC_SOURCE_DIR;
    ASSERT_TRUE(fs::is_directory(root)) << "scripts/install-deps installs the Free Pascal sources";
    std::vector<std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        std::string ext = e.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
        if (e.is_regular_file() &&
            (ext == ".pas" || ext == ".pp" || ext == ".inc" || ext == ".dpr" || ext == ".lpr"))
            files.push_back(e.path().string());
    }
    std::sort(files.begin(), files.end());
    ASSERT_GT(files.size(), 9000u);

    TokenTable tokens;
    ListingEngine engine(tokens);
    ListingOptions options;
    options.output_case = 0; // upper case: the most letters change
    options.collect_alpha = options.collect_numeric = options.collect_tokens = false;
    ListingLists lists;
    std::size_t refused = 0;
    for (const std::string& file : files) {
        std::string bytes;
        ASSERT_TRUE(Read_File(file, bytes)) << file;
        ASSERT_EQ(engine.List_Lines(Split_Lines(bytes), options, lists).status, RunStatus::Done);
        if (RewriteCheck r = Check_Rewrite(bytes, lists.src_o); !r) {
            ADD_FAILURE() << file << ":" << r.line << ": refused: " << r.reason;
            if (++refused > 20)
                break;
        }
    }
    EXPECT_EQ(refused, 0u);
}
