#pragma once
// The records of the frame's eight table grids, built from the folders they live in, so the
// frame and its tests set the grids up from one place.

#include "tables/table_rec.h"

#include <string>
#include <string_view>

namespace parvex {

enum class Frame_Table { Predef, Sound, SpS, VE, News, Trans, Lang, Test };

inline constexpr Frame_Table All_Frame_Tables[] = {
    Frame_Table::Predef, Frame_Table::Sound, Frame_Table::SpS,  Frame_Table::VE,
    Frame_Table::News,   Frame_Table::Trans, Frame_Table::Lang, Frame_Table::Test};

// The grid's object name, such as "fb_SG_Sound".
const char* Frame_Table_Name(Frame_Table table);
// data_dir: the data folder (the override or "GUI/Data/"); gui_data_dir: always "GUI/Data/".
// Both end with "/".
SG_Rec Frame_Table_Rec(Frame_Table table, std::string_view data_dir, std::string_view gui_data_dir);

} // namespace parvex
