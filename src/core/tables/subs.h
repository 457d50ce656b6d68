#pragma once
// Small stateless routines for text, file names, program folders, bits and colour contrast,
// shared by the engine, the frame, the dialog and the table procedures. Positions count from 1.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace parvex {

// ---- text ----
std::string Left_Str(std::string_view s, long n);
std::string Right_Str(std::string_view s, long n);
std::string Capitalize_Words(std::string_view s);
std::string Zero_Pad(long long number, int width);

struct WordPos {
    std::string word;
    std::size_t length = 0;
    std::size_t pos = 0; // 1-based start, 0 when there is no such word
};
WordPos Extract_Word_Pos(long n, std::string_view s, std::string_view delims);
std::string Extract_Word(long n, std::string_view s, std::string_view delims);

std::int32_t Str_To_Int_Def(std::string_view s, std::int32_t def);
bool Is_True(std::string_view s);
std::string Bool_To_Str(bool b);
inline std::string Check_To_Str(bool checked) {
    return Bool_To_Str(checked);
}
std::string Int_To_Bin(std::uint32_t value, int digits);
bool Bit_Is_Set(std::uint32_t value, int n);
std::int32_t Int_Power(std::int32_t base, std::uint16_t exp);
// Fraction of a day; nothing for seconds outside 0 .. 86399 (the time conversion fails there).
std::optional<double> Secs_To_Time(long long secs);

// ASCII-only letter case, as the engine compares tokens: other bytes stay as they are.
std::string Upper_Ascii(std::string_view s);
std::string Lower_Ascii(std::string_view s);
// Leading and trailing blanks and control characters removed.
std::string Trim(std::string_view s);
std::string_view Trimmed(std::string_view s); // the same without a copy

// ---- file names and program folders (folders end with "/") ----
std::string Exe_File_Name(); // the running program's full file name
std::string Exe_Dir();
std::string Data_Dir(std::string_view exe_dir);
std::string GUI_Data_Dir(std::string_view exe_dir);
std::string GUI_Lang_Dir(std::string_view exe_dir);
std::string Dont_Dir(std::string_view exe_dir);
inline std::string Data_Dir() {
    return Data_Dir(Exe_Dir());
}
inline std::string GUI_Data_Dir() {
    return GUI_Data_Dir(Exe_Dir());
}
inline std::string GUI_Lang_Dir() {
    return GUI_Lang_Dir(Exe_Dir());
}
inline std::string Dont_Dir() {
    return Dont_Dir(Exe_Dir());
}
// The settings file: the program's file name with the extension "INI".
std::string Ini_File_Name(std::string_view exe_file_name);
inline std::string Ini_File_Name() {
    return Ini_File_Name(Exe_File_Name());
}
std::string Add_Backslash(std::string_view s); // adds the folder separator "/"
std::string Change_Ext(std::string_view name, std::string_view ext);

// ---- colours (platform values 00BBGGRR) ----
std::uint32_t Contrast_Color(std::uint32_t color);

} // namespace parvex
