#pragma once
// The values of the window's controls that the listing run, the save and the check read.

#include "engine/line_scanner.h"

#include <array>
#include <string>

namespace parvex {

struct ListingOptions {
    std::string terminators{kDefaultTerminators}; // ed_Terminators
    bool use_tab = true;                          // chk_TTab
    bool use_blank = true;                        // chk_TBlank
    bool remove_old_remarks = true;               // chk_remove
    bool end_remarks = true;                      // chk_doEND
    int output_case = -1;                         // rg_Case item index, -1: none selected
    bool collect_alpha = true;                    // chk_col_A
    bool collect_numeric = true;                  // chk_col_N
    bool collect_tokens = true;                   // chk_col_T
};

// What a save keeps of the text it replaces, named as GNU tools name their backups.
enum class BackupMode {
    None,     // nothing: for trees under version control
    Simple,   // one backup, NAME-SAVED, replaced by the next save that changes the text
    Numbered, // every replaced text: NAME-SAVED.~1~, NAME-SAVED.~2~, ...
    Existing, // numbered where numbered backups of the file exist already, else simple
};

// Where a refused save tells the user to mend it.
enum class Remedies {
    Window,       // the page Setup / Files
    Command_Line, // options of parvex-list, and what to remove
};

struct SaveOptions {
    // ed_ext_1 .. ed_ext_7, used as they stand with a dot put in front.
    std::array<std::string, 7> extensions{"pas",
                                          "pas-SAVED",
                                          "Alpha-Constants",
                                          "Numeric-Constats",
                                          "Alpha-Cross-Ref",
                                          "Numeric-Cross-Ref",
                                          "Token-Cross-Ref"};
    // chk_ext_1 .. chk_ext_7; the first two are always written whatever they say.
    std::array<bool, 7> create{true, true, true, true, true, true, true};
    int break_after = 10;                   // se_Nr_Lines: line numbers per cross-reference line
    BackupMode backup = BackupMode::Simple; // rg_Backup
    Remedies remedies = Remedies::Window;
    // False: only the new text is written; list files are neither written nor deleted.
    bool write_lists = true;
};

} // namespace parvex
