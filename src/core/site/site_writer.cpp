#include "site/site_writer.h"

#include "engine/scanned_file.h"
#include "site/site_folder_claim.h"
#include "site/site_front.h"
#include "site/site_pages.h"
#include "site/site_text.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

namespace fs = std::filesystem;

namespace parvex::site {

namespace {

constexpr std::size_t kPackBytes = 40 * 1024;  // text of several small sources in one script
constexpr std::size_t kPartBytes = 24 * 1024;  // occurrences of one key in one script
constexpr std::size_t kShardBytes = 48 * 1024; // occurrence scripts are about this large
constexpr std::size_t kChunkBytes = 32 * 1024; // search scripts
constexpr std::uint32_t kFileChunk = 256;      // sources per script of the file table
constexpr std::size_t kListChunk = 500;        // items per script of a list
constexpr std::size_t kListTop = 5000;         // items of a list in order of their counts

std::string system_error(const std::string& what, const std::string& name) {
    return name + ": " + what + ": " + std::strerror(errno);
}

void num(std::string& out, std::uint64_t n) {
    out += std::to_string(n);
}

std::string up_to_root(const std::string& rel) {
    std::string root;
    for (char c : rel)
        if (c == '/')
            root += "../";
    return root;
}

struct Tally {
    std::uint32_t count = 0, files = 0, first_count = 0;
    std::int32_t last_file = -1;
};

struct Routine {
    std::uint32_t file;
    std::string name;
    std::uint32_t line, end_line;
};

struct FileRecord {
    std::string path; // as shown
    std::string url;  // of its page, escaped, from the site's folder
    std::uint32_t lines = 0, tokens = 0;
    std::vector<std::uint32_t> packs; // pack, first line, pack, first line, ...
};

bool is_listed_kind(char k) {
    return k == kToken || k == kLiteral || k == kNumber;
}

} // namespace

struct SiteWriter::State {
    SiteOptions options;
    std::string out, temp; // the target, and the folder being written ("/" at the end)
    bool begun = false, finished = false;
    // The lock files of the folder being written and, while it is replaced, of the old site.
    FolderClaim claim, old_claim;
    std::set<std::string> made_dirs;
    SiteSummary summary;
    std::uint32_t skipped = 0;

    std::vector<FileRecord> files;
    std::unordered_set<std::string> pages;

    std::string pack; // the text script being filled
    std::uint32_t pack_no = 0;
    bool pack_empty = true;

    KeyTable keys; // every token, literal and number; spelling: the first met
    std::vector<Tally> tallies;
    std::vector<std::string> streams;
    std::unordered_map<std::uint32_t, std::vector<std::pair<std::string, std::uint32_t>>> others;

    std::vector<Routine> routines;

    FileResult write(const std::string& rel, std::string_view bytes) {
        const std::size_t slash = rel.rfind('/');
        if (slash != std::string::npos) {
            const std::string dir = rel.substr(0, slash);
            if (made_dirs.insert(dir).second)
                if (FileResult r = Make_Dirs(temp + dir); !r)
                    return r;
        }
        summary.site_files++;
        summary.site_bytes += bytes.size();
        return Write_File_Atomic(temp + rel, bytes);
    }

    void start_pack() {
        pack = "PX.pack(" + std::to_string(pack_no) + ",[";
        pack_empty = true;
    }
    FileResult flush_pack() {
        if (pack_empty)
            return FileResult::success();
        pack += "]);\n";
        FileResult r = write("d/p/" + std::to_string(pack_no) + ".js", pack);
        ++pack_no;
        start_pack();
        return r;
    }

    FileResult write_files();
    FileResult write_occurrences(const TokenTable* tokens);
    FileResult write_search(const TokenTable* tokens);
    FileResult write_lists(const TokenTable* tokens);
    FileResult write_pages();
    FileResult write_config(std::uint32_t shards, const std::vector<std::string>& firsts);
    FileResult move_into_place();

    std::string display_of(std::uint32_t id, const TokenTable* tokens) const {
        const std::string_view spelling = keys.Spelling(id);
        if (spelling[0] == kToken && tokens)
            if (auto stored = tokens->Find_Token(spelling.substr(1));
                stored && stored->size() == spelling.size() - 1)
                return std::string(1, kToken) + *stored;
        return std::string(spelling);
    }
    std::uint32_t shards = 1;
    std::vector<std::string> search_firsts;
};

SiteWriter::SiteWriter(SiteOptions options) : s_(std::make_unique<State>()) {
    s_->options = std::move(options);
}

SiteWriter::~SiteWriter() {
    if (s_->begun && !s_->finished)
        (void)Remove_Claimed_Folder(s_->temp.substr(0, s_->temp.size() - 1));
}

const SiteSummary& SiteWriter::Summary() const {
    return s_->summary;
}

void SiteWriter::Skipped() {
    ++s_->skipped;
}

std::string Page_Path(const std::string& path) {
    return "s/" + Display_Name(path) + ".html";
}

std::string Site_Target_Problem(const std::string& folder) {
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0)
        return errno == ENOENT ? std::string() : std::string(std::strerror(errno));
    if (S_ISLNK(st.st_mode))
        return "is a symbolic link; name the folder itself";
    if (!S_ISDIR(st.st_mode))
        return "is not a folder";
    std::error_code ec;
    if (fs::exists(fs::path(folder) / SiteWriter::kMarkFile, ec))
        return {};
    if (fs::is_empty(folder, ec) && !ec)
        return {};
    return "holds files that are no site of parvex-list; choose a new or empty folder";
}

FileResult SiteWriter::Begin(const std::string& out) {
    State& s = *s_;
    std::string target = out;
    while (target.size() > 1 && target.back() == '/')
        target.pop_back();
    if (std::string why = Site_Target_Problem(target); !why.empty())
        return FileResult::failure(target + ": " + why);
    s.out = target;
    const fs::path parent = fs::absolute(target).parent_path();
    if (FileResult r = Make_Dirs(parent.string()); !r)
        return r;
    // What a killed run left beside it goes first; folders of running writers stay.
    (void)Remove_Stale_Work_Folders(parent.string());
    std::string pattern = (parent / kWorkFolderPrefix).string() + "XXXXXX";
    if (!::mkdtemp(pattern.data()))
        return FileResult::failure(system_error("cannot make a folder beside it", target));
    s.temp = pattern + "/";
    (void)s.claim.Take(pattern);
    s.begun = true;
    s.start_pack();
    return FileResult::success();
}

FileResult SiteWriter::Add(const std::string& path, SiteSource& src) {
    State& s = *s_;
    const std::uint32_t id = static_cast<std::uint32_t>(s.files.size());
    FileRecord& f = s.files.emplace_back();
    f.path = Display_Name(path);
    std::string page = Page_Path(path);
    if (!s.pages.insert(page).second) // two names that show alike
        page = page.substr(0, page.size() - 5) + "~" + std::to_string(id) + ".html";
    s.pages.insert(page);
    f.url = Url_Escape(page);
    f.lines = src.lines;
    f.tokens = src.tokens;
    s.summary.files++;
    s.summary.lines += src.lines;
    s.summary.tokens += src.tokens;

    // Its text, into the packs.
    bool first = true;
    for (SiteSource::Piece& piece : src.pieces) {
        if (!s.pack_empty && s.pack.size() + piece.text.size() > kPackBytes)
            if (FileResult r = s.flush_pack(); !r)
                return r;
        if (!s.pack_empty)
            s.pack += ",\n";
        s.pack += '[';
        num(s.pack, id);
        s.pack += ',';
        num(s.pack, piece.first_line);
        s.pack += ',';
        Append_Js_String(s.pack, piece.text);
        if (first) {
            s.pack += ",[";
            bool any = false;
            for (const SourceMap::Routine& r : src.routines) {
                if (r.end_line == 0)
                    continue;
                if (any)
                    s.pack += ',';
                any = true;
                s.pack += '[';
                Append_Js_String(s.pack, Display_Name(r.name));
                for (std::uint32_t v : {r.line, r.column, r.end_line, r.end_column}) {
                    s.pack += ',';
                    num(s.pack, v);
                }
                s.pack += ']';
            }
            s.pack += ']';
        }
        s.pack += ']';
        s.pack_empty = false;
        f.packs.push_back(s.pack_no);
        f.packs.push_back(piece.first_line);
        first = false;
    }
    for (const SourceMap::Routine& r : src.routines)
        if (r.end_line != 0)
            s.routines.push_back({id, Display_Name(r.name), r.line, r.end_line});

    // Its page.
    PageFrame frame;
    frame.root = up_to_root(page);
    frame.title = f.path.substr(f.path.rfind('/') + 1);
    frame.project = s.options.title;
    frame.kind = "source";
    std::string packs;
    for (std::size_t k = 0; k < f.packs.size(); k += 2) {
        if (k > 0 && f.packs[k] == f.packs[k - 2])
            continue;
        if (!packs.empty())
            packs += ',';
        packs += std::to_string(f.packs[k]);
    }
    frame.data = {
        {"file", std::to_string(id)}, {"packs", packs}, {"lines", std::to_string(f.lines)}};
    if (FileResult r = s.write(
            page, Page_Html(frame, Source_Body(s.options.title, f.path, s.options.text_note)));
        !r)
        return r;

    // Its tokens, literals and numbers, into the project's tallies.
    for (SiteSource::Entry& e : src.entries) {
        const std::uint32_t before = s.keys.Size();
        const std::uint32_t g = s.keys.Find_Or_Add(e.key, e.spelling);
        if (g == before) {
            s.tallies.emplace_back();
            s.streams.emplace_back();
        }
        Tally& t = s.tallies[g];
        t.count += e.count;
        t.files++;
        Append_Varint(
            s.streams[g],
            2ull * static_cast<std::uint64_t>(static_cast<std::int64_t>(id) - t.last_file) - 1);
        s.streams[g] += e.lines;
        t.last_file = static_cast<std::int32_t>(id);
        if (e.key[0] != kToken)
            continue;
        const std::string_view global = s.keys.Spelling(g);
        auto add_other = [&](std::string_view spelling, std::uint32_t count) {
            auto& list = s.others[g];
            for (auto& [text, n] : list)
                if (text == spelling) {
                    n += count;
                    return;
                }
            list.emplace_back(std::string(spelling), count);
        };
        if (e.spelling == global)
            t.first_count += e.first_count;
        else
            add_other(std::string_view(e.spelling).substr(1), e.first_count);
        for (const auto& [text, n] : e.others) {
            if (global.substr(1) == text)
                t.first_count += n;
            else
                add_other(text, n);
        }
    }
    return FileResult::success();
}

FileResult SiteWriter::State::write_files() {
    for (std::uint32_t c = 0; c * kFileChunk < files.size() || c == 0; ++c) {
        std::string js = "PX.files(" + std::to_string(c) + ",[";
        for (std::uint32_t i = c * kFileChunk; i < files.size() && i < (c + 1) * kFileChunk; ++i) {
            const FileRecord& f = files[i];
            if (i > c * kFileChunk)
                js += ",\n";
            js += '[';
            Append_Js_String(js, f.path);
            js += ',';
            Append_Js_String(js, f.url);
            js += ',';
            num(js, f.lines);
            js += ',';
            num(js, f.tokens);
            js += ",[";
            for (std::size_t k = 0; k < f.packs.size(); ++k) {
                if (k)
                    js += ',';
                num(js, f.packs[k]);
            }
            js += "]]";
        }
        js += "]);\n";
        if (FileResult r = write("d/f/" + std::to_string(c) + ".js", js); !r)
            return r;
        if (files.empty())
            break;
    }
    return FileResult::success();
}

FileResult SiteWriter::State::write_occurrences(const TokenTable* tokens) {
    const std::uint32_t n = keys.Size();
    std::uint64_t total = 0;
    for (std::uint32_t id = 0; id < n; ++id)
        total += std::min(streams[id].size(), kPartBytes) + 32 + keys.Key(id).size();
    shards = static_cast<std::uint32_t>(std::max<std::uint64_t>(1, total / kShardBytes + 1));
    std::vector<std::vector<std::uint32_t>> in_shard(shards);
    for (std::uint32_t id = 0; id < n; ++id)
        in_shard[Key_Hash(keys.Key(id)) % shards].push_back(id);
    for (std::uint32_t sh = 0; sh < shards; ++sh) {
        std::string js = "PX.occ(" + std::to_string(sh) + ",[";
        bool first = true;
        for (std::uint32_t id : in_shard[sh]) {
            if (!first)
                js += ",\n";
            first = false;
            const Tally& t = tallies[id];
            js += '[';
            Append_Js_String(js, display_of(id, tokens));
            js += ',';
            num(js, t.count);
            js += ',';
            num(js, t.files);
            js += ',';
            const std::vector<std::string> parts = streams[id].size() > kPartBytes
                                                       ? Cut_Occurrences(streams[id], kPartBytes)
                                                       : std::vector<std::string>();
            Append_Js_String(js, parts.empty() ? streams[id] : parts[0]);
            auto o = others.find(id);
            if (o != others.end() || parts.size() > 1) {
                js += ",[";
                if (o != others.end()) {
                    std::vector<std::pair<std::string, std::uint32_t>> all = o->second;
                    all.emplace_back(std::string(keys.Spelling(id).substr(1)), t.first_count);
                    std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
                        return a.second > b.second;
                    });
                    for (std::size_t k = 0; k < all.size(); ++k) {
                        if (k)
                            js += ',';
                        js += '[';
                        Append_Js_String(js, all[k].first);
                        js += ',';
                        num(js, all[k].second);
                        js += ']';
                    }
                }
                js += ']';
            }
            if (parts.size() > 1) {
                js += ",[";
                num(js, id);
                js += ',';
                num(js, parts.size());
                js += ']';
                for (std::size_t k = 1; k < parts.size(); ++k) {
                    std::string part =
                        "PX.part(" + std::to_string(id) + "," + std::to_string(k) + ",";
                    Append_Js_String(part, parts[k]);
                    part += ");\n";
                    if (FileResult r = write(
                            "d/q/" + std::to_string(id) + "-" + std::to_string(k) + ".js", part);
                        !r)
                        return r;
                }
            }
            js += ']';
        }
        js += "]);\n";
        if (FileResult r = write("d/o/" + std::to_string(sh) + ".js", js); !r)
            return r;
    }
    return FileResult::success();
}

namespace {

struct Found {
    std::string key; // the name in capitals
    char kind;       // T, R or F
    std::string name;
    std::uint32_t a = 0, b = 0; // count; file, line; file
};

std::size_t first_char_bytes(std::string_view s) {
    if (s.empty())
        return 0;
    const auto c = static_cast<unsigned char>(s[0]);
    const std::size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return std::min(n, s.size());
}

void found_js(std::string& js, const Found& f) {
    js += "[\"";
    js += f.kind;
    js += "\",";
    Append_Js_String(js, f.name);
    js += ',';
    num(js, f.a);
    if (f.kind == 'R') {
        js += ',';
        num(js, f.b);
    }
    js += ']';
}

// The best few of each kind among `range`: the most frequent tokens, the shortest names.
std::string top_js(std::vector<const Found*> range) {
    std::stable_sort(range.begin(), range.end(), [](const Found* x, const Found* y) {
        if (x->kind != y->kind)
            return x->kind > y->kind; // T, R, F
        if (x->kind == 'T')
            return x->a > y->a;
        return x->name.size() < y->name.size();
    });
    std::string js = "[";
    int taken[3] = {0, 0, 0};
    bool first = true;
    for (const Found* f : range) {
        int& k = taken[f->kind == 'T' ? 0 : f->kind == 'R' ? 1 : 2];
        if (k >= (f->kind == 'T' ? 12 : 8))
            continue;
        ++k;
        if (!first)
            js += ',';
        first = false;
        found_js(js, *f);
    }
    return js + "]";
}

std::string hex_of(std::string_view ch) {
    // The first character's code, as the pages' scripts write it (charCodeAt in hex).
    std::uint32_t cp = static_cast<unsigned char>(ch[0]);
    if (ch.size() > 1) {
        cp &= 0xFF >> (ch.size() + 1);
        for (std::size_t k = 1; k < ch.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(ch[k]) & 0x3F);
    }
    if (cp >= 0x10000)
        cp = 0xD800 + ((cp - 0x10000) >> 10);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%x", cp);
    return buf;
}

} // namespace

FileResult SiteWriter::State::write_search(const TokenTable* tokens) {
    std::vector<Found> all;
    for (std::uint32_t id = 0; id < keys.Size(); ++id) {
        if (keys.Key(id)[0] != kToken)
            continue;
        Found f;
        f.kind = 'T';
        f.name = display_of(id, tokens).substr(1);
        f.key = std::string(keys.Key(id).substr(1));
        f.a = tallies[id].count;
        all.push_back(std::move(f));
    }
    for (const Routine& r : routines) {
        Found f;
        f.kind = 'R';
        f.name = r.name;
        Append_Upper_Ascii(f.key, r.name);
        f.a = r.file;
        f.b = r.line;
        all.push_back(std::move(f));
    }
    for (std::uint32_t id = 0; id < files.size(); ++id) {
        Found f;
        f.kind = 'F';
        f.name = files[id].path.substr(files[id].path.rfind('/') + 1);
        Append_Upper_Ascii(f.key, f.name);
        f.a = id;
        all.push_back(std::move(f));
    }
    std::sort(all.begin(), all.end(), [](const Found& x, const Found& y) {
        if (x.key != y.key)
            return x.key < y.key;
        if (x.kind != y.kind)
            return x.kind > y.kind;
        return x.a > y.a;
    });
    // The chunks, each with its first key in the configuration.
    search_firsts.clear();
    std::string js;
    std::uint32_t chunk = 0;
    auto flush = [&]() -> FileResult {
        js += "]);\n";
        FileResult r = write("d/s/" + std::to_string(chunk) + ".js", js);
        ++chunk;
        js.clear();
        return r;
    };
    for (const Found& f : all) {
        if (js.size() >= kChunkBytes)
            if (FileResult r = flush(); !r)
                return r;
        if (js.empty()) {
            search_firsts.push_back(f.key);
            js = "PX.find(" + std::to_string(chunk) + ",[";
        } else {
            js += ',';
        }
        found_js(js, f);
    }
    if (!js.empty())
        if (FileResult r = flush(); !r)
            return r;
    // The best of each one- and two-character beginning, for a search of one or two letters.
    std::string one = "PX.top(\"\",{";
    std::map<std::string, std::string> two; // by first character
    bool first_one = true;
    for (std::size_t i = 0; i < all.size();) {
        const std::size_t c1 = first_char_bytes(all[i].key);
        const std::string p1 = all[i].key.substr(0, c1);
        std::size_t j = i;
        std::vector<const Found*> range1;
        while (j < all.size() && all[j].key.compare(0, c1, p1) == 0 && all[j].key.size() >= c1)
            range1.push_back(&all[j++]);
        if (!first_one)
            one += ',';
        first_one = false;
        Append_Js_String(one, p1);
        one += ':' + top_js(range1);
        std::string& t = two[p1];
        for (std::size_t k = i; k < j;) {
            const std::string_view rest = std::string_view(all[k].key).substr(c1);
            const std::size_t c2 = first_char_bytes(rest);
            const std::string p2 = all[k].key.substr(0, c1 + c2);
            std::vector<const Found*> range2;
            std::size_t m = k;
            while (m < j && all[m].key.compare(0, p2.size(), p2) == 0)
                range2.push_back(&all[m++]);
            if (c2 > 0) {
                t += t.empty() ? "" : ",";
                Append_Js_String(t, p2);
                t += ':' + top_js(range2);
            }
            k = m;
        }
        i = j;
    }
    one += "});\n";
    if (FileResult r = write("d/s/t.js", one); !r)
        return r;
    for (const auto& [p1, t] : two) {
        const std::string hex = hex_of(p1);
        if (FileResult r = write("d/s/t" + hex + ".js", "PX.top(\"" + hex + "\",{" + t + "});\n");
            !r)
            return r;
    }
    return FileResult::success();
}

FileResult SiteWriter::State::write_lists(const TokenTable* tokens) {
    struct Item {
        std::string sort;
        std::string name;
        std::uint32_t count, files_or_file, line;
    };
    std::map<char, std::vector<Item>> lists;
    for (std::uint32_t id = 0; id < keys.Size(); ++id) {
        const char kind = keys.Key(id)[0];
        if (!is_listed_kind(kind))
            continue;
        Item it;
        it.name = display_of(id, tokens).substr(1);
        const std::string_view key = keys.Key(id).substr(1);
        if (kind == kNumber) {
            std::size_t z = 0;
            while (z + 1 < key.size() && key[z] == '0')
                ++z;
            it.sort = std::string(20 - std::min<std::size_t>(20, key.size() - z), ' ');
            it.sort += key.substr(z);
            it.sort += key;
        } else {
            it.sort = key;
        }
        it.count = tallies[id].count;
        it.files_or_file = tallies[id].files;
        it.line = 0;
        lists[kind].push_back(std::move(it));
    }
    auto& rl = lists['R'];
    for (const Routine& r : routines) {
        Item it;
        Append_Upper_Ascii(it.sort, r.name);
        it.name = r.name;
        it.count = r.end_line - r.line + 1;
        it.files_or_file = r.file;
        it.line = r.line;
        rl.push_back(std::move(it));
    }
    for (char kind : {kToken, kLiteral, kNumber, 'R'}) {
        std::vector<Item>& items = lists[kind];
        std::stable_sort(items.begin(), items.end(),
                         [](const Item& a, const Item& b) { return a.sort < b.sort; });
        auto item_js = [&](std::string& js, const Item& it) {
            js += '[';
            Append_Js_String(js, it.name);
            js += ',';
            num(js, it.count);
            js += ',';
            num(js, it.files_or_file);
            if (kind == 'R') {
                js += ',';
                num(js, it.line);
            }
            js += ']';
        };
        const std::string k(1, kind);
        std::string info = "PX.listInfo(\"" + k + "\"," + std::to_string(items.size()) + ",[";
        for (std::size_t c = 0; c * kListChunk < items.size(); ++c) {
            std::string js = "PX.list(\"" + k + "n" + std::to_string(c) + "\",[";
            for (std::size_t i = c * kListChunk; i < items.size() && i < (c + 1) * kListChunk;
                 ++i) {
                if (i > c * kListChunk)
                    js += ",\n";
                item_js(js, items[i]);
            }
            js += "]);\n";
            if (FileResult r = write("d/l/" + k + "n" + std::to_string(c) + ".js", js); !r)
                return r;
            if (c)
                info += ',';
            Append_Js_String(info, items[c * kListChunk].name);
        }
        // The most frequent (of routines: the longest) in their own order.
        std::vector<const Item*> top;
        for (const Item& it : items)
            top.push_back(&it);
        const std::size_t n_top = std::min(kListTop, top.size());
        std::partial_sort(top.begin(), top.begin() + static_cast<std::ptrdiff_t>(n_top), top.end(),
                          [](const Item* a, const Item* b) {
                              return a->count != b->count ? a->count > b->count : a->sort < b->sort;
                          });
        std::size_t chunks = 0;
        for (std::size_t c = 0; c * kListChunk < n_top; ++c, ++chunks) {
            std::string js = "PX.list(\"" + k + "c" + std::to_string(c) + "\",[";
            for (std::size_t i = c * kListChunk; i < n_top && i < (c + 1) * kListChunk; ++i) {
                if (i > c * kListChunk)
                    js += ",\n";
                item_js(js, *top[i]);
            }
            js += "]);\n";
            if (FileResult r = write("d/l/" + k + "c" + std::to_string(c) + ".js", js); !r)
                return r;
        }
        info += "]," + std::to_string(n_top) + ");\n";
        if (FileResult r = write("d/l/" + k + ".js", info); !r)
            return r;
        if (kind == kToken)
            summary.distinct_tokens = static_cast<std::uint32_t>(items.size());
        else if (kind == kLiteral)
            summary.literals = static_cast<std::uint32_t>(items.size());
        else if (kind == kNumber)
            summary.numbers = static_cast<std::uint32_t>(items.size());
        else
            summary.routines = static_cast<std::uint32_t>(items.size());
    }
    return FileResult::success();
}

FileResult SiteWriter::State::write_config(std::uint32_t shard_count,
                                           const std::vector<std::string>& firsts) {
    std::string js = "PX.config({title:";
    Append_Js_String(js, options.title);
    js += ",note:";
    Append_Js_String(js, options.text_note);
    js += ",delimiters:";
    Append_Js_String(js, options.delimiters);
    js += ",files:" + std::to_string(files.size()) + ",lines:" + std::to_string(summary.lines) +
          ",tokens:" + std::to_string(summary.tokens) + ",shards:" + std::to_string(shard_count) +
          ",fileChunk:" + std::to_string(kFileChunk) + ",search:[";
    for (std::size_t i = 0; i < firsts.size(); ++i) {
        if (i)
            js += ',';
        Append_Js_String(js, firsts[i]);
    }
    js += "]});\n";
    return write("d/config.js", js);
}

FileResult SiteWriter::State::write_pages() {
    std::vector<TreeFile> tree;
    tree.reserve(files.size());
    for (const FileRecord& f : files)
        tree.push_back({f.path, f.url, f.lines, f.tokens});
    ProjectTotals t;
    t.files = summary.files;
    t.lines = summary.lines;
    t.tokens = summary.tokens;
    t.distinct_tokens = summary.distinct_tokens;
    t.literals = summary.literals;
    t.numbers = summary.numbers;
    t.routines = summary.routines;
    t.skipped = skipped;
    PageFrame frame;
    frame.title = options.title;
    frame.project = options.title;
    frame.kind = "index";
    if (FileResult r =
            write("index.html", Page_Html(frame, Index_Body(tree, t, options.text_note)));
        !r)
        return r;
    for (char kind : {kToken, kLiteral, kNumber, 'R'}) {
        PageFrame lf;
        lf.title = List_Title(kind);
        lf.project = options.title;
        lf.kind = "list";
        if (FileResult r = write(List_File(kind), Page_Html(lf, List_Body(kind))); !r)
            return r;
    }
    for (const FrontFile& front : Front_Files())
        if (FileResult r = write(std::string("px/") + front.name, front.bytes); !r)
            return r;
    return write(kMarkFile, "A cross-reference site written by parvex-list --html. The next "
                            "run replaces this whole folder.\n");
}

FileResult SiteWriter::State::move_into_place() {
    const std::string temp_dir = temp.substr(0, temp.size() - 1);
    const std::string placed_claim = out + "/" + kClaimFile;
    if (::rename(temp_dir.c_str(), out.c_str()) == 0) {
        (void)::unlink(placed_claim.c_str());
        return FileResult::success();
    }
    if (errno != EEXIST && errno != ENOTEMPTY)
        return FileResult::failure(system_error("the site cannot be put in place", out));
    // The old site is claimed before it leaves its place, so that it is known as ours and
    // removed by a later run should this one be killed before it is gone.
    (void)old_claim.Take(out);
    // The old site and the new one change places in one step; the old one is then removed.
    if (::renameat2(AT_FDCWD, temp_dir.c_str(), AT_FDCWD, out.c_str(), RENAME_EXCHANGE) == 0) {
        (void)::unlink(placed_claim.c_str());
        return Remove_Claimed_Folder(temp_dir);
    }
    // A file system that cannot exchange: the old site steps aside first.
    const std::string old = temp_dir + "-old";
    if (::rename(out.c_str(), old.c_str()) != 0) {
        const std::string why = system_error("the old site cannot be replaced", out);
        (void)::unlink(placed_claim.c_str());
        return FileResult::failure(why);
    }
    if (::rename(temp_dir.c_str(), out.c_str()) != 0) {
        const std::string why = system_error("the site cannot be put in place", out);
        if (::rename(old.c_str(), out.c_str()) == 0)
            (void)::unlink(placed_claim.c_str());
        return FileResult::failure(why);
    }
    (void)::unlink(placed_claim.c_str());
    return Remove_Claimed_Folder(old);
}

FileResult SiteWriter::Finish(const TokenTable* tokens) {
    State& s = *s_;
    if (FileResult r = s.flush_pack(); !r)
        return r;
    if (FileResult r = s.write_files(); !r)
        return r;
    if (FileResult r = s.write_occurrences(tokens); !r)
        return r;
    if (FileResult r = s.write_search(tokens); !r)
        return r;
    if (FileResult r = s.write_lists(tokens); !r)
        return r;
    if (FileResult r = s.write_config(s.shards, s.search_firsts); !r)
        return r;
    if (FileResult r = s.write_pages(); !r)
        return r;
    if (FileResult r = s.move_into_place(); !r)
        return r;
    s.finished = true;
    return FileResult::success();
}

} // namespace parvex::site
