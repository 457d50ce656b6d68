#include "engine/collected_list.h"

#include "engine/listing_run.h"
#include "engine/text_order.h"

#include <algorithm>
#include <cstring>

namespace parvex {

namespace {

std::uint32_t hash_item(std::string_view s) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ s.size();
    for (unsigned char c : s)
        h = (h ^ c) * 0x100000001B3ull;
    return static_cast<std::uint32_t>(h ^ (h >> 32));
}

inline unsigned char up(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
}

// Compares a + TAB with b + TAB without regard to ASCII letter case: the order of two
// Collected_Lines whose items differ, when no item holds a TAB.
int compare_items(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char p = up(static_cast<unsigned char>(a[i]));
        unsigned char q = up(static_cast<unsigned char>(b[i]));
        if (p != q)
            return p < q ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    if (a.size() < b.size())
        return '\t' < up(static_cast<unsigned char>(b[n])) ? -1 : 1;
    return up(static_cast<unsigned char>(a[n])) < '\t' ? -1 : 1;
}

} // namespace

void CollectedList::clear() {
    std::vector<Entry>().swap(entries_);
    std::string().swap(text_);
    items_.clear();
    items_.shrink_to_fit();
    std::vector<std::uint32_t>().swap(slots_);
    in_line_order_ = true;
}

std::uint32_t CollectedList::intern(std::string_view item) {
    if ((items_.size() + 1) * 2 > slots_.size())
        grow_slots();
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash_item(item) & mask;; i = (i + 1) & mask) {
        const std::uint32_t slot = slots_[i];
        if (slot == 0) {
            const auto id = static_cast<std::uint32_t>(items_.size());
            items_.emplace_back(text_.size(), static_cast<std::uint32_t>(item.size()));
            text_.append(item);
            slots_[i] = id + 1;
            return id;
        }
        if (item_text(slot - 1) == item)
            return slot - 1;
    }
}

void CollectedList::grow_slots() {
    std::vector<std::uint32_t> slots(slots_.empty() ? 64 : slots_.size() * 2, 0);
    const std::size_t mask = slots.size() - 1;
    for (std::uint32_t id = 0; id < items_.size(); ++id) {
        std::size_t i = hash_item(item_text(id)) & mask;
        while (slots[i] != 0)
            i = (i + 1) & mask;
        slots[i] = id + 1;
    }
    slots_.swap(slots);
}

void CollectedList::add(std::string_view item, std::size_t line_number) {
    const auto line = static_cast<std::uint32_t>(line_number);
    if (!entries_.empty() && line < entries_.back().line)
        in_line_order_ = false;
    entries_.push_back({intern(item), line});
}

void CollectedList::push_back(std::string_view collected_line) {
    const auto tab = collected_line.rfind('\t');
    if (tab == std::string_view::npos || tab + 2 > collected_line.size() ||
        collected_line[tab + 1] != '#') {
        add(collected_line, 0);
        return;
    }
    const std::string_view digits = collected_line.substr(tab + 2);
    std::size_t line = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            add(collected_line, 0);
            return;
        }
        line = line * 10 + static_cast<std::size_t>(c - '0');
    }
    width_ = static_cast<int>(digits.size());
    add(collected_line.substr(0, tab), line);
}

std::string CollectedList::operator[](std::size_t i) const {
    return Collected_Line(item_text(entries_[i].item), entries_[i].line, width_);
}

void CollectedList::append_line(std::size_t i, std::string& out) const {
    out.append(item_text(entries_[i].item));
    Append_Line_Number(out, entries_[i].line, width_);
}

void CollectedList::append_number(std::size_t i, std::string& out) const {
    Append_Line_Number(out, entries_[i].line, width_);
}

TextList CollectedList::lines() const {
    TextList out;
    out.reserve(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i)
        out.push_back((*this)[i]);
    return out;
}

bool operator==(const CollectedList& list, const TextList& lines) {
    if (list.size() != lines.size())
        return false;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (list[i] != lines[i])
            return false;
    return true;
}

void CollectedList::Sort_No_Case() {
    if (entries_.size() < 2)
        return;
    bool tab = false;
    for (const auto& [offset, length] : items_)
        tab = tab || std::memchr(text_.data() + offset, '\t', length) != nullptr;
    if (tab) {
        // An item with a TAB of its own can make the line numbers decide between two items:
        // sort the lines themselves and take the order from them.
        TextList composed = lines();
        std::vector<std::uint32_t> order(entries_.size());
        for (std::uint32_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
            return Less_No_Case(composed[a], composed[b]);
        });
        std::vector<Entry> sorted;
        sorted.reserve(entries_.size());
        for (std::uint32_t i : order)
            sorted.push_back(entries_[i]);
        entries_.swap(sorted);
        in_line_order_ = false;
        return;
    }
    // Items that differ decide by themselves; items equal but for letter case share a rank and
    // are ordered by line number, then by their place in the list.
    std::vector<std::uint32_t> ids(items_.size());
    for (std::uint32_t i = 0; i < ids.size(); ++i)
        ids[i] = i;
    std::sort(ids.begin(), ids.end(), [&](std::uint32_t a, std::uint32_t b) {
        return compare_items(item_text(a), item_text(b)) < 0;
    });
    std::vector<std::uint32_t> rank(items_.size());
    std::uint32_t r = 0;
    for (std::size_t k = 0; k < ids.size(); ++k) {
        if (k > 0 && compare_items(item_text(ids[k - 1]), item_text(ids[k])) != 0)
            ++r;
        rank[ids[k]] = r;
    }
    if (!in_line_order_) {
        std::stable_sort(entries_.begin(), entries_.end(), [&](const Entry& a, const Entry& b) {
            if (rank[a.item] != rank[b.item])
                return rank[a.item] < rank[b.item];
            return a.line < b.line;
        });
        return;
    }
    // In line order already: a counting sort by rank keeps that order within each rank.
    std::vector<std::size_t> start(static_cast<std::size_t>(r) + 2, 0);
    for (const Entry& e : entries_)
        ++start[rank[e.item] + 1];
    for (std::size_t k = 1; k < start.size(); ++k)
        start[k] += start[k - 1];
    std::vector<Entry> sorted(entries_.size());
    for (const Entry& e : entries_)
        sorted[start[rank[e.item]]++] = e;
    entries_.swap(sorted);
    in_line_order_ = false;
}

} // namespace parvex
