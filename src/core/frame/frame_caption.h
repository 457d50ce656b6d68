#pragma once
// The seven text items of the frame's caption bar and how a new title and status change them.

#include <array>
#include <string>
#include <string_view>

namespace parvex {

inline constexpr std::string_view Program_Version = PARVEX_VERSION;
// The title an empty caption title stands for.
inline constexpr std::string_view Application_Title = "Zivadu-Zedu Parvex";

struct Caption_Items {
    enum : std::size_t { Title = 0, Version = 3, Status = 6 };
    std::array<std::string, 7> items{"Test", "   ", "Version [ ", "01-02-03-1234", " ]", "   ", ""};
    bool operator==(const Caption_Items&) const = default;
};

// `fb_Set_Caption`: an empty title becomes two blanks and the application title; the version
// item always gets the program version; the status " " clears the status item, an empty status
// leaves it as it is, any other replaces it.
void Set_Caption(Caption_Items& caption, std::string_view title, std::string_view status,
                 std::string_view application_title);

// The items drawn one after the other.
std::string Caption_Text(const Caption_Items& caption);

// The text for the window's title bar. Desktops add " — " and the program's display name to a
// title that does not end with it, so a caption that starts with that name moves it to the end:
// "Version [ … ] — Name" shows the name once.
std::string Window_Title(const Caption_Items& caption, std::string_view display_name);

} // namespace parvex
