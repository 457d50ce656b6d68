#include "media/sound_rules.h"

#include "tables/subs.h"

#include <filesystem>
#include <system_error>

namespace parvex {

bool Is_Speaker_Mode(std::string_view mode) {
    return Upper_Ascii(mode) == "ISP";
}

int Speaker_Number(std::string_view cell) {
    return Str_To_Int_Def(cell, 1);
}

namespace {

bool windows_name(std::string_view name) {
    if (name.find('\\') != std::string_view::npos)
        return true;
    const bool drive = name.size() >= 2 && name[1] == ':' &&
                       ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'));
    return drive;
}

bool regular_file(const std::string& name) {
    std::error_code ec;
    return std::filesystem::is_regular_file(name, ec);
}

} // namespace

std::string Resolve_Sound_File(std::string_view program_dir, std::string_view stored) {
    if (stored.empty() || windows_name(stored))
        return {};
    std::string name(stored);
    if (name.front() != '/')
        name = Add_Backslash(program_dir) + name;
    return regular_file(name) ? name : std::string();
}

Wave_Check Check_Wave_File(std::string_view path) {
    if (path.find_first_of("|\r\n") != std::string_view::npos)
        return Wave_Check::Bad_Name;
    if (path.size() < 4 || Lower_Ascii(path.substr(path.size() - 4)) != ".wav")
        return Wave_Check::Not_Wave;
    return regular_file(std::string(path)) ? Wave_Check::Ok : Wave_Check::Missing;
}

Sound_Choice Choose_Sound(const Table_Grid& sounds, std::string_view code,
                          std::string_view program_dir) {
    Sound_Choice c;
    for (int r = 1; r < sounds.Row_Count(); ++r)
        if (sounds.Cell(sound_col::Code, r) == code)
            c.row = r; // the last such row counts
    if (c.row == 0)
        return c;
    const int r = c.row;
    if (sounds.Cell(sound_col::Use, r) == "False") {
        c.kind = Sound_Choice::Kind::Switched_Off;
        return c;
    }
    if (Is_Speaker_Mode(sounds.Cell(sound_col::Mode, r))) {
        c.kind = Sound_Choice::Kind::Speaker;
        c.speaker = Speaker_Number(sounds.Cell(sound_col::SpS, r));
        return c;
    }
    c.file = Resolve_Sound_File(program_dir, sounds.Cell(sound_col::File, r));
    c.kind = c.file.empty() ? Sound_Choice::Kind::No_File : Sound_Choice::Kind::Wave;
    return c;
}

} // namespace parvex
