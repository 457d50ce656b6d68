#include "tables/table_sort.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>

namespace parvex {

namespace {

std::string_view trim_blanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

unsigned char fold(unsigned char c, bool case_sensitive) {
    if (!case_sensitive && c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 'a' + 'A');
    return c;
}

// Reads an unsigned decimal of 1..max_digits digits that makes up the whole text.
std::optional<int> read_uint(std::string_view s, std::size_t max_digits) {
    if (s.empty() || s.size() > max_digits)
        return std::nullopt;
    int value = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::vector<std::string_view> split(std::string_view s, char sep) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t at = s.find(sep, start);
        parts.push_back(s.substr(start, at == std::string_view::npos ? s.npos : at - start));
        if (at == std::string_view::npos)
            return parts;
        start = at + 1;
    }
}

bool is_leap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int days_in_month(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && is_leap(y) ? 29 : days[m - 1];
}

// Days since 0001-01-01 of a valid date.
long long day_number(int y, int m, int d) {
    long long days = 0;
    long long py = y - 1;
    days = py * 365 + py / 4 - py / 100 + py / 400;
    for (int i = 1; i < m; ++i)
        days += days_in_month(y, i);
    return days + d - 1;
}

// A year of up to four digits; two digits mean 1950 .. 2049. -1 when it is no number.
int read_year(std::string_view part) {
    std::optional<int> y = read_uint(part, 4);
    if (!y)
        return -1;
    return part.size() <= 2 ? *y + (*y < 50 ? 2000 : 1900) : *y;
}

std::optional<long long> parse_date(std::string_view s) {
    int y = 0, m = 0, d = 0;
    std::vector<std::string_view> parts;
    if (s.find('.') != s.npos) {
        parts = split(s, '.');
        if (parts.size() == 4 && parts[3].empty()) // "1.2.2003." is still a date
            parts.pop_back();
        if (parts.size() != 3)
            return std::nullopt;
        d = read_uint(parts[0], 2).value_or(-1);
        m = read_uint(parts[1], 2).value_or(-1);
        y = read_year(parts[2]);
        if (y < 0)
            return std::nullopt;
    } else if (s.find('-') != s.npos) {
        parts = split(s, '-');
        if (parts.size() != 3 || parts[0].size() != 4)
            return std::nullopt;
        y = read_uint(parts[0], 4).value_or(-1);
        m = read_uint(parts[1], 2).value_or(-1);
        d = read_uint(parts[2], 2).value_or(-1);
    } else if (s.find('/') != s.npos) {
        parts = split(s, '/');
        if (parts.size() != 3)
            return std::nullopt;
        m = read_uint(parts[0], 2).value_or(-1);
        d = read_uint(parts[1], 2).value_or(-1);
        y = read_year(parts[2]);
        if (y < 0)
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    if (y < 1 || m < 1 || m > 12 || d < 1 || d > days_in_month(y, m))
        return std::nullopt;
    return day_number(y, m, d);
}

} // namespace

std::optional<Sort_Style> Style_For_Type(char type_letter) {
    switch (type_letter) {
    case 'S':
    case 'L':
        return Sort_Style::Alphabetic;
    case 'N':
        return Sort_Style::Numeric;
    case 'D':
        return Sort_Style::Date_Time;
    case 'T':
        return Sort_Style::Time;
    default:
        return std::nullopt;
    }
}

std::optional<double> Parse_Number(std::string_view text) {
    std::string_view s = trim_blanks(text);
    if (s.empty())
        return std::nullopt;
    std::string buf;
    buf.reserve(s.size());
    bool digit = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c >= '0' && c <= '9') {
            digit = true;
            buf += c;
        } else if (c == '+' && i == 0) {
            continue;
        } else if (c == '-' || c == '.' || c == 'e' || c == 'E' || c == '+') {
            buf += c;
        } else if (c == ',') {
            buf += '.';
        } else {
            return std::nullopt;
        }
    }
    if (!digit)
        return std::nullopt;
    double value = 0;
    auto [end, ec] = std::from_chars(buf.data(), buf.data() + buf.size(), value);
    if (ec != std::errc() || end != buf.data() + buf.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> Parse_Time(std::string_view text) {
    std::string_view s = trim_blanks(text);
    int half = 0; // 1 = AM, 2 = PM
    if (s.size() >= 2) {
        std::string_view tail = s.substr(s.size() - 2);
        auto up = [](char c) {
            return static_cast<char>(fold(static_cast<unsigned char>(c), false));
        };
        if (up(tail[1]) == 'M' && (up(tail[0]) == 'A' || up(tail[0]) == 'P')) {
            half = up(tail[0]) == 'A' ? 1 : 2;
            s = trim_blanks(s.substr(0, s.size() - 2));
        }
    }
    auto parts = split(s, ':');
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    auto h = read_uint(parts[0], 2);
    auto m = read_uint(parts[1], 2);
    if (!h || !m || parts[1].size() != 2 || *m > 59)
        return std::nullopt;
    double seconds = 0;
    if (parts.size() == 3) {
        std::string_view sec = parts[2];
        std::string_view frac;
        if (auto dot = sec.find('.'); dot != sec.npos) {
            frac = sec.substr(dot + 1);
            sec = sec.substr(0, dot);
        }
        auto ss = read_uint(sec, 2);
        if (!ss || sec.size() != 2 || *ss > 59)
            return std::nullopt;
        seconds = *ss;
        if (!frac.empty()) {
            auto f = read_uint(frac, 3);
            if (!f)
                return std::nullopt;
            seconds += *f / std::pow(10.0, static_cast<double>(frac.size()));
        }
    }
    int hours = *h;
    if (half != 0) {
        if (hours < 1 || hours > 12)
            return std::nullopt;
        hours = hours % 12 + (half == 2 ? 12 : 0);
    } else if (hours > 23) {
        return std::nullopt;
    }
    return hours * 3600.0 + *m * 60.0 + seconds;
}

std::optional<double> Parse_Date_Time(std::string_view text) {
    std::string_view s = trim_blanks(text);
    std::string_view date = s, time;
    std::size_t gap = s.find(' ');
    if (gap == s.npos && s.size() > 10 && s[4] == '-' && (s[10] == 'T' || s[10] == 't'))
        gap = 10;
    if (gap != s.npos) {
        date = s.substr(0, gap);
        time = trim_blanks(s.substr(gap + 1));
    }
    auto days = parse_date(date);
    if (!days)
        return std::nullopt;
    double seconds = 0;
    if (!time.empty()) {
        auto t = Parse_Time(time);
        if (!t)
            return std::nullopt;
        seconds = *t;
    }
    return static_cast<double>(*days) * 86400.0 + seconds;
}

int Compare_Text(std::string_view a, std::string_view b, bool case_sensitive) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = fold(static_cast<unsigned char>(a[i]), case_sensitive);
        unsigned char y = fold(static_cast<unsigned char>(b[i]), case_sensitive);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

Sort_Style Detect_Style(const std::vector<std::string_view>& cells) {
    bool any = false, numbers = true, dates = true, times = true;
    for (std::string_view c : cells) {
        if (trim_blanks(c).empty())
            continue;
        any = true;
        numbers = numbers && Parse_Number(c).has_value();
        dates = dates && Parse_Date_Time(c).has_value();
        times = times && Parse_Time(c).has_value();
        if (!numbers && !dates && !times)
            break;
    }
    if (!any)
        return Sort_Style::Alphabetic;
    if (numbers)
        return Sort_Style::Numeric;
    if (dates)
        return Sort_Style::Date_Time;
    if (times)
        return Sort_Style::Time;
    return Sort_Style::Alphabetic;
}

std::vector<std::size_t> Sort_Order(const std::vector<std::string_view>& cells,
                                    const Sort_Options& options) {
    std::vector<std::size_t> order(cells.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    Sort_Style style = options.style;
    if (style == Sort_Style::Automatic)
        style = Detect_Style(cells);
    const bool cs = options.case_sensitive;
    const bool desc = options.direction == Sort_Direction::Descending;

    if (style == Sort_Style::Alphabetic) {
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            int r = Compare_Text(cells[a], cells[b], cs);
            return desc ? r > 0 : r < 0;
        });
        return order;
    }

    std::vector<std::optional<double>> keys(cells.size());
    for (std::size_t i = 0; i < cells.size(); ++i) {
        switch (style) {
        case Sort_Style::Numeric:
            keys[i] = Parse_Number(cells[i]);
            break;
        case Sort_Style::Date_Time:
            keys[i] = Parse_Date_Time(cells[i]);
            break;
        default:
            keys[i] = Parse_Time(cells[i]);
            break;
        }
    }
    auto compare = [&](std::size_t a, std::size_t b) -> int {
        const auto &ka = keys[a], &kb = keys[b];
        if (ka && kb)
            return *ka < *kb ? -1 : (*kb < *ka ? 1 : 0);
        if (!ka && !kb)
            return Compare_Text(cells[a], cells[b], cs);
        return ka ? 1 : -1;
    };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        int r = compare(a, b);
        return desc ? r > 0 : r < 0;
    });
    return order;
}

} // namespace parvex
