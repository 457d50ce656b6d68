#pragma once
// The rules of the sound table: which row answers a shortcut and what it plays, how a speaker
// number is read, where a stored wave-file name points, and which files may become one.

#include "tables/table_grid.h"

#include <array>
#include <string>
#include <string_view>

namespace parvex {

// Columns of the sound table "Sounds.dat" and the speaker table "SpS.dat".
namespace sound_col {
inline constexpr int Code = 0, Mode = 1, Title = 2, SpS = 3, File = 4, Use = 5, Delete = 6;
}
namespace sps_col {
inline constexpr int Nr = 0, Name = 1, Free = 2, Delete = 3;
}

// Every shortcut the frame plays; the installed table has a row for each.
inline constexpr std::array<std::string_view, 19> Frame_Sound_Shortcuts{
    "PS", "PE", "CP", "DM", "Dm", "DE", "De", "DS", "DI", "DW",
    "DQ", "eB", "lB", "eC", "lC", "eS", "lS", "As", "Ad"};

inline constexpr std::string_view Speaker_Mode = "iSp";
inline constexpr std::string_view Wave_Mode = "Snd";

// Mode "iSp" in any letter case is the speaker; every other value a wave file.
bool Is_Speaker_Mode(std::string_view mode);
// A speaker number as the table holds it: a decimal integer, 1 when it is none.
int Speaker_Number(std::string_view cell);

// The file a stored wave-file name stands for, or "" when it names no existing regular file.
// A relative name lies under the program folder; a name of another system ("C:\...", any
// backslash) names nothing here.
std::string Resolve_Sound_File(std::string_view program_dir, std::string_view stored);

// Whether a chosen or dropped file may go into the table.
enum class Wave_Check { Ok, Missing, Not_Wave, Bad_Name };
// Ok only for an existing regular file ending in ".wav" (any case) whose name holds no "|",
// CR or LF (the table file could not hold it).
Wave_Check Check_Wave_File(std::string_view path);

struct Sound_Choice {
    enum class Kind {
        No_Row,       // no row has this code
        Switched_Off, // the row's "use it" is "False"
        Speaker,      // play speaker sound `speaker`
        Wave,         // play the wave file `file`
        No_File,      // wave mode, but the file does not exist
    };
    Kind kind = Kind::No_Row;
    int row = 0; // the answering row
    int speaker = 0;
    std::string file;
};
// The last data row whose code equals `code` exactly (letter case counts) and what it plays.
Sound_Choice Choose_Sound(const Table_Grid& sounds, std::string_view code,
                          std::string_view program_dir);

} // namespace parvex
