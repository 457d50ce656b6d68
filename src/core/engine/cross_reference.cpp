#include "engine/cross_reference.h"

#include "engine/text_order.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace parvex {

std::string_view Collected_Key(std::string_view line) {
    auto tab = line.rfind('\t');
    return tab == std::string_view::npos ? line : line.substr(0, tab);
}

namespace {
std::string_view value_of(std::string_view line) {
    auto tab = line.rfind('\t');
    return tab == std::string_view::npos ? std::string_view{} : line.substr(tab);
}
} // namespace

TextList Build_Cross_Reference(TextList& list, int break_after) {
    TextList area;
    Sort_No_Case(list);
    if (list.empty())
        return area;
    std::string current = list.front();
    std::string_view key = Collected_Key(list.front());
    int n = 0;
    for (std::size_t i = 1; i < list.size(); ++i) {
        const std::string& line = list[i];
        if (Collected_Key(line) == key) {
            if (++n >= break_after) {
                current += "\r\n";
                n = 0;
            }
            current += value_of(line);
        } else {
            area.push_back(std::move(current));
            current = line;
            key = Collected_Key(line);
            n = 0;
        }
    }
    area.push_back(std::move(current));
    return area;
}

namespace {
// Calls `entry` with the text of each cross-reference entry of the sorted list, in order.
template <typename Entry>
void for_each_entry(CollectedList& list, int break_after, std::string& current, Entry entry) {
    list.Sort_No_Case();
    if (list.empty())
        return;
    current = list[0];
    int n = 0;
    for (std::size_t i = 1; i < list.size(); ++i) {
        if (list.same_item(i, i - 1)) {
            if (++n >= break_after) {
                current += "\r\n";
                n = 0;
            }
            const std::string line = list[i];
            current += value_of(line);
        } else {
            entry(current);
            current = list[i];
            n = 0;
        }
    }
    entry(current);
}
} // namespace

TextList Build_Cross_Reference(CollectedList& list, int break_after) {
    TextList area;
    std::string current;
    for_each_entry(list, break_after, current,
                   [&](std::string& entry) { area.push_back(std::move(entry)); });
    return area;
}

std::string Cross_Reference_Text(CollectedList& list, int break_after) {
    std::string text, current;
    for_each_entry(list, break_after, current, [&](const std::string& entry) {
        text += entry;
        text += "\r\n";
    });
    return text;
}

std::string Base_Name(const std::string& file_name) {
    std::string name = file_name.substr(file_name.rfind('/') + 1);
    auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string Folder_Of(const std::string& file_name) {
    auto slash = file_name.rfind('/');
    return slash == std::string::npos ? std::string() : file_name.substr(0, slash + 1);
}

SaveResult Save_Results(const std::string& source_file, const std::string& folder,
                        const std::string& base, const SaveOptions& options, ListingLists& lists) {
    SaveResult result;
    if (!File_Exists(source_file)) {
        result.messages.push_back(
            {MessageKind::L_Error, "Source-File", Missing_Source_Text(source_file)});
        return result;
    }
    if (lists.src_o.empty()) {
        result.messages.push_back({MessageKind::L_Error, "save to Source-Path",
                                   "^C:^F:" + source_file + "^no conversion has been done !"});
        return result;
    }
    auto name = [&](std::size_t k) { return folder + base + "." + options.extensions[k]; };
    auto fail = [&](const FileResult& r) {
        result.messages.push_back({MessageKind::General_Error, "", r.error});
        return result;
    };

    // A list under the name of the new text or of the backup would overwrite or delete the
    // source's only copy.
    for (std::size_t k = 2; k < options.extensions.size(); ++k)
        if (name(k) == name(0) || name(k) == name(1))
            return fail(FileResult::failure("Nothing was saved: the extension \"" +
                                            options.extensions[k] + "\" of list " +
                                            std::to_string(k + 1) +
                                            " is also that of the new text or of the saved "
                                            "original."));

    // The new text is complete on disk, and the lists are written, before the old text moves
    // aside: a save that fails on the way leaves the source as it was, so saving again after
    // the fault is mended can never push the new text over the only backup of the original.
    const std::string name1 = name(0), name2 = name(1);
    std::string staged;
    if (FileResult r = Stage_File(name1, Join_Lines(lists.src_o), staged); !r)
        return fail(r);
    auto give_up = [&](const FileResult& r) {
        (void)Delete_File(staged);
        return fail(r);
    };

    auto write_list = [&](std::size_t k, const TextList& list) -> FileResult {
        if (!options.create[k]) {
            (void)Delete_File(name(k)); // a stale list that cannot be deleted is no reason to stop
            return FileResult::success();
        }
        return Save_Lines(name(k), list); // replaces any older file of that name
    };
    const int n = options.break_after;
    if (FileResult r = write_list(2, lists.a_const); !r)
        return give_up(r);
    lists.w_area = Build_Cross_Reference(lists.a_const, n);
    if (FileResult r = write_list(4, lists.w_area); !r)
        return give_up(r);
    if (FileResult r = write_list(3, lists.n_const); !r)
        return give_up(r);
    lists.w_area = Build_Cross_Reference(lists.n_const, n);
    if (FileResult r = write_list(5, lists.w_area); !r)
        return give_up(r);
    lists.w_area = Build_Cross_Reference(lists.t_cref, n);
    if (FileResult r = write_list(6, lists.w_area); !r)
        return give_up(r);

    bool backed_up = false;
    if (name2 != name1) {
        (void)Delete_File(name2);
        if (File_Exists(name1)) {
            // Replacing the old text without its backup would lose it: stop instead.
            if (FileResult r = Rename_File(name1, name2); !r)
                return give_up(r);
            backed_up = true;
        }
    }
    if (::rename(staged.c_str(), name1.c_str()) != 0) {
        FileResult r =
            FileResult::failure("Cannot write \"" + name1 + "\": " + std::strerror(errno));
        if (backed_up)
            (void)Rename_File(name2, name1); // the old text goes back under its own name
        return give_up(r);
    }

    lists.Clear_Lists();
    result.saved = true;
    result.messages.push_back(
        {MessageKind::M_Mess, "Saved File", "^C:^F:" + folder + "^Saved Files!"});
    return result;
}

} // namespace parvex
