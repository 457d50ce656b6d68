#include "engine/cross_reference.h"

#include "engine/result_names.h"
#include "engine/text_order.h"
#include "platform/folder_lock.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

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
                        const SaveOptions& options, ListingLists& lists, const TextForm& form) {
    SaveResult result;
    if (!File_Exists(source_file)) {
        result.messages.push_back({MessageKind::L_Error, "Source-File",
                                   "^C:^F:" + source_file + "^File does not exist !"});
        return result;
    }
    if (lists.src_o.empty()) {
        result.messages.push_back({MessageKind::L_Error, "save to Source-Path",
                                   "^C:^F:" + source_file + "^no conversion has been done !"});
        return result;
    }
    auto refuse = [&](const std::string& why) {
        result.messages.push_back(
            {MessageKind::L_Error, "save to Source-Path", "^C:^F:" + source_file + "^" + why});
        return result;
    };
    auto fail = [&](const FileResult& r) {
        result.messages.push_back({MessageKind::General_Error, "", r.error});
        return result;
    };

    // Names under which a save would lose the source or its backup are refused before anything
    // is written.
    if (ExtensionProblem p = Extensions_Problem(options))
        return refuse("Nothing was saved.\r\n" + p.text);
    const ResultNames names = Result_Names(source_file, folder, options);
    if (std::string why = Names_Problem(source_file, names); !why.empty())
        return refuse(why);
    const std::string &name1 = names.text(), &name2 = names.backup();
    struct stat backup_stat {};
    if (name2 != name1 && ::lstat(name2.c_str(), &backup_stat) == 0 &&
        !S_ISREG(backup_stat.st_mode) && !S_ISLNK(backup_stat.st_mode))
        return refuse("Nothing was saved: the saved original would go to \"" + name2 +
                      "\", which is " + (S_ISDIR(backup_stat.st_mode) ? "a folder" : "no file") +
                      ".");

    // One save into a folder at a time: a second process waits here, then finds the text it
    // would write already there. What a killed save left behind goes first.
    FolderLock lock(folder);
    (void)Remove_Stale_Temps(folder);

    // The results take the source's permission bits: the lists of a private source stay private.
    struct stat source_stat {};
    StageMode mode;
    if (::stat(source_file.c_str(), &source_stat) == 0)
        mode.permissions = static_cast<int>(source_stat.st_mode & 0777);

    // A text that would not change is not rewritten: its time stays, and its backup (the true
    // original after an earlier save) is not replaced by the text itself.
    const std::string text = Compose_Text(lists.src_o, form);
    const bool replacing = File_Exists(name1);
    result.text_unchanged = replacing && File_Holds(name1, text);

    // The new text is complete on disk, and the lists are written, before the old text moves
    // aside: a save that fails on the way leaves the source as it was, so saving again after
    // the fault is mended can never push the new text over the only backup of the original.
    std::string staged;
    if (!result.text_unchanged) {
        StageMode text_mode = mode;
        text_mode.sync = replacing; // on disk before it takes the place of the old text
        if (FileResult r = Stage_File(name1, text, staged, text_mode); !r)
            return fail(r);
    }
    auto give_up = [&](const FileResult& r) {
        if (!staged.empty())
            (void)Delete_File(staged);
        return fail(r);
    };

    auto write_list = [&](std::size_t k, const TextList& list) -> FileResult {
        const std::string& name = names.files[k];
        if (!options.create[k]) {
            (void)Delete_File(name); // a stale list that cannot be deleted is no reason to stop
            return FileResult::success();
        }
        return Write_File_Atomic(name, Join_Lines(list), mode); // replaces any older file
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

    if (!result.text_unchanged) {
        // The backup is a second name of the old text; the new text then replaces the first
        // name in one step, so the source's name never stands empty. Where the file system has
        // no hard links the old text is renamed instead.
        bool moved = false;
        if (name2 != name1) {
            (void)Delete_File(name2);
            if (replacing && ::link(name1.c_str(), name2.c_str()) != 0) {
                // Replacing the old text without its backup would lose it: stop instead.
                if (FileResult r = Rename_File(name1, name2); !r)
                    return give_up(FileResult::failure(
                        "Cannot keep the original \"" + name1 + "\" as \"" + name2 +
                        "\": " + r.error.substr(r.error.rfind(": ") + 2)));
                moved = true;
            }
        }
        if (::rename(staged.c_str(), name1.c_str()) != 0) {
            FileResult r =
                FileResult::failure("Cannot write \"" + name1 + "\": " + std::strerror(errno));
            if (moved)
                (void)Rename_File(name2, name1); // the old text goes back under its own name
            return give_up(r);
        }
        if (replacing)
            (void)Sync_Folder(folder); // the renames reach the disk as well
    }

    lists.Clear_Lists();
    result.saved = true;
    result.messages.push_back({MessageKind::M_Mess, "Saved File",
                               "^C:^F:" + folder + "^Saved Files!" +
                                   (result.text_unchanged ? "\r\ntext unchanged" : "")});
    return result;
}

} // namespace parvex
