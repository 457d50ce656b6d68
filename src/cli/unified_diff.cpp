#include "unified_diff.h"

#include "name_quote.h"

#include <algorithm>
#include <vector>

namespace parvex::cli {

namespace {

constexpr std::size_t kContext = 3;

// Every line with its line end; the last may have none. Lines end at LF only, as diff and
// patch see them (a CR before the LF belongs to the line).
std::vector<std::string_view> lines_with_ends(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i + 1 - start));
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

constexpr std::string_view kBold = "\033[1m", kCyan = "\033[36m", kRed = "\033[31m",
                           kGreen = "\033[32m", kPlain = "\033[m";

// A line in a colour: the colour ends before the line end (LF or CR LF).
void put_coloured(std::string& out, std::string_view colour, std::string_view line) {
    std::size_t end = line.size();
    if (end > 0 && line[end - 1] == '\n')
        --end;
    if (end > 0 && line[end - 1] == '\r')
        --end;
    out += colour;
    out += line.substr(0, end);
    out += kPlain;
    out += line.substr(end);
}

void put_line(std::string& out, char mark, std::string_view line, bool colour) {
    if (colour && mark != ' ') {
        out += mark == '-' ? kRed : kGreen;
        out += mark;
        put_coloured(out, {}, line);
    } else {
        out += mark;
        out += line;
    }
    if (line.empty() || line.back() != '\n')
        out += "\n\\ No newline at end of file\n";
}

std::string range(std::size_t first, std::size_t count) {
    // diff -u numbers an empty range by the line before it.
    std::string r = std::to_string(count == 0 ? first : first + 1);
    if (count != 1)
        r += "," + std::to_string(count);
    return r;
}

} // namespace

std::string Unified_Diff(std::string_view name, std::string_view old_text,
                         std::string_view new_text, bool colour) {
    if (old_text == new_text)
        return {};
    const auto a = lines_with_ends(old_text), b = lines_with_ends(new_text);
    const std::size_t common = std::min(a.size(), b.size());
    // Changed stretches [from, to) of line indexes; beyond the common part everything differs.
    std::vector<std::pair<std::size_t, std::size_t>> changes;
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] == b[i])
            continue;
        if (!changes.empty() && changes.back().second == i)
            changes.back().second = i + 1;
        else
            changes.emplace_back(i, i + 1);
    }
    const std::size_t longest = std::max(a.size(), b.size());
    if (a.size() != b.size()) {
        if (!changes.empty() && changes.back().second == common)
            changes.back().second = longest;
        else
            changes.emplace_back(common, longest);
    }

    std::string out;
    // A name with a control character, a quote or a backslash is quoted as git quotes it,
    // "a/" and all, which patch reads.
    const std::string header = "--- " + Quote_Name("a/" + std::string(name)) + "\n+++ " +
                               Quote_Name("b/" + std::string(name)) + '\n';
    if (colour) {
        const std::size_t second = header.find('\n') + 1;
        put_coloured(out, kBold, std::string_view(header).substr(0, second));
        put_coloured(out, kBold, std::string_view(header).substr(second));
    } else {
        out += header;
    }
    std::size_t k = 0;
    while (k < changes.size()) {
        // Stretches closer than twice the context share one hunk.
        std::size_t last = k;
        while (last + 1 < changes.size() &&
               changes[last + 1].first - changes[last].second <= 2 * kContext)
            ++last;
        const std::size_t from = changes[k].first > kContext ? changes[k].first - kContext : 0;
        const std::size_t to = std::min(longest, changes[last].second + kContext);
        const std::size_t a_to = std::min(to, a.size()), b_to = std::min(to, b.size());
        const std::string hunk = "@@ -" + range(from, a_to - std::min(from, a_to)) + " +" +
                                 range(from, b_to - std::min(from, b_to)) + " @@\n";
        if (colour)
            put_coloured(out, kCyan, hunk);
        else
            out += hunk;
        std::size_t i = from;
        for (std::size_t c = k; c <= last; ++c) {
            for (; i < changes[c].first; ++i)
                put_line(out, ' ', a[i], colour);
            const std::size_t end = changes[c].second;
            for (std::size_t r = i; r < end && r < a.size(); ++r)
                put_line(out, '-', a[r], colour);
            for (std::size_t r = i; r < end && r < b.size(); ++r)
                put_line(out, '+', b[r], colour);
            i = end;
        }
        for (; i < to && i < common; ++i)
            put_line(out, ' ', a[i], colour);
        k = last + 1;
    }
    return out;
}

} // namespace parvex::cli
