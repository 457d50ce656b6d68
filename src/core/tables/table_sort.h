#pragma once
// Sort styles and options of the table grids, and the sort keys each style reads from a cell.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace parvex {

enum class Sort_Style { Automatic, Alphabetic, Numeric, Date_Time, Time };
enum class Sort_Direction { Ascending, Descending };

// The grid's sort parameters; callers may keep one and pass it in and out of the procedures.
struct Sort_Options {
    Sort_Style style = Sort_Style::Automatic;
    Sort_Direction direction = Sort_Direction::Ascending;
    bool case_sensitive = false;
    bool operator==(const Sort_Options&) const = default;
};

// The style a column type letter asks for; nothing for letters that leave the caller's style.
std::optional<Sort_Style> Style_For_Type(char type_letter);

// Readers of cell texts. Blanks around the value are ignored.
// Numbers: optional sign, digits, "." or "," as decimal mark, optional exponent.
std::optional<double> Parse_Number(std::string_view text);
// Time of day "h:mm", "h:mm:ss" or "h:mm:ss.zzz", optionally followed by AM or PM; in seconds.
std::optional<double> Parse_Time(std::string_view text);
// A date "d.m.yyyy", "yyyy-mm-dd" or "m/d/yyyy" (two-digit years count from 1950 to 2049),
// optionally followed by a time as above; in seconds since 0001-01-01 (proleptic calendar).
std::optional<double> Parse_Date_Time(std::string_view text);

// The style automatic sorting picks for these cells: numeric when every non-empty cell is a
// number, else date-time, else time by the same rule; alphabetic otherwise or when all are empty.
Sort_Style Detect_Style(const std::vector<std::string_view>& cells);

// The order of rows (indices into `cells`) that sorts them by the options; rows with equal keys
// keep their order. In the numeric, date-time and time styles, cells that cannot be read rank
// below every value and among themselves alphabetically, so empty cells go first ascending and
// last descending, as in the alphabetic style.
std::vector<std::size_t> Sort_Order(const std::vector<std::string_view>& cells,
                                    const Sort_Options& options);

// Compares two texts by bytes; without case sensitivity ASCII letters compare as upper case.
int Compare_Text(std::string_view a, std::string_view b, bool case_sensitive);

} // namespace parvex
