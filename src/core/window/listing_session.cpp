#include "window/listing_session.h"

#include "tables/subs.h"
#include "verify/rewrite_check.h"

namespace parvex {

ListingSession::ListingSession(std::string program_dir)
    : program_dir_(Add_Backslash(program_dir)) {}

std::string ListingSession::data_dir() const {
    return Data_Dir(program_dir_);
}
std::string ListingSession::dont_dir() const {
    return Dont_Dir(program_dir_);
}

FileResult ListingSession::Source_Change(const std::string& name, bool startup_complete) {
    source_ = name;
    if (!startup_complete)
        return FileResult::success();
    lists_.Clear_Lists();
    if (!preload || !File_Exists(name))
        return FileResult::success();
    return Load_Lines(name, lists_.src_o);
}

RunResult ListingSession::Listing_Run(const RunCallbacks& callbacks) {
    return engine_.Listing_Run(source_, options, lists_, callbacks);
}

CheckResult ListingSession::Check_Run() {
    return parvex::Check_Run(lists_, engine_.Delimiters(), data_dir());
}

bool ListingSession::New_Text_Verified(SaveResult& refused) const {
    // A missing source or an empty new text is the save's own message.
    std::string bytes;
    if (lists_.src_o.empty() || !File_Exists(source_) || !Read_File(source_, bytes).ok)
        return true;
    // Compared with the source as it is on disk now: a source changed since the run is
    // refused as well, so the save never puts an older text over newer work.
    RewriteCheck check = Check_Rewrite(bytes, lists_.src_o);
    if (check)
        return true;
    refused.messages.push_back({MessageKind::L_Error, "save to Source-Path",
                                "^C:^F:" + source_ + "^" + source_ + ":" +
                                    std::to_string(check.line) + ": refused: " + check.reason +
                                    "\r\nNothing was saved."});
    return false;
}

SaveResult ListingSession::Save_To_Source_Path() {
    if (SaveResult refused; !New_Text_Verified(refused))
        return refused;
    std::string folder = Folder_Of(source_);
    if (folder.empty())
        folder = "./";
    return Save_Results(source_, folder, Base_Name(source_), save, lists_);
}

SaveResult ListingSession::Save_To_Work_Path() {
    if (SaveResult refused; !New_Text_Verified(refused))
        return refused;
    if (FileResult r = Make_Dirs(data_dir()); !r) {
        SaveResult failed;
        failed.messages.push_back({MessageKind::General_Error, "", r.error});
        return failed;
    }
    return Save_Results(source_, data_dir(), Base_Name(source_), save, lists_);
}

FileResult ListingSession::Load_Token_Tables() {
    return tokens_.Load_Token_Tables(personal_only ? std::string() : dont_dir() + "Tokens.dat",
                                     dont_dir() + "Tokens-Personal.dat");
}

FileResult ListingSession::Reload_Personal_Tokens() {
    return tokens_.Reload_Personal_Tokens(dont_dir() + "Tokens-Personal.dat");
}

FileResult ListingSession::Save_Token_Table() {
    if (save_cumulated)
        if (FileResult r = Make_Dirs(dont_dir()); !r)
            return r;
    return tokens_.Save_Token_Table(dont_dir() + "Tokens.dat", save_cumulated);
}

} // namespace parvex
