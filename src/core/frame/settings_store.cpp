#include "frame/settings_store.h"

#include "tables/subs.h"

#include <algorithm>
#include <climits>

namespace parvex {

namespace {

// A decimal integer, sign allowed; out of the int range counts as damage.
std::optional<long long> parse_number(std::string_view text) {
    std::string t = Trim(text);
    constexpr std::int32_t bad = INT32_MIN;
    std::int32_t v = Str_To_Int_Def(t, bad);
    if (v == bad && t != "-2147483648")
        return std::nullopt;
    return v;
}

} // namespace

std::string Checked_Setting(const Stored_Property& property,
                            const std::optional<std::string>& stored) {
    std::string fallback(property.default_value);
    if (!stored)
        return fallback;
    switch (property.kind) {
    case Setting_Kind::Number: {
        auto v = parse_number(*stored);
        if (!v)
            return fallback;
        long long clamped = std::clamp<long long>(*v, property.min_value, property.max_value);
        return std::to_string(clamped);
    }
    case Setting_Kind::Boolean:
        return *stored == "True" || *stored == "False" ? *stored : fallback;
    case Setting_Kind::Text:
    case Setting_Kind::Color:
    case Setting_Kind::Page:
        break;
    }
    return *stored;
}

Setting_Values Read_Settings(const IniFile& ini, std::string_view section,
                             std::span<const Stored_Property> properties) {
    Setting_Values values;
    for (const auto& p : properties)
        values[std::string(p.key)] = Checked_Setting(p, ini.value(section, p.key));
    return values;
}

Setting_Values Default_Settings(std::span<const Stored_Property> properties) {
    return Read_Settings(IniFile(), "", properties);
}

Settings_Read Load_Settings(const std::string& file_name, std::string_view section,
                            std::span<const Stored_Property> properties) {
    IniFile ini;
    FileResult status = IniFile::load(file_name, ini);
    return {Read_Settings(ini, section, properties), Read_Placement(ini, section),
            std::move(status)};
}

FileResult Write_Settings(IniFile& ini, std::string_view section,
                          std::span<const Stored_Property> properties,
                          const Setting_Values& values) {
    std::string refused;
    for (const auto& p : properties) {
        auto it = values.find(std::string(p.key));
        std::string_view value =
            it != values.end() ? std::string_view(it->second) : p.default_value;
        if (!ini.set(section, p.key, value))
            refused += (refused.empty() ? "" : ", ") + std::string(p.key);
    }
    if (!refused.empty())
        return FileResult::failure("Cannot store a line break in the setting " + refused);
    return FileResult::success();
}

FileResult Save_Settings(const std::string& file_name, std::string_view section,
                         std::span<const Stored_Property> properties, const Setting_Values& values,
                         const Window_Placement* placement) {
    IniFile ini;
    // An unreadable file is rewritten whole from the window's values: the next start then
    // finds a sound file again.
    if (!IniFile::load(file_name, ini) && File_Exists(file_name)) {
        // The old file would pass its broken permissions on to its replacement.
        if (FileResult gone = Delete_File(file_name); !gone)
            return gone;
    }
    if (placement)
        Write_Placement(ini, section, *placement);
    FileResult written = Write_Settings(ini, section, properties, values);
    if (FileResult saved = ini.save(file_name); !saved)
        return saved;
    return written;
}

} // namespace parvex
