#include "tables/file_routines.h"

#include "tables/subs.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <sys/stat.h>
#include <vector>

namespace parvex {

namespace fs = std::filesystem;

bool Wildcard_Match(std::string_view pattern, std::string_view name) {
    // Greedy match with a single back-track point for the last "*".
    std::size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::uint64_t File_Size(const std::string& name) {
    std::error_code ec;
    if (name.find_first_of("*?") == std::string::npos) {
        struct stat st {};
        if (::stat(name.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
            return 0;
        return static_cast<std::uint64_t>(st.st_size);
    }
    fs::path full(name);
    std::string pattern = full.filename().string();
    fs::path dir = full.has_parent_path() ? full.parent_path() : fs::path(".");
    std::vector<fs::path> matches;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_directory(ec))
            continue;
        if (Wildcard_Match(pattern, it->path().filename().string()))
            matches.push_back(it->path());
    }
    if (matches.empty())
        return 0;
    std::sort(matches.begin(), matches.end());
    auto size = fs::file_size(matches.front(), ec);
    return ec ? 0 : static_cast<std::uint64_t>(size);
}

void Extract_Section(std::string_view name, const TextList& source, TextList& target) {
    target.clear();
    std::string header = "[" + std::string(name) + "]";
    auto start = std::find_if(source.begin(), source.end(),
                              [&](const std::string& line) { return line.starts_with(header); });
    if (start == source.end())
        return;
    auto stop = std::find_if(start + 1, source.end(),
                             [](const std::string& line) { return line.starts_with("["); });
    target.assign(start + 1, stop);
}

std::optional<std::int32_t> Data_File_Sum(const TextList& lines, std::string& key) {
    std::string k = key;
    if (k.empty() || k.size() > 9)
        k = std::string(Default_Sum_Key);
    std::int32_t base = 0;
    {
        const char* first = k.data();
        const char* last = k.data() + k.size();
        if (*first == '+')
            ++first;
        auto [ptr, err] = std::from_chars(first, last, base);
        if (err != std::errc() || ptr != last || first == last)
            return std::nullopt;
    }
    const std::size_t klen = k.size();
    std::uint32_t sum = 0; // wraps like the 32-bit sum of the stored files
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        const std::string& line = lines[i];
        for (std::size_t p = 1; p <= line.size(); ++p) {
            auto c = static_cast<unsigned char>(line[p - 1]);
            auto kc = static_cast<unsigned char>(k[p % klen]);
            sum += static_cast<std::uint32_t>(c) * static_cast<std::uint32_t>(kc);
        }
    }
    auto result = static_cast<std::int32_t>(static_cast<std::uint32_t>(base) - sum);
    key = std::string(1, Checksum_Lead) + std::to_string(result);
    return result;
}

FileResult Check_Data_File(bool write, bool save, const std::string& file_name, std::string& key,
                           TextList& lines) {
    lines.clear();
    if (!File_Exists(file_name))
        return FileResult::failure("File not found: " + file_name);
    if (FileResult r = Load_Lines(file_name, lines); !r) {
        lines.clear();
        return r;
    }
    if (write) {
        if (!lines.empty() && !lines.back().empty() && lines.back().front() == Checksum_Lead)
            lines.pop_back();
        if (!Data_File_Sum(lines, key))
            return FileResult::failure("Invalid checksum key");
        lines.push_back(key);
        if (save)
            return Save_Lines(file_name, lines);
        return FileResult::success();
    }
    if (lines.empty())
        return FileResult::failure("No checksum line in " + file_name);
    std::string stored = lines.back();
    lines.pop_back();
    if (!Data_File_Sum(lines, key))
        return FileResult::failure("Invalid checksum key");
    if (stored != key)
        return FileResult::failure("Checksum does not match: " + file_name);
    return FileResult::success();
}

namespace {

bool starts_with_no_case(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && Lower_Ascii(s.substr(0, prefix.size())) == prefix;
}

bool has_control_or_blank(std::string_view s) {
    return std::any_of(s.begin(), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7F; });
}

// Mail programs honour fields such as "attach=" that would send a local file along; an
// address from downloaded data may only fill in receivers, subject and text.
bool mail_fields_are_plain(std::string_view rest) {
    std::size_t q = rest.find('?');
    if (q == std::string_view::npos)
        return true;
    std::string_view fields = rest.substr(q + 1);
    while (!fields.empty()) {
        std::size_t amp = fields.find('&');
        std::string_view field = fields.substr(0, amp);
        std::string key = Lower_Ascii(field.substr(0, field.find('=')));
        if (!key.empty() && key != "to" && key != "cc" && key != "bcc" && key != "subject" &&
            key != "body")
            return false;
        if (amp == std::string_view::npos)
            break;
        fields.remove_prefix(amp + 1);
    }
    return true;
}

} // namespace

Document_Target Classify_Document(std::string_view path) {
    Document_Target out;
    std::string p = Trim(path);
    if (p.empty())
        return out;
    out.target = p;
    auto refuse = [&](std::string reason) {
        out.kind = Document_Kind::Refused;
        out.reason = std::move(reason);
        return out;
    };
    for (std::string_view scheme : {"http://", "https://"}) {
        if (starts_with_no_case(p, scheme)) {
            std::string_view rest = std::string_view(p).substr(scheme.size());
            if (rest.empty() || rest.front() == '/' || has_control_or_blank(rest))
                return refuse("not a valid web address");
            out.kind = Document_Kind::Web_Address;
            return out;
        }
    }
    if (starts_with_no_case(p, "mailto:")) {
        std::string_view rest = std::string_view(p).substr(7);
        if (rest.find('@') == std::string_view::npos || has_control_or_blank(rest))
            return refuse("not a valid mail address");
        if (!mail_fields_are_plain(rest))
            return refuse("mail addresses may only fill in receivers, subject and text");
        out.kind = Document_Kind::Mail_Address;
        return out;
    }
    std::string local = p;
    if (starts_with_no_case(p, "file://"))
        local = p.substr(7);
    else if (p.find("://") != std::string::npos ||
             (p.find(':') != std::string::npos && p.front() != '/' && p.front() != '.'))
        return refuse("addresses of this kind are not opened");
    struct stat st {};
    if (local.empty() || ::stat(local.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return refuse("no such file");
    // Opening such files would start a program rather than show a document.
    if ((st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0)
        return refuse("program files are not opened");
    std::string lower = Lower_Ascii(local);
    if (lower.ends_with(".desktop"))
        return refuse("program files are not opened");
    out.kind = Document_Kind::Local_File;
    out.target = local;
    return out;
}

Document_Target Classify_Link(std::string_view address) {
    const std::string a = Trim(address);
    for (std::string_view scheme : {"http://", "https://", "mailto:"})
        if (starts_with_no_case(a, scheme))
            return Classify_Document(a);
    Document_Target out;
    if (a.empty())
        return out;
    out.kind = Document_Kind::Refused;
    out.target = a;
    out.reason = "only web and mail addresses are";
    return out;
}

} // namespace parvex
