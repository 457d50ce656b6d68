#include "frame/window_placement.h"

#include "tables/subs.h"

#include <climits>

namespace parvex {

namespace {

// Coordinates beyond this are not a screen position but a damaged file.
constexpr int max_coordinate = 100000;

int read_int(const IniFile& ini, std::string_view section, std::string_view key, int fallback) {
    auto text = ini.value(section, key);
    if (!text)
        return fallback;
    return Str_To_Int_Def(Trim(*text), fallback);
}

} // namespace

std::string Format_Placement_Pos(const Placement_Pos& pos) {
    return std::to_string(pos[0]) + "," + std::to_string(pos[1]) + "," + std::to_string(pos[2]) +
           "," + std::to_string(pos[3]);
}

std::optional<Placement_Pos> Parse_Placement_Pos(std::string_view text) {
    Placement_Pos pos{};
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        auto comma = text.find(',', start);
        if ((i < 3) != (comma != std::string_view::npos))
            return std::nullopt;
        std::string_view part = text.substr(start, i < 3 ? comma - start : std::string_view::npos);
        std::string digits = Trim(part);
        const int bad = INT_MIN;
        int v = Str_To_Int_Def(digits, bad);
        if (v == bad)
            return std::nullopt;
        pos[static_cast<std::size_t>(i)] = v;
        start = comma + 1;
    }
    return pos;
}

Window_Placement Read_Placement(const IniFile& ini, std::string_view section) {
    Window_Placement p;
    p.form_version = read_int(ini, section, "FormVersion", p.form_version);
    p.flags = read_int(ini, section, "Flags", p.flags);
    int show = read_int(ini, section, "ShowCmd", p.show_cmd);
    if (show >= 0 && show <= 11)
        p.show_cmd = show;
    int ppi = read_int(ini, section, "PixelsPerInch", p.pixels_per_inch);
    if (ppi > 0 && ppi <= 1000)
        p.pixels_per_inch = ppi;
    if (auto text = ini.value(section, "MinMaxPos"))
        if (auto pos = Parse_Placement_Pos(*text))
            p.min_max_pos = *pos;
    if (auto text = ini.value(section, "NormPos")) {
        auto pos = Parse_Placement_Pos(*text);
        bool sane = pos.has_value();
        if (sane)
            for (int v : *pos)
                sane = sane && v >= -max_coordinate && v <= max_coordinate;
        if (sane && (*pos)[2] > (*pos)[0] && (*pos)[3] > (*pos)[1])
            p.norm_pos = pos;
    }
    if (auto text = ini.value(section, "Visible"))
        p.visible = Is_True(Trim(*text));
    return p;
}

void Write_Placement(IniFile& ini, std::string_view section, const Window_Placement& p) {
    // Every key and value here is a plain name or number, so `set` cannot refuse them.
    (void)ini.set(section, "FormVersion", std::to_string(p.form_version));
    (void)ini.set(section, "Flags", std::to_string(p.flags));
    (void)ini.set(section, "ShowCmd", std::to_string(p.show_cmd));
    (void)ini.set(section, "PixelsPerInch", std::to_string(p.pixels_per_inch));
    (void)ini.set(section, "MinMaxPos", Format_Placement_Pos(p.min_max_pos));
    if (p.norm_pos)
        (void)ini.set(section, "NormPos", Format_Placement_Pos(*p.norm_pos));
    (void)ini.set(section, "Visible", Bool_To_Str(p.visible));
}

} // namespace parvex
