#pragma once
// The spellings met in one file, each with its token's number: a word spelt as one met before
// finds its token without being upper-cased or looked up by key. Sources repeat their words in
// the same spelling, so most words of a file are found here.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace parvex {

class SpellingIndex {
public:
    static constexpr std::uint32_t kAbsent = 0xFFFFFFFFu;

    static std::uint32_t Hash(std::string_view word);
    // What Add noted for exactly this spelling, or kAbsent.
    std::uint32_t Find(std::string_view word, std::uint32_t hash) const {
        if (slots_.empty())
            return kAbsent;
        const std::size_t m = slots_.size() - 1;
        for (std::size_t s = hash & m;; s = (s + 1) & m) {
            const Slot& slot = slots_[s];
            if (slot.value == kAbsent)
                return kAbsent;
            if (slot.hash == hash && slot.length == word.size() &&
                same(spellings_.data() + slot.at, word.data(), word.size()))
                return slot.value;
        }
    }
    // Notes `value` for a spelling not noted yet.
    void Add(std::string_view word, std::uint32_t hash, std::uint32_t value);
    void Clear();
    std::size_t Room() const { return spellings_.capacity() + slots_.capacity() * sizeof(Slot); }

private:
    struct Slot {
        std::uint32_t hash = 0;
        std::uint32_t value = kAbsent; // kAbsent: empty
        std::uint32_t at = 0;          // the spelling in spellings_
        std::uint32_t length = 0;
    };
    static bool same(const char* a, const char* b, std::size_t n);
    void grow();

    std::string spellings_;
    std::vector<Slot> slots_;
    std::size_t used_ = 0;
};

} // namespace parvex
