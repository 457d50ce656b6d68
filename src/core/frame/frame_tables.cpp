#include "frame/frame_tables.h"

namespace parvex {

namespace {

constexpr std::string_view predef_heads =
    "Title|Plain P.|PU Col 1|PU Col 2|PU Col 3|PU Hor|PU Shade|PL Col 1|PL Col 2|PL Col 3|PL Hor|"
    "PL Shade|sw-Plain|sw-Shadow|Title|Titl Sh|Hint|Hint Sh|Label|Label Sh|Plain|FontCol|Bold|"
    "transp|Btn-Bold|Btn-Trans|Btn-BG|Btn-Hover|Btn-HBG|Grid-1|Grid-2|Grid-3|Grid-4|Grid-5|"
    "Grid-6|Grid-7|m4D";
constexpr std::string_view predef_widths =
    "140|75|75|75|75|75|75|75|75|75|75|75|75|75|75|75|75|75|75|75|75|75|75|75|75|75|75|75|75|75|"
    "75|75|75|75|75|75|40";

} // namespace

const std::array<Frame_Table_Def, 8> Frame_Tables{{
    {"fb_SG_Predef", Table_Folder::Data, "Predef.dat", "SSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSL",
     "LCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC", predef_heads, predef_widths, 37, 0, 36,
     Table_Startup::Load_Purge},
    {"fb_SG_Sound", Table_Folder::Data, "Sounds.dat", "SSSNSLL", "CCLRLCC",
     "Code|Mode|Title|SpS|Sound-File|use it|m4D", "30|30|130|40|200|50|40", 7, 2, 6,
     Table_Startup::Load_Purge},
    {"fb_sg_SpS", Table_Folder::Data, "SpS.dat", "NSSL", "RLCC", "Nr.|Speakersound|free|m4D",
     "30|84|40|40", 4, 0, 3, Table_Startup::Load_Purge},
    {"fb_sg_VE", Table_Folder::GUI_Data, "VE.dat", "SS", "LL", "|", "60|170", 2, -1, -1,
     Table_Startup::Clear_Six_Rows},
    {"fb_SG_News", Table_Folder::Data, "HP-News.dat", "NSSSSSSL", "RCCLLLLC",
     "Nr.|Program|Version|Action|from|to|what's up|m4D", "40|99|99|80|300|300|290|40", 8, 2, 7,
     Table_Startup::Load_Purge_Sort_Desc, 2},
    {"fb_SG_Trans", Table_Folder::GUI_Data, "Translate.Tmp", "NSSSL", "RCLLC",
     "NR.|Group|Text|Key|Org.", "40|80|440|440|60", 5, 1, 0, Table_Startup::Load_Purge},
    {"fb_sg_Lang", Table_Folder::Data, "Language.dat", "SSSL", "LCCC", "Language|Code|exists|m4D",
     "140|60|60|40", 4, 2, 3, Table_Startup::Load_Sort_By_Type_Desc, 2},
    {"fb_SG_test", Table_Folder::Data, "Language.dat", "SSSL", "LCCC", "Language|Code|exists|m4D",
     "140|60|60|40", 4, 0, 3, Table_Startup::Load_Only},
}};

const Frame_Table_Def* Find_Frame_Table(std::string_view grid_name) {
    for (const auto& t : Frame_Tables)
        if (t.grid_name == grid_name)
            return &t;
    return nullptr;
}

std::string Frame_Table_File(const Frame_Table_Def& table, std::string_view data_dir,
                             std::string_view gui_data_dir) {
    std::string_view folder = table.folder == Table_Folder::Data ? data_dir : gui_data_dir;
    return std::string(folder) + std::string(table.file);
}

} // namespace parvex
