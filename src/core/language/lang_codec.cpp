#include "language/lang_codec.h"

#include "platform/text_file.h"
#include "tables/subs.h"

#include <filesystem>
#include <system_error>

namespace parvex {

namespace {

std::string replace_all(std::string_view s, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(s.size());
    std::size_t pos = 0;
    while (true) {
        std::size_t hit = s.find(from, pos);
        if (hit == std::string_view::npos)
            break;
        out.append(s.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    out.append(s.substr(pos));
    return out;
}

} // namespace

std::string Encode_Lang_Value(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += "~~";
        } else if (c == '\n') {
            out += "~~";
        } else if (c == ' ') {
            out += '_';
        } else {
            out += c;
        }
    }
    return out;
}

std::string Decode_Lang_Value(std::string_view value) {
    std::string text = replace_all(value, "~~", "\n");
    for (char& c : text)
        if (c == '_')
            c = ' ';
    return text;
}

bool Lang_Name_Ok(std::string_view language) {
    return !language.empty() && language.front() != '.' &&
           language.find_first_of("/\\") == std::string_view::npos &&
           language.find("..") == std::string_view::npos &&
           language.find('\0') == std::string_view::npos;
}

std::string Lang_File_Name(std::string_view language) {
    std::string name(language);
    for (char& c : name)
        if (c == ' ')
            c = '_';
    return name + std::string(Lang_File_Ext);
}

std::string Lang_File_Path(std::string_view lang_dir, std::string_view language) {
    const std::string dir = Add_Backslash(lang_dir);
    const std::string name = Lang_File_Name(language);
    if (File_Exists(dir + name))
        return dir + name;
    // Files copied from another system may carry another letter case ("german.lng").
    const std::string wanted = Upper_Ascii(name);
    std::error_code ec;
    std::filesystem::directory_iterator it(dir, ec);
    std::string found;
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::string candidate = it->path().filename().string();
        // The smallest matching name wins, so the choice does not depend on the folder order.
        if (Upper_Ascii(candidate) == wanted && File_Exists(dir + candidate) &&
            (found.empty() || candidate < found))
            found = candidate;
    }
    return dir + (found.empty() ? name : found);
}

Lang_Key Split_Lang_Key(std::string_view key) {
    Lang_Key k;
    const std::size_t first = key.find('.');
    if (first == std::string_view::npos) {
        k.window = std::string(key);
        return k;
    }
    k.window = std::string(key.substr(0, first));
    const std::size_t second = key.find('.', first + 1);
    if (second == std::string_view::npos) {
        k.component = std::string(key.substr(first + 1));
        return k;
    }
    k.component = std::string(key.substr(first + 1, second - first - 1));
    k.property = std::string(key.substr(second + 1));
    return k;
}

std::string Make_Lang_Key(std::string_view window, std::string_view component,
                          std::string_view property) {
    return std::string(window) + "." + std::string(component) + "." + std::string(property);
}

bool Lang_Component_Name_Ok(std::string_view name) {
    return !name.empty() && name.find_first_of(".=\r\n") == std::string_view::npos &&
           Trim(name) == name && name.front() != '[' && name.front() != ';' && name.front() != '#';
}

bool Lang_Protected(long long tag, std::string_view component_name) {
    return (static_cast<unsigned long long>(tag) & Lang_Protect_Tag) != 0 ||
           component_name.find(Lang_Exclusion_Marker) != std::string_view::npos;
}

bool Lang_Text_Skipped(std::string_view property, std::string_view text) {
    return text.empty() || (property == "Caption" && text == "-");
}

} // namespace parvex
