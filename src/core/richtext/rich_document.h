#pragma once
// The neutral model of a rich-text page: paragraphs of styled runs with optional link targets.
// The reader fills it; the window turns it into whatever its text view shows.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace parvex::rich {

enum class Align { Left, Center, Right };

struct Style {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int half_points = 0;              // font size in half points; 0 = the view's own size
    std::optional<std::uint32_t> rgb; // 0xRRGGBB; none = the view's own colour
    bool operator==(const Style&) const = default;
};

// A stretch of text in one style. Text is UTF-8; "\n" is a line break inside the paragraph and
// "\t" a tab. A run with a link is an address the reader may open.
struct Run {
    std::string text;
    Style style;
    std::string link;
};

struct Paragraph {
    Align align = Align::Left;
    std::vector<Run> runs;
    std::string plain_text() const;
};

struct Document {
    std::vector<Paragraph> paragraphs;
    // Set when the input was cut at the size limit or its groups nested deeper than allowed;
    // the document then holds what could be read.
    bool truncated = false;
    std::string plain_text() const; // paragraphs joined by "\n"
};

} // namespace parvex::rich
