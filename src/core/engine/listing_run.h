#pragma once
// The listing run: reads a source file and rewrites it line by line (letter case, END remarks),
// collecting literals, numbers and tokens with their line numbers.

#include "engine/engine_message.h"
#include "engine/listing_lists.h"
#include "engine/listing_options.h"
#include "engine/token_table.h"

#include <functional>
#include <vector>

namespace parvex {

struct RunCallbacks {
    // Called once the file is loaded: the "working" message and the number of lines.
    std::function<void(const EngineMessage& working, std::size_t lines)> started;
    // Called after every line (0-based index); returning false stops the run after that line.
    std::function<bool(std::size_t index)> line_done;
};

enum class RunStatus { Done, Missing, Unreadable, Stopped };

struct RunResult {
    RunStatus status = RunStatus::Done;
    std::vector<EngineMessage> messages; // to be shown, in order
};

// Digits of the file's line numbers: at least 2, as many as the line count has.
int Number_Width(std::size_t lines);
// item + TAB + "#" + zero-padded line number.
std::string Collected_Line(std::string_view item, std::size_t line_number, int width);

class ListingEngine {
public:
    // The scanner state lasts for one run; the token table for the whole session.
    explicit ListingEngine(TokenTable& tokens) : tokens_(tokens) {}

    RunResult Listing_Run(const std::string& file_name, const ListingOptions& options,
                          ListingLists& lists, const RunCallbacks& callbacks = {});
    // The same run over lines already in memory (`lists.src` is filled from `lines`).
    RunResult List_Lines(TextList lines, const ListingOptions& options, ListingLists& lists,
                         const RunCallbacks& callbacks = {}, const std::string& file_name = {});

    const std::string& Delimiters() const { return scanner_.delimiters(); }

private:
    struct Blocks {
        std::array<std::string, 11> names; // levels 1..10
        std::array<int, 11> counts{};      // levels 0..10
        int level = 0;
    };

    void list_line(ScanLine& line, std::size_t line_number, const ListingOptions& options,
                   ListingLists& lists);
    std::string routine_name(const std::string& rest) const;
    void end_remark_step(ScanLine& line, std::string_view upper, std::size_t start,
                         std::size_t length);

    TokenTable& tokens_;
    LineScanner scanner_{Build_Delimiters(kDefaultTerminators, true, true)};
    Blocks blocks_;
    int width_ = 2;
    std::vector<std::string> literals_;
};

} // namespace parvex
