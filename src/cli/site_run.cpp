#include "site_run.h"

#include "batch_run.h"
#include "source_input.h"
#include "work_pool.h"

#include "engine/listing_run.h"
#include "language/lang_file.h"
#include "platform/file_kind.h"
#include "platform/source_text.h"
#include "site/site_source.h"
#include "site/site_text.h"
#include "site/site_writer.h"

#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <unistd.h>

namespace fs = std::filesystem;

namespace parvex::cli {

namespace {

fs::path absolute_normal(const std::string& p) {
    std::error_code ec;
    fs::path a = fs::absolute(p, ec);
    return (ec ? fs::path(p) : a).lexically_normal();
}

fs::path common_folder(const fs::path& a, const fs::path& b) {
    fs::path out;
    for (auto x = a.begin(), y = b.begin(); x != a.end() && y != b.end() && *x == *y; ++x, ++y)
        out /= *x;
    return out;
}

const char* case_name(int output_case) {
    switch (output_case) {
    case 0:
        return "upper";
    case 1:
        return "lower";
    case 2:
        return "first";
    case 3:
        return "capitalize";
    default:
        return nullptr;
    }
}

// One source on its way into the site.
struct Item {
    std::string error;
    site::SiteSource source;
    bool ready = false;
};

} // namespace

SitePaths Site_Paths(const std::vector<SourceJob>& jobs, const std::vector<std::string>& inputs) {
    SitePaths out;
    fs::path root;
    bool first = true;
    for (const std::string& in : inputs) {
        std::error_code ec;
        fs::path folder = absolute_normal(in);
        if (!fs::is_directory(in, ec))
            folder = folder.parent_path();
        if (!folder.empty() && folder.filename().empty())
            folder = folder.parent_path(); // "a/b/" normalises to "a/b/" with an empty name
        root = first ? folder : common_folder(root, folder);
        first = false;
    }
    for (const SourceJob& job : jobs) {
        fs::path rel = absolute_normal(job.file).lexically_relative(root);
        out.paths.push_back(rel.empty() ? fs::path(job.file).filename().string() : rel.string());
    }
    out.title = root.filename().string();
    if (out.title.empty())
        out.title = root.string();
    return out;
}

SiteRunResult Site_Run(const CliOptions& o, TokenTable& tokens, const std::vector<SourceJob>& jobs,
                       const std::vector<std::string>& inputs) {
    SiteRunResult result;
    auto error_line = [&](const std::string& text) {
        std::cerr << "parvex-list: " << text << '\n';
        result.errors = true;
    };
    const SitePaths where = Site_Paths(jobs, inputs);
    site::SiteOptions options;
    options.title = site::Display_Name(where.title);
    options.delimiters =
        Build_Delimiters(o.listing.terminators, o.listing.use_blank, o.listing.use_tab);
    const char* cased = case_name(o.listing.output_case);
    options.text_note = cased ? std::string("as a listing with --case ") + cased + " writes it"
                              : "as it is on disk";
    site::SiteWriter writer(options);
    if (FileResult r = writer.Begin(o.html_dir); !r) {
        error_line("--html " + r.error);
        return result;
    }

    // With --case the text is first listed, in file order, with the batch's one token index.
    ListingEngine lister(tokens);
    auto read_one = [&](std::size_t k, site::SiteReader& reader, Item& item) {
        std::string bytes;
        const std::string& file = jobs[k].file;
        if (!Read_Source_Bytes(jobs[k], file, false, o.max_size, bytes, item.error))
            return;
        SourceView view = Source_View(bytes);
        if (view.status != SourceStatus::Read) {
            item.error = file + ": " + view.error;
            return;
        }
        const bool utf8 = Is_Valid_Utf8(bytes);
        if (cased) {
            ListingLists lists;
            std::string text;
            ListingOptions listing = o.listing;
            listing.collect_alpha = listing.collect_numeric = listing.collect_tokens = false;
            TextForm lines_apart; // each line ends in LF, the last one too
            lines_apart.line_end = "\n";
            lister.List_Text(view.lines, listing, lists, text, lines_apart);
            reader.Read(Line_Views(text), utf8, o.listing, item.source);
            return;
        }
        reader.Read(view.lines, utf8, o.listing, item.source);
    };

    const bool progress = jobs.size() > 1 && ::isatty(STDERR_FILENO) && !o.quiet;
    auto last = std::chrono::steady_clock::now();
    std::size_t done = 0;
    auto add = [&](std::size_t k, Item& item) {
        if (!item.error.empty()) {
            if (progress)
                std::cerr << "\r\033[K";
            error_line(item.error);
            writer.Skipped();
        } else if (FileResult r = writer.Add(where.paths[k], item.source); !r) {
            error_line("--html " + r.error);
            return false;
        }
        ++done;
        const auto now = std::chrono::steady_clock::now();
        if (progress && now - last > std::chrono::milliseconds(100)) {
            last = now;
            std::cerr << "\r\033[K[" << done << '/' << jobs.size() << "] site" << std::flush;
        }
        return true;
    };

    const unsigned threads = o.jobs == 0 ? Default_Jobs() : o.jobs;
    bool written = true;
    if (cased || threads <= 1 || jobs.size() <= 1) {
        site::SiteReader reader;
        Item item;
        for (std::size_t k = 0; k < jobs.size() && written; ++k) {
            item = Item();
            read_one(k, reader, item);
            written = add(k, item);
        }
    } else {
        // Sources are read and made ready on the pool's threads, a window of them ahead of the
        // one this thread hands to the writer; each thread keeps its reader.
        const std::size_t window = 8 * threads + 2;
        std::vector<std::unique_ptr<Item>> items(jobs.size());
        std::unique_ptr<bool[]> ready(new bool[jobs.size()]());
        std::mutex readers_mutex;
        std::vector<std::unique_ptr<site::SiteReader>> readers;
        WorkPool pool(threads);
        std::size_t next = 0;
        for (std::size_t k = 0; k < jobs.size(); ++k) {
            for (; next < jobs.size() && next < k + window; ++next) {
                items[next] = std::make_unique<Item>();
                pool.Submit([&, next] {
                    std::unique_ptr<site::SiteReader> reader;
                    {
                        std::lock_guard lock(readers_mutex);
                        if (!readers.empty()) {
                            reader = std::move(readers.back());
                            readers.pop_back();
                        }
                    }
                    if (!reader)
                        reader = std::make_unique<site::SiteReader>();
                    read_one(next, *reader, *items[next]);
                    {
                        std::lock_guard lock(readers_mutex);
                        readers.push_back(std::move(reader));
                    }
                    pool.Raise(ready[next]);
                });
            }
            pool.Wait_For(ready[k]);
            if (written)
                written = add(k, *items[k]);
            items[k].reset();
        }
    }
    if (progress)
        std::cerr << "\r\033[K";
    if (!written)
        return result;
    if (FileResult r = writer.Finish(&tokens); !r) {
        error_line("--html " + r.error);
        return result;
    }
    if (!o.quiet) {
        const site::SiteSummary& s = writer.Summary();
        std::cerr << "site of " << s.files << " files written to " << o.html_dir << " ("
                  << s.site_files << " files, " << (s.site_bytes + 512 * 1024) / (1024 * 1024)
                  << " MB): open " << (fs::path(o.html_dir) / "index.html").string() << '\n';
    }
    return result;
}

} // namespace parvex::cli
