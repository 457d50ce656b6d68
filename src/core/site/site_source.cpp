#include "site/site_source.h"

#include "site/site_text.h"

namespace parvex::site {

void SiteSource::Clear() {
    lines = tokens = 0;
    pieces.clear();
    entries.clear();
    routines.clear();
}

SiteSource::Entry& SiteReader::entry(SiteSource& out, const std::string& key,
                                     std::string_view spelling) {
    auto [it, fresh] = index_.try_emplace(key, static_cast<std::uint32_t>(out.entries.size()));
    if (fresh) {
        SiteSource::Entry& e = out.entries.emplace_back();
        e.key = key;
        e.spelling.reserve(spelling.size() + 1);
        e.spelling += key[0];
        e.spelling += spelling;
        return e;
    }
    return out.entries[it->second];
}

void SiteReader::note(SiteSource& out, char kind, std::string_view word, std::uint32_t line) {
    key_.clear();
    key_ += kind;
    if (kind == kToken)
        Append_Upper_Ascii(key_, word);
    else
        key_ += word;
    SiteSource::Entry& e = entry(out, key_, word);
    ++e.count;
    if (std::string_view(e.spelling).substr(1) == word) {
        ++e.first_count;
    } else {
        bool found = false;
        for (auto& [text, count] : e.others)
            if (text == word) {
                ++count;
                found = true;
                break;
            }
        if (!found)
            e.others.emplace_back(std::string(word), 1);
    }
    if (e.last_line == 0)
        Append_Varint(e.lines, line);
    else if (line != e.last_line)
        Append_Varint(e.lines, 2ull * (line - e.last_line));
    e.last_line = line;
}

void SiteReader::Read(const LineViews& lines, bool utf8, const ListingOptions& options,
                      SiteSource& out) {
    out.Clear();
    index_.clear();
    // The text as the pages show it; the scanner reads that same text, so every place it
    // notes is a place of the page. (Only bytes above 127 and control characters change, and
    // none of them separates words or opens a comment or a literal.)
    display_.clear();
    std::size_t bytes = 0;
    for (auto l : lines)
        bytes += l.size() + 1;
    display_.reserve(bytes + bytes / 16);
    std::vector<std::size_t> starts;
    starts.reserve(lines.size() + 1);
    for (auto l : lines) {
        starts.push_back(display_.size());
        Append_Display(display_, l, utf8);
    }
    starts.push_back(display_.size());
    views_.clear();
    for (std::size_t i = 0; i + 1 < starts.size(); ++i)
        views_.emplace_back(display_.data() + starts[i], starts[i + 1] - starts[i]);
    engine_.Map_Lines(views_, options, map_);
    out.lines = static_cast<std::uint32_t>(views_.size());
    out.routines = map_.routines;

    std::size_t r = 0, w = 0;
    const auto& ranges = map_.ranges;
    const auto& words = map_.words;
    SiteSource::Piece* piece = nullptr;
    bool directive_open = false; // a directive's comment goes on in the next line
    for (std::uint32_t n = 1; n <= out.lines; ++n) {
        const std::string_view line = views_[n - 1];
        if (!piece || piece->text.size() >= kPieceBytes) {
            piece = &out.pieces.emplace_back();
            piece->first_line = n;
            piece->text.reserve(kPieceBytes + kPieceBytes / 4);
        } else {
            piece->text += '\n';
        }
        std::size_t at = 0;
        bool continued = directive_open;
        directive_open = false;
        for (; r < ranges.size() && ranges[r].line == n; ++r) {
            const SourceMap::Range& range = ranges[r];
            piece->text.append(line.substr(at, range.start - at));
            const std::string_view text = line.substr(range.start, range.end - range.start);
            if (range.kind == SourceMap::Kind::Literal) {
                piece->text += kLiteralMark;
                note(out, kLiteral, text, n);
            } else {
                const bool directive = text.starts_with("{$") || text.starts_with("(*$") ||
                                       (continued && range.start == 0);
                piece->text += directive ? kDirectiveMark : kCommentMark;
                directive_open = directive && range.end == line.size() && !text.ends_with("}") &&
                                 !text.ends_with("*)");
            }
            continued = false;
            piece->text.append(text);
            piece->text += kEndMark;
            at = range.end;
        }
        piece->text.append(line.substr(at));
        for (; w < words.size() && words[w].line == n; ++w) {
            const SourceMap::Word& word = words[w];
            const std::string_view text = line.substr(word.start, word.length);
            if (word.number) {
                note(out, kNumber, text, n);
            } else {
                note(out, kToken, text, n);
                ++out.tokens;
            }
        }
    }
}

} // namespace parvex::site
