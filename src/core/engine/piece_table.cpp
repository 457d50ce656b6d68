#include "engine/piece_table.h"

#include <cstring>

namespace parvex {

std::uint32_t PieceTable::hash_of(std::string_view key) {
    // Eight bytes at a time: tokens are short, and this runs for every word of every line.
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ key.size();
    const char* p = key.data();
    std::size_t n = key.size();
    while (n >= 8) {
        std::uint64_t chunk;
        std::memcpy(&chunk, p, 8);
        h = (h ^ chunk) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 29;
        p += 8;
        n -= 8;
    }
    if (n > 0) {
        std::uint64_t chunk = 0;
        std::memcpy(&chunk, p, n);
        h = (h ^ chunk) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 29;
    }
    h *= 0xC4CEB9FE1A85EC53ull;
    const auto folded = static_cast<std::uint32_t>(h ^ (h >> 32));
    return folded == 0 ? 1 : folded; // 0 marks an empty slot
}

bool PieceTable::find(std::string_view key, const std::string& upper, std::size_t& offset) const {
    if (slots_.empty())
        return false;
    const std::uint32_t h = hash_of(key);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = h & mask;; i = (i + 1) & mask) {
        const Slot& s = slots_[i];
        if (s.hash == 0)
            return false;
        if (s.hash == h && s.length == key.size() &&
            std::memcmp(upper.data() + s.offset, key.data(), key.size()) == 0) {
            offset = s.offset;
            return true;
        }
    }
}

void PieceTable::insert(std::size_t offset, std::size_t length, const std::string& upper) {
    if ((used_ + 1) * 2 > slots_.size())
        grow(upper);
    const std::string_view key(upper.data() + offset, length);
    const std::uint32_t h = hash_of(key);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = h & mask;; i = (i + 1) & mask) {
        Slot& s = slots_[i];
        if (s.hash == 0) {
            s = {offset, static_cast<std::uint32_t>(length), h};
            ++used_;
            return;
        }
        if (s.hash == h && s.length == length &&
            std::memcmp(upper.data() + s.offset, key.data(), length) == 0)
            return; // the first stretch wins
    }
}

void PieceTable::grow(const std::string&) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 1024 : old.size() * 2, Slot{});
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& s : old) {
        if (s.hash == 0)
            continue;
        std::size_t i = s.hash & mask;
        while (slots_[i].hash != 0)
            i = (i + 1) & mask;
        slots_[i] = s;
    }
}

void PieceTable::clear() {
    slots_.clear();
    used_ = 0;
}

} // namespace parvex
