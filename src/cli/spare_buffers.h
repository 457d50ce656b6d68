#pragma once
// Buffers of the sources a batch has handed out, kept for its next sources: their pages are
// already in place, where fresh ones would each cost the system a fault. What is kept is bounded
// in bytes, so that a batch holds no more than a few sources' worth of them.

#include "engine/scanned_file.h"
#include "platform/text_file.h"

#include <memory>
#include <mutex>
#include <string>
#include <type_traits>
#include <vector>

namespace parvex::cli {

class SpareBuffers {
public:
    // Keeps buffers of at most `most` bytes in all, none of `large` bytes or more.
    SpareBuffers(std::size_t most, std::size_t large) : most_(most), large_(large) {}

    // Spare buffers in place of the (empty) ones given, where there are any.
    void Take(std::string& bytes, std::string& new_text, LineViews& lines) {
        std::lock_guard<std::mutex> lock(mutex_);
        take(texts_, bytes);
        take(texts_, new_text);
        take(lines_, lines);
    }
    std::unique_ptr<ScannedFile> Take_Scan() {
        std::lock_guard<std::mutex> lock(mutex_);
        std::unique_ptr<ScannedFile> scan;
        take(scans_, scan);
        return scan;
    }

    void Keep(std::string&& text) { keep(texts_, text); }
    void Keep(LineViews&& lines) { keep(lines_, lines); }
    void Keep(std::unique_ptr<ScannedFile>&& scan) {
        if (scan) {
            scan->Clear();
            keep(scans_, scan);
        }
    }

private:
    static std::size_t room_of(const std::string& s) { return s.capacity(); }
    static std::size_t room_of(const LineViews& l) { return l.capacity() * sizeof(l[0]); }
    static std::size_t room_of(const std::unique_ptr<ScannedFile>& s) { return s->Room(); }

    template <class T> void take(std::vector<T>& stack, T& buffer) {
        if (stack.empty())
            return;
        buffer = std::move(stack.back());
        stack.pop_back();
        held_ -= room_of(buffer);
    }
    // Small buffers are not worth a place; a large source's are let go: kept, they would hold
    // their room for the rest of the batch.
    template <class T> void keep(std::vector<T>& stack, T& buffer) {
        const std::size_t room = room_of(buffer);
        if (room < 4096 || room >= large_)
            return;
        std::lock_guard<std::mutex> lock(mutex_);
        if (held_ + room > most_)
            return;
        if constexpr (!std::is_same_v<T, std::unique_ptr<ScannedFile>>)
            buffer.clear();
        held_ += room;
        stack.push_back(std::move(buffer));
    }

    std::mutex mutex_;
    const std::size_t most_, large_;
    std::size_t held_ = 0;
    std::vector<std::string> texts_;
    std::vector<LineViews> lines_;
    std::vector<std::unique_ptr<ScannedFile>> scans_;
};

} // namespace parvex::cli
