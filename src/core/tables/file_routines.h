#pragma once
// File size by pattern, sections of INI-like text lists, the checksum line of shipped data files,
// and the check that decides which documents may be handed to the system's opener.

#include "platform/text_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace parvex {

// "*" and "?" wildcards over a whole name (case-sensitive, a leading dot is matched like any
// other character).
bool Wildcard_Match(std::string_view pattern, std::string_view name);

// The size in bytes of the first file (in name order) that matches `name`; wildcards are allowed
// in the last part of the name. 0 when nothing matches.
std::uint64_t File_Size(const std::string& name);

// The lines strictly between the first line that begins with "[" + name + "]" and the next
// line that begins with "[" (or the end of the list). Target is emptied first.
void Extract_Section(std::string_view name, const TextList& source, TextList& target);

inline constexpr std::string_view Default_Sum_Key = "582937164";
inline constexpr char Checksum_Lead = '\xFF';

// The checksum of every line but the last. An empty key, or one longer than 9 characters, is
// replaced by the default key. On success the key becomes the checksum line (0xFF and the
// signed decimal sum). A short key that is not a decimal integer gives nothing and stays as is.
[[nodiscard]] std::optional<std::int32_t> Data_File_Sum(const TextList& lines, std::string& key);

// Verifies (write false) or rewrites (write true) the checksum line of a text file. `lines` gets
// the file without its checksum line (verify) or with its new one (write). With `save` the new
// lines are written back. Fails for a missing or unreadable file, a wrong checksum, an empty
// file in verify mode, or a failed save; `error` tells which.
[[nodiscard]] FileResult Check_Data_File(bool write, bool save, const std::string& file_name,
                                         std::string& key, TextList& lines);

// Which documents may be handed to the system's opener: web and mail addresses, and existing
// local files that do not run anything when opened. Addresses may come from downloaded data.
enum class Document_Kind { Nothing, Web_Address, Mail_Address, Local_File, Refused };
struct Document_Target {
    Document_Kind kind = Document_Kind::Nothing;
    std::string target; // the address, or the local file's path
    std::string reason; // why it was refused
};
Document_Target Classify_Document(std::string_view path);
// An address that came with downloaded data (a news row's link, a link in a page): only web
// (http, https) and mail addresses are opened. A local file of any kind, a "file:" address and
// every other scheme are Refused with the reason; the file system is not consulted.
Document_Target Classify_Link(std::string_view address);

} // namespace parvex
