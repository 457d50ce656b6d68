#pragma once
// What the scan of one source hands to the rest of its listing when a batch is listed on several
// threads: views of its lines, the file's distinct tokens (numbered in order of
// first occurrence, each with the spelling it first arrived with) and the number of every token
// occurrence in turn. Between scan and finish the token index puts its spelling in place of each
// first spelling, in file order (ListingEngine::Settle_Tokens).

#include "engine/spelling_index.h"
#include "platform/text_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace parvex {

// A small hash table of upper-cased keys, each with a spelling of the same length.
class KeyTable {
public:
    static constexpr std::uint32_t kAbsent = 0xFFFFFFFFu;

    std::uint32_t Find(std::string_view key) const;
    // Adds a key not yet in the table; gives its number.
    std::uint32_t Add(std::string_view key, std::string_view spelling);
    // The key's number, adding it with `spelling` when it is new (one look-up for both).
    std::uint32_t Find_Or_Add(std::string_view key, std::string_view spelling);
    // Room for about `keys` keys in an empty table, so that it need not grow step by step.
    void Expect(std::size_t keys);
    std::uint32_t Size() const { return static_cast<std::uint32_t>(starts_.size() - 1); }
    // Empties the table; its room stays for the next file.
    void Clear();
    std::string_view Key(std::uint32_t id) const;
    std::string_view Spelling(std::uint32_t id) const;
    // Puts another spelling of the same length in place of a key's spelling.
    void Respell(std::uint32_t id, std::string_view spelling);

private:
    static std::uint32_t hash_of(std::string_view key);
    std::uint32_t append(std::string_view key, std::string_view spelling);
    static void place(std::vector<std::uint64_t>& slots, std::uint64_t slot);
    void grow(std::size_t size);

    std::string keys_, spellings_;
    std::vector<std::uint32_t> starts_{0}; // key i is [starts_[i], starts_[i + 1])
    std::vector<std::uint64_t> slots_;     // hash << 32 | key number + 1; 0 when empty
    std::vector<std::uint64_t> spare_;     // the slots before the last growth, for the next
};

struct ScannedFile {
    KeyTable tokens;                 // the file's tokens; spellings settled by the token index
    std::vector<std::uint32_t> uses; // the token number of every occurrence, in order
    std::vector<std::uint8_t> known; // per token: in the index before this file
    KeyTable names;                  // routine names that occur as no token of the file
    std::vector<std::optional<std::string>> name_found; // per name: its spelling in the index
    LineViews source; // the source lines; their text stays with the caller until the finish

    // A drafted text (ListingEngine::Draft_Text) leaves its tokens in their source spelling and
    // notes, in the order of the listing, what the settled spellings change in it: a token
    // occurrence (`what` is its number, with kAsFirst when it is spelt as the token's first
    // occurrence in the file; `at` where it stands in the text), a routine name looked up at
    // its heading (kQuery | its number in `names`) and the name in a remark that a heading
    // looked up (kRemark | the heading's look-up, counted from 0; `at` where the name stands).
    static constexpr std::uint32_t kQuery = 0x40000000u, kRemark = 0x80000000u,
                                   kAsFirst = 0x20000000u, kNumber = kAsFirst - 1;
    struct Patch {
        std::uint32_t at;
        std::uint32_t what;
    };
    std::vector<Patch> patches;
    SpellingIndex spellings; // of a drafted text: each spelling's token number and kAsFirst
    std::vector<std::uint8_t> respelt; // per token: settled in a spelling other than its first

    // Used while the lines are finished.
    std::size_t next_use = 0;
    std::vector<std::uint8_t> seen; // per token: registered earlier in the file

    // Empties everything; the room stays, so that the next file of a batch touches memory
    // already in use instead of asking the system for fresh pages.
    void Clear();
    // The bytes of room it holds.
    std::size_t Room() const;
};

} // namespace parvex
