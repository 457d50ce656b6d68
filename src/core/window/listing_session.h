#pragma once
// Everything the main window does with the listing engine, without a widget: the selected file,
// pre-loading, the run, the check, the two saves and the token files. The window binds its
// controls to the option structs and shows the messages that come back.

#include "engine/check_run.h"
#include "engine/cross_reference.h"
#include "engine/listing_run.h"

#include <string>

namespace parvex {

class ListingSession {
public:
    explicit ListingSession(std::string program_dir);

    ListingOptions options;
    SaveOptions save;
    bool personal_only = true;  // chk_PToken "allways start with Personal-Tokens ONLY"
    bool save_cumulated = true; // chk_NoCumm: writes Tokens.dat when the settings are saved
    bool preload = true;        // chk_PreLoad "allways PRE-Load the selected File"

    TokenTable& tokens() { return tokens_; }
    ListingLists& lists() { return lists_; }
    const std::string& source() const { return source_; }
    const std::string& program_dir() const { return program_dir_; }
    std::string data_dir() const;
    std::string dont_dir() const;

    // The file name changed (typed, browsed, dropped or restored). Before the start-up is
    // complete nothing happens; otherwise the lists are emptied and, with pre-loading, the text
    // of an existing file is shown as the new text. A file that exists but cannot be read is
    // reported in the result.
    FileResult Source_Change(const std::string& name, bool startup_complete);

    // A run reads the selected file; a binary or UTF-16 file is refused.
    RunResult Listing_Run(const RunCallbacks& callbacks = {});
    CheckResult Check_Run();
    // Both saves need a finished run of the selected file: a pre-loaded text is shown, never
    // saved (it would replace the backup with a copy of the source). A source changed on disk
    // since the run (by an editor, say, in the minutes before a save button is pressed) is
    // refused with a message, nothing written. Then they check the new text against the source
    // with a second reader; a text that fails is refused with an error message and nothing is
    // written.
    SaveResult Save_To_Source_Path(); // "Save to Sourcepath"
    SaveResult Save_To_Work_Path();   // "Save to Work-Data-Path"
    // That check alone (on the lists of the last run): false with the refusal in `refused`.
    bool New_Text_Verified(SaveResult& refused) const;

    // Writes the cross-reference site of the source of the last run into the work-data folder
    // ("Cross-Reference/", replaced each time) and gives the source's page in `page`.
    FileResult Write_Cross_Reference(std::string& page);

    FileResult Load_Token_Tables();
    FileResult Reload_Personal_Tokens();
    FileResult Save_Token_Table();

private:
    std::string program_dir_;
    std::string source_;
    TokenTable tokens_;
    ListingEngine engine_{tokens_};
    ListingLists lists_;
    TextForm form_;         // of the source of the last run
    FileStamp read_as_;     // that source as the run read it
    bool run_done_ = false; // the lists hold a finished run of `source_`

    SaveResult save_into(const std::string& folder);
};

} // namespace parvex
