#pragma once
// The rules of the news table that need no window: when the start-up check is due, whether a
// download is a news table at all, and how the "what's up" text maps to the lines of a memo.

#include "platform/text_file.h"

#include <compare>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace parvex {

inline constexpr std::string_view News_File_Name = "HP-News.dat";
inline constexpr std::string_view Fresh_News_File_Name = "news.dat";
// The table before the last take-over, beside it.
inline constexpr std::string_view News_Backup_File_Name = "HP-News.dat-SAVED";
inline constexpr std::size_t News_Max_Bytes = 1u << 20;
inline constexpr int News_Timeout_Ms = 30000;
inline constexpr int News_Columns = 8;
// Where the news come from unless the settings file names another address.
inline constexpr std::string_view Default_News_Address = "https://www.parvex.example.org/news.dat";

struct Civil_Date {
    int year = 1980;
    int month = 1;
    int day = 1;
    auto operator<=>(const Civil_Date&) const = default;
};

// "yyyy-MM-dd", or the older "dd.MM.yyyy"; nothing for any other text or an impossible date.
std::optional<Civil_Date> Parse_Check_Date(std::string_view text);
std::string Format_Check_Date(const Civil_Date& date); // yyyy-MM-dd
long Days_Since_Epoch(const Civil_Date& date);

// The start-up check is due when the last check lies `days` or more days back, and also when
// its date cannot be read or lies in the future (a clock that was wrong once must not stop the
// checks for good).
bool News_Check_Due(std::string_view last_checked, const Civil_Date& today, int days);

// A download is taken only when it is a table of the news columns: a header row of eight cells
// and no row with more; an error page or any other file is refused with the reason.
[[nodiscard]] FileResult Check_News_Table(std::string_view bytes);

// The memo and the "what's up" text, where "~~" ends every line. The memo shows the lines
// without the empty one a last "~~" would start; an odd tilde at a line's end stays with that
// line ("x~" is kept as "x~~~"), and text after the last "~~" is a last line of its own.
std::string Whats_Up_Memo_Text(std::string_view whats_up);
// The memo's lines (split at CR LF, CR or LF; a final line break gives a last, empty line),
// each followed by "~~", so that the memo shows the same text again. Nothing for a text that
// cannot be kept so (see Whats_Up_Refusal_Text); an empty memo gives an empty text.
std::optional<std::string> Whats_Up_From_Memo(std::string_view memo_text);
inline constexpr std::string_view Whats_Up_Refusal_Text =
    "The news table ends each line with \"~~\" and separates its columns with \"|\": a line "
    "may not hold \"~~\" or \"|\", and no line but the first may begin with \"~\".";

} // namespace parvex
