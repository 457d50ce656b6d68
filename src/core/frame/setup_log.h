#pragma once
// The texts of the "Changed SetUp" log lines that settings changes write.

#include <string>
#include <string_view>

namespace parvex {

inline constexpr std::string_view Changed_Setup_Title = "Changed SetUp";

// The switches whose every change is logged.
enum class Logged_Switch {
    Log_All, // fb_chk_logALL "Log ANY Message"
    Speaker, // fb_chk_Speaker "use Sound"
    News,    // fb_chk_www "check for News on StartUP"
};

// "LogFile=True", "use Sound=False", "check Upgrade=True", ...
std::string Setup_Switch_Text(Logged_Switch which, bool checked);
// "Save Color-SetUp=" / "Load Color-SetUp=" + the preset's name.
std::string Color_Setup_Text(bool saving, std::string_view preset_name);

} // namespace parvex
