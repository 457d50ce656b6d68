#pragma once
// The rolling log of shown messages and notable events: an in-memory list that is the master
// copy, written whole to the log file after every entry and trimmed to a maximum line count.

#include "platform/text_file.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace parvex {

// A local date and time, as the clock gives it to the log.
struct Local_Date_Time {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
};

// The clock and the user's date and time formats are passed in, so tests use a fixed clock and
// the desktop program uses the formats of the user's locale.
struct Log_Clock {
    std::function<Local_Date_Time()> now;
    std::function<std::string(const Local_Date_Time&)> short_date;
    std::function<std::string(const Local_Date_Time&)> long_time;
};

// The system's local time with "YYYY-MM-DD" and "HH:MM:SS" (used where no locale is at hand).
Log_Clock System_Log_Clock();

// Date, one blank and time; the time is left out at exactly midnight.
std::string Log_Time_Stamp(const Log_Clock& clock, const Local_Date_Time& when);

inline constexpr std::int32_t Default_Max_Log_Lines = 50;

class Log_Book {
public:
    explicit Log_Book(Log_Clock clock = System_Log_Clock());

    std::string LogFile_Name;
    bool Log_Enabled = false;
    std::int32_t Max_Log_Lines = Default_Max_Log_Lines;

    bool Log_Loaded() const { return loaded_; }
    const TextList& Lines() const { return lines_; }

    // Opens the log once: takes over the lines of an existing file. Nothing happens without a
    // file name or when the log is already open. A file that exists but cannot be read leaves
    // the log empty and is reported.
    [[nodiscard]] FileResult Open();

    // A message entry: time, title, text and (only when not empty) the file name, TAB-separated.
    // Nothing is logged before the log is open or while logging is off.
    [[nodiscard]] FileResult Log_IT(const std::string& title, const std::string& text,
                                    const std::string& file_name);
    // An event entry: time, kind and text, TAB-separated.
    [[nodiscard]] FileResult Log_Line(const std::string& kind, const std::string& text);
    // Trims the list to the newest Max_Log_Lines lines and writes it whole to the file.
    [[nodiscard]] FileResult Log_to_Disk();

    // A failed write keeps the in-memory log. The first failure after a good write is handed
    // out once here, so the user hears about a broken log file once, not at every message.
    std::optional<std::string> Take_New_Write_Error();

private:
    FileResult append(std::string entry);

    Log_Clock clock_;
    TextList lines_;
    bool loaded_ = false;
    bool write_failing_ = false;
    bool failure_reported_ = false;
    std::string last_error_;
};

} // namespace parvex
