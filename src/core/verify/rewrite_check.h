#pragma once
// The second reader of a rewrite: before a new text replaces anything, it is compared with its
// source by a reader of its own (not the listing's scanner). A rewrite may only re-case ASCII
// letters outside comments and literals and put or take away "{ of Name }" remarks; every other
// byte, line ends included, stays as it was.

#include "platform/text_file.h"

#include <string>
#include <string_view>

namespace parvex {

struct [[nodiscard]] RewriteCheck {
    bool ok = true;
    std::size_t line = 0; // 1-based line of the first fault, 0 when ok
    std::string reason;   // what is wrong there, for "FILE:LINE: refused: REASON"
    explicit operator bool() const { return ok; }
};

// `source` is the file as read; `rewritten` the new text as lines (line ends are the writer's
// business and are not compared).
RewriteCheck Check_Rewrite(std::string_view source, const TextList& rewritten);
// The same with the new text as bytes: every line end, a missing last one included, must be the
// source's own.
RewriteCheck Check_Rewrite(std::string_view source, std::string_view rewritten);

} // namespace parvex
