#include "engine/cross_reference.h"

#include "engine/result_names.h"
#include "engine/text_order.h"
#include "platform/file_stamp.h"
#include "platform/folder_lock.h"
#include "platform/free_memory.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace parvex {

std::string_view Collected_Key(std::string_view line) {
    auto tab = line.rfind('\t');
    return tab == std::string_view::npos ? line : line.substr(0, tab);
}

namespace {
std::size_t number_digits(std::size_t v) {
    std::size_t n = 1;
    for (; v >= 10; v /= 10)
        ++n;
    return n;
}

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
void for_each_entry(const CollectedList& list, int break_after, std::string& current, Entry entry) {
    if (list.empty())
        return;
    current.clear();
    list.append_line(0, current);
    int n = 0;
    for (std::size_t i = 1; i < list.size(); ++i) {
        if (list.same_item(i, i - 1)) {
            if (++n >= break_after) {
                current += "\r\n";
                n = 0;
            }
            list.append_number(i, current);
        } else {
            entry(current);
            current.clear();
            list.append_line(i, current);
            n = 0;
        }
    }
    entry(current);
}
} // namespace

TextList Build_Cross_Reference(CollectedList& list, int break_after) {
    TextList area;
    std::string current;
    list.Sort_No_Case();
    for_each_entry(list, break_after, current,
                   [&](std::string& entry) { area.push_back(std::move(entry)); });
    return area;
}

std::string Collected_Text(const CollectedList& list) {
    // Measured first, so that the text is made in one piece: TAB "#" CR LF and the digits.
    const std::size_t width = static_cast<std::size_t>(std::max(list.width(), 1));
    std::size_t size = 0;
    for (std::size_t i = 0; i < list.size(); ++i)
        size += list.item(i).size() + 4 + std::max(width, number_digits(list.line_number(i)));
    std::string text;
    text.reserve(size);
    for (std::size_t i = 0; i < list.size(); ++i) {
        list.append_line(i, text);
        text += "\r\n";
    }
    return text;
}

std::string Cross_Reference_Text(CollectedList& list, int break_after) {
    // The text is measured first: grown step by step, its last copy would stand beside the one
    // before and a token-dense file's cross-reference would need half as much room again.
    list.Sort_No_Case();
    std::string text, current;
    std::size_t size = 0;
    for_each_entry(list, break_after, current,
                   [&](const std::string& entry) { size += entry.size() + 2; });
    text.reserve(size);
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

namespace {
// Names of users and groups (re-entrant: saves run on several threads), else their numbers.
std::string user_name(uid_t uid) {
    passwd entry{}, *found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found)
        return found->pw_name;
    return std::to_string(uid);
}
std::string group_name(gid_t gid) {
    group entry{}, *found = nullptr;
    char buffer[4096];
    if (::getgrgid_r(gid, &entry, buffer, sizeof buffer, &found) == 0 && found)
        return found->gr_name;
    return std::to_string(gid);
}

std::string owner_not_kept(const struct stat& replaced, const std::string& reason) {
    return "the owner " + user_name(replaced.st_uid) + ":" + group_name(replaced.st_gid) +
           " of the old text could not be kept (" + reason +
           "): the new text and its lists belong to " + user_name(::geteuid()) + " now";
}
} // namespace

EngineMessage Changed_While_Listed_Message(const std::string& source_file) {
    return {MessageKind::L_Error, "save to Source-Path",
            "^C:^F:" + source_file + "^" + std::string(Changed_While_Listed_Text) +
                ".\r\nRun the listing again to take the change in."};
}

SaveResult Save_Results(const std::string& source_file, const std::string& folder,
                        const SaveOptions& options, ListingLists& lists, const TextForm& form,
                        const FileStamp* read_as) {
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
    auto refuse = [&](const std::string& why) {
        result.messages.push_back(
            {MessageKind::L_Error, "save to Source-Path", "^C:^F:" + source_file + "^" + why});
        return result;
    };
    auto fail = [&](const FileResult& r) {
        result.messages.push_back({MessageKind::General_Error, "", r.error});
        return result;
    };
    auto changed_meanwhile = [&] {
        result.source_changed = true;
        result.messages.push_back(Changed_While_Listed_Message(source_file));
        return result;
    };

    // Names under which a save would lose the source or its backup are refused before anything
    // is written.
    if (ExtensionProblem p = Extensions_Problem(options))
        return refuse("Nothing was saved.\r\n" + p.text);
    ResultNames names = Result_Names(source_file, folder, options);

    // One process saving into a folder at a time: a second one waits here, then finds the text
    // it would write already there. What a killed save left behind goes as the lock is taken.
    FolderLock lock(folder);

    // The backup's name (a numbered one takes the next number free in the folder, so it is
    // looked up under the lock); empty when none is kept.
    names.files[1] = Backup_Name(names.backup(), options.backup);
    if (std::string why = Names_Problem(source_file, names, options.remedies); !why.empty())
        return refuse(why);
    const std::string &name1 = names.text(), &name2 = names.backup();
    struct stat backup_stat {};
    if (!name2.empty() && ::lstat(name2.c_str(), &backup_stat) == 0 &&
        !S_ISREG(backup_stat.st_mode) && !S_ISLNK(backup_stat.st_mode))
        return refuse("Nothing was saved: the saved original would go to \"" + name2 +
                      "\", which is " + (S_ISDIR(backup_stat.st_mode) ? "a folder" : "no file") +
                      ".");

    // The results take the source's permission bits: the lists of a private source stay private.
    struct stat source_stat {};
    StageMode mode;
    if (::stat(source_file.c_str(), &source_stat) == 0)
        mode.permissions = static_cast<int>(source_stat.st_mode & 0777);
    // And the owner and group of the text they replace (another user's source rewritten by
    // root stays that user's), where the system allows it.
    struct stat replaced_stat {};
    if (::stat(name1.c_str(), &replaced_stat) == 0 && S_ISREG(replaced_stat.st_mode)) {
        mode.owner = static_cast<int>(replaced_stat.st_uid);
        mode.group = static_cast<int>(replaced_stat.st_gid);
    }

    // A text that would not change is not rewritten: its time stays, and its backup (the true
    // original after an earlier save) is not replaced by the text itself.
    std::string text = Compose_Text(lists.src_o, form);
    const bool replacing = File_Exists(name1);
    result.text_unchanged = replacing && File_Holds(name1, text);

    // The source must still hold what the run read. One that another save (a second call over
    // the folder) has meanwhile given exactly this new text loses nothing: the text stays as it
    // is, and the lists describe it as well; from here on that state is what must hold.
    FileStamp now_holding;
    if (read_as && !File_Unchanged(source_file, *read_as)) {
        now_holding = Take_File_Stamp(source_file);
        if (!result.text_unchanged || !Same_File(name1, source_file))
            return changed_meanwhile();
        Keep_Racy_Bytes(now_holding, text);
        read_as = &now_holding;
    }

    // Every result is complete on disk before any of them takes its place: a save that fails on
    // the way, or finds the source changed at the last moment, leaves the folder as it was, so
    // saving again after the fault is mended can never push the new text over the only backup
    // of the original.
    struct Staged {
        StagedFile file;
        std::string target;
    };
    std::vector<Staged> staged_lists;
    StagedFile staged; // the new text (a temporary file that takes no place goes at the return)
    if (!result.text_unchanged) {
        StageMode text_mode = mode;
        text_mode.sync = replacing; // on disk before it takes the place of the old text
        if (FileResult r = Stage_File(name1, text, staged, text_mode); !r)
            return fail(r);
    }
    // Staged: the lists need the room.
    const bool large = text.size() >= kLargeText;
    std::string().swap(text);
    if (large)
        Return_Free_Memory();

    // Each list file is composed only when it is wanted and goes to disk as soon as it is
    // composed: a token-dense file's cross-reference is the largest text of the save and never
    // exists twice.
    auto stage_list = [&](std::size_t k, auto compose) -> FileResult {
        if (!options.write_lists || !options.create[k])
            return FileResult::success();
        Staged list{{}, names.files[k]};
        if (FileResult r = Stage_File(list.target, compose(), list.file, mode); !r)
            return r;
        staged_lists.push_back(std::move(list));
        return FileResult::success();
    };
    const int n = options.break_after;
    auto plain = [](const CollectedList& list) { return [&list] { return Collected_Text(list); }; };
    auto cref = [n](CollectedList& list) {
        return [&list, n] { return Cross_Reference_Text(list, n); };
    };
    if (FileResult r = stage_list(2, plain(lists.a_const)); !r)
        return fail(r);
    if (FileResult r = stage_list(4, cref(lists.a_const)); !r)
        return fail(r);
    if (FileResult r = stage_list(3, plain(lists.n_const)); !r)
        return fail(r);
    if (FileResult r = stage_list(5, cref(lists.n_const)); !r)
        return fail(r);
    if (FileResult r = stage_list(6, cref(lists.t_cref)); !r)
        return fail(r);

    for (const StagedFile* f : {&staged, staged_lists.empty() ? nullptr : &staged_lists[0].file})
        if (f && *f && !f->owner_kept()) {
            result.warnings.push_back(owner_not_kept(replaced_stat, f->owner_error()));
            break;
        }

    // The last look before anything takes a place: an edit made while the results were written
    // is not overwritten either.
    if (read_as && !File_Unchanged(source_file, *read_as))
        return changed_meanwhile();

    // The lists first (an unwanted one goes: a stale list that cannot be deleted is no reason to
    // stop), so that a failure among them leaves the source as it was.
    for (std::size_t k = 2; k < names.files.size(); ++k)
        if (options.write_lists && !options.create[k])
            (void)Delete_File(names.files[k]);
    for (Staged& l : staged_lists)
        if (FileResult r = l.file.Commit(l.target); !r)
            return fail(r);

    if (!result.text_unchanged) {
        // The backup is a second name of the old text; the new text then replaces the first
        // name in one step, so the source's name never stands empty. Where the file system has
        // no hard links the old text is renamed instead. Without a backup the new text simply
        // takes the old one's place.
        bool moved = false;
        if (!name2.empty()) {
            (void)Delete_File(name2);
            if (replacing && ::link(name1.c_str(), name2.c_str()) != 0) {
                // Replacing the old text without its backup would lose it: stop instead.
                if (FileResult r = Rename_File(name1, name2); !r)
                    return fail(FileResult::failure(
                        "Cannot keep the original \"" + name1 + "\" as \"" + name2 +
                        "\": " + r.error.substr(r.error.rfind(": ") + 2)));
                moved = true;
            }
        }
        if (FileResult r = staged.Commit(name1); !r) {
            if (moved)
                (void)Rename_File(name2, name1); // the old text goes back under its own name
            return fail(r);
        }
        if (replacing)
            (void)Sync_Folder(folder); // the renames reach the disk as well
    }

    lists.Clear_Lists();
    result.saved = true;
    std::string said = result.text_unchanged ? "\r\ntext unchanged" : "";
    for (const std::string& w : result.warnings)
        said += "\r\n" + w;
    result.messages.push_back(
        {MessageKind::M_Mess, "Saved File", "^C:^F:" + folder + "^Saved Files!" + said});
    return result;
}

} // namespace parvex
