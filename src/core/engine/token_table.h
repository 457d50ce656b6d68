#pragma once
// The table of known tokens: decides in which spelling every identifier and keyword is written
// back. The token index keeps the first spelling a token arrived with, for the whole program run.

#include "engine/piece_table.h"
#include "platform/input_read.h"
#include "platform/text_file.h"

#include <optional>
#include <string>
#include <string_view>

namespace parvex {

class TokenTable {
public:
    // chk_NOCData "do not cumulate Tokens": new tokens enter the index but not the loaded list.
    bool do_not_cumulate = true;

    // Gives the token back in its stored spelling, registering it when it is new.
    std::string Register_Token(std::string_view token);
    // Register_Token for the listing run's hot loop: `token` is replaced by its stored spelling
    // in place (same length), with no allocation for known tokens.
    void Register_In_Place(std::string& token);
    // Register_Token without a copy: the stored spelling, valid until the next token is
    // registered. `known`, when given, tells whether the token was in the index already.
    std::string_view Stored_Form(std::string_view token, bool* known = nullptr);
    // For a run of Stored_Form calls known in advance (keys upper-cased, without dots): call
    // Prefetch(key, 0) some keys ahead and Prefetch(key, 1) fewer keys ahead; the lookups then
    // find their memory on its way. Only a hint: nothing changes.
    void Prefetch(std::string_view upper_key, int stage) const {
        if (stage == 0)
            pieces_.prefetch_slot(upper_key);
        else
            pieces_.prefetch_stretch(upper_key, index_);
    }
    // The stored spelling of a known token, without registering anything.
    std::optional<std::string> Find_Token(std::string_view token) const;

    // Start-up load. `tokens_file` (the cumulated "Tokens.dat") is read only when not empty and
    // present; `personal_file` when present. Missing files are skipped without a failure; a file
    // that exists but cannot be read, is binary or is larger than `limit` is reported, and
    // then no token of either file is loaded.
    FileResult Load_Token_Tables(const std::string& tokens_file, const std::string& personal_file,
                                 std::uint64_t limit = Default_Max_Input_Size);
    // Empties everything and registers the personal tokens again, first spelling winning.
    FileResult Reload_Personal_Tokens(const std::string& personal_file,
                                      std::uint64_t limit = Default_Max_Input_Size);
    // Writes the loaded list, sorted, when `save` (chk_NoCumm) is set.
    FileResult Save_Token_Table(const std::string& tokens_file, bool save);

    const std::string& Token_Index() const { return index_; }
    int Token_Count() const { return count_; }
    const TextList& loaded() const { return loaded_; }     // pane "Tokens"
    const TextList& personal() const { return personal_; } // pane "Personal Tokens"

private:
    FileResult load_token_tables(const std::string& tokens_file, const std::string& personal_file,
                                 std::uint64_t limit);
    void clear_index();
    // Adds the token in its spelling; `upper` is the token upper-cased (a-z only).
    void append_to_index(const std::string& token, std::string_view upper);

    // Where the upper-cased key holding a dot first stands in the index (compared as if
    // upper-cased), behind the dot before it.
    std::size_t find_dotted(std::string_view upper_key) const;

    std::string index_; // "." + t1 + "." + ... + "." in stored spelling
    int count_ = 0;
    // Every dot-free stretch between two neighbouring dots of the index, first occurrence only:
    // the same answer the search for "." + KEY + "." gives, without the search.
    PieceTable pieces_;
    TextList loaded_;
    TextList personal_;
    std::string key_;    // reused buffer for upper-cased keys
    std::string dotted_; // the stored form of the last key holding a dot
};

} // namespace parvex
