#pragma once
// Reading and writing language files: UTF-8 when a file is valid UTF-8, else Windows-1252 (files
// made with older editors); always written as UTF-8 with CR LF, through a temporary file.

#include "frame/ini_file.h"
#include "platform/text_file.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace parvex {

bool Is_Valid_Utf8(std::string_view bytes);
// The bytes as UTF-8: unchanged when valid UTF-8, else read as Windows-1252. A UTF-8 byte-order
// mark is dropped.
std::string Lang_Bytes_To_Utf8(std::string_view bytes);

// The file's lines in UTF-8. A missing file gives no lines and no failure.
[[nodiscard]] FileResult Load_Lang_Lines(const std::string& file, TextList& lines);
// The file as an initialisation file in UTF-8; a missing file reads as an empty one.
[[nodiscard]] FileResult Load_Lang_File(const std::string& file, IniFile& out);

// One line of the "[Translations]" section: key and encoded value.
struct Lang_Entry {
    std::string key;
    std::string value;
};

// Every entry of "[Translations]" in file order (a key written twice counts once, first value).
[[nodiscard]] FileResult Read_Translations(const std::string& file, std::vector<Lang_Entry>& out);

// Writes a new file holding "[Translations]" with the entries (a repeated key replaces the
// earlier value in place) and nothing else; the version is added by INI_Set_Version.
[[nodiscard]] FileResult Write_Translations(const std::string& file,
                                            const std::vector<Lang_Entry>& entries);

// Copies a language file into another, replacing the target through a temporary file.
[[nodiscard]] FileResult Copy_Lang_File(const std::string& from, const std::string& to);

// The backup "Save Language" keeps of the file it replaces: the file's name + ".bak".
std::string Lang_Backup_Name(const std::string& file);
// Keeps the old file (when there is one) as its backup, then writes the lines (UTF-8, CR LF)
// through a temporary file. A failed backup stops before the file is touched.
[[nodiscard]] FileResult Save_Lang_Lines(const std::string& file, const TextList& lines);

} // namespace parvex
