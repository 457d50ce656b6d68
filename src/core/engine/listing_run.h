#pragma once
// The listing run: reads a source file and rewrites it line by line (letter case, END remarks),
// collecting literals, numbers and tokens with their line numbers.

#include "engine/engine_message.h"
#include "engine/listing_lists.h"
#include "engine/listing_options.h"
#include "engine/scanned_file.h"
#include "engine/source_map.h"
#include "engine/token_table.h"
#include "platform/source_text.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
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
// Appends TAB + "#" + the zero-padded line number: what a cross-reference adds for each
// further occurrence of an item.
void Append_Line_Number(std::string& out, std::size_t line_number, int width);

class ListingEngine {
public:
    // The scanner state lasts for one run; the token table for the whole session.
    explicit ListingEngine(TokenTable& tokens) : tokens_(&tokens) {}
    // An engine for the scan and the finish of a split listing: it touches no token index.
    ListingEngine() = default;

    RunResult Listing_Run(const std::string& file_name, const ListingOptions& options,
                          ListingLists& lists, const RunCallbacks& callbacks = {});
    // The same run over lines already in memory (`lists.src` is filled from `lines`).
    RunResult List_Lines(TextList lines, const ListingOptions& options, ListingLists& lists,
                         const RunCallbacks& callbacks = {}, const std::string& file_name = {});

    // The run for a caller that wants only the new text: every new line and the line end the
    // form gives it are appended to `text` (the form's mark is the caller's). The collection lists
    // are filled as by List_Lines; `lists.src` and `lists.src_o` stay empty, and no line is kept as
    // a string of its own.
    void List_Text(const LineViews& lines, const ListingOptions& options, ListingLists& lists,
                   std::string& text, const TextForm& form);

    const std::string& Delimiters() const { return scanner_.delimiters(); }

    // The same listing in three steps, so that a batch can list files on several threads and
    // still give every token the spelling a listing of the files one after the other gives it:
    // Scan_Lines and Finish_Lines use no token index and may run on any thread, Settle_Tokens
    // runs on the shared index in file order. The steps give List_Lines' result whenever "."
    // separates words (Split_Listing_Exact); a token holding a dot reads the index in a way
    // only List_Lines follows.
    static bool Split_Listing_Exact(const ListingOptions& options);
    // The scan keeps views of the lines in `scanned`: their text must stay until the finish.
    void Scan_Lines(const LineViews& lines, const ListingOptions& options, ListingLists& lists,
                    ScannedFile& scanned);
    void Scan_Lines(const TextList& lines, const ListingOptions& options, ListingLists& lists,
                    ScannedFile& scanned);
    static void Settle_Tokens(TokenTable& tokens, ScannedFile& scanned);
    // Fills `lists.src` and `lists.src_o` as List_Lines does.
    void Finish_Lines(const ListingOptions& options, ListingLists& lists, ScannedFile& scanned);

    // The split for a caller that wants only the new text, without listing a line twice:
    // Draft_Text (any thread) appends the new text as List_Text does, but every token stays
    // in its source spelling and its place is noted in `scanned`; after Settle_Tokens,
    // Patch_Text (any thread) writes the settled spellings into the text. The result is
    // List_Text's wherever the split is exact and no tokens are collected (Draft_Fits).
    static bool Draft_Fits(const ListingOptions& options, std::size_t bytes);
    void Draft_Text(const LineViews& lines, const ListingOptions& options, ListingLists& lists,
                    ScannedFile& scanned, std::string& text, const TextForm& form);
    static void Patch_Text(const ListingOptions& options, const ScannedFile& scanned,
                           std::string& text);

    // Reads the lines as a listing does, without a token index and without changing them, and
    // notes in `map` what the scanner masks, every word and the routine pairs of the END
    // remarks (old remarks stay: they are comments of the text as it stands).
    void Map_Lines(const LineViews& lines, const ListingOptions& options, SourceMap& map);

private:
    // The words the END remarks listen to.
    enum class Keyword : std::uint8_t {
        None,
        // blocks of statements
        Begin,
        Case,
        Try,
        Asm,
        End,
        // routine headings, and the directives that say they have no body here
        Procedure,
        Function,
        Forward,
        External,
        // type declarations that an END closes
        Record,
        Class,
        Object,
        Interface,
        Dispinterface,
        Packed,
        // var, const, type, ...: a heading's body has begun
        Declaration,
        Implementation,
    };
    static Keyword classify(std::string_view word);

    struct Blocks {
        std::array<std::string, 11> names; // levels 1..10
        std::array<int, 11> counts{};      // levels 0..10
        // Of a drafted text: each level's look-up of its name, counted from 1 (0: none made).
        std::array<std::uint32_t, 11> queries{};
        // Of a mapped text: each level's routine in the map, counted from 1 (0: none).
        std::array<std::uint32_t, 11> routines{};
        int level = 0;
        int type_depth = 0;        // open class, object, record and interface declarations
        bool heading_open = false; // the top level's heading has not reached its body yet
        int heading_parens = 0;    // open parentheses in that heading
        char last = 0;             // the last delimiter before the current word; 'w' for a word
    };
    // Where the next unmasked character of one kind stands in the current work line; the
    // searches of one line move forward only, so a line costs time linear in its length.
    struct NextChar {
        bool known = false;
        std::size_t from = 0;
        std::size_t at = 0;
    };

    // `count` lines of `bytes` bytes in all.
    void start_run(const ListingOptions& options, ListingLists& lists, std::size_t count,
                   std::size_t bytes);
    // The engine's state for the finish of a scanned file (apart from the template below:
    // one compiler fails on the reset of the blocks inside a template).
    void start_finish(const ListingOptions& options, ScannedFile& scanned);
    // Lists the scanned lines in turn; `done` takes each finished line.
    template <class Done>
    void finish_scanned(const ListingOptions& options, ScannedFile& scanned, ListingLists& lists,
                        Done&& done);
    void prepare_line(ScanLine& line, std::size_t line_number, const ListingOptions& options,
                      ListingLists& lists);
    // After the last of `count` lines: where a literal that never closed began.
    void note_open_literal(ListingLists& lists, std::size_t count) const;
    void list_words(ScanLine& line, std::size_t line_number, const ListingOptions& options,
                    ListingLists& lists);
    // The tokens of a prepared line for the scan of a split listing.
    void scan_words(const ScanLine& line, const ListingOptions& options, ScannedFile& scanned);
    std::string_view stored_form(std::string_view word);
    std::optional<std::string> find_token(const std::string& name);
    // The number of a word's token in a file's key table, which gets it when it is new.
    std::uint32_t file_token(KeyTable& tokens, std::string_view word);
    // A token occurrence of a drafted text: numbered in the file's key table and noted.
    void draft_word(std::string_view word, const ScanLine& line, std::size_t start);
    std::string_view heading_raw(const ScanLine& line, std::size_t after);
    std::size_t next_char(const ScanLine& line, char c, std::size_t from, NextChar& cache) const;
    std::string heading_name(const ScanLine& line, std::size_t after);
    std::string routine_name(std::string_view raw);
    int output_case_ = -1; // the output case of the line being listed
    bool opens_type(const ScanLine& line, std::size_t after) const;
    void clear_blocks();
    void end_remark_step(ScanLine& line, Keyword word, std::size_t start, std::size_t length);

    TokenTable* tokens_ = nullptr;
    ScannedFile* split_ = nullptr;    // set while a split listing is finished
    ScannedFile* draft_ = nullptr;    // set while a text is drafted
    SourceMap* map_ = nullptr;        // set while a text is mapped
    std::uint32_t map_line_ = 0;      // the line being mapped, counted from 1
    bool keep_work_ = true;           // the work lines are kept (else handled words stay unmasked)
    std::size_t draft_line_at_ = 0;   // where the drafted line starts in the text
    std::uint32_t draft_queries_ = 0; // look-ups of routine names made so far
    std::uint32_t draft_query_ = 0;   // the one the current heading made, counted from 1
    std::string key_;                 // reused buffer for upper-cased keys
    LineScanner scanner_{Build_Delimiters(kDefaultTerminators, true, true)};
    Blocks blocks_;
    std::array<NextChar, 4> next_{}; // "(", ":", ";", "."
    int width_ = 2;
    std::vector<std::string> literals_;
};

} // namespace parvex
