#include "engine/token_table.h"

#include "engine/byte_loads.h"
#include "engine/text_order.h"
#include "tables/subs.h"

#include <cstdint>
#include <cstring>
#include <unordered_map>

namespace parvex {

namespace {
constexpr std::size_t kIndexRoom = std::size_t{64} << 20;
} // namespace

std::optional<std::string> TokenTable::Find_Token(std::string_view token) const {
    std::string key = Upper_Ascii(token);
    if (key.find('.') == std::string::npos) {
        std::size_t offset = 0;
        if (pieces_.find(key, index_, offset))
            return index_.substr(offset, key.size());
    } else if (const std::size_t at = find_dotted(key); at != std::string::npos) {
        return index_.substr(at, token.size());
    }
    return std::nullopt;
}

std::size_t TokenTable::find_dotted(std::string_view upper_key) const {
    // The first "." + key + "." of the index: the key may span neighbouring tokens.
    const std::size_t n = upper_key.size();
    for (std::size_t dot = index_.find('.');
         dot != std::string::npos && dot + n + 1 < index_.size(); dot = index_.find('.', dot + 1))
        if (index_[dot + n + 1] == '.' && Equal_Upper(index_.data() + dot + 1, upper_key.data(), n))
            return dot + 1;
    return std::string::npos;
}

void TokenTable::Register_In_Place(std::string& token) {
    std::string_view stored = Stored_Form(token);
    if (stored.data() != token.data())
        token.assign(stored);
}

std::string_view TokenTable::Stored_Form(std::string_view token, bool* known) {
    // Upper-cased eight bytes at a time (a-z only; bytes from 128 up stay as they are), looking
    // out for a dot on the way.
    const std::size_t n = token.size();
    key_.resize(n);
    char* key = key_.data();
    bool dotted = false;
    std::size_t i = 0;
    constexpr std::uint64_t ones = 0x0101010101010101ull, highs = 0x8080808080808080ull;
    for (; i + 8 <= n; i += 8) {
        const std::uint64_t x = Upper8(Load8(token.data() + i));
        const std::uint64_t dots = x ^ ('.' * ones);
        dotted |= ((dots - ones) & ~dots & highs) != 0;
        std::memcpy(key + i, &x, 8);
    }
    for (; i < n; ++i) {
        char c = token[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
        else if (c == '.')
            dotted = true;
        key[i] = c;
    }
    if (dotted) {
        if (known)
            *known = Find_Token(token).has_value();
        dotted_ = Register_Token(token);
        return dotted_;
    }
    std::size_t offset = 0;
    const bool found = pieces_.find(key_, index_, offset);
    if (known)
        *known = found;
    if (!found) {
        // New: it enters the index as it is spelt here.
        if (!do_not_cumulate)
            loaded_.emplace_back(token);
        append_to_index(std::string(token), key_);
        offset = index_.size() - token.size() - 1;
    }
    return std::string_view(index_).substr(offset, token.size());
}

std::string TokenTable::Register_Token(std::string_view token) {
    if (auto stored = Find_Token(token))
        return std::move(*stored);
    std::string stored(token);
    if (!do_not_cumulate)
        loaded_.push_back(stored);
    append_to_index(stored, Upper_Ascii(stored));
    return stored;
}

void TokenTable::clear_index() {
    index_.clear();
    pieces_.clear();
    count_ = 0;
}

void TokenTable::append_to_index(const std::string& token, std::string_view upper) {
    if (index_.empty()) {
        // Room for an index of many megabytes from the start: a block that large is address
        // space the system gives lazily, page by page as the index fills it, where growing by
        // copies would touch every page twice and leave the old blocks behind.
        index_.reserve(kIndexRoom);
        index_ = ".";
    }
    index_ += token;
    index_ += '.';
    ++count_;
    // Register the stretches between dots, first occurrence winning.
    const std::size_t base = index_.size() - token.size() - 1;
    std::size_t start = 0;
    for (;;) {
        std::size_t dot = token.find('.', start);
        std::size_t end = dot == std::string::npos ? token.size() : dot;
        pieces_.insert(base + start, upper.substr(start, end - start), index_);
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
}

FileResult TokenTable::Load_Token_Tables(const std::string& tokens_file,
                                         const std::string& personal_file) {
    loaded_.clear();
    personal_.clear();
    if (!tokens_file.empty() && File_Exists(tokens_file)) {
        FileResult r = Load_Lines(tokens_file, loaded_);
        if (!r)
            return r;
        Sort_No_Case(loaded_);
    }
    if (File_Exists(personal_file)) {
        FileResult r = Load_Lines(personal_file, personal_);
        if (!r)
            return r;
    }
    // First entry of each spelling-free key, so that a personal line finds it without a scan.
    std::unordered_map<std::string, std::size_t> first_entry;
    for (std::size_t i = 0; i < loaded_.size(); ++i)
        first_entry.try_emplace(Upper_Ascii(loaded_[i]), i);
    for (const auto& line : personal_) {
        std::string t = Trim(line);
        if (t.empty() || t.starts_with("//"))
            continue;
        auto [it, added] = first_entry.try_emplace(Upper_Ascii(t), loaded_.size());
        if (added)
            loaded_.push_back(t);
        else
            loaded_[it->second] = t; // the last personal spelling wins
    }
    clear_index();
    for (const auto& entry : loaded_)
        append_to_index(entry, Upper_Ascii(entry));
    return FileResult::success();
}

FileResult TokenTable::Reload_Personal_Tokens(const std::string& personal_file) {
    loaded_.clear();
    clear_index();
    TextList lines;
    FileResult r = Load_Lines(personal_file, lines);
    if (!r)
        return r;
    personal_ = std::move(lines);
    bool remembered = do_not_cumulate;
    do_not_cumulate = false;
    for (auto& line : personal_) {
        line = Trim(line);
        if (line.empty() || line.starts_with("//"))
            continue;
        Register_Token(line);
    }
    do_not_cumulate = remembered;
    return FileResult::success();
}

FileResult TokenTable::Save_Token_Table(const std::string& tokens_file, bool save) {
    if (!save)
        return FileResult::success();
    Sort_No_Case(loaded_);
    return Save_Lines(tokens_file, loaded_);
}

} // namespace parvex
