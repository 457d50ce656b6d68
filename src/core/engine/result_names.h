#pragma once
// The names of everything a save writes, decided in one place for the window and parvex-list:
// the new text, the saved original and the five lists. Also the checks that refuse names under
// which a save would lose a source or its backup.

#include "engine/listing_options.h"

#include <array>
#include <string>

namespace parvex {

struct ResultNames {
    // folder + name of each result: [0] the new text, [1] the saved original, [2..6] the lists
    // in the order of the extension settings.
    std::array<std::string, 7> files;
    const std::string& text() const { return files[0]; }
    const std::string& backup() const { return files[1]; }
};

// The captions of the seven extension settings on the page Setup / Files.
extern const std::array<const char*, 7> Extension_Captions;

// Names for `source_file` saved into `folder` (ending in "/"). A source with the text extension
// gives base + "." + extension for each result ("Unit1.pas", "Unit1.pas-SAVED",
// "Unit1.Alpha-Constants"). While the text extension is the default "pas", a source with
// another extension or none keeps its whole name ("u.inc", "u.inc-SAVED",
// "u.inc-Alpha-Constants"; "u", "u-SAVED"), so a unit and an include file of one name never
// write over each other. A text extension the user chose is used for every source.
ResultNames Result_Names(const std::string& source_file, const std::string& folder,
                         const SaveOptions& options);

// The name under which a save keeps the text it replaces, for the simple backup name
// `simple_backup` ("a.pas-SAVED"): empty for none; that name; or the next numbered one
// ("a.pas-SAVED.~3~" beside ".~1~" and ".~2~"), existing: numbered where a numbered backup of
// that name is there already. Numbers are looked up in the folder: call it with the folder locked.
std::string Backup_Name(const std::string& simple_backup, BackupMode mode);
// True when `name` leads to the simple backup or names one of its numbered backups.
bool Is_Backup_Of(const std::string& name, const std::string& simple_backup);

// A setting that is refused, with the reason to show; `field` is 0..6, or -1 when all is well.
struct ExtensionProblem {
    int field = -1;
    std::string text;
    explicit operator bool() const { return field >= 0; }
};

// Extensions that would put results over a source or over each other, whatever the source:
// empty or holding a "/", the saved original with the text's extension or a Pascal source's,
// a list with the text's, the backup's or a Pascal source's extension.
ExtensionProblem Extensions_Problem(const SaveOptions& options);

// Why saving `source_file` under `names` would lose it or its backup: the new text and the
// saved original of one name, or a result other than the new text that is the source itself.
// An empty backup name (no backup kept) is not looked at. Empty when the save is safe. The text
// names the settings to change.
// `remedies` says where the user mends it: the page Setup / Files, or the command line.
std::string Names_Problem(const std::string& source_file, const ResultNames& names,
                          Remedies remedies = Remedies::Window);

// True when both names lead to one file (after "."/".." and links), or are the same path.
bool Same_File(const std::string& a, const std::string& b);

} // namespace parvex
