#include "engine/scanned_file.h"

#include <cstring>

namespace parvex {

std::uint32_t KeyTable::hash_of(std::string_view key) {
    // Eight bytes at a time: keys are short, and most fit in one or two steps.
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ key.size();
    std::size_t i = 0;
    for (; i + 8 <= key.size(); i += 8) {
        std::uint64_t x;
        std::memcpy(&x, key.data() + i, 8);
        h = (h ^ x) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, key.data() + i, key.size() - i);
    h = (h ^ tail) * 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 29;
    return static_cast<std::uint32_t>(h);
}

std::string_view KeyTable::Key(std::uint32_t id) const {
    return std::string_view(keys_).substr(starts_[id], starts_[id + 1] - starts_[id]);
}

std::string_view KeyTable::Spelling(std::uint32_t id) const {
    return std::string_view(spellings_).substr(starts_[id], starts_[id + 1] - starts_[id]);
}

void KeyTable::Respell(std::uint32_t id, std::string_view spelling) {
    std::memcpy(spellings_.data() + starts_[id], spelling.data(),
                std::min<std::size_t>(spelling.size(), starts_[id + 1] - starts_[id]));
}

std::uint32_t KeyTable::Find(std::string_view key) const {
    if (slots_.empty())
        return kAbsent;
    const std::uint32_t h = hash_of(key);
    const std::size_t m = slots_.size() - 1;
    for (std::size_t s = h & m;; s = (s + 1) & m) {
        const std::uint64_t v = slots_[s];
        if (v == 0)
            return kAbsent;
        const auto id = static_cast<std::uint32_t>(v) - 1;
        if (static_cast<std::uint32_t>(v >> 32) == h && Key(id) == key)
            return id;
    }
}

std::uint32_t KeyTable::append(std::string_view key, std::string_view spelling) {
    const std::uint32_t id = Size();
    keys_.append(key);
    spellings_.append(spelling.substr(0, key.size()));
    spellings_.resize(keys_.size(), ' ');
    starts_.push_back(static_cast<std::uint32_t>(keys_.size()));
    return id;
}

std::uint32_t KeyTable::Add(std::string_view key, std::string_view spelling) {
    if ((std::size_t{Size()} + 1) * 2 > slots_.size())
        grow(slots_.empty() ? 64 : slots_.size() * 2);
    const std::uint32_t h = hash_of(key);
    const std::uint32_t id = append(key, spelling);
    place(slots_, (std::uint64_t{h} << 32) | (id + 1));
    return id;
}

std::uint32_t KeyTable::Find_Or_Add(std::string_view key, std::string_view spelling) {
    if ((std::size_t{Size()} + 1) * 2 > slots_.size())
        grow(slots_.empty() ? 64 : slots_.size() * 2);
    const std::uint32_t h = hash_of(key);
    const std::size_t m = slots_.size() - 1;
    std::size_t s = h & m;
    for (;; s = (s + 1) & m) {
        const std::uint64_t v = slots_[s];
        if (v == 0)
            break;
        const auto id = static_cast<std::uint32_t>(v) - 1;
        if (static_cast<std::uint32_t>(v >> 32) == h && Key(id) == key)
            return id;
    }
    const std::uint32_t id = append(key, spelling);
    slots_[s] = (std::uint64_t{h} << 32) | (id + 1);
    return id;
}

void KeyTable::Expect(std::size_t keys) {
    // At most half the slots in use; a table that large is cleared for every file, so the
    // guess stays modest and a file with more keys lets the table grow.
    std::size_t size = 64;
    while (size < 2 * keys && size < (std::size_t{1} << 16))
        size *= 2;
    if (Size() == 0 && size > slots_.size())
        slots_.assign(size, 0);
}

void KeyTable::place(std::vector<std::uint64_t>& slots, std::uint64_t slot) {
    const std::size_t m = slots.size() - 1;
    std::size_t s = static_cast<std::uint32_t>(slot >> 32) & m;
    while (slots[s] != 0)
        s = (s + 1) & m;
    slots[s] = slot;
}

void KeyTable::Clear() {
    keys_.clear();
    spellings_.clear();
    starts_.assign(1, 0);
    slots_.clear();
}

void KeyTable::grow(std::size_t size) {
    // Each slot keeps its key's hash: the keys are placed anew without hashing them again.
    spare_.assign(size, 0);
    for (const std::uint64_t slot : slots_)
        if (slot != 0)
            place(spare_, slot);
    slots_.swap(spare_);
}

void ScannedFile::Clear() {
    tokens.Clear();
    uses.clear();
    known.clear();
    names.Clear();
    name_found.clear();
    source.clear();
    patches.clear();
    spellings.Clear();
    respelt.clear();
    next_use = 0;
    seen.clear();
}

std::size_t ScannedFile::Room() const {
    return uses.capacity() * sizeof(std::uint32_t) + source.capacity() * sizeof(std::string_view) +
           patches.capacity() * sizeof(Patch) + spellings.Room() + known.capacity() +
           respelt.capacity() + seen.capacity();
}

} // namespace parvex
