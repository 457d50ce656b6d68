#include "news/news_rules.h"

#include <algorithm>
#include <cstdio>

namespace parvex {

namespace {

bool digits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}
int number(std::string_view s) {
    int v = 0;
    for (char c : s)
        v = v * 10 + (c - '0');
    return v;
}
bool leap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}
int days_in_month(int y, int m) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leap(y) ? 29 : days[m - 1];
}

} // namespace

std::optional<Civil_Date> Parse_Check_Date(std::string_view t) {
    Civil_Date d;
    if (t.size() == 10 && t[4] == '-' && t[7] == '-' && digits(t.substr(0, 4)) &&
        digits(t.substr(5, 2)) && digits(t.substr(8, 2))) {
        d = {number(t.substr(0, 4)), number(t.substr(5, 2)), number(t.substr(8, 2))};
    } else if (t.size() == 10 && t[2] == '.' && t[5] == '.' && digits(t.substr(0, 2)) &&
               digits(t.substr(3, 2)) && digits(t.substr(6, 4))) {
        d = {number(t.substr(6, 4)), number(t.substr(3, 2)), number(t.substr(0, 2))};
    } else {
        return std::nullopt;
    }
    if (d.year < 1 || d.month < 1 || d.month > 12 || d.day < 1 ||
        d.day > days_in_month(d.year, d.month))
        return std::nullopt;
    return d;
}

std::string Format_Check_Date(const Civil_Date& d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

long Days_Since_Epoch(const Civil_Date& d) {
    // Days from 1970-01-01 in the proleptic Gregorian calendar.
    const long y = d.month <= 2 ? d.year - 1 : d.year;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long m = d.month;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d.day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool News_Check_Due(std::string_view last_checked, const Civil_Date& today, int days) {
    const std::optional<Civil_Date> last = Parse_Check_Date(last_checked);
    if (!last || *last > today)
        return true;
    return Days_Since_Epoch(today) - Days_Since_Epoch(*last) >= std::max(days, 1);
}

FileResult Check_News_Table(std::string_view bytes) {
    if (bytes.empty())
        return FileResult::failure("the news file is empty");
    if (bytes.find('\0') != std::string_view::npos)
        return FileResult::failure("the news file is not a text file");
    const TextList lines = Split_Lines(bytes);
    const auto cells = [](const std::string& line) {
        return static_cast<int>(std::count(line.begin(), line.end(), '|')) + 1;
    };
    if (lines.empty() || cells(lines.front()) != News_Columns ||
        std::any_of(lines.begin(), lines.end(),
                    [&](const std::string& l) { return cells(l) > News_Columns; }))
        return FileResult::failure("the news file is not a table of " +
                                   std::to_string(News_Columns) + " columns");
    return FileResult::success();
}

std::string Whats_Up_Memo_Text(std::string_view whats_up) {
    std::string out;
    for (std::size_t i = 0; i < whats_up.size();) {
        if (whats_up[i] != '~') {
            out += whats_up[i++];
            continue;
        }
        // A run of tildes: each pair ends a line; an odd one is the end of the line's text.
        std::size_t end = i;
        while (end < whats_up.size() && whats_up[end] == '~')
            ++end;
        if ((end - i) % 2 != 0)
            out += '~';
        out.append((end - i) / 2, '\n');
        i = end;
    }
    // The mark that ends the last line starts no empty line after it.
    if (whats_up.ends_with("~~"))
        out.pop_back();
    return out;
}

std::optional<std::string> Whats_Up_From_Memo(std::string_view memo_text) {
    if (memo_text.empty())
        return std::string();
    std::string out, shown;
    for (std::size_t i = 0; i < memo_text.size(); ++i) {
        const char c = memo_text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < memo_text.size() && memo_text[i + 1] == '\n')
                ++i;
            out += "~~";
            shown += '\n';
        } else {
            out += c;
            shown += c;
        }
    }
    out += "~~";
    // Tildes that would merge with a line's mark, and a "|" the table file cannot hold, would
    // come back as other text: such a memo is not stored at all.
    if (shown.find('|') != std::string::npos || Whats_Up_Memo_Text(out) != shown)
        return std::nullopt;
    return out;
}

} // namespace parvex
