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

} // namespace parvex
