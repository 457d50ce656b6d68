#include "engine/token_table.h"

#include "engine/byte_loads.h"
#include "engine/text_order.h"
#include "platform/input_read.h"
#include "tables/subs.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <new>

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

namespace {

// A token file as lines: a binary one, or one beyond the size limit, is refused with the reason.
FileResult read_token_file(const std::string& name, std::uint64_t limit, TextList& lines) {
    std::string bytes;
    if (InputRead r = Read_Input_File(name, bytes, limit, "not loaded"); !r)
        return FileResult::failure(r.status == InputStatus::Unreadable ? r.error
                                                                       : name + ": " + r.error);
    lines = Split_Lines(bytes);
    return FileResult::success();
}

// The first entry of each token (compared as if upper-cased) among the entries of a list of up
// to millions: one array of slots, each the entry's number and its key's hash, sized once for
// all the entries to come, and no upper-cased copy of any key kept.
class FirstEntries {
public:
    FirstEntries(const TextList& list, std::size_t entries) : list_(list) {
        std::size_t n = 1024;
        while (n < 2 * entries)
            n *= 2;
        slots_.assign(n, 0);
    }
    // The number of the first entry equal to the upper-cased `key`; when there is none, `next`
    // (the number the caller gives the entry it adds next) is kept for it and given back.
    std::size_t Find_Or_Add(std::string_view key, std::size_t next) {
        const std::uint64_t h = std::hash<std::string_view>()(key) | 1; // 0 marks an empty slot
        const std::uint64_t tag = h & 0xFFFFFFFFu;
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = (h >> 32) & mask;; i = (i + 1) & mask) {
            std::uint64_t& slot = slots_[i];
            if (slot == 0) {
                slot = (static_cast<std::uint64_t>(next) << 32) | tag;
                return next;
            }
            const std::size_t entry = slot >> 32;
            if ((slot & 0xFFFFFFFFu) == tag && list_[entry].size() == key.size() &&
                Equal_Upper(list_[entry].data(), key.data(), key.size()))
                return entry;
        }
    }

private:
    const TextList& list_;
    std::vector<std::uint64_t> slots_;
};

void upper_into(std::string_view token, std::string& key) {
    key.assign(token);
    for (char& c : key)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
}

} // namespace

FileResult TokenTable::Load_Token_Tables(const std::string& tokens_file,
                                         const std::string& personal_file, std::uint64_t limit) {
    loaded_.clear();
    personal_.clear();
    clear_index();
    // Either both files are taken or neither: a refused file leaves no tokens half-loaded.
    FileResult r = FileResult::success();
    try {
        r = load_token_tables(tokens_file, personal_file, limit);
    } catch (const std::bad_alloc&) {
        r = FileResult::failure("not enough memory for the token files, none loaded");
    }
    if (!r) {
        TextList().swap(loaded_);
        TextList().swap(personal_);
        clear_index();
    }
    return r;
}

FileResult TokenTable::load_token_tables(const std::string& tokens_file,
                                         const std::string& personal_file, std::uint64_t limit) {
    if (!tokens_file.empty() && File_Exists(tokens_file)) {
        if (FileResult r = read_token_file(tokens_file, limit, loaded_); !r)
            return r;
        Sort_No_Case(loaded_);
    }
    if (File_Exists(personal_file))
        if (FileResult r = read_token_file(personal_file, limit, personal_); !r)
            return r;
    loaded_.reserve(loaded_.size() + personal_.size());
    {
        // The first entry of each key, so that a personal line finds it without a scan.
        FirstEntries first(loaded_, loaded_.size() + personal_.size());
        for (std::size_t i = 0; i < loaded_.size(); ++i) {
            upper_into(loaded_[i], key_);
            (void)first.Find_Or_Add(key_, i);
        }
        for (const auto& line : personal_) {
            const std::string_view t = Trimmed(line);
            if (t.empty() || t.starts_with("//"))
                continue;
            upper_into(t, key_);
            const std::size_t entry = first.Find_Or_Add(key_, loaded_.size());
            if (entry == loaded_.size())
                loaded_.emplace_back(t);
            else
                loaded_[entry] = t; // the last personal spelling wins
        }
    }
    for (const auto& entry : loaded_) {
        upper_into(entry, key_);
        append_to_index(entry, key_);
    }
    return FileResult::success();
}

FileResult TokenTable::Reload_Personal_Tokens(const std::string& personal_file,
                                              std::uint64_t limit) {
    loaded_.clear();
    clear_index();
    TextList lines;
    FileResult r = FileResult::success();
    try {
        r = read_token_file(personal_file, limit, lines);
    } catch (const std::bad_alloc&) {
        r = FileResult::failure(personal_file + ": not enough memory to load it");
    }
    if (!r)
        return r;
    personal_ = std::move(lines);
    bool remembered = do_not_cumulate;
    do_not_cumulate = false;
    try {
        for (auto& line : personal_) {
            line = Trim(line);
            if (line.empty() || line.starts_with("//"))
                continue;
            Register_Token(line);
        }
    } catch (const std::bad_alloc&) {
        TextList().swap(loaded_);
        TextList().swap(personal_);
        clear_index();
        r = FileResult::failure(personal_file + ": not enough memory to load it");
    }
    do_not_cumulate = remembered;
    return r;
}

FileResult TokenTable::Save_Token_Table(const std::string& tokens_file, bool save) {
    if (!save)
        return FileResult::success();
    Sort_No_Case(loaded_);
    return Save_Lines(tokens_file, loaded_);
}

} // namespace parvex
