#pragma once
// Cross-references and the result files: each item with every line it occurs on, and the save
// that writes the new text, the constant lists and the three cross-references.

#include "engine/engine_message.h"
#include "engine/listing_lists.h"
#include "engine/listing_options.h"
#include "platform/file_stamp.h"
#include "platform/source_text.h"

#include <string>
#include <vector>

namespace parvex {

// The key of a collected line: its text before the last TAB (a literal may hold a TAB itself).
std::string_view Collected_Key(std::string_view line);

// Sorts `list` (it stays sorted) and returns one entry per group of equal keys: the first line
// of the group followed by the values of the others, a CR LF after every `break_after` values.
TextList Build_Cross_Reference(TextList& list, int break_after);
// The same for a collection list of a run.
TextList Build_Cross_Reference(CollectedList& list, int break_after);
// The text of the cross-reference file straight away (each entry followed by CR LF), without
// the list of entries: a token-dense file's cross-reference then exists once in memory, not
// twice.
std::string Cross_Reference_Text(CollectedList& list, int break_after);
// The text of a collection list's file (each Collected_Line followed by CR LF), without a list
// of lines in between.
std::string Collected_Text(const CollectedList& list);

struct SaveResult {
    bool saved = false;
    // The new text equalled the file it would replace: that file and its backup were left as
    // they were (only the lists were written).
    bool text_unchanged = false;
    // The source no longer held what the run read: nothing was written.
    bool source_changed = false;
    std::vector<EngineMessage> messages;
    // Saved, with something the user should know (an owner that could not be kept).
    std::vector<std::string> warnings;
};

inline constexpr std::string_view Changed_While_Listed_Text = "changed while listed, not saved";
// The message of a save refused for that reason.
EngineMessage Changed_While_Listed_Message(const std::string& source_file);

// Writes the seven result files into `folder` (ending in "/") under the names Result_Names
// gives, then empties every list. `source_file` is the selected file (it must exist); `form`
// is the byte-order mark and line end the new text gets. The file that had the name of the new
// text is kept under the second name, unless the new text equals it: then neither changes.
// Names under which the source or its backup would be lost are refused before anything is
// written. The folder is locked while the save runs. With `read_as` (the source as the run read
// it) a source changed since is refused, nothing written, checked last just before the results
// take their places; every result is staged first, so a refused or failed save leaves the folder
// as it was.
SaveResult Save_Results(const std::string& source_file, const std::string& folder,
                        const SaveOptions& options, ListingLists& lists, const TextForm& form = {},
                        const FileStamp* read_as = nullptr);

// The file name without folder and without its last extension ("Unit1.bak" of "Unit1.bak.pas").
std::string Base_Name(const std::string& file_name);
// The folder part with its trailing "/" ("" for a bare name).
std::string Folder_Of(const std::string& file_name);

} // namespace parvex
