#pragma once
// Reading and writing a window's persisted properties in its section of the settings file: the
// values come back complete (defaults for whatever is missing or damaged) and go back in place.

#include "frame/ini_file.h"
#include "frame/stored_property.h"
#include "frame/window_placement.h"

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace parvex {

using Setting_Values = std::map<std::string, std::string>; // key -> value text

// The stored text when the window can use it, else the default: numbers must be decimal
// integers (out-of-range ones are clamped), Booleans exactly "True" or "False".
std::string Checked_Setting(const Stored_Property& property,
                            const std::optional<std::string>& stored);

// One value for every property of the table.
Setting_Values Read_Settings(const IniFile& ini, std::string_view section,
                             std::span<const Stored_Property> properties);
Setting_Values Default_Settings(std::span<const Stored_Property> properties);

struct Settings_Read {
    Setting_Values values;
    Window_Placement placement;
    // Not ok when the file exists but could not be read; the values are the defaults then.
    FileResult status;
};
Settings_Read Load_Settings(const std::string& file_name, std::string_view section,
                            std::span<const Stored_Property> properties);

// Sets every property of the table, in table order, from `values` (a missing value is written
// as its default). A value holding a line break cannot be stored: its key keeps its old line
// and the failure names it, after all other keys were set.
[[nodiscard]] FileResult Write_Settings(IniFile& ini, std::string_view section,
                                        std::span<const Stored_Property> properties,
                                        const Setting_Values& values);

// Reads the file as it is now (other sections and unknown keys stay as they are), writes the
// placement when given and then the properties, and replaces the file whole. A file that could
// not be read is replaced by what is written here.
[[nodiscard]] FileResult Save_Settings(const std::string& file_name, std::string_view section,
                                       std::span<const Stored_Property> properties,
                                       const Setting_Values& values,
                                       const Window_Placement* placement = nullptr);

} // namespace parvex
