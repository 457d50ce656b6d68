#pragma once
// Says what a path names when it is not the regular file a caller wanted, so that messages name
// the real thing ("is a folder", "is a named pipe") instead of "does not exist".

#include <string>

namespace parvex {

// Empty for a regular file (or a link to one); otherwise why it cannot be read as a file, such
// as "File does not exist", "is a folder, not a file" or "is a symbolic link that leads in a
// loop".
std::string Describe_Non_File(const std::string& path);

// The same question for something that should be a folder; empty for a folder.
std::string Describe_Non_Folder(const std::string& path);

// True for a file that this user may not write (its permission bits say so for root as well):
// editors and formatters leave such a file alone.
bool Is_Read_Only(const std::string& path);

} // namespace parvex
