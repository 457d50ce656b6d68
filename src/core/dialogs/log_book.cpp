#include "dialogs/log_book.h"

#include <cstdio>
#include <ctime>

namespace parvex {

namespace {

std::string two(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

} // namespace

Log_Clock System_Log_Clock() {
    Log_Clock clock;
    clock.now = [] {
        std::time_t t = std::time(nullptr);
        std::tm tm{};
        localtime_r(&t, &tm);
        return Local_Date_Time{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                               tm.tm_hour,        tm.tm_min,     tm.tm_sec};
    };
    clock.short_date = [](const Local_Date_Time& d) {
        return std::to_string(d.year) + "-" + two(d.month) + "-" + two(d.day);
    };
    clock.long_time = [](const Local_Date_Time& d) {
        return two(d.hour) + ":" + two(d.minute) + ":" + two(d.second);
    };
    return clock;
}

std::string Log_Time_Stamp(const Log_Clock& clock, const Local_Date_Time& when) {
    std::string stamp = clock.short_date(when);
    if (when.hour != 0 || when.minute != 0 || when.second != 0)
        stamp += " " + clock.long_time(when);
    return stamp;
}

Log_Book::Log_Book(Log_Clock clock) : clock_(std::move(clock)) {}

FileResult Log_Book::Open() {
    if (LogFile_Name.empty() || loaded_)
        return FileResult::success();
    loaded_ = true;
    if (!File_Exists(LogFile_Name))
        return FileResult::success();
    TextList read;
    FileResult r = Load_Lines(LogFile_Name, read);
    if (r)
        lines_ = std::move(read);
    return r;
}

FileResult Log_Book::Log_IT(const std::string& title, const std::string& text,
                            const std::string& file_name) {
    if (!loaded_ || !Log_Enabled)
        return FileResult::success();
    std::string entry = Log_Time_Stamp(clock_, clock_.now()) + "\t" + title + "\t" + text;
    if (!file_name.empty())
        entry += "\t" + file_name;
    return append(std::move(entry));
}

FileResult Log_Book::Log_Line(const std::string& kind, const std::string& text) {
    if (!loaded_ || !Log_Enabled)
        return FileResult::success();
    return append(Log_Time_Stamp(clock_, clock_.now()) + "\t" + kind + "\t" + text);
}

FileResult Log_Book::append(std::string entry) {
    lines_.push_back(std::move(entry));
    return Log_to_Disk();
}

FileResult Log_Book::Log_to_Disk() {
    std::size_t keep = Max_Log_Lines > 0 ? static_cast<std::size_t>(Max_Log_Lines) : 0;
    if (lines_.size() > keep)
        lines_.erase(lines_.begin(), lines_.begin() + static_cast<long>(lines_.size() - keep));
    FileResult r = Save_Lines(LogFile_Name, lines_);
    if (r) {
        write_failing_ = false;
        failure_reported_ = false;
    } else {
        write_failing_ = true;
        last_error_ = r.error;
    }
    return r;
}

std::optional<std::string> Log_Book::Take_New_Write_Error() {
    if (!write_failing_ || failure_reported_)
        return std::nullopt;
    failure_reported_ = true;
    return last_error_;
}

} // namespace parvex
