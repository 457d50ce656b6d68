#pragma once
// The folders a site is written in before it takes its place carry a lock file that the writing
// process holds locked: a later run tells a killed run's folder (the file is there, nobody holds
// it) from one still being written and from a folder of the user's with a similar name.

#include "platform/text_file.h"

#include <string>

namespace parvex::site {

// The names of the folders the writer makes beside a site, and of the lock file inside them.
inline constexpr std::string_view kWorkFolderPrefix = ".parvex-site-";
inline constexpr const char* kClaimFile = ".parvex-writing";

// A lock file inside a folder, locked while this object holds it. The lock belongs to the open
// file, not to its name: it moves with the file when the folder is renamed.
class FolderClaim {
public:
    FolderClaim() = default;
    ~FolderClaim();
    FolderClaim(const FolderClaim&) = delete;
    FolderClaim& operator=(const FolderClaim&) = delete;

    // Puts a locked lock file into `folder`; it appears under its name already locked. On a
    // file system without locks the folder stays unclaimed (false), and so is never taken for
    // a killed run's.
    bool Take(const std::string& folder);
    bool held() const { return fd_ >= 0; }
    // Lets go of the lock (the file stays where it is).
    void Release();

private:
    int fd_ = -1;
};

// Removes a claimed folder, the lock file last, so that a run killed half-way leaves a folder
// the next run still knows as its own.
[[nodiscard]] FileResult Remove_Claimed_Folder(const std::string& folder);

// Removes from `parent` the work folders of runs that were killed: named with the prefix, not
// a symbolic link, holding a lock file that no process holds. Returns how many went.
int Remove_Stale_Work_Folders(const std::string& parent);

} // namespace parvex::site
