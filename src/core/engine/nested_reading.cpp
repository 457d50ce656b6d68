#include "engine/nested_reading.h"

#include "engine/literal_forms.h"

namespace parvex {

void NestedReading::Start(Kind kind, std::size_t at) {
    active_ = true;
    state_ = kind == Kind::Brace ? State::Brace : State::Paren;
    depth_ = 1;
    from_ = at;
}

void NestedReading::Read(std::string_view s, Stretches& literals) {
    std::size_t i = from_;
    from_ = 0;
    // A byte at a time: this reading runs only where the two readings disagree.
    while (i < s.size()) {
        switch (state_) {
        case State::Brace:
            for (; i < s.size() && state_ == State::Brace; ++i) {
                if (s[i] == '{')
                    ++depth_;
                else if (s[i] == '}' && --depth_ == 0)
                    state_ = State::Code;
            }
            break;
        case State::Paren:
            while (i < s.size() && state_ == State::Paren) {
                if (s.compare(i, 2, "(*") == 0) {
                    ++depth_;
                    i += 2;
                } else if (s.compare(i, 2, "*)") == 0) {
                    i += 2;
                    if (--depth_ == 0)
                        state_ = State::Code;
                } else {
                    ++i;
                }
            }
            break;
        case State::TextBlock: {
            const std::size_t end = Text_Block_Close(s, quotes_);
            literals.emplace_back(0, end == kNoEnd ? s.size() : end);
            if (end == kNoEnd)
                return;
            state_ = State::Code;
            i = end;
            break;
        }
        case State::Backtick: {
            const std::size_t close = Backtick_Close(s, i);
            literals.emplace_back(i, close == kNoEnd ? s.size() : close + 1);
            if (close == kNoEnd)
                return;
            state_ = State::Code;
            i = close + 1;
            break;
        }
        case State::Code: {
            const char c = s[i];
            if (c == '{') {
                state_ = State::Brace;
                depth_ = 1;
                ++i;
            } else if (s.compare(i, 2, "(*") == 0) {
                state_ = State::Paren;
                depth_ = 1;
                i += 2;
            } else if (s.compare(i, 2, "//") == 0) {
                return;
            } else if (c == '`') {
                const std::size_t close = Backtick_Close(s, i + 1);
                literals.emplace_back(i, close == kNoEnd ? s.size() : close + 1);
                if (close == kNoEnd) {
                    state_ = State::Backtick;
                    return;
                }
                i = close + 1;
            } else if (c == '\'' || c == '"') {
                if (c == '\'' && (quotes_ = Text_Block_Opener(s, i)) != 0) {
                    literals.emplace_back(i, s.size());
                    state_ = State::TextBlock;
                    return;
                }
                // To the next quote of its kind that is not doubled, on this line.
                std::size_t k = i + 1;
                while (k < s.size() && !(s[k] == c && (k + 1 >= s.size() || s[k + 1] != c)))
                    k += s[k] == c ? 2 : 1;
                if (k < s.size()) {
                    literals.emplace_back(i, k + 1);
                    i = k + 1;
                } else {
                    ++i; // never closed: an ordinary character
                }
            } else {
                ++i;
            }
            break;
        }
        }
    }
}

} // namespace parvex
