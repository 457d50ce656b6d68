#include "batch_run.h"

#include "name_quote.h"
#include "source_input.h"
#include "spare_buffers.h"
#include "unified_diff.h"
#include "work_pool.h"

#include "engine/check_run.h"
#include "engine/cross_reference.h"
#include "engine/listing_run.h"
#include "engine/result_names.h"
#include "platform/file_kind.h"
#include "platform/file_stamp.h"
#include "platform/free_memory.h"
#include "platform/input_read.h"
#include "platform/source_text.h"
#include "verify/rewrite_check.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace parvex::cli {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// A message of the engine as one line: without the dialog mark-up and its line breaks.
std::string plain(std::string text) {
    if (auto caret = text.rfind('^'); caret != std::string::npos)
        text = text.substr(caret + 1);
    for (auto crlf = text.find("\r\n"); crlf != std::string::npos; crlf = text.find("\r\n"))
        text.replace(crlf, 2, " ");
    return text;
}

// A path below the current folder is shown relative to it, any other as it was given.
std::string shown_in_diff(const std::string& file) {
    std::error_code ec;
    const fs::path cwd = fs::current_path(ec);
    if (ec)
        return file;
    const fs::path abs = fs::absolute(file, ec).lexically_normal();
    if (ec)
        return file;
    const fs::path rel = abs.lexically_relative(cwd);
    if (rel.empty() || *rel.begin() == "..")
        return file;
    return rel.string();
}

// Colours for a terminal that shows them: asked for, or on a terminal where NO_COLOR (set and
// not empty) does not forbid them.
bool in_colour(ColorUse use) {
    if (use != ColorUse::Auto)
        return use == ColorUse::Always;
    const char* no_color = std::getenv("NO_COLOR");
    const char* term = std::getenv("TERM");
    return ::isatty(STDOUT_FILENO) && !(no_color && *no_color) &&
           !(term && std::string_view(term) == "dumb");
}

// A message line of its own: a control character in a file name it holds cannot break it.
std::string error_text(const std::string& text) {
    return "parvex-list: " + Escape_Controls(text) + "\n";
}

// One source on its way through the batch.
struct Item {
    SourceJob job;
    std::string shown;             // its name (as given, or the name of standard input)
    std::string quoted;            // that name in messages, quoted where it needs it
    std::size_t waits_for = kNone; // an earlier item that writes what this one reads
    bool read_ok = false;
    std::string read_error;
    std::string bytes; // the source as read
    FileStamp stamp;   // what the source looked like when it was read
    LineViews lines;   // its lines for the listing, pointing into `bytes`
    std::size_t line_count = 0;
    TextForm form; // its byte-order mark and line end, which the new text keeps
    ListingLists lists;
    std::string new_text;                 // made by the listing itself when no list needs the lines
    std::unique_ptr<ScannedFile> scanned; // between the steps of a split listing or a draft
    // What it leaves behind, handed out in file order.
    std::string out, err;
    std::size_t bytes_read = 0;
    bool error = false, findings = false;
};

class Batch {
public:
    Batch(const CliOptions& o, BatchMode mode, TokenTable& tokens,
          const std::vector<SourceJob>& jobs, const std::string& stdin_name, const FilterIo* filter,
          const BatchPlace& place)
        : o_(o), place_(place), mode_(mode), tokens_(tokens), engine_(tokens), jobs_(jobs),
          stdin_name_(stdin_name), filter_(filter), read_done_(new bool[jobs.size()]()),
          finished_(new bool[jobs.size()]()) {
        listing_ = o.listing;
        delimiters_ = Build_Delimiters(listing_.terminators, listing_.use_blank, listing_.use_tab);
        // Only saved files need the collection lists, and only when their lists are written.
        if (mode != BatchMode::Save || !o.save.write_lists)
            listing_.collect_alpha = listing_.collect_numeric = listing_.collect_tokens = false;
        if (place_.total == 0)
            place_.total = jobs.size();
        colour_ = mode == BatchMode::Diff && in_colour(o.color);
        show_progress_ = place_.total > 1 && ::isatty(STDERR_FILENO) && !o.quiet;
        unsigned threads = o.jobs == 0 ? Default_Jobs() : o.jobs;
        // Printing, diffs and the list of changed files need only the new text: the listing
        // writes it in one piece instead of keeping every line as a string of its own.
        whole_text_ = mode_ != BatchMode::Save && !o_.check;
        // With several threads only the token index is consulted in file order; the rest of
        // each listing runs beside it. A new text alone is drafted in one pass and patched
        // with the settled spellings; the lists of a save are scanned and finished in two
        // passes (a split that costs about a third more work than a listing in one go).
        const bool parallel = threads > 1 && jobs.size() > 1;
        draft_ = parallel && whole_text_ && ListingEngine::Draft_Fits(listing_, 0);
        split_ = parallel && !whole_text_ && ListingEngine::Split_Listing_Exact(listing_);
        // This thread is one of the jobs itself (it lists in file order, or works on drafts).
        if (parallel)
            pool_ = std::make_unique<WorkPool>(split_ ? threads : threads - 1);
#ifdef PARVEX_TEST_SWITCHES
        // Fault injection for the tests of the second reader: a byte added to one line of
        // every new text. Only the tests' build of the program has it.
        if (const char* damage = std::getenv("PARVEX_TEST_DAMAGE_LINE"))
            damage_line_ = std::strtoul(damage, nullptr, 10);
#endif
        // Files read, listed and not yet handed out: this bounds the memory of a batch. Sources
        // vary in size: with drafts, the bytes in flight are the bound that matters, and the
        // count is wide enough that while one thread works through a source of megabytes the
        // others go on through the small files behind it (with a window of 18 files they ran
        // dry within milliseconds and waited up to 50 ms on such a source).
        window_ = (draft_ ? 512 : 2) * static_cast<std::size_t>(threads) + 2;
        if (draft_)
            bytes_bound_ = kLargeText;
        queue_depth_ = threads;
    }

    BatchResult Run() {
        const std::size_t n = jobs_.size();
        items_.resize(n);
        std::map<std::string, std::size_t> writer_of; // file name -> last item writing it
        for (std::size_t i = 0; i < n; ++i) {
            auto item = std::make_unique<Item>();
            item->job = jobs_[i];
            item->shown = stdin_name_.empty() ? jobs_[i].file : stdin_name_;
            item->quoted = Quote_Name(item->shown);
            if (pool_ && mode_ == BatchMode::Save) {
                // A file listed twice, or one whose results land on another's source, must be
                // read after the earlier save, as in a run with one job.
                const std::string source = key_of(item->job.file);
                const std::string target = key_of(target_of(*item));
                for (const std::string* k : {&source, &target})
                    if (auto it = writer_of.find(*k); it != writer_of.end())
                        item->waits_for = item->waits_for == kNone
                                              ? it->second
                                              : std::max(item->waits_for, it->second);
                writer_of[source] = i;
                writer_of[target] = i;
            }
            items_[i] = std::move(item);
        }
        started_ = std::chrono::steady_clock::now();
        if (draft_) {
            run_drafts();
            return result_;
        }

        std::size_t next_read = 0;
        for (std::size_t i = 0; i < n; ++i) {
            // Read ahead as far as the window goes, and while the sources in flight are not
            // many megabytes already (each takes a few times its size until handed out).
            while (pool_ && next_read < n && next_read < next_emit_ + window_ &&
                   (next_read <= i || bytes_in_flight_.load() < bytes_bound_)) {
                const std::size_t k = next_read++;
                if (items_[k]->waits_for == kNone)
                    pool_->Submit([this, k] {
                        guarded(*items_[k], [&] {
                            read(*items_[k]);
                            scan(*items_[k]);
                        });
                        pool_->Raise(read_done_[k]);
                    });
            }
            Item& it = *items_[i];
            if (!pool_) {
                guarded(it, [&] { read(it); });
            } else if (it.waits_for != kNone) {
                wait_for(finished_[it.waits_for]);
                guarded(it, [&] {
                    read(it);
                    scan(it);
                });
            } else {
                wait_for(read_done_[i]);
            }
            guarded(it, [&] { list(it); });
            if (pool_) {
                pool_->Submit([this, i] {
                    guarded(*items_[i], [&] { finish_listing(*items_[i]); });
                    guarded(*items_[i], [&] { finish(*items_[i]); });
                    pool_->Raise(finished_[i]);
                });
            } else {
                guarded(it, [&] { finish(it); });
                finished_[i] = true;
            }
            hand_out(false);
            while (i + 1 >= next_emit_ + window_)
                hand_out_next();
        }
        while (next_emit_ < n)
            hand_out_next();
        pool_.reset();
        result_.progress_shown = show_progress_;
        return result_;
    }

private:
    // A batch of drafts: every file is read, drafted, settled and finished by the pool's
    // tasks; this thread hands the results out in order and works on the tasks meanwhile.
    void run_drafts() {
        feed();
        pool_->Help_Until(all_handed_out_);
        pool_.reset();
        result_.progress_shown = show_progress_;
    }
    // Queues the next files' drafts as far as the window goes and the sources in flight are
    // not many megabytes already. Every draft task and every hand-out feeds the queue again,
    // so no thread runs dry while another is busy; and as the queue holds no more drafts than
    // there are threads, a draft is queued only once the sources read before it are counted
    // (a deep queue let twice the bound of sources in: 30 MB where 16 were meant).
    void feed() {
        std::lock_guard lock(feed_mutex_);
        const std::size_t n = items_.size();
        while (next_read_ < n && next_read_ < next_emit_ + window_ &&
               queued_.load() < queue_depth_ &&
               (next_read_ == next_emit_ || bytes_in_flight_.load() < bytes_bound_)) {
            const std::size_t k = next_read_++;
            ++queued_;
            pool_->Submit([this, k] {
                --queued_;
                guarded(*items_[k], [&] {
                    read(*items_[k]);
                    scan(*items_[k]);
                });
                drafted(k);
                feed();
            });
        }
    }
    // Settles the drafts that are next in file order, in order: the thread whose draft is next
    // becomes the settler and goes on through the drafts ready behind it. A thread whose draft
    // is not next, or that finds a settler at work, leaves its draft to that one and goes on
    // drafting (it never waits for a settle). A file the settler drafted itself it finishes at
    // once, while its text is still in this processor's cache; the others' go to the queue.
    void drafted(std::size_t k) {
        {
            std::lock_guard lock(settle_mutex_);
            read_done_[k] = true;
            if (settling_ || k != next_settle_)
                return; // the settler looks again before it stops
            settling_ = true;
        }
        for (;;) {
            std::size_t j = 0;
            {
                std::lock_guard lock(settle_mutex_);
                if (next_settle_ == items_.size() || !read_done_[next_settle_]) {
                    settling_ = false;
                    break;
                }
                j = next_settle_++;
            }
            guarded(*items_[j], [&] { list(*items_[j]); }); // only the settler uses the index
            if (j != k)
                pool_->Submit([this, j] { finish_draft(j); });
        }
        finish_draft(k);
    }
    void finish_draft(std::size_t k) {
        guarded(*items_[k], [&] { finish_listing(*items_[k]); });
        guarded(*items_[k], [&] { finish(*items_[k]); });
        handed(k);
    }
    // Hands out the finished drafts at the front, in file order, on whichever thread finds
    // them ready (as with settling, one thread at a time and none waiting for another), and
    // feeds the queue as the window moves on.
    void handed(std::size_t k) {
        {
            std::lock_guard lock(emit_mutex_);
            finished_[k] = true;
            if (emitting_ || k != next_emit_)
                return; // the thread handing out looks again before it stops
            emitting_ = true;
        }
        for (;;) {
            {
                std::lock_guard lock(emit_mutex_);
                if (next_emit_ == items_.size() || !finished_[next_emit_]) {
                    emitting_ = false;
                    break;
                }
            }
            emit(*items_[next_emit_]);
            items_[next_emit_].reset();
            ++next_emit_;
            progress();
            feed();
        }
        if (next_emit_ == items_.size())
            pool_->Raise(all_handed_out_);
    }
    // With drafts this thread is one of the jobs: it runs queued tasks while it waits. (Else
    // it lists in file order, which a task it took up would hold back, or the pool has a
    // thread for every job.)
    void wait_for(const bool& flag) {
        if (draft_)
            pool_->Help_Until(flag);
        else
            pool_->Wait_For(flag);
    }

    std::string target_of(const Item& it) const {
        return Result_Names(it.job.file, it.job.out_folder, o_.save).text();
    }
    static std::string key_of(const std::string& file) {
        std::error_code ec;
        fs::path p = fs::weakly_canonical(fs::absolute(file, ec), ec);
        return ec ? file : p.string();
    }

    void read(Item& it) {
        spare_buffers_.Take(it.bytes, it.new_text, it.lines);
        if (filter_) {
            // The filter's input is read whole already (it goes back as it came on any failure).
            it.bytes = *filter_->input;
            if (it.bytes.size() > o_.max_size) {
                it.read_error = With_Limit_Hint(it.quoted + ": " + std::string(Too_Large_Words) +
                                                Size_Text(o_.max_size) + " (" +
                                                Size_Text(it.bytes.size()) + "), not listed");
                return;
            }
        } else if (mode_ == BatchMode::Save && stdin_name_.empty() && !o_.force &&
                   Is_Read_Only(it.job.file) && Same_File(target_of(it), it.job.file)) {
            // A file its owner made read-only is one not to touch; --force lists it all the same.
            it.read_error = it.quoted + ": read-only, not listed";
            return;
        } else if (!Read_Source_Bytes(it.job, it.quoted, !stdin_name_.empty(), o_.max_size,
                                      it.bytes, it.read_error,
                                      mode_ == BatchMode::Save ? &it.stamp : nullptr)) {
            return;
        }
        it.bytes_read = it.bytes.size();
        bytes_in_flight_ += it.bytes_read;
        SourceView text = Source_View(it.bytes, std::move(it.lines));
        if (text.status != SourceStatus::Read) {
            it.read_error = it.quoted + ": " + text.error;
            return;
        }
        it.lines = std::move(text.lines);
        it.line_count = it.lines.size();
        it.form = std::move(text.form);
        it.read_ok = true;
    }

    // A source the memory does not suffice for (a limit raised far, a machine short of memory)
    // fails alone: its buffers are let go, it is reported in its turn, the others are listed.
    template <class Step> void guarded(Item& it, Step&& step) {
        try {
            step();
        } catch (const std::bad_alloc&) {
            out_of_memory(it);
        } catch (const std::length_error&) {
            out_of_memory(it);
        }
    }
    void out_of_memory(Item& it) {
        it.read_ok = false;
        it.scanned.reset();
        std::string().swap(it.bytes);
        std::string().swap(it.new_text);
        LineViews().swap(it.lines);
        it.lists.Clear_Lists();
        std::string().swap(it.out);
        it.read_error = it.quoted + ": not enough memory to list " +
                        (it.bytes_read > 0 ? "its " + Size_Text(it.bytes_read) : "it") +
                        ", not listed";
        it.err = error_text(it.read_error); // when the failure came in the last step
        it.error = true;
    }

    // The first step of a split listing or a draft, on any thread. (A source too large for a
    // draft is listed in one go in file order.)
    void scan(Item& it) {
        if (!(split_ || draft_) || !it.read_ok ||
            (draft_ && !ListingEngine::Draft_Fits(listing_, it.bytes_read)))
            return;
        it.scanned = spare_buffers_.Take_Scan();
        if (!it.scanned)
            it.scanned = std::make_unique<ScannedFile>();
        if (draft_) {
            it.new_text = it.form.bom;
            ListingEngine().Draft_Text(it.lines, listing_, it.lists, *it.scanned, it.new_text,
                                       it.form);
        } else {
            ListingEngine().Scan_Lines(it.lines, listing_, it.lists, *it.scanned);
        }
        if (draft_) {
            // A draft needs its views no more: they go to the next source read while this one
            // waits for its turn to be settled.
            spare_buffers_.Keep(std::move(it.lines));
            LineViews().swap(it.lines);
        } else {
            it.lines.clear(); // a scan keeps views of its own
        }
    }
    // Its last step, on any thread, once the token index has settled the spellings. The
    // scan's buffers go back for another file unless a large source made them large.
    void finish_listing(Item& it) {
        if (!it.scanned || !it.read_ok)
            return;
        if (draft_) {
            ListingEngine::Patch_Text(listing_, *it.scanned, it.new_text);
            damage(it);
        } else {
            ListingEngine().Finish_Lines(listing_, it.lists, *it.scanned);
        }
        spare_buffers_.Keep(std::move(it.scanned));
        it.scanned.reset();
    }

    // The one step that runs in file order on the calling thread: the token index grows here.
    void list(Item& it) {
        if (!it.read_ok)
            return;
        if (it.scanned) {
            ListingEngine::Settle_Tokens(tokens_, *it.scanned);
            return;
        }
        if (whole_text_) {
            make_new_text(it, [&](std::string& text, const TextForm& form) {
                engine_.List_Text(it.lines, listing_, it.lists, text, form);
            });
            it.lines.clear();
            return;
        }
        RunResult run = engine_.List_Lines(TextList(it.lines.begin(), it.lines.end()), listing_,
                                           it.lists, {}, it.shown);
        it.lines.clear();
        if (run.status != RunStatus::Done) {
            it.read_ok = false;
            it.read_error = it.quoted + ": cannot be listed";
        }
    }

    // The new text of a listing that writes it in one piece: the mark, then the lines that
    // `list` appends, each with the source's line end.
    template <class List> void make_new_text(Item& it, List&& list) {
        it.new_text = it.form.bom;
        list(it.new_text, it.form);
        damage(it);
    }
    void damage(Item& it) const {
        if (damage_line_ > 0 && damage_line_ <= it.line_count) {
            // The damaged line ends at its line end: lines hold no CR or LF of their own.
            std::size_t at = it.form.bom.size();
            for (std::size_t k = 1; k < damage_line_; ++k)
                at = it.new_text.find(it.form.line_end, at) + it.form.line_end.size();
            it.new_text.insert(it.new_text.find(it.form.line_end, at), 1, '!');
        }
    }

    void finish(Item& it) {
        if (!it.read_ok) {
            it.err = error_text(it.read_error);
            it.error = true;
            return;
        }
        ListingLists& lists = it.lists;
        if (o_.check) {
            CheckResult check = Check_Run(lists, delimiters_, "");
            if (!check.clean) {
                it.findings = true;
                for (std::size_t i = 0; i < lists.src_tmp.size(); ++i)
                    if (!lists.src_tmp[i].empty())
                        it.out += it.quoted + ':' + std::to_string(i + 1) + ": " +
                                  lists.src_tmp[i] + '\n';
            }
        }
        // Nothing after the check reads the work lines: the new text and the second reader's
        // lines need the room. Freed, they are many small blocks the allocator would keep for
        // itself; worth handing back only after a large source.
        TextList().swap(lists.src);
        TextList().swap(lists.src_tmp);
        if (it.bytes_read >= large_source)
            Return_Free_Memory();
        if (it.line_count == 0) {
            // An empty source has nothing to rewrite and nothing to save. (The filter says
            // nothing: an editor would take the words into its buffer.)
            if ((mode_ == BatchMode::Save || mode_ == BatchMode::Print) && !o_.quiet &&
                !show_progress_ && !filter_)
                it.err += "empty " + it.quoted + ": nothing to save\n";
            release(it);
            return;
        }
        if (!whole_text_) {
            if (damage_line_ > 0 && damage_line_ <= lists.src_o.size())
                lists.src_o[damage_line_ - 1] += '!';
            it.new_text = Compose_Text(lists.src_o, it.form);
        }
        std::string new_text = std::move(it.new_text);
        // The second reader: nothing leaves the program that it has not passed.
        if (RewriteCheck v = Check_Rewrite(it.bytes, std::string_view(new_text)); !v) {
            it.err += it.quoted + ':' + std::to_string(v.line) + ": refused: " + v.reason + '\n';
            it.error = true;
            if (mode_ == BatchMode::Print)
                it.out += it.bytes; // the text goes on unchanged
            release(it);
            return;
        }
        switch (mode_) {
        case BatchMode::Print:
            if (it.out.empty())
                it.out = std::move(new_text);
            else
                it.out += new_text;
            break;
        case BatchMode::Diff: {
            std::string diff =
                Unified_Diff(stdin_name_.empty() ? shown_in_diff(it.job.file) : it.shown, it.bytes,
                             new_text, colour_);
            it.findings = it.findings || !diff.empty();
            it.out += diff;
            break;
        }
        case BatchMode::List_Changed:
            if (new_text != it.bytes) {
                it.findings = true;
                // -z: the names as they are, each ended by a NUL, for xargs -0 and the like.
                if (o_.nul_separated)
                    (it.out += it.shown) += '\0';
                else
                    it.out += it.quoted + '\n';
            }
            break;
        case BatchMode::Save:
            // The save composes and writes the new text from the lines itself: the source and
            // the checked text would only stand beside the cross-references.
            std::string().swap(new_text);
            // Only a source written just before it was read keeps its bytes for the last look
            // at it before the save (its file times alone cannot tell a change).
            Keep_Racy_Bytes(it.stamp, std::move(it.bytes));
            std::string().swap(it.bytes);
            if (it.bytes_read >= large_source)
                Return_Free_Memory();
            save(it);
            break;
        case BatchMode::Check:
            break; // the check's lines are out already; nothing is written
        }
        release(it);
    }

    void save(Item& it) {
        if (FileResult r = Make_Dirs(it.job.out_folder); !r) {
            it.err += error_text(it.quoted + ": " + r.error);
            it.error = true;
            return;
        }
#ifdef PARVEX_TEST_SWITCHES
        // Tests run a command here to change the source between its reading and its save.
        if (const char* command = std::getenv("PARVEX_TEST_BEFORE_SAVE"))
            if (std::system(command) != 0)
                it.err += error_text("the test hook before the save failed");
#endif
        SaveResult saved =
            Save_Results(it.job.file, it.job.out_folder, o_.save, it.lists, it.form, &it.stamp);
        it.stamp = {};
        if (saved.source_changed) {
            it.err += error_text(it.quoted + " " + std::string(Changed_While_Listed_Text));
            it.error = true;
        } else if (!saved.saved) {
            std::string why =
                saved.messages.empty() ? "cannot be saved" : saved.messages.back().text;
            // Mark-up means a message for the user about this file; else a system error.
            it.err += error_text(why.find('^') != std::string::npos ? it.quoted + ": " + plain(why)
                                                                    : why);
            it.error = true;
        } else {
            if (!o_.quiet && !show_progress_)
                it.err += "listed " + it.quoted + " -> " + Quote_Name(it.job.out_folder) +
                          (saved.text_unchanged ? " (text unchanged)" : "") + '\n';
            for (const std::string& w : saved.warnings)
                it.err += error_text(it.quoted + ": warning: " + w);
        }
    }

    void release(Item& it) {
        spare_buffers_.Keep(std::move(it.bytes));
        spare_buffers_.Keep(std::move(it.new_text));
        spare_buffers_.Keep(std::move(it.lines));
        std::string().swap(it.bytes);
        std::string().swap(it.new_text);
        LineViews().swap(it.lines);
        it.lists.Clear_Lists();
    }

    // Hands out the finished items at the front, in order; with `wait`, at least one.
    void hand_out(bool wait) {
        while (next_emit_ < items_.size()) {
            const bool done =
                pool_ ? pool_->Is_Raised(finished_[next_emit_]) : finished_[next_emit_];
            if (!done) {
                if (!wait)
                    return;
                wait_for(finished_[next_emit_]);
            }
            wait = false;
            emit(*items_[next_emit_]);
            items_[next_emit_].reset();
            ++next_emit_;
            progress();
        }
    }
    void hand_out_next() {
        hand_out(true);
    }
    // What one item leaves behind, on one thread at a time, in file order.
    void emit(Item& it) {
        if (!it.err.empty()) {
            clear_progress();
            std::cerr << it.err;
        }
        if (filter_) {
            filter_->output->append(it.out);
        } else if (!it.out.empty()) {
            // The line of files done goes before anything reaches standard output, which goes
            // out at once: on a terminal the two share the screen.
            clear_progress();
            std::cout.write(it.out.data(), static_cast<std::streamsize>(it.out.size()));
            if (show_progress_)
                std::cout.flush();
        }
        spare_buffers_.Keep(std::move(it.out)); // a new text, mostly
        result_.errors = result_.errors || it.error;
        result_.findings = result_.findings || it.findings;
        bytes_done_ += it.bytes_read;
        bytes_in_flight_ -= it.bytes_read;
    }

    void clear_progress() {
        if (progress_drawn_)
            std::cerr << "\r\033[K";
        progress_drawn_ = false;
    }
    void progress() {
        if (!show_progress_)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (next_emit_ < items_.size() && now - last_progress_ < std::chrono::milliseconds(100))
            return;
        last_progress_ = now;
        const double secs = std::chrono::duration<double>(now - started_).count();
        char rate[32];
        std::snprintf(rate, sizeof rate, "%.1f", secs > 0 ? bytes_done_ / secs / 1e6 : 0.0);
        std::cerr << "\r\033[K[" << place_.done_before + next_emit_ << '/' << place_.total << "] "
                  << rate << " MB/s" << std::flush;
        progress_drawn_ = true;
    }

    const CliOptions& o_;
    BatchPlace place_;
    const BatchMode mode_;
    ListingOptions listing_;
    TokenTable& tokens_;
    ListingEngine engine_;
    bool split_ = false;
    bool draft_ = false;
    std::mutex settle_mutex_; // drafts: which file settles next, and whether one is settling
    std::size_t next_settle_ = 0;
    bool settling_ = false; // a thread is settling drafts (it alone uses the token index)
    std::mutex feed_mutex_; // drafts: the next file to read
    std::size_t next_read_ = 0;
    std::atomic<std::size_t> queued_{0}; // drafts queued and not yet begun
    std::size_t queue_depth_ = 1;
    std::mutex emit_mutex_; // drafts: which file is handed out next, and whether one is
    bool emitting_ = false;
    bool all_handed_out_ = false;
    bool whole_text_ = false;
    // Buffers for the next files: a few sources' worth, none of a large source.
    SpareBuffers spare_buffers_{2 * kLargeText, kLargeText};
    static constexpr std::size_t large_source = kLargeText;
    // Sources read and not yet handed out. Drafts keep a few times their source's size until
    // then, and as many files as the window lets in go on while a large one is worked through:
    // half the bytes keep the threads as busy with a fifth less memory.
    std::size_t bytes_bound_ = 2 * kLargeText;
    std::atomic<std::size_t> bytes_in_flight_{0};
    std::string delimiters_; // for the check, which runs beside the listing
    const std::vector<SourceJob>& jobs_;
    const std::string stdin_name_;
    const FilterIo* filter_;
    std::vector<std::unique_ptr<Item>> items_;
    std::unique_ptr<bool[]> read_done_, finished_;
    std::unique_ptr<WorkPool> pool_;
    std::size_t window_ = 2;
    std::size_t damage_line_ = 0;
    std::atomic<std::size_t> next_emit_{0}; // drafts: read by the tasks that feed the queue
    bool show_progress_ = false;
    bool colour_ = false;         // the diff in terminal colours
    bool progress_drawn_ = false; // the line of files done stands on the terminal
    double bytes_done_ = 0;
    std::chrono::steady_clock::time_point started_, last_progress_{};
    BatchResult result_;
};

} // namespace

unsigned Default_Jobs() {
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : n;
}

BatchResult Run_Batch(const CliOptions& options, BatchMode mode, TokenTable& tokens,
                      const std::vector<SourceJob>& jobs, const std::string& stdin_name,
                      const FilterIo* filter, const BatchPlace& place) {
    Batch batch(options, mode, tokens, jobs, stdin_name, filter, place);
    return batch.Run();
}

} // namespace parvex::cli
