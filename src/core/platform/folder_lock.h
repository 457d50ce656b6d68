#pragma once
// An advisory lock on a folder while results are saved into it: a second process saving into
// the same folder waits until the first is done, so two saves of one source never interleave,
// and every temporary file of a save is made and gone while the lock is held. The threads of
// one process share the lock: a batch saves distinct sources (one it lists twice it saves one
// after the other), so its saves into one folder may run side by side.

#include <string>

namespace parvex {

class FolderLock {
public:
    // Waits for the lock. A folder that cannot be opened for reading is saved into unlocked
    // (`locked()` is false); the save itself reports what fails.
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool locked() const { return locked_; }

private:
    std::string key_;
    bool locked_ = false;
};

// Removes the temporary files that a killed run left in `folder`: files of this program's
// temporary naming (Is_Temp_File_Name), regular, of this user, whose lock no process holds (a
// run holds the lock of each of its temporaries until it is renamed or removed). No file time
// is looked at: a run killed a moment ago leaves nothing behind either. FolderLock calls it
// when it takes a folder's lock. Each folder is looked at once per process. Returns how many
// were removed.
int Remove_Stale_Temps(const std::string& folder);

} // namespace parvex
