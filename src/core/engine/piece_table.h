#pragma once
// A compact hash set of stretches of the token index: each entry is eight bytes, an offset into
// the index string (the stretch runs to the next dot) and its 32-bit hash, so a lookup
// touches one small slot array and the index itself. Keys are upper-cased; the index keeps
// each token as it was first spelt, and is compared as if upper-cased (a-z only).
// The token index keeps the first stretch of each key; later equal stretches are not added.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace parvex {

class PieceTable {
public:
    // Looks the upper-cased `key` up among the stretches of `index`; gives the offset of the
    // first equal one.
    bool find(std::string_view key, const std::string& index, std::size_t& offset) const;
    // Adds the stretch of `index` at `offset`, whose upper-cased text is `key`, unless an equal
    // one is there already.
    void insert(std::size_t offset, std::string_view key, const std::string& index);
    // Hints for a run of lookups whose keys are known in advance: fetch the slot a find of
    // `key` reads first, and (once that has arrived) the stretch it points at. They change
    // nothing; they only let the memory be on its way while earlier keys are looked up.
    void prefetch_slot(std::string_view key) const;
    void prefetch_stretch(std::string_view key, const std::string& index) const;
    void clear();
    std::size_t size() const { return used_; }

private:
    static std::uint32_t hash_of(std::string_view key);
    void grow();

    std::vector<std::uint64_t> slots_; // offset and hash bits, 0 when empty
    std::size_t used_ = 0;
};

} // namespace parvex
