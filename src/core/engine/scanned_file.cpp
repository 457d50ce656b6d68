#include "engine/scanned_file.h"

#include <cstring>

namespace parvex {

std::uint32_t KeyTable::hash_of(std::string_view key) {
    std::uint32_t h = 2166136261u;
    for (unsigned char c : key)
        h = (h ^ c) * 16777619u;
    return h;
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
    const std::size_t m = slots_.size() - 1;
    for (std::size_t s = hash_of(key) & m;; s = (s + 1) & m) {
        const std::uint32_t v = slots_[s];
        if (v == 0)
            return kAbsent;
        if (Key(v - 1) == key)
            return v - 1;
    }
}

std::uint32_t KeyTable::Add(std::string_view key, std::string_view spelling) {
    const std::uint32_t id = Size();
    keys_.append(key);
    spellings_.append(spelling.substr(0, key.size()));
    spellings_.resize(keys_.size(), ' ');
    starts_.push_back(static_cast<std::uint32_t>(keys_.size()));
    if ((id + 1) * 2 > slots_.size())
        grow();
    else {
        const std::size_t m = slots_.size() - 1;
        std::size_t s = hash_of(key) & m;
        while (slots_[s] != 0)
            s = (s + 1) & m;
        slots_[s] = id + 1;
    }
    return id;
}

void KeyTable::Clear() {
    keys_.clear();
    spellings_.clear();
    starts_.assign(1, 0);
    slots_.clear();
}

void ScannedFile::Clear() {
    tokens.Clear();
    uses.clear();
    known.clear();
    names.Clear();
    name_found.clear();
    masks.clear();
    mask_ends.clear();
    settled = false;
    next_use = 0;
    seen.clear();
}

std::size_t ScannedFile::Room() const {
    return uses.capacity() * sizeof(std::uint32_t) + masks.capacity() +
           mask_ends.capacity() * sizeof(std::size_t) + known.capacity() + seen.capacity();
}

void KeyTable::grow() {
    slots_.assign(slots_.empty() ? 64 : slots_.size() * 2, 0);
    const std::size_t m = slots_.size() - 1;
    for (std::uint32_t id = 0; id < Size(); ++id) {
        std::size_t s = hash_of(Key(id)) & m;
        while (slots_[s] != 0)
            s = (s + 1) & m;
        slots_[s] = id + 1;
    }
}

} // namespace parvex
