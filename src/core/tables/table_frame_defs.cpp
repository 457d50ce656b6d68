#include "tables/table_frame_defs.h"

namespace parvex {

namespace {

std::string predef_types() {
    return std::string(36, 'S') + "L";
}
std::string predef_aligns() {
    return "L" + std::string(36, 'C');
}
std::string predef_widths() {
    std::string w = "140";
    for (int i = 0; i < 35; ++i)
        w += "|75";
    return w + "|40";
}

SG_Rec make(std::string file, std::string types, std::string aligns, std::string heads,
            std::string widths, int cols, int sort_col, int delete_col) {
    SG_Rec rec;
    rec.File_Name = std::move(file);
    rec.Col_Types = std::move(types);
    rec.Col_Aligns = std::move(aligns);
    rec.Col_Heads = std::move(heads);
    rec.Col_Widths = std::move(widths);
    rec.Col_Count = cols;
    rec.Sort_Col = sort_col;
    rec.Delete_Col = delete_col;
    return rec;
}

} // namespace

const char* Frame_Table_Name(Frame_Table table) {
    switch (table) {
    case Frame_Table::Predef:
        return "fb_SG_Predef";
    case Frame_Table::Sound:
        return "fb_SG_Sound";
    case Frame_Table::SpS:
        return "fb_sg_SpS";
    case Frame_Table::VE:
        return "fb_sg_VE";
    case Frame_Table::News:
        return "fb_SG_News";
    case Frame_Table::Trans:
        return "fb_SG_Trans";
    case Frame_Table::Lang:
        return "fb_sg_Lang";
    case Frame_Table::Test:
        return "fb_SG_test";
    }
    return "";
}

SG_Rec Frame_Table_Rec(Frame_Table table, std::string_view data_dir,
                       std::string_view gui_data_dir) {
    const std::string data(data_dir), gui(gui_data_dir);
    switch (table) {
    case Frame_Table::Predef:
        return make(data + "Predef.dat", predef_types(), predef_aligns(),
                    "Title|Plain P.|PU Col 1|PU Col 2|PU Col 3|PU Hor|PU Shade|PL Col 1|PL Col 2|"
                    "PL Col 3|PL Hor|PL Shade|sw-Plain|sw-Shadow|Title|Titl Sh|Hint|Hint Sh|Label|"
                    "Label Sh|Plain|FontCol|Bold|transp|Btn-Bold|Btn-Trans|Btn-BG|Btn-Hover|"
                    "Btn-HBG|Grid-1|Grid-2|Grid-3|Grid-4|Grid-5|Grid-6|Grid-7|m4D",
                    predef_widths(), 37, 0, 36);
    case Frame_Table::Sound:
        return make(data + "Sounds.dat", "SSSNSLL", "CCLRLCC",
                    "Code|Mode|Title|SpS|Sound-File|use it|m4D", "30|30|130|40|200|50|40", 7, 2, 6);
    case Frame_Table::SpS:
        return make(data + "SpS.dat", "NSSL", "RLCC", "Nr.|Speakersound|free|m4D", "30|84|40|40", 4,
                    0, 3);
    case Frame_Table::VE:
        return make(gui + "VE.dat", "SS", "LL", "|", "60|170", 2, -1, -1);
    case Frame_Table::News:
        return make(data + "HP-News.dat", "NSSSSSSL", "RCCLLLLC",
                    "Nr.|Program|Version|Action|from|to|what's up|m4D",
                    "40|99|99|80|300|300|290|40", 8, 2, 7);
    case Frame_Table::Trans:
        return make(gui + "Translate.Tmp", "NSSSL", "RCLLC", "NR.|Group|Text|Key|Org.",
                    "40|80|440|440|60", 5, 1, 0);
    case Frame_Table::Lang:
        return make(data + "Language.dat", "SSSL", "LCCC", "Language|Code|exists|m4D",
                    "140|60|60|40", 4, 2, 3);
    case Frame_Table::Test:
        return make(data + "Language.dat", "SSSL", "LCCC", "Language|Code|exists|m4D",
                    "140|60|60|40", 4, 0, 3);
    }
    return {};
}

} // namespace parvex
