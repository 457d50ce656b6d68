#pragma once
// A collection list (literals, numbers or tokens with the numbers of their lines) kept compact:
// every distinct item is stored once and each occurrence takes eight bytes, so a file of ten
// million one-letter tokens does not need ten million strings. It reads like the list of
// Collected_Lines it stands for ("Foo" TAB "#007").

#include "platform/text_file.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace parvex {

class CollectedList {
public:
    // Digits of the line numbers (Number_Width of the file's line count).
    void set_width(int width) { width_ = width; }
    int width() const { return width_; }

    void add(std::string_view item, std::size_t line_number);
    // Room for n entries, taken up front: grown step by step, a list of millions would stand
    // twice in memory while it moves.
    void reserve(std::size_t n) { entries_.reserve(n); }
    // Adds a Collected_Line as it is written ("Foo" TAB "#007"): the item up to the last TAB,
    // the line number after "#"; the list takes the width of its digits. A line of another form
    // is taken whole as the item of line 0.
    void push_back(std::string_view collected_line);

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    void clear();
    // The Collected_Line of entry i, and its parts.
    std::string operator[](std::size_t i) const;
    std::string front() const { return (*this)[0]; }
    std::string back() const { return (*this)[size() - 1]; }
    std::string_view item(std::size_t i) const { return item_text(entries_[i].item); }
    // Appends the Collected_Line of entry i, or only its TAB + "#" + line number, without
    // making a string of its own.
    void append_line(std::size_t i, std::string& out) const;
    void append_number(std::size_t i, std::string& out) const;
    std::size_t line_number(std::size_t i) const { return entries_[i].line; }
    // Whether entries i and j hold the same item, letter case counting.
    bool same_item(std::size_t i, std::size_t j) const {
        return entries_[i].item == entries_[j].item;
    }

    // Reading the list in order gives its Collected_Lines.
    class const_iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = std::string;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string;
        const_iterator(const CollectedList* list, std::size_t i) : list_(list), i_(i) {}
        std::string operator*() const { return (*list_)[i_]; }
        const_iterator& operator++() {
            ++i_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++i_;
            return before;
        }
        bool operator==(const const_iterator& other) const { return i_ == other.i_; }
        bool operator!=(const const_iterator& other) const { return i_ != other.i_; }

    private:
        const CollectedList* list_;
        std::size_t i_;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    TextList lines() const;
    operator TextList() const { return lines(); } // for the panes and the list files

    // The order of Sort_No_Case over the Collected_Lines: case-blind, equal lines kept in place.
    void Sort_No_Case();

    friend bool operator==(const CollectedList& list, const TextList& lines);

private:
    struct Entry {
        std::uint32_t item;
        std::uint32_t line;
    };
    std::string_view item_text(std::uint32_t id) const {
        return std::string_view(text_).substr(items_[id].first, items_[id].second);
    }
    std::uint32_t intern(std::string_view item);
    void grow_slots();

    std::vector<Entry> entries_;
    std::string text_;                                         // every distinct item once
    std::vector<std::pair<std::size_t, std::uint32_t>> items_; // offset and length in text_
    std::vector<std::uint32_t> slots_; // hash set of item ids + 1; 0 is empty
    int width_ = 2;
    bool in_line_order_ = true;
};

} // namespace parvex
