#include "frame/setup_log.h"

#include "tables/subs.h"

namespace parvex {

std::string Setup_Switch_Text(Logged_Switch which, bool checked) {
    std::string_view key;
    switch (which) {
    case Logged_Switch::Log_All:
        key = "LogFile";
        break;
    case Logged_Switch::Speaker:
        key = "use Sound";
        break;
    case Logged_Switch::News:
        key = "check Upgrade";
        break;
    }
    return std::string(key) + "=" + Bool_To_Str(checked);
}

std::string Color_Setup_Text(bool saving, std::string_view preset_name) {
    return std::string(saving ? "Save Color-SetUp=" : "Load Color-SetUp=") +
           std::string(preset_name);
}

} // namespace parvex
