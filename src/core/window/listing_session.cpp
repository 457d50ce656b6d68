#include "window/listing_session.h"

#include "language/lang_file.h"
#include "platform/input_read.h"
#include "platform/source_text.h"
#include "site/site_source.h"
#include "site/site_writer.h"
#include "tables/subs.h"
#include "verify/rewrite_check.h"

#include <new>

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
    run_done_ = false;
    if (!startup_complete)
        return FileResult::success();
    lists_.Clear_Lists();
    if (!preload || !File_Exists(name))
        return FileResult::success();
    // The pre-load takes what a run would take: a binary file or one beyond the size limit is
    // said to be so, and nothing of it is shown.
    std::string bytes;
    if (InputRead r = Read_Input_File(name, bytes, Default_Max_Input_Size, "not listed"); !r)
        return FileResult::failure(r.status == InputStatus::Unreadable ? r.error
                                                                       : name + ": " + r.error);
    try {
        lists_.src_o = Split_Lines(bytes);
    } catch (const std::bad_alloc&) {
        lists_.Clear_Lists();
        return FileResult::failure(name + ": not enough memory to show its " +
                                   Size_Text(bytes.size()) + ", not listed");
    }
    return FileResult::success();
}

RunResult ListingSession::Listing_Run(const RunCallbacks& callbacks) {
    run_done_ = false;
    lists_.Clear_Lists();
    SourceText text = Load_Source_Text(source_, Default_Max_Input_Size, &read_as_);
    if (text.status != SourceStatus::Read) {
        RunResult failed;
        failed.status =
            text.status == SourceStatus::Missing ? RunStatus::Missing : RunStatus::Unreadable;
        std::string why;
        if (text.error == "File does not exist")
            why = "File does not exist !";
        else if (text.status == SourceStatus::Unreadable)
            why = "File can not be read !\r\n" + text.error;
        else
            why = Upper_Ascii(text.error.substr(0, 1)) + text.error.substr(1) + " !";
        failed.messages.push_back(
            {MessageKind::L_Error, "Source-File", "^C:^F:" + source_ + "^" + why});
        return failed;
    }
    form_ = text.form;
    try {
        RunResult run =
            engine_.List_Lines(std::move(text.lines), options, lists_, callbacks, source_);
        run_done_ = run.status == RunStatus::Done;
        return run;
    } catch (const std::bad_alloc&) {
        // Nothing half-listed stays in the panes.
        lists_.Clear_Lists();
        RunResult failed;
        failed.status = RunStatus::Unreadable;
        failed.messages.push_back({MessageKind::L_Error, "Source-File",
                                   "^C:^F:" + source_ + "^Not enough memory to list it !"});
        return failed;
    }
}

CheckResult ListingSession::Check_Run() {
    return parvex::Check_Run(lists_, engine_.Delimiters(), data_dir());
}

bool ListingSession::New_Text_Verified(SaveResult& refused) const {
    // A missing source or an empty new text is the save's own message.
    std::string bytes;
    if (lists_.src_o.empty() || !File_Exists(source_) || !Read_File(source_, bytes).ok)
        return true;
    // The bytes the save writes, compared with the source as it is on disk now: a source
    // changed since the run is refused as well, so the save never puts an older text over
    // newer work.
    RewriteCheck check = Check_Rewrite(bytes, std::string_view(Compose_Text(lists_.src_o, form_)));
    if (check)
        return true;
    refused.messages.push_back({MessageKind::L_Error, "save to Source-Path",
                                "^C:^F:" + source_ + "^" + source_ + ":" +
                                    std::to_string(check.line) + ": refused: " + check.reason +
                                    "\r\nNothing was saved."});
    return false;
}

SaveResult ListingSession::save_into(const std::string& folder) {
    // Without a run the lists hold nothing to save, or only the pre-loaded source.
    if (!run_done_) {
        ListingLists none;
        return Save_Results(source_, folder, save, none, form_);
    }
    // Said before the second reader would compare the new text with a text it was not made of;
    // the save looks again under the folder's lock just before the results take their places.
    if (File_Exists(source_) && !File_Unchanged(source_, read_as_)) {
        SaveResult refused;
        refused.source_changed = true;
        refused.messages.push_back(Changed_While_Listed_Message(source_));
        return refused;
    }
    if (SaveResult refused; !New_Text_Verified(refused))
        return refused;
    SaveResult saved = Save_Results(source_, folder, save, lists_, form_, &read_as_);
    if (saved.saved)
        run_done_ = false;
    return saved;
}

SaveResult ListingSession::Save_To_Source_Path() {
    std::string folder = Folder_Of(source_);
    if (folder.empty())
        folder = "./";
    return save_into(folder);
}

SaveResult ListingSession::Save_To_Work_Path() {
    if (FileResult r = Make_Dirs(data_dir()); !r) {
        SaveResult failed;
        failed.messages.push_back({MessageKind::General_Error, "", r.error});
        return failed;
    }
    return save_into(data_dir());
}

FileResult ListingSession::Write_Cross_Reference(std::string& page) {
    page.clear();
    std::string bytes;
    if (FileResult r = Read_File(source_, bytes); !r)
        return r;
    SourceView view = Source_View(bytes);
    if (view.status != SourceStatus::Read)
        return FileResult::failure(source_ + ": " + view.error);
    const std::string out = data_dir() + "Cross-Reference";
    const std::string name = source_.substr(source_.find_last_of('/') + 1);
    site::SiteWriter writer(
        {name, "as it is on disk",
         Build_Delimiters(options.terminators, options.use_blank, options.use_tab)});
    if (FileResult r = Make_Dirs(data_dir()); !r)
        return r;
    if (FileResult r = writer.Begin(out); !r)
        return r;
    site::SiteReader reader;
    site::SiteSource src;
    reader.Read(view.lines, Is_Valid_Utf8(bytes), options, src);
    if (FileResult r = writer.Add(name, src); !r)
        return r;
    if (FileResult r = writer.Finish(&tokens_); !r)
        return r;
    page = out + "/" + site::Page_Path(name);
    return FileResult::success();
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
