#include "engine/piece_table.h"

#include "engine/byte_loads.h"

#include <cstring>

namespace parvex {

namespace {
inline std::uint64_t mix(std::uint64_t h, std::uint64_t chunk) {
    h = (h ^ chunk) * 0xFF51AFD7ED558CCDull;
    return h ^ (h >> 29);
}
} // namespace

std::uint32_t PieceTable::hash_of(std::string_view key) {
    // Eight bytes at a time, the last eight (or four) overlapping the ones before: tokens are
    // short, and this runs for every word of every line.
    const char* p = key.data();
    const std::size_t n = key.size();
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
    if (n >= 8) {
        for (std::size_t i = 0; i + 8 < n; i += 8)
            h = mix(h, Load8(p + i));
        h = mix(h, Load8(p + n - 8));
    } else if (n >= 4) {
        h = mix(h, Load4(p) | (std::uint64_t{Load4(p + n - 4)} << 32));
    } else if (n > 0) {
        const auto b = [&](std::size_t i) {
            return static_cast<std::uint64_t>(static_cast<unsigned char>(p[i]));
        };
        h = mix(h, b(0) | (b(n / 2) << 8) | (b(n - 1) << 16));
    }
    h *= 0xC4CEB9FE1A85EC53ull;
    const auto folded = static_cast<std::uint32_t>(h ^ (h >> 32));
    return folded == 0 ? 1 : folded; // 0 marks an empty slot
}

// A slot packs the stretch's offset (upper 32 bits) and its whole hash (never 0, so that 0
// marks an empty slot): a lookup compares text only where the hashes agree, and a larger table
// places the slots again without reading the index. The stretch's length is where the next
// dot stands: every stretch of the index lies between two dots.
namespace {
constexpr std::uint64_t kHashBits = 32, kHashMask = (std::uint64_t{1} << kHashBits) - 1;
inline bool same_stretch(const std::string& index, std::size_t at, std::string_view key) {
    return at + key.size() < index.size() && index[at + key.size()] == '.' &&
           Equal_Upper(index.data() + at, key.data(), key.size());
}
} // namespace

bool PieceTable::find(std::string_view key, const std::string& index, std::size_t& offset) const {
    if (slots_.empty())
        return false;
    const std::uint32_t h = hash_of(key);
    const std::uint64_t tag = h;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = h & mask;; i = (i + 1) & mask) {
        const std::uint64_t slot = slots_[i];
        if (slot == 0)
            return false;
        if ((slot & kHashMask) == tag && same_stretch(index, slot >> kHashBits, key)) {
            offset = slot >> kHashBits;
            return true;
        }
    }
}

void PieceTable::prefetch_slot(std::string_view key) const {
    if (!slots_.empty())
        __builtin_prefetch(&slots_[hash_of(key) & (slots_.size() - 1)]);
}

void PieceTable::prefetch_stretch(std::string_view key, const std::string& index) const {
    if (slots_.empty())
        return;
    const std::uint64_t slot = slots_[hash_of(key) & (slots_.size() - 1)];
    if (slot != 0 && (slot >> kHashBits) < index.size())
        __builtin_prefetch(index.data() + (slot >> kHashBits));
}

void PieceTable::insert(std::size_t offset, std::string_view key, const std::string& index) {
    if (offset >> (64 - kHashBits))
        return; // beyond 4 GB of index: not kept (lookups then search as if new)
    // Up to three quarters full: a probe reads on within the same cache line (eight slots),
    // and the index of a large tree (600,000 tokens) fits 8 MB of slots instead of 16.
    if ((used_ + 1) * 4 > slots_.size() * 3)
        grow();
    const std::uint32_t h = hash_of(key);
    const std::uint64_t tag = h;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = h & mask;; i = (i + 1) & mask) {
        std::uint64_t& slot = slots_[i];
        if (slot == 0) {
            slot = (static_cast<std::uint64_t>(offset) << kHashBits) | tag;
            ++used_;
            return;
        }
        if ((slot & kHashMask) == tag && same_stretch(index, slot >> kHashBits, key))
            return; // the first stretch wins
    }
}

void PieceTable::grow() {
    std::vector<std::uint64_t> old = std::move(slots_);
    slots_.assign(old.empty() ? 1024 : old.size() * 2, 0);
    const std::size_t mask = slots_.size() - 1;
    for (const std::uint64_t slot : old) {
        if (slot == 0)
            continue;
        std::size_t i = (slot & kHashMask) & mask;
        while (slots_[i] != 0)
            i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

void PieceTable::clear() {
    slots_.clear();
    used_ = 0;
}

} // namespace parvex
