#include "verify/rewrite_check.h"

#include "verify/code_reader.h"

#include <algorithm>

namespace parvex {

namespace {

std::string shown(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7f)
        return std::string("'") + c + "'";
    static const char* hex = "0123456789ABCDEF";
    return std::string("byte $") + hex[u >> 4] + hex[u & 15];
}

RewriteCheck refuse(std::size_t line, std::string reason) {
    return {false, line, std::move(reason)};
}

std::string end_name(LineEnd end) {
    return end == LineEnd::None ? "none"
           : end == LineEnd::LF ? "LF"
           : end == LineEnd::CR ? "CR"
                                : "CR LF";
}

// After a line of each text: both have the same line end, or the cursors know none.
template <class OldLines, class NewLines>
[[gnu::always_inline]] inline bool ends_alike(const OldLines& old_lines,
                                              const NewLines& new_lines) {
    if constexpr (NewLines::kKnowsEnds)
        return old_lines.Same_End(new_lines);
    else
        return true;
}

template <class OldLines, class NewLines>
std::string end_changed(const OldLines& old_lines, const NewLines& new_lines) {
    if constexpr (NewLines::kKnowsEnds)
        return "the line end " + end_name(old_lines.End()) + " became " + end_name(new_lines.End());
    else
        return {};
}

template <class Lines> std::size_t count_of(Lines lines) {
    std::size_t n = 0;
    for (std::string_view line; lines.Next(line);)
        ++n;
    return n;
}

// Reads both texts line by line until the first fault, or until either has no further line.
template <class OldLines, class NewLines>
RewriteCheck read_in_step(OldLines& old_lines, NewLines& new_lines) {
    CodeReader old_reader, new_reader;
    CodeLine was, now;
    std::string_view old_line, new_line;
    for (std::size_t n = 0; old_lines.Next(old_line); ++n) {
        // Most new lines have the old one's length: taken as such, they need no search for
        // their end. Equal, or equal but for the case of letters, they hold no line end.
        if (old_reader == new_reader && new_lines.Peek(old_line.size(), new_line)) {
            if (old_line == new_line) {
                // Equal lines read in equal states are equal without the remarks too.
                old_reader.Skip_Line(old_line);
                new_reader = old_reader;
                new_lines.Skip(new_line.size());
                if (!ends_alike(old_lines, new_lines))
                    return refuse(n + 1, end_changed(old_lines, new_lines));
                continue;
            }
            // Re-cased in code only: nothing to take apart, and both read alike.
            if (old_reader.Read_Recased(old_line, new_line)) {
                new_reader = old_reader;
                new_lines.Skip(new_line.size());
                if (!ends_alike(old_lines, new_lines))
                    return refuse(n + 1, end_changed(old_lines, new_lines));
                continue;
            }
        }
        if (!new_lines.Next(new_line))
            return refuse(n + 1, "the new text ends early"); // counted by the caller
        // A changed line end is named only where the lines themselves pass.
        old_reader.Read_Line(old_line, was);
        new_reader.Read_Line(new_line, now);
        const std::size_t common = std::min(was.text.size(), now.text.size());
        for (std::size_t k = 0; k < common; ++k) {
            const char a = was.text[k], b = now.text[k];
            if (a == b)
                continue;
            if (!Same_But_Case(a, b))
                return refuse(n + 1, shown(a) + " became " + shown(b) + " (column " +
                                         std::to_string(k + 1) + " without remarks)");
            if (was.kinds[k] != ByteKind::Code)
                return refuse(n + 1,
                              std::string("letter case changed inside a ") +
                                  (was.kinds[k] == ByteKind::Literal ? "literal" : "comment") +
                                  " (column " + std::to_string(k + 1) + " without remarks)");
        }
        if (was.text.size() != now.text.size())
            return refuse(n + 1, std::string("the new line is ") +
                                     (now.text.size() > was.text.size() ? "longer" : "shorter") +
                                     " than the source line beyond its remarks");
        if (!ends_alike(old_lines, new_lines))
            return refuse(n + 1, end_changed(old_lines, new_lines));
    }
    return {};
}

// The lines of both texts in step, from cursors or from lists given. A text with lines lost or
// gained is named as such, whatever else differs: once anything differs, the lines are counted.
template <class OldLines, class NewLines>
RewriteCheck compare(const OldLines old_start, const NewLines new_start) {
    OldLines old_lines = old_start;
    NewLines new_lines = new_start;
    RewriteCheck seen = read_in_step(old_lines, new_lines);
    std::string_view more;
    if (seen && !old_lines.Next(more) && !new_lines.Next(more))
        return seen;
    const std::size_t old_count = count_of(old_start), new_count = count_of(new_start);
    if (old_count != new_count) {
        const std::size_t first = std::min(old_count, new_count) + 1;
        return refuse(first, "the new text has " + std::to_string(new_count) +
                                 " lines, the source " + std::to_string(old_count));
    }
    return seen;
}

// Lines of a list, handed out like a LineCursor's.
class ListCursor {
public:
    static constexpr bool kKnowsEnds = false; // a list's lines carry no line ends
    explicit ListCursor(const TextList& lines) : lines_(&lines) {}
    bool Next(std::string_view& line) {
        if (next_ >= lines_->size())
            return false;
        line = (*lines_)[next_++];
        return true;
    }
    bool Peek(std::size_t length, std::string_view& line) const {
        if (next_ >= lines_->size() || (*lines_)[next_].size() != length)
            return false;
        line = (*lines_)[next_];
        return true;
    }
    void Skip(std::size_t) { ++next_; }

private:
    const TextList* lines_;
    std::size_t next_ = 0;
};

} // namespace

RewriteCheck Check_Rewrite(std::string_view source, const TextList& rewritten) {
    for (std::size_t n = 0; n < rewritten.size(); ++n)
        if (rewritten[n].find_first_of("\r\n") != std::string::npos)
            return refuse(n + 1, "a line of the new text holds a line end");
    return compare(LineCursor(source), ListCursor(rewritten));
}

RewriteCheck Check_Rewrite(std::string_view source, std::string_view rewritten) {
    // Read side by side, without a list of lines for either text.
    return compare(LineCursor(source), LineCursor(rewritten));
}

} // namespace parvex
