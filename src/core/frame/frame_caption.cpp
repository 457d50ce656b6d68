#include "frame/frame_caption.h"

namespace parvex {

void Set_Caption(Caption_Items& caption, std::string_view title, std::string_view status,
                 std::string_view application_title) {
    caption.items[Caption_Items::Title] =
        title.empty() ? "  " + std::string(application_title) : std::string(title);
    caption.items[Caption_Items::Version] = std::string(Program_Version);
    if (status == " ")
        caption.items[Caption_Items::Status].clear();
    else if (!status.empty())
        caption.items[Caption_Items::Status] = std::string(status);
}

std::string Caption_Text(const Caption_Items& caption) {
    std::string text;
    for (const auto& item : caption.items)
        text += item;
    return text;
}

namespace {

std::string trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(' ');
    return std::string(s.substr(first, last - first + 1));
}

} // namespace

std::string Window_Title(const Caption_Items& caption, std::string_view display_name) {
    const std::string title = trimmed(caption.items[Caption_Items::Title]);
    if (display_name.empty() || title != display_name)
        return trimmed(Caption_Text(caption));
    std::string rest;
    for (std::size_t i = 1; i < caption.items.size(); ++i)
        rest += caption.items[i];
    rest = trimmed(rest);
    return rest.empty() ? title : rest + " \u2014 " + title;
}

} // namespace parvex
