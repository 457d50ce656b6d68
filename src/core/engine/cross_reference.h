#pragma once
// Cross-references and the result files: each item with every line it occurs on, and the save
// that writes the new text, the constant lists and the three cross-references.

#include "engine/engine_message.h"
#include "engine/listing_lists.h"
#include "engine/listing_options.h"

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

struct SaveResult {
    bool saved = false;
    std::vector<EngineMessage> messages;
};

// Writes the seven result files into `folder` (ending in "/") under the name `base`, then empties
// every list. `source_file` is the selected file (it must exist). The file that had the name of
// the new text is kept under the second extension.
SaveResult Save_Results(const std::string& source_file, const std::string& folder,
                        const std::string& base, const SaveOptions& options, ListingLists& lists);

// The file name without folder and without its last extension ("Unit1.bak" of "Unit1.bak.pas").
std::string Base_Name(const std::string& file_name);
// The folder part with its trailing "/" ("" for a bare name).
std::string Folder_Of(const std::string& file_name);

} // namespace parvex
